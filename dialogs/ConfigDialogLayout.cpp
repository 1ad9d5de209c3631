// ConfigDialog: the components, their Tags and where they sit.
#include "dialogs/ComponentRole.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/ConfigDialogIcons.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/PageControl.h"
#include "platform/gui/ImageControl.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace scr {
namespace {

constexpr int kPanelWidth = 585;
constexpr int kPanelHeight = 393;
constexpr int kTitleStripHeight = 32;
constexpr int kPagesLeft = 17;
constexpr int kPagesTop = 40;
constexpr int kPagesWidth = 551;
constexpr int kPagesHeight = 268;
constexpr int kTabHeight = 25;
constexpr int kTabWidth = 80;
constexpr int kButtonPanelHeight = 78;

// Colours of the pages and of the links.
const QColor kPageColor(0xEC, 0xEC, 0xEC);
const QColor kLinkColor(0x00, 0x33, 0xCC);

template <typename T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int tag, const QRect& bounds) {
    auto* label = Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(bounds);
    DeclareComponent(label, ComponentRole::Label, tag);
    return label;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, int tag, const QRect& bounds) {
    auto* button = Named(new QToolButton(parent), name);
    button->setGeometry(bounds);
    button->setFocusPolicy(Qt::StrongFocus);
    DeclareComponent(button, ComponentRole::SpeedButton, tag);
    return button;
}

QWidget* MakePage(const char* name, int tag) {
    auto* page = Named(new QWidget, name);
    page->setAutoFillBackground(true);
    QPalette colours = page->palette();
    colours.setColor(QPalette::Window, kPageColor);
    page->setPalette(colours);
    DeclareComponent(page, ComponentRole::TabSheet, tag);
    return page;
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, color);
    widget->setPalette(colours);
}

QFont SerifFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::Serif);
    return font;
}

} // namespace

void ConfigDialog::CreateComponents() {
    ui_.panel = Named(new BevelPanel(this), "PanelMain");
    ui_.panel->setColor(ColorFromColorRef(kFormColor));
    ui_.panel->resize(kPanelWidth, kPanelHeight);

    ui_.titleStrip = Named(new BevelPanel(ui_.panel), "PanelTitle");
    ui_.titleStrip->setColor(Qt::white);
    ui_.titleStrip->setGeometry(0, 0, kPanelWidth, kTitleStripHeight);
    ui_.name = MakeLabel(ui_.titleStrip, "LabelScrName", 0, ui_.titleStrip->rect());
    ui_.name->setFont(SerifFont(16, true));
    ui_.name->setAlignment(Qt::AlignCenter);

    ui_.pages = Named(new PageControl(ui_.panel), "PageControlScr");
    ui_.pages->setGeometry(kPagesLeft, kPagesTop, kPagesWidth, kPagesHeight);
    ui_.pages->SetTabHeight(kTabHeight);
    CreateGeneralPage();
    CreatePicturesPage();
    CreateMusicPage();
    CreateLicensePage();
    CreateTabButtons();

    ui_.buttonRow = Named(new BevelPanel(ui_.panel), "PanelButtons");
    ui_.buttonRow->setColor(ColorFromColorRef(kFormColor));
    ui_.buttonRow->setGeometry(0, kPanelHeight - kButtonPanelHeight, kPanelWidth, kButtonPanelHeight);
    auto* bevel = Named(new QFrame(ui_.buttonRow), "BevelButtons");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(kPagesLeft, 0, kPagesWidth, 2);
    ui_.ok = Named(new QPushButton(ui_.buttonRow), "BtnOK");
    ui_.ok->setGeometry(kPagesLeft + kPagesWidth - 2 * 85 - 10, 22, 85, 35);
    ui_.ok->setDefault(true);
    DeclareComponent(ui_.ok, ComponentRole::Button, 1023);
    ui_.cancel = Named(new QPushButton(ui_.buttonRow), "BtnCancel");
    ui_.cancel->setGeometry(kPagesLeft + kPagesWidth - 85, 22, 85, 35);
    DeclareComponent(ui_.cancel, ComponentRole::Button, 1024);
    SetCancelButton(ui_.cancel);

    ui_.playerPoll = Named(new QTimer(this), "TimerMusics");
    ui_.playerPoll->setInterval(kMusicPollMs);

    ui_.wallpaperMenu = Named(new QMenu(this), "PMWallpaper");
    const auto addItem = [this](const char* name, int tag) {
        QAction* item = Named(ui_.wallpaperMenu->addAction(QString()), name);
        DeclareComponent(item, ComponentRole::MenuItem, tag);
        return item;
    };
    ui_.centerWallpaper = addItem("PMICenter", 1028);
    ui_.tileWallpaper = addItem("PMITile", 1029);
    ui_.stretchWallpaper = addItem("PMIStretch", 1030);
    ui_.wallpaperMenu->addSeparator();
    ui_.removeWallpaper = addItem("PMIRemove", 1031);
}

void ConfigDialog::CreateGeneralPage() {
    ui_.generalPage = MakePage("TSGeneral", 1001);
    ui_.pages->AddPage(ui_.generalPage);
    const int pageWidth = ui_.pages->PageRect().width();
    const int pageHeight = ui_.pages->PageRect().height();

    ui_.description = MakeLabel(ui_.generalPage, "LabelScrDesc", 0, QRect(16, 14, 405, 110));
    ui_.description->setWordWrap(true);
    ui_.description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ui_.icon = Named(new ImageControl(ui_.generalPage), "ImagesScrIcon");
    ui_.icon->setGeometry(pageWidth - 99 - 14, 14, 99, 77);
    ui_.icon->setCenter(true);

    ui_.authorPanel = Named(new BevelPanel(ui_.generalPage), "PanelCR");
    ui_.authorPanel->setColor(Qt::white);
    ui_.authorPanel->setBevelOuter(BevelPanel::Bevel::Lowered);
    ui_.authorPanel->setBorderWidth(5);
    ui_.authorPanel->setCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui_.authorPanel->setGeometry(10, pageHeight - 89 - 10, pageWidth - 20, 89);

    ui_.authorBlock = Named(new QWidget(ui_.authorPanel), "PanelCopyRight");
    ui_.authorBlock->setGeometry(ui_.authorPanel->innerRect());
    const auto row = [this](const char* titleName, int tag, const char* valueName, int top, QLabel*& title,
                            QLabel*& value) {
        title = MakeLabel(ui_.authorBlock, titleName, tag, QRect(0, top, 110, 21));
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        title->setFont(DialogFont(12));
        value = MakeLabel(ui_.authorBlock, valueName, 0, QRect(120, top, 272, 21));
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        SetTextColor(value, kLinkColor);
    };
    row("Label1", 1007, "LabelAuthor", 3, ui_.authorTitle, ui_.author);
    row("Label3", 1008, "LabelEmail", 26, ui_.emailTitle, ui_.email);
    row("Label5", 1009, "LabelHomePage", 49, ui_.homePageTitle, ui_.homePage);
    for (QLabel* link : {ui_.email, ui_.homePage}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
}

void ConfigDialog::CreatePicturesPage() {
    ui_.picturesPage = MakePage("TSPictures", 1002);
    ui_.pages->AddPage(ui_.picturesPage);
    ui_.pages->SetTabVisible(ui_.picturesPage, false);

    ui_.pictureSelector = Named(new OwnerDrawComboBox(ui_.picturesPage), "ComboBoxPics");
    ui_.pictureSelector->setItemHeight(100);
    ui_.pictureSelector->setMaxVisibleItems(1);
    ui_.pictureSelector->setGeometry(14, 12, 173, 106);

    const struct {
        QToolButton*& button;
        const char* name;
        int tag;
        DialogGlyph glyph;
    } commands[] = {{ui_.savePicture, "SBtnPSave", 1017, DialogGlyph::Save},
                    {ui_.saveAllPictures, "SBtnPSaveAll", 1018, DialogGlyph::SaveAll},
                    {ui_.wallpaper, "BtnWallpaper", 1026, DialogGlyph::Wallpaper}};
    int top = 130;
    for (const auto& command : commands) {
        command.button =
            MakeSpeedButton(ui_.picturesPage, command.name, command.tag, QRect(20, top, 161, 30));
        command.button->setIcon(DialogGlyphIcon(command.glyph, 20));
        command.button->setIconSize(QSize(20, 20));
        command.button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        top += 34;
    }

    ui_.previewScreen = Named(new BevelPanel(ui_.picturesPage), "PanelScreen");
    ui_.previewScreen->setBevelOuter(BevelPanel::Bevel::None);
    ui_.previewScreen->setBevelInner(BevelPanel::Bevel::Lowered);
    ui_.previewScreen->setBorderWidth(2);
    // A 16:10 screen in small: 336 x 210, centred beside the commands.
    ui_.previewScreen->setGeometry(199, 15, 336, 210);
    ui_.preview = Named(new ImageControl(ui_.previewScreen), "ImageFore");
    ui_.preview->setTransparent(false);
}

void ConfigDialog::CreateMusicPage() {
    ui_.musicPage = MakePage("TSMusics", 1003);
    ui_.pages->AddPage(ui_.musicPage);
    ui_.pages->SetTabVisible(ui_.musicPage, false);
    const int pageWidth = ui_.pages->PageRect().width();

    ui_.trackSelector = Named(new OwnerDrawComboBox(ui_.musicPage), "ComboBoxMusics");
    ui_.trackSelector->setItemHeight(50);
    ui_.trackSelector->setGeometry(14, 14, 441, 56);

    ui_.playerBar = Named(new QToolBar(ui_.musicPage), "ToolBarMusic");
    ui_.playerBar->setIconSize(QSize(32, 32));
    ui_.playerBar->setMovable(false);
    ui_.playerBar->setFloatable(false);
    const auto addButton = [this](const char* name, DialogGlyph glyph) {
        auto* button = Named(new QToolButton(ui_.playerBar), name);
        button->setIcon(DialogGlyphIcon(glyph, 32));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(56, 41);
        button->setAutoRaise(true);
        return button;
    };
    ui_.play = addButton("TBtnEMusicPlay", DialogGlyph::Play);
    ui_.pause = addButton("TBtnEMusicPause", DialogGlyph::Pause);
    ui_.stop = addButton("TBtnEMusicStop", DialogGlyph::Stop);
    ui_.saveTrack = addButton("TBtnSaveM", DialogGlyph::Save);
    ui_.playerBar->addWidget(ui_.play);
    ui_.playerBar->addWidget(ui_.pause);
    ui_.playerBar->addWidget(ui_.stop);
    ui_.playerBar->addSeparator();
    ui_.playerBar->addWidget(ui_.saveTrack);
    ui_.playerBar->setGeometry(14, 78, pageWidth - 28, 45);

    // A note beside the track selector.
    auto* note = Named(new ImageControl(ui_.musicPage), "ImageMusicNote");
    note->setGeometry(ui_.trackSelector->geometry().right() + 1, 14,
                      pageWidth - 14 - ui_.trackSelector->geometry().right() - 1, 56);
    note->setCenter(true);
    note->setPicture(DialogGlyphIcon(DialogGlyph::Note, 48).pixmap(48, 48));

    ui_.musicOptions = Named(new QGroupBox(ui_.musicPage), "GroupBox1");
    DeclareComponent(ui_.musicOptions, ComponentRole::GroupBox, 1025);
    ui_.musicOptions->setGeometry(14, 134, pageWidth - 28, 95);
    const struct {
        QCheckBox*& box;
        const char* name;
        int tag;
    } options[] = {{ui_.randomOrder, "CheckBoxMusicROP", 1019},
                   {ui_.repeat, "CheckBoxMusicRA", 1020},
                   {ui_.mute, "CheckBoxMusicMute", 1021}};
    int top = 24;
    for (const auto& option : options) {
        option.box = Named(new QCheckBox(ui_.musicOptions), option.name);
        option.box->setGeometry(18, top, ui_.musicOptions->width() - 36, 20);
        DeclareComponent(option.box, ComponentRole::CheckBox, option.tag);
        top += 22;
    }
}

void ConfigDialog::CreateLicensePage() {
    ui_.licensePage = MakePage("TSLicense", 1032);
    ui_.pages->AddPage(ui_.licensePage);
    const QRect page = ui_.pages->PageRect();
    ui_.licenseText = Named(new QPlainTextEdit(ui_.licensePage), "MemoLA");
    ui_.licenseText->setReadOnly(true);
    ui_.licenseText->installEventFilter(this);
    ui_.licenseText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui_.licenseText->setGeometry(10, 10, page.width() - 20, page.height() - 20);
}

void ConfigDialog::CreateTabButtons() {
    ui_.tabBar = Named(new BevelPanel(ui_.panel), "PanelHideTabs");
    ui_.tabBar->setColor(ColorFromColorRef(kFormColor));
    auto* group = new QButtonGroup(ui_.tabBar);
    group->setExclusive(true);
    const struct {
        QToolButton*& button;
        const char* name;
        int tag;
    } tabs[] = {{ui_.generalTab, "BtnTab1", 1001},
                {ui_.picturesTab, "BtnTab2", 1002},
                {ui_.musicTab, "BtnTab3", 1003},
                {ui_.licenseTab, "BtnTab6", 1032}};
    for (const auto& tab : tabs) {
        tab.button = MakeSpeedButton(ui_.tabBar, tab.name, tab.tag, QRect(0, 0, kTabWidth, kTabHeight));
        tab.button->setCheckable(true);
        tab.button->setFocusPolicy(Qt::NoFocus);
        group->addButton(tab.button);
    }
    ui_.generalTab->setChecked(true);
    // The bar's own look: tabs with rounded tops; the one down is the page's colour.
    ui_.tabBar->setStyleSheet(QStringLiteral(
        "QToolButton { border: 1px solid #8E939B; border-bottom: none; border-top-left-radius: 5px;"
        " border-top-right-radius: 5px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F5F7,"
        " stop:1 #C9CDD3); color: #30343A; padding: 0 6px; }"
        "QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF,"
        " stop:1 #D8DDE5); }"
        "QToolButton:checked { background: #ECECEC; font-weight: bold; color: #10151C; }"));
}

void ConfigDialog::ConnectHandlers() {
    connect(ui_.ok, &QPushButton::clicked, this, &ConfigDialog::BtnOKClick);
    connect(ui_.cancel, &QPushButton::clicked, this, &ConfigDialog::BtnCancelClick);
    for (QToolButton* tab : {ui_.generalTab, ui_.picturesTab, ui_.musicTab, ui_.licenseTab})
        connect(tab, &QToolButton::clicked, this, [this, tab] { BtnTabsClick(tab); });
    connect(ui_.pictureSelector, &QComboBox::currentIndexChanged, this, &ConfigDialog::ComboBoxPicsChange);
    ui_.pictureSelector->setDrawItemHandler(
        [this](QPainter& painter, int index, const QRect& rect, bool selected) {
            ComboBoxPicsDrawItem(painter, index, rect, selected);
        });
    connect(ui_.trackSelector, &QComboBox::currentIndexChanged, this, &ConfigDialog::ComboBoxMusicsChange);
    ui_.trackSelector->setDrawItemHandler(
        [this](QPainter& painter, int index, const QRect& rect, bool selected) {
            ComboBoxMusicsDrawItem(painter, index, rect, selected);
        });
    connect(ui_.play, &QToolButton::clicked, this, &ConfigDialog::TBtnEMusicPlayClick);
    connect(ui_.pause, &QToolButton::clicked, this, &ConfigDialog::TBtnEMusicPauseClick);
    connect(ui_.stop, &QToolButton::clicked, this, &ConfigDialog::TBtnEMusicStopClick);
    connect(ui_.saveTrack, &QToolButton::clicked, this, &ConfigDialog::TBtnSaveMClick);
    connect(ui_.playerPoll, &QTimer::timeout, this, &ConfigDialog::TimerMusicsTimer);
    connect(ui_.savePicture, &QToolButton::clicked, this, &ConfigDialog::SBtnPSaveClick);
    connect(ui_.saveAllPictures, &QToolButton::clicked, this, &ConfigDialog::SBtnPSaveAllClick);
    connect(ui_.wallpaper, &QToolButton::clicked, this, &ConfigDialog::BtnWallpaperClick);
    connect(ui_.wallpaperMenu, &QMenu::aboutToShow, this, &ConfigDialog::PMWallpaperPopup);
    for (QAction* item : {ui_.centerWallpaper, ui_.tileWallpaper, ui_.stretchWallpaper})
        connect(item, &QAction::triggered, this, [this, item] { PMIWallpaperClick(item); });
    connect(ui_.removeWallpaper, &QAction::triggered, this, &ConfigDialog::PMIRemoveClick);
}

} // namespace scr
