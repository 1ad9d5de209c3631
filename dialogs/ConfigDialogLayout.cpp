// TForm_XSCR_Config: the components, their Tags and where they sit.
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

void TForm_XSCR_Config::CreateComponents() {
    PanelMain = Named(new BevelPanel(this), "PanelMain");
    PanelMain->setColor(ColorFromColorRef(kFormColor));
    PanelMain->resize(kPanelWidth, kPanelHeight);

    PanelTitle = Named(new BevelPanel(PanelMain), "PanelTitle");
    PanelTitle->setColor(Qt::white);
    PanelTitle->setGeometry(0, 0, kPanelWidth, kTitleStripHeight);
    LabelScrName = MakeLabel(PanelTitle, "LabelScrName", 0, PanelTitle->rect());
    LabelScrName->setFont(SerifFont(16, true));
    LabelScrName->setAlignment(Qt::AlignCenter);

    PageControlScr = Named(new PageControl(PanelMain), "PageControlScr");
    PageControlScr->setGeometry(kPagesLeft, kPagesTop, kPagesWidth, kPagesHeight);
    PageControlScr->SetTabHeight(kTabHeight);
    CreateGeneralPage();
    CreatePicturesPage();
    CreateMusicPage();
    CreateLicensePage();
    CreateTabButtons();

    PanelButtons = Named(new BevelPanel(PanelMain), "PanelButtons");
    PanelButtons->setColor(ColorFromColorRef(kFormColor));
    PanelButtons->setGeometry(0, kPanelHeight - kButtonPanelHeight, kPanelWidth, kButtonPanelHeight);
    auto* bevel = Named(new QFrame(PanelButtons), "BevelButtons");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(kPagesLeft, 0, kPagesWidth, 2);
    BtnOK = Named(new QPushButton(PanelButtons), "BtnOK");
    BtnOK->setGeometry(kPagesLeft + kPagesWidth - 2 * 85 - 10, 22, 85, 35);
    BtnOK->setDefault(true);
    DeclareComponent(BtnOK, ComponentRole::Button, 1023);
    BtnCancel = Named(new QPushButton(PanelButtons), "BtnCancel");
    BtnCancel->setGeometry(kPagesLeft + kPagesWidth - 85, 22, 85, 35);
    DeclareComponent(BtnCancel, ComponentRole::Button, 1024);
    SetCancelButton(BtnCancel);

    TimerMusics = Named(new QTimer(this), "TimerMusics");
    TimerMusics->setInterval(kMusicPollMs);

    PMWallpaper = Named(new QMenu(this), "PMWallpaper");
    const auto addItem = [this](const char* name, int tag) {
        QAction* item = Named(PMWallpaper->addAction(QString()), name);
        DeclareComponent(item, ComponentRole::MenuItem, tag);
        return item;
    };
    PMICenter = addItem("PMICenter", 1028);
    PMITile = addItem("PMITile", 1029);
    PMIStretch = addItem("PMIStretch", 1030);
    PMWallpaper->addSeparator();
    PMIRemove = addItem("PMIRemove", 1031);
}

void TForm_XSCR_Config::CreateGeneralPage() {
    TSGeneral = MakePage("TSGeneral", 1001);
    PageControlScr->AddPage(TSGeneral);
    const int pageWidth = PageControlScr->PageRect().width();
    const int pageHeight = PageControlScr->PageRect().height();

    LabelScrDesc = MakeLabel(TSGeneral, "LabelScrDesc", 0, QRect(16, 14, 405, 110));
    LabelScrDesc->setWordWrap(true);
    LabelScrDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ImagesScrIcon = Named(new ImageControl(TSGeneral), "ImagesScrIcon");
    ImagesScrIcon->setGeometry(pageWidth - 99 - 14, 14, 99, 77);
    ImagesScrIcon->setCenter(true);

    PanelCR = Named(new BevelPanel(TSGeneral), "PanelCR");
    PanelCR->setColor(Qt::white);
    PanelCR->setBevelOuter(BevelPanel::Bevel::Lowered);
    PanelCR->setBorderWidth(5);
    PanelCR->setCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelCR->setGeometry(10, pageHeight - 89 - 10, pageWidth - 20, 89);

    PanelCopyRight = Named(new QWidget(PanelCR), "PanelCopyRight");
    PanelCopyRight->setGeometry(PanelCR->innerRect());
    const auto row = [this](const char* titleName, int tag, const char* valueName, int top, QLabel*& title,
                            QLabel*& value) {
        title = MakeLabel(PanelCopyRight, titleName, tag, QRect(0, top, 110, 21));
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        title->setFont(DialogFont(12));
        value = MakeLabel(PanelCopyRight, valueName, 0, QRect(120, top, 272, 21));
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        SetTextColor(value, kLinkColor);
    };
    row("Label1", 1007, "LabelAuthor", 3, Label1, LabelAuthor);
    row("Label3", 1008, "LabelEmail", 26, Label3, LabelEmail);
    row("Label5", 1009, "LabelHomePage", 49, Label5, LabelHomePage);
    for (QLabel* link : {LabelEmail, LabelHomePage}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
}

void TForm_XSCR_Config::CreatePicturesPage() {
    TSPictures = MakePage("TSPictures", 1002);
    PageControlScr->AddPage(TSPictures);
    PageControlScr->SetTabVisible(TSPictures, false);

    ComboBoxPics = Named(new OwnerDrawComboBox(TSPictures), "ComboBoxPics");
    ComboBoxPics->setItemHeight(100);
    ComboBoxPics->setMaxVisibleItems(1);
    ComboBoxPics->setGeometry(14, 12, 173, 106);

    const struct {
        QToolButton*& button;
        const char* name;
        int tag;
        DialogGlyph glyph;
    } commands[] = {{SBtnPSave, "SBtnPSave", 1017, DialogGlyph::Save},
                    {SBtnPSaveAll, "SBtnPSaveAll", 1018, DialogGlyph::SaveAll},
                    {BtnWallpaper, "BtnWallpaper", 1026, DialogGlyph::Wallpaper}};
    int top = 130;
    for (const auto& command : commands) {
        command.button = MakeSpeedButton(TSPictures, command.name, command.tag, QRect(20, top, 161, 30));
        command.button->setIcon(DialogGlyphIcon(command.glyph, 20));
        command.button->setIconSize(QSize(20, 20));
        command.button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        top += 34;
    }

    PanelScreen = Named(new BevelPanel(TSPictures), "PanelScreen");
    PanelScreen->setBevelOuter(BevelPanel::Bevel::None);
    PanelScreen->setBevelInner(BevelPanel::Bevel::Lowered);
    PanelScreen->setBorderWidth(2);
    // A 16:10 screen in small: 336 x 210, centred beside the commands.
    PanelScreen->setGeometry(199, 15, 336, 210);
    ImageFore = Named(new ImageControl(PanelScreen), "ImageFore");
    ImageFore->setTransparent(false);
}

void TForm_XSCR_Config::CreateMusicPage() {
    TSMusics = MakePage("TSMusics", 1003);
    PageControlScr->AddPage(TSMusics);
    PageControlScr->SetTabVisible(TSMusics, false);
    const int pageWidth = PageControlScr->PageRect().width();

    ComboBoxMusics = Named(new OwnerDrawComboBox(TSMusics), "ComboBoxMusics");
    ComboBoxMusics->setItemHeight(50);
    ComboBoxMusics->setGeometry(14, 14, 441, 56);

    ToolBarMusic = Named(new QToolBar(TSMusics), "ToolBarMusic");
    ToolBarMusic->setIconSize(QSize(32, 32));
    ToolBarMusic->setMovable(false);
    ToolBarMusic->setFloatable(false);
    const auto addButton = [this](const char* name, DialogGlyph glyph) {
        auto* button = Named(new QToolButton(ToolBarMusic), name);
        button->setIcon(DialogGlyphIcon(glyph, 32));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(56, 41);
        button->setAutoRaise(true);
        return button;
    };
    TBtnEMusicPlay = addButton("TBtnEMusicPlay", DialogGlyph::Play);
    TBtnEMusicPause = addButton("TBtnEMusicPause", DialogGlyph::Pause);
    TBtnEMusicStop = addButton("TBtnEMusicStop", DialogGlyph::Stop);
    TBtnSaveM = addButton("TBtnSaveM", DialogGlyph::Save);
    ToolBarMusic->addWidget(TBtnEMusicPlay);
    ToolBarMusic->addWidget(TBtnEMusicPause);
    ToolBarMusic->addWidget(TBtnEMusicStop);
    ToolBarMusic->addSeparator();
    ToolBarMusic->addWidget(TBtnSaveM);
    ToolBarMusic->setGeometry(14, 78, pageWidth - 28, 45);

    // A note beside the track selector.
    auto* note = Named(new ImageControl(TSMusics), "ImageMusicNote");
    note->setGeometry(ComboBoxMusics->geometry().right() + 1, 14,
                      pageWidth - 14 - ComboBoxMusics->geometry().right() - 1, 56);
    note->setCenter(true);
    note->setPicture(DialogGlyphIcon(DialogGlyph::Note, 48).pixmap(48, 48));

    GroupBox1 = Named(new QGroupBox(TSMusics), "GroupBox1");
    DeclareComponent(GroupBox1, ComponentRole::GroupBox, 1025);
    GroupBox1->setGeometry(14, 134, pageWidth - 28, 95);
    const struct {
        QCheckBox*& box;
        const char* name;
        int tag;
    } options[] = {{CheckBoxMusicROP, "CheckBoxMusicROP", 1019},
                   {CheckBoxMusicRA, "CheckBoxMusicRA", 1020},
                   {CheckBoxMusicMute, "CheckBoxMusicMute", 1021}};
    int top = 24;
    for (const auto& option : options) {
        option.box = Named(new QCheckBox(GroupBox1), option.name);
        option.box->setGeometry(18, top, GroupBox1->width() - 36, 20);
        DeclareComponent(option.box, ComponentRole::CheckBox, option.tag);
        top += 22;
    }
}

void TForm_XSCR_Config::CreateLicensePage() {
    TSLicense = MakePage("TSLicense", 1032);
    PageControlScr->AddPage(TSLicense);
    const QRect page = PageControlScr->PageRect();
    MemoLA = Named(new QPlainTextEdit(TSLicense), "MemoLA");
    MemoLA->setReadOnly(true);
    MemoLA->installEventFilter(this);
    MemoLA->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLA->setGeometry(10, 10, page.width() - 20, page.height() - 20);
}

void TForm_XSCR_Config::CreateTabButtons() {
    PanelHideTabs = Named(new BevelPanel(PanelMain), "PanelHideTabs");
    PanelHideTabs->setColor(ColorFromColorRef(kFormColor));
    auto* group = new QButtonGroup(PanelHideTabs);
    group->setExclusive(true);
    const struct {
        QToolButton*& button;
        const char* name;
        int tag;
    } tabs[] = {{BtnTab1, "BtnTab1", 1001},
                {BtnTab2, "BtnTab2", 1002},
                {BtnTab3, "BtnTab3", 1003},
                {BtnTab6, "BtnTab6", 1032}};
    for (const auto& tab : tabs) {
        tab.button = MakeSpeedButton(PanelHideTabs, tab.name, tab.tag, QRect(0, 0, kTabWidth, kTabHeight));
        tab.button->setCheckable(true);
        tab.button->setFocusPolicy(Qt::NoFocus);
        group->addButton(tab.button);
    }
    BtnTab1->setChecked(true);
    // The bar's own look: tabs with rounded tops; the one down is the page's colour.
    PanelHideTabs->setStyleSheet(QStringLiteral(
        "QToolButton { border: 1px solid #8E939B; border-bottom: none; border-top-left-radius: 5px;"
        " border-top-right-radius: 5px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F5F7,"
        " stop:1 #C9CDD3); color: #30343A; padding: 0 6px; }"
        "QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF,"
        " stop:1 #D8DDE5); }"
        "QToolButton:checked { background: #ECECEC; font-weight: bold; color: #10151C; }"));
}

void TForm_XSCR_Config::ConnectHandlers() {
    connect(BtnOK, &QPushButton::clicked, this, &TForm_XSCR_Config::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TForm_XSCR_Config::BtnCancelClick);
    for (QToolButton* tab : {BtnTab1, BtnTab2, BtnTab3, BtnTab6})
        connect(tab, &QToolButton::clicked, this, [this, tab] { BtnTabsClick(tab); });
    connect(ComboBoxPics, &QComboBox::currentIndexChanged, this, &TForm_XSCR_Config::ComboBoxPicsChange);
    ComboBoxPics->setDrawItemHandler([this](QPainter& painter, int index, const QRect& rect, bool selected) {
        ComboBoxPicsDrawItem(painter, index, rect, selected);
    });
    connect(ComboBoxMusics, &QComboBox::currentIndexChanged, this, &TForm_XSCR_Config::ComboBoxMusicsChange);
    ComboBoxMusics->setDrawItemHandler(
        [this](QPainter& painter, int index, const QRect& rect, bool selected) {
            ComboBoxMusicsDrawItem(painter, index, rect, selected);
        });
    connect(TBtnEMusicPlay, &QToolButton::clicked, this, &TForm_XSCR_Config::TBtnEMusicPlayClick);
    connect(TBtnEMusicPause, &QToolButton::clicked, this, &TForm_XSCR_Config::TBtnEMusicPauseClick);
    connect(TBtnEMusicStop, &QToolButton::clicked, this, &TForm_XSCR_Config::TBtnEMusicStopClick);
    connect(TBtnSaveM, &QToolButton::clicked, this, &TForm_XSCR_Config::TBtnSaveMClick);
    connect(TimerMusics, &QTimer::timeout, this, &TForm_XSCR_Config::TimerMusicsTimer);
    connect(SBtnPSave, &QToolButton::clicked, this, &TForm_XSCR_Config::SBtnPSaveClick);
    connect(SBtnPSaveAll, &QToolButton::clicked, this, &TForm_XSCR_Config::SBtnPSaveAllClick);
    connect(BtnWallpaper, &QToolButton::clicked, this, &TForm_XSCR_Config::BtnWallpaperClick);
    connect(PMWallpaper, &QMenu::aboutToShow, this, &TForm_XSCR_Config::PMWallpaperPopup);
    for (QAction* item : {PMICenter, PMITile, PMIStretch})
        connect(item, &QAction::triggered, this, [this, item] { PMIWallpaperClick(item); });
    connect(PMIRemove, &QAction::triggered, this, &TForm_XSCR_Config::PMIRemoveClick);
}

} // namespace scr
