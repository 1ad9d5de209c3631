#include "show/ShowWindow.h"

#include "platform/Bitmap24.h"
#include "platform/StatsLog.h"
#include "platform/WorkingSet.h"
#include "platform/gui/ForeignWindow.h"
#include "platform/gui/ForeignWindowWatch.h"
#include "platform/gui/QtColorRef.h"
#include "platform/gui/TaskbarEntry.h"
#include "platform/gui/WindowSystem.h"
#include "show/BackgroundImage.h"
#include "show/BouncingMotion.h"
#include "show/FlashControl.h"
#include "show/FlashHost.h"
#include "show/FlashPlayers.h"
#include "show/HomePage.h"
#include "show/ItemLayout.h"
#include "show/MovieHandover.h"
#include "show/ShowInputFilter.h"
#include "show/ShowLabels.h"
#include "show/ShowMusic.h"
#include "transitions/control/TransitionView.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace scr {
namespace {

constexpr int kHostWatchMs = 1000;

// A pinned picture: its picture, already stretched to the size of r.
QWidget* MakePinnedPicture(QWidget* window, const Bitmap24& picture, const Rect& r) {
    auto* control = new QLabel(window);
    control->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (!picture.isEmpty()) {
        const QImage image(picture.bits(), picture.width(), picture.height(),
                           static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888);
        control->setPixmap(QPixmap::fromImage(image));
    }
    control->setGeometry(r.left, r.top, r.width(), r.height());
    control->show();
    return control;
}

} // namespace

std::optional<int> LayeredAlpha(int opacityPercent) {
    if (opacityPercent < 20 || opacityPercent >= 100) return std::nullopt;
    return opacityPercent * 255 / 100;
}

ShowWindow::ShowWindow(std::unique_ptr<ShowPackage> package, const ShowEnvironment& environment,
                       ShowMode mode, WindowHandle host, ShowSound sound)
    : package_(std::move(package)), clock_(environment.clock), random_(environment.random),
      pixels_(environment.pixels), sound_(sound), preview_(mode == ShowMode::Preview),
      rules_(preview_, package_->IgnoreMouseMove()),
      terminationSignals_([this] { Carry(rules_.ForceClose()); }) {
    itemTimer_ = clock_.MakeTimer(TimerKind::Repeating, [this] { HandleInput({ShowInput::Kind::ItemTick}); });
    flashPlayers_ = std::make_unique<FlashPlayers>(this);
    movieHandover_ = new MovieHandover(this);
    connect(movieHandover_, &MovieHandover::handedOver, this, &ShowWindow::MovieHandedOver);
    // A movie first on show: the show's first frame is the movie's.
    connect(movieHandover_, &MovieHandover::movieShown, this, [this] {
        if (firstFrameReported_) return;
        firstFrameReported_ = true;
        TransitionStats::ReportFirstItem();
    });
    SetUpGeometry(host);
    limit_ = PlacementLimit({width(), height()});
    const int designWidth = package_->DesignWidth() > 0 ? package_->DesignWidth() : primaryScreen_.width;
    showScale_ = static_cast<double>(showSize_.width) / designWidth;
    SetUpAppearance();

    SequencerSettings settings;
    settings.preview = preview_;
    settings.showSize = showSize_;
    settings.primaryScreen = primaryScreen_;
    settings.origin = layoutOrigin_;
    settings.showScale = showScale_;
    sequencer_ =
        std::make_unique<ShowSequencer>(*package_, static_cast<ShowStage&>(*this), settings, random_);

    if (!sequencer_->playList().empty() && package_->PlacementMode() == kPlacementMoving)
        fly_ = std::make_unique<BouncingMotion>(
            Rect{0, 0, width(), height()}, trans_,
            clock_.MakeTimer(TimerKind::Repeating, [this] { HandleInput({ShowInput::Kind::MovementTick}); }),
            random_);

    if (embedded()) {
        // The host's window can go away without telling us: end with it, as
        // soon as the X server reports it, and by a check every second
        // where it cannot.
        const auto hostGone = [this] { Carry(rules_.ForceClose()); };
        new ForeignWindowWatch(hostWindow_, hostGone, this);
        hostWatch_ = new QTimer(this);
        connect(hostWatch_, &QTimer::timeout, this, [this, hostGone] {
            if (!ForeignWindowSize(hostWindow_)) hostGone();
        });
        hostWatch_->start(kHostWatchMs);
    }
    inputFilter_ =
        std::make_unique<ShowInputFilter>(this, [this](const ShowInput& input) { HandleInput(input); });
    TrimWorkingSet();
}

ShowWindow::~ShowWindow() {
    inputFilter_.reset();
    Teardown();
}

void ShowWindow::SetUpGeometry(WindowHandle host) {
    QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screen = primary ? primary->size() : QSize(1024, 768);
    primaryScreen_ = {screen.width(), screen.height()};

    const WindowHandle target = preview_ ? host : ScreenSaverHostWindow();
    if (target != 0) {
        const std::optional<QSize> client = ForeignWindowSize(target);
        if (client && EmbedInForeignWindow(this, target)) {
            placement_ = Placement::ForeignWindow;
            hostWindow_ = target;
            setGeometry(0, 0, client->width(), client->height());
            showSize_ = {client->width(), client->height()};
            return;
        }
    }
    showSize_ = primaryScreen_;
    if (OnWayland()) {
        // A Wayland window cannot place itself or cover several outputs: it
        // asks the shell for full screen on the primary output (Run) and is
        // laid out for that output's size.
        placement_ = Placement::Output;
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        if (primary) setScreen(primary);
        resize(screen);
        return;
    }
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    HideTaskbarEntry(this);
    setGeometry(primary ? primary->virtualGeometry() : QRect(QPoint(0, 0), screen));
    // The window covers every monitor; the show is laid out on the primary, wherever it lies.
    if (primary) {
        const QPoint origin = primary->geometry().topLeft() - primary->virtualGeometry().topLeft();
        layoutOrigin_ = {origin.x(), origin.y()};
    }
}

void ShowWindow::SetUpAppearance() {
    const uint32_t color = package_->BackgroundColor();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromColorRef(color));
    setPalette(palette);
    setAutoFillBackground(true);

    background_ = new BackgroundImage(this);
    background_->Paint(width(), height(), color, package_->Background());
    background_->show();
    background_->lower();
    package_->DropBackground();

    trans_ = new TransitionView(this, clock_, random_, pixels_);
    trans_->ChangeScene([color](TransitionScene& scene) {
        scene.backgroundMode = BackgroundMode::None;
        scene.color = color;
    });
    trans_->setGeometry(-1, -1, 1, 1);
    trans_->hide();
    TransitionPlayer& player = trans_->Player();
    connect(&player, &TransitionPlayer::finished, this, &ShowWindow::TransitionOver);
    connect(&player, &TransitionPlayer::progressChanged, this, [this] {
        stats_.CountFrame();
        if (!firstFrameReported_ && sequencer_ && !sequencer_->firstShow()) {
            firstFrameReported_ = true;
            TransitionStats::ReportFirstItem();
        }
    });

    const bool fullScreen = !preview_ && !embedded();
    if (fullScreen && !package_->KeepCursor()) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        cursorHidden_ = true;
    }
    if (fullScreen) {
        if (auto alpha = LayeredAlpha(package_->OpacityPercent())) setWindowOpacity(*alpha / 255.0);
    }
}

bool ShowWindow::Start() {
    // A preview whose box does not exist has nothing to draw into.
    if (preview_ && !embedded()) return false;
    // A show that opens with a movie starts the Flash engine at once, while
    // its window comes up: the page's start is most of a first movie's wait.
    if (FirstItemIsMovie()) flashPlayers_->Prepare();
    if (placement_ == Placement::Output) {
        showFullScreen();
        // A compositor grants activation when it sees fit, or never: the
        // show starts at once.
        Carry(rules_.StartWithoutActivation());
    } else if (embedded()) {
        // A window inside a host's window never becomes active (the host
        // keeps the focus): the show starts as soon as it is visible.
        ShowAndStart();
    } else {
        show();
        raise();
        activateWindow();
    }
    return true;
}

void ShowWindow::StartUnattended() {
    unattended_ = true;
    ShowAndStart();
}

void ShowWindow::ShowAndStart() {
    show();
    rules_.SetMouseRef(CursorPos());
    PostInput({ShowInput::Kind::ItemTick});
}

void ShowWindow::Teardown() {
    if (tornDown_) return;
    tornDown_ = true;
    ReportEnd();
    // Nothing of the show may start again, whichever way the window ends.
    if (sequencer_) sequencer_->Close();
    if (hostWatch_) hostWatch_->stop();
    StopTransition();
    KillItemTimer();
    fly_.reset();
    music_.reset();
    // The Flash players end first: their views and pages go now, and no page
    // is renewed, loaded or handed back into the window. Then every Flash
    // host goes while the window is whole: the current one, the pinned ones
    // and those released whose deferred deletion has not come.
    flashPlayers_.reset();
    currentFlash_ = nullptr;
    for (FlashHost* host : findChildren<FlashHost*>(Qt::FindDirectChildrenOnly))
        delete host;
    for (auto it = pinnedItems_.rbegin(); it != pinnedItems_.rend(); ++it)
        delete it->data();
    pinnedItems_.clear();
    sequencer_.reset();
    // Releasing the package removes the temporary files it extracted.
    package_.reset();
    if (cursorHidden_) {
        QGuiApplication::restoreOverrideCursor();
        cursorHidden_ = false;
    }
}

void ShowWindow::ReportEnd() {
    if (endReported_ || !StatsEnabled()) return;
    endReported_ = true;
    bool movieLoading = false;
    for (const FlashHost* host : findChildren<FlashHost*>(Qt::FindDirectChildrenOnly))
        movieLoading = movieLoading || (host->Player() && host->Player()->MovieLoading());
    const bool transition = trans_ && trans_->Player().state() != TransitionPlayer::State::NotRunning;
    const bool renewing = flashPlayers_ && flashPlayers_->PageRenewing();
    AppendStatsLine(std::string("show-end transition=") + (transition ? "1" : "0") + " movie-loading=" +
                    (movieLoading ? "1" : "0") + " page-renewal=" + (renewing ? "1" : "0"));
}

bool ShowWindow::FirstItemIsMovie() const {
    const int first = sequencer_ ? sequencer_->playList().CurrentIndex() : -1;
    return first >= 0 && package_->GetItem(first).kind == ShowItem::Flash;
}

bool ShowWindow::HasMovies() const {
    for (int i = 0; i < package_->ItemCount(); ++i)
        if (package_->GetItem(i).kind == ShowItem::Flash) return true;
    return false;
}

std::string ShowWindow::HomePageToOpen() const {
    return rules_.homePageRequest() && package_ ? HomePageAddress(package_->HomePage()) : std::string();
}

void ShowWindow::closeEvent(QCloseEvent* event) {
    // Full screen, only a close the rules accepted passes: Alt+F4 and the
    // window manager's own close requests are refused.
    if (!rules_.CloseQuery()) {
        event->ignore();
        return;
    }
    if (!preview_) fly_.reset();
    event->accept();
    ended_ = true;
    emit ended();
}

void ShowWindow::HandleInput(const ShowInput& input) {
    // No user is there: only the timers count.
    if (unattended_ && !input.IsTick()) return;
    if (input.kind == ShowInput::Kind::Activated && StatsEnabled())
        AppendStatsLine("window-activated width=" + std::to_string(width()) + " height=" +
                        std::to_string(height()) + " full-screen=" + (isFullScreen() ? "1" : "0"));
    // Creating a Flash player makes the web engine attach a window it made
    // as a top-level one; destroying that window reports a deactivation of
    // the show window although the user did nothing. Such deactivations do
    // not end the show; the window takes the activation back afterwards.
    if (flashAttach_ == FlashAttach::Attaching && input.kind == ShowInput::Kind::Deactivated) return;
    ShowRequest request = rules_.Handle(input);
    // The activation the window takes back itself after a Flash player
    // attached does not advance: that would cut the new movie's time short.
    if (input.kind == ShowInput::Kind::Activated && flashAttach_ == FlashAttach::ReclaimingActivation) {
        flashAttach_ = FlashAttach::None;
        if (request == ShowRequest::AdvanceForwardLater) request = ShowRequest::Nothing;
    }
    Carry(request);
}

void ShowWindow::Carry(ShowRequest request) {
    switch (request) {
    case ShowRequest::Nothing:
        break;
    case ShowRequest::AdvanceForward:
    case ShowRequest::AdvanceBackward:
        if (sequencer_) sequencer_->Advance(request == ShowRequest::AdvanceForward);
        break;
    case ShowRequest::AdvanceForwardLater:
        PostInput({ShowInput::Kind::ItemTick});
        break;
    case ShowRequest::MoveStep:
        if (fly_) fly_->MoveStep();
        break;
    case ShowRequest::StopActivity:
        StopActivity();
        break;
    case ShowRequest::EndShow:
        // What was under way when the show was asked to end, before it stops.
        ReportEnd();
        StopActivity();
        // Closed from the event loop, never from inside whatever asked.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        break;
    }
}

void ShowWindow::PostInput(ShowInput input) {
    QMetaObject::invokeMethod(
        this, [this, input] { HandleInput(input); }, Qt::QueuedConnection);
}

Point ShowWindow::CursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

std::optional<int> ShowWindow::itemTimerIntervalMs() const {
    if (!itemTimer_ || !itemTimer_->Active()) return std::nullopt;
    return itemIntervalMs_;
}

void ShowWindow::StopActivity() {
    StopMoving();
    StopTransition();
    KillItemTimer();
    if (sequencer_) sequencer_->Close();
}

void ShowWindow::AdvanceEnded() {
    // The music player takes a while to set up and plays its first track
    // only on its first tick three seconds on: it starts once the first
    // item is on screen (or once the first advance found nothing to show).
    if (musicStartMs_ || rules_.closing()) return;
    musicStartMs_ = clock_.NowMs();
    // With the first item on screen, a page is readied for the movies to come.
    if (HasMovies()) flashPlayers_->Prepare();
    if (sound_ == ShowSound::Play) StartMusic();
}

void ShowWindow::StartMusic() {
    music_ = std::make_unique<ShowMusic>(this, *package_, package_->Name(), !preview_, random_, kMusicTickMs,
                                         clock_);
    music_->SetClosingProbe([this] { return rules_.closing(); });
}

void ShowWindow::SetItemTimer(int intervalMs) {
    itemIntervalMs_ = intervalMs < 0 ? 0 : intervalMs;
    itemTimer_->Start(itemIntervalMs_);
}

void ShowWindow::KillItemTimer() {
    if (itemTimer_) itemTimer_->Stop();
}

Rect ShowWindow::PictureGeometry() const {
    const QRect g = trans_->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

Rect ShowWindow::PictureBounds() {
    // The bounds as asked for while the control stands where they put it (a
    // clamped item keeps its own rectangle); its real place once it moved.
    const Rect g = PictureGeometry();
    return g == limit_.Clamp(pictureRequest_) ? pictureRequest_ : g;
}

void ShowWindow::SetPictureBounds(const Rect& r) {
    pictureRequest_ = r;
    const Rect visible = limit_.Clamp(r);
    trans_->setGeometry(visible.left, visible.top, visible.width(), visible.height());
}

bool ShowWindow::PictureVisible() {
    return trans_->isVisible();
}

void ShowWindow::SetPictureVisible(bool visible) {
    trans_->setVisible(visible && !itemSkipped_);
}

template <class Step>
bool ShowWindow::Allocating(const char* step, Step&& run) {
    try {
        run();
        return true;
    } catch (const std::bad_alloc&) {
        AppendStatsLine("item-skipped reason=out-of-memory step=" + std::string(step));
        return false;
    }
}

void ShowWindow::SkipCurrentItem() {
    itemSkipped_ = true;
    trans_->hide();
}

void ShowWindow::CapturePicture(const Rect& bounds) {
    if (!Allocating("capture", [&] { CaptureArea(limit_.Clamp(bounds)); })) SkipCurrentItem();
}

void ShowWindow::CaptureArea(const Rect& r) {
    // What the window shows under r: background, pictures and labels. Parts
    // outside the window keep the background colour.
    // The background canvas under r, then every control above it that
    // overlaps r, bottom to top, rendered straight into the bitmap. Flash
    // hosts are left out: their movies are drawn by another process.
    Bitmap24 picture;
    if (background_ && background_->isVisible()) {
        picture = background_->Copy(r);
    } else {
        picture.setSize(r.width(), r.height());
        picture.fill(package_->BackgroundColor());
    }
    if (!picture.isEmpty()) {
        QImage image(picture.bits(), picture.width(), picture.height(),
                     static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888);
        QPainter painter(&image);
        const QRect area(r.left, r.top, r.width(), r.height());
        for (QObject* child : children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (!control || control == background_ || control->isWindow() || !control->isVisible() ||
                qobject_cast<FlashHost*>(control) || !control->geometry().intersects(area))
                continue;
            RenderFlags flags = DrawChildren;
            if (control->autoFillBackground()) flags |= DrawWindowBackground;
            control->render(&painter, control->pos() - area.topLeft(), QRegion(), flags);
        }
    }
    trans_->Player().Picture().assign(std::move(picture));
}

void ShowWindow::SetPicture(Bitmap24&& picture, int w, int h) {
    if (itemSkipped_) return;
    const Rect placed{pictureRequest_.left, pictureRequest_.top, pictureRequest_.left + w,
                      pictureRequest_.top + h};
    const bool made = Allocating("picture", [&] {
        limit_.FitPicture(picture, placed);
        trans_->Player().Picture().assign(std::move(picture));
    });
    if (!made) SkipCurrentItem();
}

void ShowWindow::PictureFromBackground() {
    if (itemSkipped_) return;
    const Rect bounds = PictureGeometry();
    const bool made = Allocating("background", [&] {
        if (background_ && background_->isVisible()) {
            trans_->Player().Picture().assign(background_->Copy(bounds));
        } else {
            Bitmap24 fill(bounds.width(), bounds.height());
            fill.fill(package_->BackgroundColor());
            trans_->Player().Picture().assign(std::move(fill));
        }
    });
    if (!made) SkipCurrentItem();
}

void ShowWindow::PaintPictureOntoBackground() {
    if (itemSkipped_) return;
    const Rect bounds = PictureGeometry();
    background_->Draw(trans_->Player().Picture().bitmap(), {bounds.left, bounds.top});
}

void ShowWindow::StartTransition(int style, int step, int delay) {
    // A skipped item runs no transition: it is over at once.
    if (itemSkipped_) {
        if (sequencer_) sequencer_->TransitionFinished();
        return;
    }
    stats_.Start(style);
    // The style is a byte; only the low 16 bits of the item's words count.
    // Without a picture the player finishes at once.
    trans_->Player().Play({.style = static_cast<uint8_t>(style),
                           .step = static_cast<uint16_t>(step),
                           .delay = static_cast<uint16_t>(delay)});
}

void ShowWindow::TransitionOver() {
    stats_.Finish();
    if (sequencer_) sequencer_->TransitionFinished();
}

void ShowWindow::ShowPictureAtOnce() {
    if (itemSkipped_) return;
    trans_->Player().Cut();
}

void ShowWindow::StopTransition() {
    if (trans_) trans_->Player().Stop();
}

FlashHost* ShowWindow::MakeFlashHost(const Rect& r, const std::vector<uint8_t>& movie, bool loop,
                                     const std::string& folder) {
    if (!flashPlayers_) return nullptr; // the window is going
    flashAttach_ = FlashAttach::Attaching;
    FlashHost* host = CreateFlashHost(this, *flashPlayers_, r.left, r.top, r.right, r.bottom);
    flashAttach_ = FlashAttach::None;
    // A Wayland window cannot take the activation back; it was never lost.
    if (!preview_ && placement_ == Placement::Desktop && isVisible() && !isActiveWindow()) {
        flashAttach_ = FlashAttach::ReclaimingActivation;
        activateWindow();
    }
    if (!host) return nullptr;
    host->SetMovieFolder(QString::fromStdString(folder));
    host->SetMovie(
        QByteArray(reinterpret_cast<const char*>(movie.data()), static_cast<qsizetype>(movie.size())));
    if (loop) host->SetLoop(true);
    host->show();
    // The movement test reads the cursor itself; the movie's coordinates do not matter.
    if (!package_->IgnoreMouseMove())
        host->SetOnMouseMove([this](QObject*, ShiftState, int, int) {
            PostInput({ShowInput::Kind::MouseMove, CursorPos()});
        });
    host->SetOnClick([this](QObject*) { HandleInput({ShowInput::Kind::MovieClick, CursorPos()}); });
    host->Play();
    return host;
}

void ShowWindow::BringOnMovie(int itemIndex, const Rect& bounds, std::optional<std::vector<uint8_t>> movie) {
    movieHandover_->Finish();
    FlashHost* leaving = currentFlash_;
    currentFlash_ = nullptr;
    if (!movie) {
        // Nothing to bring on: the item before goes at once.
        if (leaving) {
            leaving->hide();
            leaving->deleteLater();
        }
        SetPictureVisible(false);
        return;
    }
    const auto make = [this, itemIndex, bytes = std::move(*movie)](const Rect& at) -> FlashHost* {
        currentFlash_ = MakeFlashHost(at, bytes, package_->LoopMovies(), package_->MovieFolder(itemIndex));
        // A movie the player gives up on has ended: it takes its place (showing
        // nothing) and the next item comes at once rather than after the
        // item's time in front of an empty stage.
        if (currentFlash_ && currentFlash_->Player())
            currentFlash_->Player()->SetFailedHandler([this, host = QPointer<FlashHost>(currentFlash_)] {
                if (!host || host != currentFlash_) return;
                movieHandover_->Finish();
                SetItemTimer(1);
            });
        return currentFlash_;
    };
    movieHandover_->Begin(leaving, limit_.Clamp(bounds), make);
}

void ShowWindow::MovieHandedOver(FlashHost*) {
    // The picture before (if any) goes; the movement takes the movie on.
    SetPictureVisible(false);

    if (fly_ && flyTargetsMovie_) fly_->SetTarget(currentFlash_);
}

void ShowWindow::ReleaseCurrentFlash() {
    movieHandover_->Finish();
    if (!currentFlash_) return;
    currentFlash_->hide();
    // Deleted once control is back in the loop that runs the show, never
    // from inside one of the host's own handlers.
    currentFlash_->deleteLater();
    currentFlash_ = nullptr;
}

MovieProgress ShowWindow::CurrentMovie() {
    if (!currentFlash_) return {};
    return {true, currentFlash_->TotalFrames(), currentFlash_->FrameNum(), currentFlash_->Playing()};
}

bool ShowWindow::CurrentFlashPosition(Point& position) {
    // A movie on its way stands where it will stand.
    if (movieHandover_->pending()) {
        position = {movieHandover_->place().left, movieHandover_->place().top};
        return true;
    }
    if (!currentFlash_) return false;
    position = {currentFlash_->x(), currentFlash_->y()};
    return true;
}

void ShowWindow::ShowItemLabels(int itemIndex) {
    // Each item is entered after its labels are shown: a new item starts
    // with nothing skipped.
    itemSkipped_ = false;
    const LabelGroup* group = package_->Labels(itemIndex);
    RemoveLabels(this, LabelCount(group));
    ShowLabels(this, group, static_cast<double>(showSize_.height) / primaryScreen_.height,
               QPoint(layoutOrigin_.x, layoutOrigin_.y));
}

void ShowWindow::CreatePinnedItems() {
    for (int i = 0; i < package_->ItemCount(); ++i) {
        const ShowItem item = package_->GetItem(i);
        if (item.pinned == 0) continue;
        const Point place = FromOrigin(layoutOrigin_, item.left, item.top);
        const Point end = FromOrigin(place, item.width, item.height);
        const Rect r{place.x, place.y, end.x, end.y};
        if (item.kind == ShowItem::Picture) {
            Allocating("pinned", [&] {
                Bitmap24 picture;
                package_->LoadPicture(picture, i, 0);
                limit_.FitPicture(picture, r);
                pinnedItems_.emplace_back(MakePinnedPicture(this, picture, limit_.Clamp(r)));
            });
        } else if (item.kind == ShowItem::Flash) {
            if (auto movie = package_->ReadMovie(i))
                if (FlashHost* host = MakeFlashHost(limit_.Clamp(r), *movie, true, package_->MovieFolder(i)))
                    pinnedItems_.emplace_back(host);
        }
    }
}

void ShowWindow::StartMoving() {
    if (fly_) fly_->StartMoving();
}

void ShowWindow::StopMoving() {
    if (fly_) fly_->StopMoving();
}

void ShowWindow::SetFlyPosition(Point position) {
    if (fly_) fly_->SetPosition(position.x, position.y);
}

void ShowWindow::SetFlySize(Size size) {
    if (fly_) fly_->SetSize(size.width, size.height);
}

void ShowWindow::SetFlyTarget(bool flash) {
    if (!fly_) return;
    flyTargetsMovie_ = flash;
    // A movie on its way is taken on when it stands in its place.
    if (flash && movieHandover_->pending()) {
        fly_->SetTarget(nullptr);
        return;
    }
    if (flash)
        fly_->SetTarget(currentFlash_);
    else
        fly_->SetTarget(trans_);
}

} // namespace scr
