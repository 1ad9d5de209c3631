// scrtool render, run as the real program: videos read back with GStreamer's
// own tools (gst-discoverer-1.0, gst-launch-1.0), frames compared with what
// scrtool frame composes, repeatability, interruption and bad arguments.

#include "package/JpegCodec.h"
#include "platform/Bitmap24.h"
#include "tests/package/PackageFixture.h"
#include "tests/package/ProjectorFixtures.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace scr {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 10;
// The pictures stand at the top left at their own size (227 x 149, the size
// of the real JPEG); the pinned picture and the label beside them.
constexpr int kPictureWidth = 227;
constexpr int kPictureHeight = 149;
constexpr int kPinnedLeft = 250, kPinnedTop = 180, kPinnedWidth = 60, kPinnedHeight = 50;
constexpr int kLabelX = 275, kLabelY = 60;
constexpr int kStep = 10;
constexpr int kDelayMs = 100;

struct VideoInfo {
    int width = 0;
    int height = 0;
    std::string frameRate;
    double seconds = 0;
    std::string audio; // the audio codec's description, "" without sound
    std::string video;
};

// An RGB frame decoded from a video or read from a PNG.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Mean absolute difference per channel between `a` (at offset 0,0) and the
// same-sized area of `b` at (left, top).
double MeanDifference(const Frame& area, const Frame& frame, int left, int top) {
    double sum = 0;
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(int(area.at(x, y)[c]) - int(frame.at(left + x, top + y)[c]));
    return sum / (area.width * area.height * 3.0);
}

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(test::BuildBinDir().empty());
        // The music options are read from the user's settings: a home of our own.
        setenv("HOME", dir.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        fs::copy_file(test::SourceDir() + "/tests/data/testorig.jpg", dir.file("a.jpg"));
        WriteJpeg(dir.file("b.jpg"), kPictureWidth, kPictureHeight, [](int x, int y) {
            // Colour bars with a diagonal, so that every transition shows.
            static const uint32_t bars[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
            return (x + y) % 40 < 4 ? 0xFFFFFFu : bars[x * 6 / kPictureWidth];
        });
        WriteJpeg(dir.file("pin.jpg"), kPinnedWidth, kPinnedHeight, [](int, int) { return 0x0000FFu; });
        WriteWav(dir.file("tone.wav"), 6);
    }

    static void WriteJpeg(const std::string& path, int width, int height, uint32_t (*color)(int, int)) {
        Bitmap24 bitmap(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bitmap.setPixel(x, y, color(x, y));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(EncodeJpeg(bitmap, 95, bytes));
        test::WriteFile(path, bytes);
    }

    // A 440 Hz tone, 16-bit mono at 22050 Hz.
    static void WriteWav(const std::string& path, int seconds) {
        const uint32_t rate = 22050, count = rate * static_cast<uint32_t>(seconds), bytes = count * 2;
        std::vector<uint8_t> wav;
        wav.reserve(44 + bytes);
        auto put = [&](uint32_t value, int size) {
            for (int i = 0; i < size; ++i)
                wav.push_back(static_cast<uint8_t>(value >> (8 * i)));
        };
        auto tag = [&](const char* text) {
            for (int i = 0; i < 4; ++i)
                wav.push_back(static_cast<uint8_t>(text[i]));
        };
        tag("RIFF"), put(36 + bytes, 4), tag("WAVE"), tag("fmt "), put(16, 4), put(1, 2), put(1, 2);
        put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2), tag("data"), put(bytes, 4);
        for (uint32_t i = 0; i < count; ++i)
            put(static_cast<uint16_t>(static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / rate))), 2);
        test::WriteFile(path, wav);
    }

    // The show: a (no transition) for 1 s, then b with `style` (step 10,
    // delay 100 ms) and a label, for 1 s after its transition; a pinned
    // picture throughout; the tone as music.
    std::string Pack(int style, const std::string& name, json extra = json::object()) {
        json manifest = {
            {"name", "Render Test"},
            {"design_width", kWidth},
            {"design_height", kHeight},
            {"background_color", "#000000"},
            {"default_exit_effect", -2},
            {"items",
             {{{"file", "a.jpg"},
               {"left", 0},
               {"top", 0},
               {"width", kPictureWidth},
               {"height", kPictureHeight},
               {"display_seconds", 1},
               {"transition_effect", -2}},
              {{"file", "b.jpg"},
               {"left", 0},
               {"top", 0},
               {"width", kPictureWidth},
               {"height", kPictureHeight},
               {"display_seconds", 1},
               {"transition_effect", style},
               {"transition_step", kStep},
               {"transition_delay", kDelayMs},
               {"labels",
                {{{"text", "HELLO"},
                  {"font_size", 14},
                  {"bold", true},
                  {"text_color", "#00FF00"},
                  {"center_x", kLabelX},
                  {"center_y", kLabelY}}}}},
              {{"file", "pin.jpg"},
               {"left", kPinnedLeft},
               {"top", kPinnedTop},
               {"width", kPinnedWidth},
               {"height", kPinnedHeight},
               {"pinned", true}}}},
            {"tracks", {{{"file", "tone.wav"}}}},
        };
        manifest.update(extra);
        std::ofstream(dir.file(name + ".json")) << manifest.dump();
        const std::string package = dir.file(name + ".scr");
        std::string output;
        EXPECT_EQ(Tool("pack '" + dir.file(name + ".json") + "' -o '" + package + "'", &output), 0) << output;
        return package;
    }

    int Tool(const std::string& arguments, std::string* output = nullptr) {
        return test::RunCommand("'" + test::BuildBinDir() + "/scrtool' " + arguments + " 2>&1", output);
    }

    int Render(const std::string& package, const std::string& out, const std::string& options,
               std::string* output = nullptr) {
        return Tool("render '" + package + "' -o '" + out + "' " + options, output);
    }

    // GStreamer's tools are bounded: a tool that hangs fails the test with
    // its name instead of running into the test's own time limit.
    static int Gst(const std::string& command, std::string* output) {
        return test::RunCommand("timeout -k 5 120 " + command + " 2>&1", output);
    }

    static VideoInfo Discover(const std::string& file) {
        std::string text;
        EXPECT_EQ(Gst("gst-discoverer-1.0 '" + file + "'", &text), 0) << text;
        VideoInfo info;
        std::smatch m;
        if (std::regex_search(text, m, std::regex(R"(Width: (\d+))"))) info.width = std::stoi(m[1]);
        if (std::regex_search(text, m, std::regex(R"(Height: (\d+))"))) info.height = std::stoi(m[1]);
        if (std::regex_search(text, m, std::regex(R"(Frame rate: (\d+/\d+))"))) info.frameRate = m[1];
        if (std::regex_search(text, m, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")))
            info.seconds = std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stod(m[3]);
        if (std::regex_search(text, m, std::regex(R"(audio #\d+: ([^\n]+))"))) info.audio = m[1];
        if (std::regex_search(text, m, std::regex(R"(video #\d+: ([^\n]+))"))) info.video = m[1];
        return info;
    }

    // Decodes one stream of `file` ("video" or "audio") through `convert`
    // into the raw file `raw`. The container's own demuxer picks the stream
    // by name: a decodebin whose other stream is left unlinked now and then
    // never reaches the end (about one run in a hundred, with GStreamer's
    // own files too), which hung these tests.
    static std::vector<uint8_t> DecodeStream(const std::string& file, const char* stream,
                                             const std::string& convert, const std::string& raw) {
        const char* demuxer = file.ends_with(".mp4") ? "qtdemux" : "matroskademux";
        std::string output;
        EXPECT_EQ(Gst("gst-launch-1.0 -q filesrc location='" + file + "' ! " + demuxer +
                          " name=demux demux." + stream + "_0 ! queue ! decodebin ! " + convert +
                          " ! filesink location='" + raw + "'",
                      &output),
                  0)
            << output;
        return test::ReadFile(raw);
    }

    // Every frame of the video, decoded by GStreamer.
    std::vector<Frame> DecodeFrames(const std::string& file) {
        const std::vector<uint8_t> bytes =
            DecodeStream(file, "video", "videoconvert ! video/x-raw,format=RGB", file + ".rgb");
        const size_t frameBytes = static_cast<size_t>(kWidth) * kHeight * 3;
        std::vector<Frame> frames;
        for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
            frames.push_back({kWidth, kHeight, {bytes.begin() + at, bytes.begin() + at + frameBytes}});
        return frames;
    }

    // The sound track as 8 kHz mono samples.
    std::vector<int16_t> DecodeSound(const std::string& file) {
        const std::vector<uint8_t> bytes = DecodeStream(
            file, "audio", "audioconvert ! audioresample ! audio/x-raw,format=S16LE,channels=1,rate=8000",
            file + ".pcm");
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    // What scrtool frame composes for the b picture's transition.
    Frame Composed(int style, int progress) {
        const std::string png =
            dir.file("frame-" + std::to_string(style) + "-" + std::to_string(progress) + ".png");
        std::string output;
        EXPECT_EQ(Tool("frame --style " + std::to_string(style) + " --progress " + std::to_string(progress) +
                           " --step " + std::to_string(kStep) + " '" + dir.file("a.jpg") + "' '" +
                           dir.file("b.jpg") + "' -o '" + png + "'",
                       &output),
                  0)
            << output;
        QImage image(QString::fromStdString(png));
        image = image.convertToFormat(QImage::Format_RGB888);
        Frame frame{image.width(), image.height(), {}};
        for (int y = 0; y < image.height(); ++y)
            frame.rgb.insert(frame.rgb.end(), image.constScanLine(y),
                             image.constScanLine(y) + image.width() * 3);
        return frame;
    }

    // Checks the frames of a render of Pack(style): the transition at its
    // progress, the pinned picture and the label in their places.
    void CheckFrames(const std::vector<Frame>& frames, int style) {
        // Frame k shows the show at k * 100 ms. b's transition starts at 1 s
        // with its first step (progress 10) and steps every 100 ms.
        for (int k : {11, 13, 15, 17}) {
            SCOPED_TRACE("frame " + std::to_string(k));
            ASSERT_LT(k, static_cast<int>(frames.size()));
            const int progress = kStep * (k - 10 + 1);
            const double here = MeanDifference(Composed(style, progress), frames[k], 0, 0);
            const double before = MeanDifference(Composed(style, progress - kStep), frames[k], 0, 0);
            const double after = MeanDifference(Composed(style, progress + kStep), frames[k], 0, 0);
            EXPECT_LT(here, 9.0) << "progress " << progress;
            EXPECT_LT(here * 2, before) << "progress " << progress;
            EXPECT_LT(here * 2, after) << "progress " << progress;
        }
        // Before b comes, a stands as it is; once b's transition is over, b.
        EXPECT_LT(MeanDifference(Composed(style, 0), frames[5], 0, 0), 9.0);
        EXPECT_LT(MeanDifference(Composed(style, 100), frames[22], 0, 0), 9.0);

        const auto isPinned = [](const uint8_t* p) { return p[0] > 200 && p[1] < 60 && p[2] < 60; };
        const auto isLabel = [](const uint8_t* p) { return p[0] < 100 && p[1] > 150 && p[2] < 100; };
        for (int k : {0, 5, 14, 25}) {
            SCOPED_TRACE("frame " + std::to_string(k));
            // The pinned picture: red inside its place (a margin for the codec), black beside it.
            EXPECT_TRUE(isPinned(frames[k].at(kPinnedLeft + 4, kPinnedTop + 4)));
            EXPECT_TRUE(
                isPinned(frames[k].at(kPinnedLeft + kPinnedWidth - 5, kPinnedTop + kPinnedHeight - 5)));
            EXPECT_FALSE(isPinned(frames[k].at(kPinnedLeft - 6, kPinnedTop + 10)));
            EXPECT_FALSE(isPinned(frames[k].at(kPinnedLeft + 10, kPinnedTop - 6)));
            // The label belongs to b: green text around its centre from 1 s on.
            int green = 0, strayGreen = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = kPictureWidth + 2; x < kWidth; ++x) {
                    if (!isLabel(frames[k].at(x, y))) continue;
                    const bool near = std::abs(x - kLabelX) < 40 && std::abs(y - kLabelY) < 15;
                    (near ? green : strayGreen)++;
                }
            if (k < 10)
                EXPECT_EQ(green, 0);
            else
                EXPECT_GT(green, 20);
            EXPECT_EQ(strayGreen, 0);
        }
    }

    test::TempDir dir;
};

TEST_F(RenderCommandTest, WebmAndMp4ReadBackWithTheShowsFramesAndMusic) {
    const struct {
        const char* extension;
        int style;
        const char* videoCodec;
        const char* audioCodec;
    } cases[] = {
        {"webm", 3, "VP9", "Opus"},
        {"mp4", 22, "H.264", "AAC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        const std::string package = Pack(c.style, std::string("show-") + c.extension);
        const std::string video = dir.file(std::string("show.") + c.extension);
        std::string output;
        ASSERT_EQ(Render(package, video, "--size 320x240 --fps 10 --duration 4.5", &output), 0) << output;
        // Quiet when standard error is not a terminal.
        EXPECT_EQ(output, "");

        const VideoInfo info = Discover(video);
        EXPECT_EQ(info.width, kWidth);
        EXPECT_EQ(info.height, kHeight);
        EXPECT_EQ(info.frameRate, "10/1");
        EXPECT_NEAR(info.seconds, 4.5, 0.06);
        EXPECT_NE(info.video.find(c.videoCodec), std::string::npos) << info.video;
        EXPECT_NE(info.audio.find(c.audioCodec), std::string::npos) << info.audio;

        const std::vector<Frame> frames = DecodeFrames(video);
        ASSERT_EQ(frames.size(), 45u);
        CheckFrames(frames, c.style);

        // The music begins on the first music tick, 3 s after the first item
        // came on (at 0 s): silence before, the tone after.
        const std::vector<int16_t> sound = DecodeSound(video);
        ASSERT_GE(sound.size(), 8000u * 4);
        const auto loudest = [&](double from, double to) {
            int peak = 0;
            for (auto i = static_cast<size_t>(from * 8000); i < static_cast<size_t>(to * 8000); ++i)
                peak = std::max(peak, std::abs(int(sound[i])));
            return peak;
        };
        EXPECT_LT(loudest(0.2, 2.9), 300);
        EXPECT_GT(loudest(3.2, 4.0), 6000);
    }
}

TEST_F(RenderCommandTest, TheDemoRendersToVideosAStandardPlayerOpens) {
    const std::string demo = test::BuildBinDir() + "/demo.scr";
    if (!fs::exists(demo)) GTEST_SKIP() << "demo.scr is not built";
    for (const char* extension : {"webm", "mp4"}) {
        SCOPED_TRACE(extension);
        const std::string video = dir.file(std::string("demo.") + extension);
        std::string output;
        ASSERT_EQ(Render(demo, video, "--size 320x240 --fps 10 --duration 12", &output), 0) << output;
        const VideoInfo info = Discover(video);
        EXPECT_EQ(info.width, 320);
        EXPECT_EQ(info.height, 240);
        EXPECT_EQ(info.frameRate, "10/1");
        EXPECT_NEAR(info.seconds, 12, 0.06);
        EXPECT_NE(info.audio, "") << "the demo's music is missing";
        // The first picture comes in and, after its 8 seconds, the next one:
        // the show changes at least twice, and shows a picture of many colours.
        const std::vector<Frame> frames = DecodeFrames(video);
        ASSERT_EQ(frames.size(), 120u);
        int changes = 0;
        for (size_t i = 1; i < frames.size(); ++i)
            changes += MeanDifference(frames[i], frames[i - 1], 0, 0) > 2.0;
        EXPECT_GE(changes, 2);
        std::set<uint32_t> colours;
        for (size_t i = 0; i + 2 < frames[50].rgb.size(); i += 3 * 7)
            colours.insert(frames[50].rgb[i] << 16 | frames[50].rgb[i + 1] << 8 | frames[50].rgb[i + 2]);
        EXPECT_GT(colours.size(), 500u) << "no picture on screen";
        EXPECT_GT(MeanDifference(frames[119], frames[50], 0, 0), 10.0) << "the second item never came";
    }
}

TEST_F(RenderCommandTest, MoviesAreTakenFromTheirPlayersAndAMovieIsWaitedForToItsEnd) {
    if (!test::FlashEngineBuilt())
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    // A public shape morph of 10 frames (tests/data/SOURCES.md), a coloured
    // shape on white: once as an item waited for to its end between two
    // showings of a grey picture, once pinned, looping all along.
    fs::copy_file(test::SourceDir() + "/tests/data/jpexs-morphshape.swf", dir.file("morph.swf"));
    WriteJpeg(dir.file("grey.jpg"), kPictureWidth, kPictureHeight, [](int, int) { return 0x808080u; });
    const QRect item(40, 40, 180, 120), pinned(230, 160, 80, 80);
    const json picture = {
        {"file", "grey.jpg"},       {"left", 0},           {"top", 0}, {"width", kPictureWidth},
        {"height", kPictureHeight}, {"display_seconds", 1}};
    const auto movie = [](const QRect& place) {
        return json{{"file", "morph.swf"},   {"kind", "flash"},        {"left", place.left()},
                    {"top", place.top()},    {"width", place.width()}, {"height", place.height()},
                    {"display_seconds", -5}, {"transition_effect", 0}};
    };
    json pinnedMovie = movie(pinned);
    pinnedMovie["pinned"] = true;
    const std::string package = Pack(
        0, "movies", {{"items", {picture, movie(item), picture, pinnedMovie}}, {"tracks", json::array()}});
    const std::string video = dir.file("movies.webm");
    std::string output;
    ASSERT_EQ(Render(package, video, "--size 320x240 --fps 10", &output), 0) << output;

    const std::vector<Frame> frames = DecodeFrames(video);
    ASSERT_GT(frames.size(), 20u);
    const auto isShape = [](const uint8_t* p) {
        return *std::max_element(p, p + 3) - *std::min_element(p, p + 3) > 80;
    };
    const auto placeDifference = [](const Frame& a, const Frame& b, const QRect& place) {
        double sum = 0;
        for (int y = place.top(); y <= place.bottom(); ++y)
            for (int x = place.left(); x <= place.right(); ++x)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(int(a.at(x, y)[c]) - int(b.at(x, y)[c]));
        return sum / (place.width() * place.height() * 3.0);
    };
    int itemFrames = 0, pinnedFrames = 0, pinnedMoves = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        int inItem = 0, inPinned = 0, outside = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (!isShape(frames[k].at(x, y))) continue;
                if (item.contains(x, y))
                    ++inItem;
                else if (pinned.contains(x, y))
                    ++inPinned;
                else
                    ++outside;
            }
        EXPECT_EQ(outside, 0) << "frame " << k << ": a movie beside its place";
        itemFrames += inItem > 300;
        pinnedFrames += inPinned > 50;
        if (k > 0 && inPinned > 50 && placeDifference(frames[k], frames[k - 1], pinned) > 0.3) ++pinnedMoves;
    }
    // The players' pictures are in the video, and the looping movie moves
    // in it: not one still picture of it.
    EXPECT_GE(itemFrames, 3) << "the movie item is missing from the video";
    EXPECT_GE(pinnedFrames, 10) << "the pinned movie is missing from the video";
    EXPECT_GE(pinnedMoves, 4) << "the pinned movie does not move in the video";
    // The show waited for the item's end (far less than its 5 s) and came
    // back to the grey picture, which ends the video.
    EXPECT_LT(placeDifference(frames[5], frames.back(), item), 9.0) << "the show did not come back";
    EXPECT_LT(frames.size(), 80u) << "the movie's end was not waited for, its 5 s were";
}

// Between items the show never goes blank: a movie after a movie, and after a
// picture, takes the place of the item before without a frame of the show's
// background between them, and without a frame of an earlier movie. Two
// generated movies on stages of their own colours and a picture, all in one
// place, on a grey show background.
TEST_F(RenderCommandTest, AMovieTakesThePlaceOfTheItemBeforeWithoutABlankBetween) {
    if (!test::FlashEngineBuilt())
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    struct Colour {
        const char* name;
        const char* hex;
        int r, g, b;
    };
    const Colour red{"red", "c02020", 0xc0, 0x20, 0x20}, blue{"blue", "2040c0", 0x20, 0x40, 0xc0};
    for (const Colour& c : {red, blue})
        ASSERT_EQ(test::RunCommand("python3 '" + test::SourceDir() +
                                   "/assets/generators/make_swf.py' square '" +
                                   dir.file(std::string(c.name) + ".swf") +
                                   "' --frames 24 --fps 24 --background " + c.hex),
                  0);
    WriteJpeg(dir.file("green.jpg"), 64, 64, [](int, int) { return 0x20a040u; });
    const QRect place(40, 40, 240, 160);
    const auto item = [&](const std::string& file, const char* kind) {
        return json{{"file", file},         {"kind", kind},           {"left", place.left()},
                    {"top", place.top()},   {"width", place.width()}, {"height", place.height()},
                    {"display_seconds", 1}, {"transition_effect", -2}};
    };
    const std::string package = Pack(0, "handover",
                                     {{"background_color", "#606060"},
                                      {"items",
                                       {item("red.swf", "flash"), item("blue.swf", "flash"),
                                        item("green.jpg", "picture"), item("red.swf", "flash")}},
                                      {"tracks", json::array()}});
    const std::string video = dir.file("handover.webm");
    std::string output;
    ASSERT_EQ(Render(package, video, "--size 320x240 --fps 10", &output), 0) << output;

    // What the place shows in each frame: a movie's stage, the picture, or the background.
    const auto near = [](const uint8_t* p, int r, int g, int b) {
        return std::abs(p[0] - r) < 40 && std::abs(p[1] - g) < 40 && std::abs(p[2] - b) < 40;
    };
    std::string shown;
    for (const Frame& frame : DecodeFrames(video)) {
        std::map<char, int> votes;
        for (int y = place.top() + 4; y < place.bottom() - 4; y += 8)
            for (int x = place.left() + 4; x < place.right() - 4; x += 8) {
                const uint8_t* p = frame.at(x, y);
                votes[near(p, red.r, red.g, red.b)                    ? 'R'
                      : near(p, blue.r, blue.g, blue.b)               ? 'B'
                      : near(p, 0x20, 0xa0, 0x40)                     ? 'G'
                      : near(p, 0x60, 0x60, 0x60) || near(p, 0, 0, 0) ? '.'
                                                                      : '?']++;
            }
        shown += std::max_element(votes.begin(), votes.end(), [](auto& a, auto& b) {
                     return a.second < b.second;
                 })->first;
    }
    // Runs of one thing, in order: the start, then each item in turn.
    std::string runs;
    for (size_t i = 0; i < shown.size(); ++i)
        if (i == 0 || shown[i] != shown[i - 1]) runs += shown[i];
    SCOPED_TRACE("the place, frame by frame: " + shown);
    ASSERT_NE(runs.find("RBGR"), std::string::npos) << "the items did not follow each other without a gap";
    // Before the first movie only the background, and after the last one nothing else.
    EXPECT_EQ(runs.substr(0, runs.find('R')).find_first_not_of('.'), std::string::npos);
}

// A movie file renders as the show of its movie: one pass is its frames at
// its frame rate, but at least 10 seconds (a public shape morph of 10 frames
// at 24 fps, in a Windows projector); --duration sets another length.
TEST_F(RenderCommandTest, AMovieFileRendersOnePassOfItsMovieOfAtLeastTenSeconds) {
    if (!test::FlashEngineBuilt())
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    const std::string projector = dir.file("Morph.exe");
    test::WriteFile(projector, test::WindowsProjector(
                                   test::BuildPeFile({}),
                                   test::ReadFile(test::SourceDir() + "/tests/data/jpexs-morphshape.swf")));
    const std::string video = dir.file("morph.webm");
    std::string output;
    ASSERT_EQ(Render(projector, video, "--size 320x240 --fps 10", &output), 0) << output;
    EXPECT_NEAR(Discover(video).seconds, 10.0, 0.06);
    const std::vector<Frame> frames = DecodeFrames(video);
    ASSERT_EQ(frames.size(), 100u);
    // The movie's shape (coloured, on its white stage) is on screen and moves.
    int shown = 0, moving = 0;
    for (size_t k = 30; k < frames.size(); ++k) {
        int coloured = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* p = frames[k].at(x, y);
                coloured += *std::max_element(p, p + 3) - *std::min_element(p, p + 3) > 80;
            }
        shown += coloured > 300;
        moving += MeanDifference(frames[k], frames[k - 1], 0, 0) > 0.3;
    }
    EXPECT_GT(shown, 60) << "the movie is missing from the video";
    EXPECT_GT(moving, 20) << "the movie does not move in the video";

    ASSERT_EQ(Render(projector, video, "--size 320x240 --fps 10 --duration 2", &output), 0) << output;
    EXPECT_NEAR(Discover(video).seconds, 2.0, 0.06);
}

TEST_F(RenderCommandTest, TheWebEnginesOwnLogStaysOutOfTheRendersMessages) {
    if (!test::FlashEngineBuilt())
        GTEST_SKIP() << "the Flash engine plugin or the Ruffle files are not built";
    // A public movie with sound (tests/data/swf/SOURCES.md): without a
    // session bus the engine logs its failed connections, which are no news
    // to whoever renders. Only the render's own lines may reach standard error.
    fs::copy_file(test::SourceDir() + "/tests/data/swf/sound_adpcm-3.swf", dir.file("sound.swf"));
    const json movie = {{"file", "sound.swf"}, {"kind", "flash"},  {"left", 0}, {"top", 0},
                        {"width", kWidth},     {"height", kHeight}};
    const std::string package = Pack(0, "sound", {{"items", {movie}}, {"tracks", json::array()}});
    std::string output;
    ASSERT_EQ(test::RunCommand("env -u DBUS_SESSION_BUS_ADDRESS '" + test::BuildBinDir() +
                                   "/scrtool' render '" + package + "' -o '" + dir.file("sound.webm") +
                                   "' --size 320x240 --fps 10 --duration 3 2>&1",
                               &output),
              0)
        << output;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(line.starts_with("scrtool render: ")) << line;
}

TEST_F(RenderCommandTest, OnePassThroughTheItemsIsTheDefaultLength) {
    // a for 1 s, b's transition 0.9 s and 1 s on screen: the next advance
    // would begin at 2.9 s. A package without music has no sound track.
    json noMusic = {{"tracks", json::array()}};
    const std::string package = Pack(5, "pass", noMusic);
    const std::string video = dir.file("pass.mp4");
    std::string output;
    ASSERT_EQ(Render(package, video, "--size 320x240 --fps 10", &output), 0) << output;
    const VideoInfo info = Discover(video);
    EXPECT_NEAR(info.seconds, 2.9, 0.06);
    EXPECT_EQ(info.audio, "");
    EXPECT_EQ(DecodeFrames(video).size(), 29u);

    ASSERT_EQ(Render(package, video, "--size 320x240 --fps 10 --loops 2", &output), 0) << output;
    EXPECT_NEAR(Discover(video).seconds, 2.9 + 2.9, 0.06);
}

TEST_F(RenderCommandTest, OnATerminalAProgressLineShowsItemsFramesAndTimeLeft) {
    const std::string package = Pack(3, "progress", {{"tracks", json::array()}});
    const std::string video = dir.file("progress.webm");
    // script(1) gives the render a terminal as its standard error.
    const std::string command = "'" + test::BuildBinDir() + "/scrtool' render '" + package + "' -o '" +
                                video + "' --size 320x240 --fps 10 --duration 3";
    std::string output;
    ASSERT_EQ(test::RunCommand("script -qec \"" + command + "\" /dev/null", &output), 0) << output;
    EXPECT_NE(output.find("\r["), std::string::npos) << output;
    // a at 0 s, b at 1 s, a again at 2.9 s.
    EXPECT_NE(output.find("100%  items 3  frames 30/30  left 0:00"), std::string::npos) << output;
    EXPECT_TRUE(fs::exists(video));
}

TEST_F(RenderCommandTest, TheSameSeedGivesTheSameFrames) {
    // Random order, random styles both ways, the bouncing movement: every
    // random choice of the show comes from the seed.
    json random = {{"random_order", true},
                   {"default_exit_effect", -1},
                   {"placement_mode", 3},
                   {"default_display_seconds", 1}};
    const std::string package = Pack(-1, "random", random);
    std::vector<std::vector<Frame>> runs;
    for (const char* name : {"one.webm", "two.webm"}) {
        std::string output;
        ASSERT_EQ(Render(package, dir.file(name), "--size 320x240 --fps 10 --duration 3 --seed 7", &output),
                  0)
            << output;
        runs.push_back(DecodeFrames(dir.file(name)));
    }
    ASSERT_EQ(runs[0].size(), 30u);
    ASSERT_EQ(runs[1].size(), 30u);
    for (size_t k = 0; k < runs[0].size(); ++k)
        EXPECT_EQ(runs[0][k].rgb, runs[1][k].rgb) << "frame " << k;
    // The frames change over time (the picture moves about).
    EXPECT_NE(runs[0][3].rgb, runs[0][8].rgb);
}

TEST_F(RenderCommandTest, ASignalLeavesNoFileUnderTheOutputsName) {
    const std::string package = Pack(3, "long");
    const std::string video = dir.file("long.webm");
    test::WriteFile(dir.file("keep.txt"), {1, 2, 3});
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const std::string tool = test::BuildBinDir() + "/scrtool";
        std::vector<std::string> args{tool,     "render",  package,      "-o", video,
                                      "--size", "320x240", "--duration", "600"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ), 0);
        // Wait until the render is writing its temporary file.
        const auto partFiles = [&] {
            int count = 0;
            for (const auto& entry : fs::directory_iterator(dir.path()))
                if (entry.path().filename().string().starts_with(".long.webm.")) ++count;
            return count;
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (partFiles() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(partFiles(), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 0);
        EXPECT_FALSE(fs::exists(video));
        EXPECT_EQ(partFiles(), 0);
        EXPECT_TRUE(fs::exists(dir.file("keep.txt")));
    }
}

TEST_F(RenderCommandTest, BadArgumentsAreReportedAndNothingIsWritten) {
    const std::string package = Pack(3, "args");
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"'" + package + "'", 2, "needs -o OUT"},
        {"'" + package + "' -o out.avi", 2, "must end in .webm or .mp4"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --size 321x240", 2, "--size wants"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --size big", 2, "--size wants"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --fps 0", 2, "--fps wants"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --duration -3", 2, "--duration wants"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --duration 2 --loops 2", 2, "not both"},
        {"'" + package + "' -o '" + dir.file("o.webm") + "' --loops x", 2, "--loops wants"},
        {"'" + dir.file("missing.scr") + "' -o '" + dir.file("o.webm") + "'", 1, "not a readable file"},
        {"'" + dir.file("a.jpg") + "' -o '" + dir.file("o.webm") + "'", 1, "holds no packed screen saver"},
        {"'" + package + "' -o '" + dir.file("no/such/folder/o.webm") + "'", 1, "cannot create"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string output;
        EXPECT_EQ(Tool("render " + c.arguments, &output), c.status) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(dir.file("o.webm")));
    }
}

} // namespace
} // namespace scr
