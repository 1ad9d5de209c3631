#include "tools/ShowRenderer.h"

#include "package/PackageFile.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/ShowEnvironment.h"
#include "platform/VirtualClock.h"
#include "platform/gui/ApplicationArguments.h"
#include "platform/gui/QtScreenSize.h"
#include "show/MovieShowContent.h"
#include "show/MusicSettings.h"
#include "show/PackageShowContent.h"
#include "show/ShowWindow.h"
#include "tools/FlashFrameCapture.h"
#include "tools/RenderProgress.h"
#include "tools/RenderSoundTrack.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// A file that is removed when this object goes, unless kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }
    // Moves the file to `target`; false, with `error`, when that fails.
    bool RenameTo(const std::string& target, std::string& error) {
        std::error_code ec;
        fs::rename(path_, target, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        path_.clear();
        return true;
    }

private:
    std::string path_;
};

// A new empty file beside `output` with a hidden name of its own.
std::optional<std::string> MakeFileBeside(const std::string& output, const char* suffix, std::string& error) {
    const fs::path out(output);
    const fs::path folder = out.has_parent_path() ? out.parent_path() : fs::path(".");
    std::string name = (folder / ("." + out.filename().string() + ".XXXXXX")).string() + suffix;
    const int fd = mkstemps(name.data(), static_cast<int>(std::char_traits<char>::length(suffix)));
    if (fd < 0) {
        error = "cannot create a file in " + folder.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // The finished video gets the permissions of any new file of the user.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    return name;
}

// The offscreen platform with one screen of the video's size: the show window
// lays itself out as on a full screen of that size.
bool UseOffscreenScreen(const TemporaryFile& config, int width, int height, std::string& error) {
    std::ofstream file(config.path());
    file << R"({"synchronousWindowSystemEvents": true, "windowFrameMargins": false, "screens": [)"
         << R"({"name": "Render", "x": 0, "y": 0, "width": )" << width << R"(, "height": )" << height
         << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})" << '\n';
    if (!file.flush()) {
        error = "cannot write the screen description " + config.path();
        return false;
    }
    qputenv("QT_QPA_PLATFORM",
            QByteArray("offscreen:configfile=") + QByteArray::fromStdString(config.path()));
    qputenv("QT_SCALE_FACTOR", "1");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    return true;
}

// The offscreen platform's remarks (a window it cannot raise, say) are no
// news to whoever renders: only Qt's critical messages reach standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "scrtool render: %s\n", message.c_str());
    return 1;
}

} // namespace

double MoviePassSeconds(const FoundMovie& movie) {
    const double frames = movie.frame.frameCount > 0 ? movie.frame.frameCount : movie.showFrames;
    const double seconds = movie.frame.frameRate > 0 ? frames / movie.frame.frameRate : 0;
    return std::clamp(seconds, kMinMoviePassSeconds, kMaxRenderSeconds);
}

namespace {

// Sample frames from the start of the video to the start of video frame `index`.
int64_t SampleAtFrame(int64_t index, int fps) {
    return index * VideoEncoder::kSampleRate / fps;
}

class Render {
public:
    Render(const RenderSettings& settings, ShowWindow& window, RenderSoundTrack& sound, VideoEncoder& encoder,
           VirtualClock& clock)
        : settings_(settings), window_(window), sound_(sound), encoder_(encoder), clock_(clock),
          flash_(window), frame_(settings.width, settings.height, QImage::Format_RGB32) {}

    enum class Outcome { Done, Stopped, Failed };

    Outcome Run(RenderProgress& progress) {
        const int items = window_.sequencer().playList().size();
        const double maxSeconds = settings_.durationSeconds.value_or(kMaxRenderSeconds);
        const auto lastFrame = static_cast<int64_t>(maxSeconds * settings_.fps + 0.5);
        for (int64_t index = 0; index < lastFrame; ++index) {
            const int64_t videoMs = index * 1000 / settings_.fps;
            // Movies play in real time: while one is on show, so does the render.
            if (flash_.MoviesOnShow())
                flash_.KeepPace(videoMs);
            else
                flash_.Pause();
            clock_.AdvanceTo(videoMs);
            RunEvents();
            if (window_.rules().closing()) return Outcome::Stopped;
            // The passes are over once the advance after the last item has begun.
            if (!settings_.durationSeconds && window_.advancesBegun() > settings_.loops * items) break;
            if (auto start = window_.musicStartMs()) sound_.Begin(*start);
            if (!encoder_.PushSamples(SampleAtFrame(index, settings_.fps),
                                      sound_.Take(SampleAtFrame(index + 1, settings_.fps))))
                return Outcome::Failed;
            // Only the clock's ticks and movies change what the show draws:
            // a frame after none is the one before.
            const bool movies = flash_.MoviesOnShow();
            const bool changed = index == 0 || movies || clock_.ticksRun() != ticksDrawn_;
            ticksDrawn_ = clock_.ticksRun();
            if (changed)
                window_.render(&frame_, QPoint(), QRegion(),
                               QWidget::DrawWindowBackground | QWidget::DrawChildren);
            if (movies) flash_.PaintOver(frame_);
            const bool pushed = changed ? encoder_.PushFrame(index, frame_.constBits(),
                                                             static_cast<int>(frame_.bytesPerLine()))
                                        : encoder_.RepeatFrame(index);
            if (!pushed) return Outcome::Failed;
            ++frames_;
            // The items brought on so far (in passes, the pass's own only).
            const int shown = window_.advancesBegun();
            progress.Update(frames_,
                            settings_.durationSeconds ? shown : std::min(shown, settings_.loops * items));
        }
        return Outcome::Done;
    }

    int64_t frames() const { return frames_; }
    const FlashFrameCapture& flash() const { return flash_; }

    static void RunEvents() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    const RenderSettings& settings_;
    ShowWindow& window_;
    RenderSoundTrack& sound_;
    VideoEncoder& encoder_;
    VirtualClock& clock_;
    FlashFrameCapture flash_;
    QImage frame_;
    int64_t frames_ = 0;
    uint64_t ticksDrawn_ = 0;
};

} // namespace

int RenderShow(const RenderSettings& settings) {
    std::error_code ec;
    // A folder may be a Mac projector.
    if (!fs::is_regular_file(settings.package, ec) && !fs::is_directory(settings.package, ec))
        return Fail("'" + settings.package + "' is not a readable file");
    std::string error;
    const auto screenPath =
        MakeFileBeside((fs::temp_directory_path(ec) / "scrtool-render").string(), ".json", error);
    if (!screenPath) return Fail(error);
    const TemporaryFile screen(*screenPath);
    if (!UseOffscreenScreen(screen, settings.width, settings.height, error)) return Fail(error);

    qInstallMessageHandler(QuietQtMessages);
    ApplicationArguments arguments("scrtool");
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance())
        application = std::make_unique<QApplication>(arguments.argc(), arguments.argv());

    // The render's environment. Every random choice of the show (order,
    // styles, movement, music order) comes from the seed: the same file and
    // seed give the same video. Pictures are bounded by the rendered screen;
    // the layout is not fitted to it (the window scales it).
    SeededRandom random(settings.seed);
    VirtualClock clock;
    const ShowEnvironment environment{{ScreenSize{}, QtDesktopDecodeLimits()}, random, clock, PixelOptions{}};
    RenderSettings effective = settings;
    std::unique_ptr<ShowPackage> content;
    RecognisedFile file = RecogniseScreenSaverFile(settings.package);
    if (file.HasMovie()) {
        // A movie file: one pass is its frames at its frame rate.
        if (!effective.durationSeconds)
            effective.durationSeconds =
                std::min(MoviePassSeconds(*file.movie) * effective.loops, kMaxRenderSeconds);
        content = std::make_unique<MovieShowContent>(std::move(file), QtPrimaryScreenSize());
    } else {
        auto package = std::make_unique<PackageShowContent>(settings.package, environment.reading);
        if (!package->package().IsAppended() && package->ItemCount() == 0 && package->MusicCount() == 0)
            return Fail("'" + settings.package + "' holds no packed screen saver, and " +
                        NoMovieMessage(file));
        content = std::move(package);
    }
    RenderSoundTrack sound(*content, ReadMusicSettings(content->Name()), random);
    ShowWindow window(std::move(content), environment, ShowMode::Show, 0, ShowSound::Silent);
    if (!effective.durationSeconds && window.sequencer().playList().empty())
        return Fail("'" + settings.package + "' has no items that take turns on screen; give --duration");

    const auto partPath = MakeFileBeside(effective.output, ".part", error);
    if (!partPath) return Fail(error);
    TemporaryFile part(*partPath);
    VideoEncoder encoder;
    VideoFormat format{effective.width, effective.height, effective.fps, sound.hasMusic()};
    if (!encoder.Open(part.path(), effective.container, format)) return Fail(encoder.error());

    window.StartUnattended();
    std::optional<int64_t> totalFrames;
    if (effective.durationSeconds)
        totalFrames = static_cast<int64_t>(*effective.durationSeconds * effective.fps + 0.5);
    RenderProgress progress(totalFrames,
                            totalFrames
                                ? std::nullopt
                                : std::optional<int>(effective.loops * window.sequencer().playList().size()));
    Render render(effective, window, sound, encoder, clock);
    const Render::Outcome outcome = render.Run(progress);
    progress.Finish();
    const auto stopped = [&] { return window.rules().closing(); };
    if (outcome == Render::Outcome::Stopped || stopped()) {
        std::fprintf(stderr, "scrtool render: stopped by a signal; %s was not written\n",
                     effective.output.c_str());
        return 130;
    }
    if (outcome == Render::Outcome::Failed)
        return Fail("cannot write " + effective.output + ": " + encoder.error());
    if (render.frames() == 0) return Fail("the show gave no frame to write");
    const bool finished = encoder.Finish([&] {
        Render::RunEvents();
        return !stopped();
    });
    if (stopped()) {
        std::fprintf(stderr, "scrtool render: stopped by a signal; %s was not written\n",
                     effective.output.c_str());
        return 130;
    }
    if (!finished) return Fail("cannot write " + effective.output + ": " + encoder.error());
    if (!part.RenameTo(effective.output, error))
        return Fail("cannot write " + effective.output + ": " + error);
    const FlashFrameCapture& flash = render.flash();
    if (flash.framesLate() * 10 > flash.framesPaced())
        std::fprintf(
            stderr,
            "scrtool render: %lld of %lld frames with a movie on show came late: the machine did not "
            "keep real time, so movies run faster in %s than on screen\n",
            static_cast<long long>(flash.framesLate()), static_cast<long long>(flash.framesPaced()),
            effective.output.c_str());
    return 0;
}

} // namespace scr
