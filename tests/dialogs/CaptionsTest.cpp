#include "dialogs/BevelPanel.h"
#include "dialogs/ComponentRole.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/SkinnedDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace scr {
namespace {

// A button class of our own that is not declared with a role, like a
// descendant of the button class: captions never reach it.
class FancyButton : public QPushButton {
public:
    using QPushButton::QPushButton;
};

// A form with one component of each caption-bearing role, tagged and
// untagged, and components the captions must never reach.
struct CaptionForm {
    QWidget form;
    QTabWidget* tabs = new QTabWidget(&form);
    QWidget* pageTagged = new QWidget;
    QWidget* pageUntagged = new QWidget;
    QLabel* label = new QLabel(QStringLiteral("label"), pageTagged);
    QLabel* labelTagged = new QLabel(QStringLiteral("label 1007"), pageTagged);
    QPushButton* button = new QPushButton(QStringLiteral("button"), &form);
    QPushButton* cancel = new QPushButton(QStringLiteral("cancel"), &form);
    QCheckBox* check = new QCheckBox(QStringLiteral("check"), pageUntagged);
    QGroupBox* group = new QGroupBox(QStringLiteral("group"), pageUntagged);
    QToolButton* speed = new QToolButton(&form);
    QMenu* menu = new QMenu(&form);
    QAction* item = menu->addAction(QStringLiteral("item"));
    QAction* itemTagged = menu->addAction(QStringLiteral("item 1028"));
    // never captioned
    QLabel* picture = new QLabel(QStringLiteral("picture"), &form);
    BevelPanel* panel = new BevelPanel(&form);
    QLineEdit* edit = new QLineEdit(QStringLiteral("edit"), &form);
    FancyButton* fancy = new FancyButton(QStringLiteral("fancy"), &form);
    QPushButton* negative = new QPushButton(QStringLiteral("negative"), &form);
    QLabel* mismatched = new QLabel(QStringLiteral("mismatched"), &form);

    CaptionForm() {
        tabs->addTab(pageTagged, QStringLiteral("page 1001"));
        tabs->addTab(pageUntagged, QStringLiteral("page"));
        DeclareComponent(pageTagged, ComponentRole::TabSheet, 1001);
        DeclareComponent(pageUntagged, ComponentRole::TabSheet);
        DeclareComponent(label, ComponentRole::Label);
        DeclareComponent(labelTagged, ComponentRole::Label, 1007);
        DeclareComponent(button, ComponentRole::Button);
        DeclareComponent(cancel, ComponentRole::Button, 1024);
        DeclareComponent(check, ComponentRole::CheckBox);
        DeclareComponent(group, ComponentRole::GroupBox);
        speed->setText(QStringLiteral("speed"));
        DeclareComponent(speed, ComponentRole::SpeedButton);
        DeclareComponent(item, ComponentRole::MenuItem);
        DeclareComponent(itemTagged, ComponentRole::MenuItem, 1028);
        panel->setCaption(QStringLiteral("panel"));
        SetComponentTag(panel, 0);
        SetComponentTag(edit, 0);
        DeclareComponent(negative, ComponentRole::Button, -1);
        DeclareComponent(mismatched, ComponentRole::GroupBox);
    }
};

QStringList Table(const QString& entries) {
    return (QStringLiteral("[FS_0]\n") + entries).split(u'\n');
}

TEST(Captions, CancelTagRenamesTheCancelButtonOfBothDialogs) {
    CaptionForm configuration;
    QWidget installer;
    auto* installerCancel = new QPushButton(QStringLiteral("cancel"), &installer);
    DeclareComponent(installerCancel, ComponentRole::Button, 1024);
    auto* installerNext = new QPushButton(QStringLiteral("next"), &installer);
    DeclareComponent(installerNext, ComponentRole::Button, 2009);

    const QStringList table = Table(QStringLiteral("S_1024=Close"));
    ApplyCaptions(table, QStringLiteral("FS_0"), &configuration.form);
    ApplyCaptions(table, QStringLiteral("fs_0"), &installer);
    EXPECT_EQ(configuration.cancel->text(), QStringLiteral("Close"));
    EXPECT_EQ(installerCancel->text(), QStringLiteral("Close"));
    EXPECT_EQ(installerNext->text(), QStringLiteral("next"));
    EXPECT_EQ(configuration.button->text(), QStringLiteral("button"));
}

TEST(Captions, UntaggedKeyReachesUntaggedComponentsOfTheSevenRolesOnly) {
    CaptionForm f;
    ApplyCaptions(Table(QStringLiteral("s_0=Zero")), QStringLiteral("FS_0"), &f.form);
    // reached
    EXPECT_EQ(f.label->text(), QStringLiteral("Zero"));
    EXPECT_EQ(f.button->text(), QStringLiteral("Zero"));
    EXPECT_EQ(f.check->text(), QStringLiteral("Zero"));
    EXPECT_EQ(f.group->title(), QStringLiteral("Zero"));
    EXPECT_EQ(f.speed->text(), QStringLiteral("Zero"));
    EXPECT_EQ(f.item->text(), QStringLiteral("Zero"));
    EXPECT_EQ(f.pageUntagged->windowTitle(), QStringLiteral("Zero"));
    EXPECT_EQ(f.tabs->tabText(1), QStringLiteral("Zero"));
    // tagged components keep their captions
    EXPECT_EQ(f.labelTagged->text(), QStringLiteral("label 1007"));
    EXPECT_EQ(f.cancel->text(), QStringLiteral("cancel"));
    EXPECT_EQ(f.itemTagged->text(), QStringLiteral("item 1028"));
    EXPECT_EQ(f.tabs->tabText(0), QStringLiteral("page 1001"));
    // other classes, descendants, negative Tags and mismatched roles are left alone
    EXPECT_EQ(f.picture->text(), QStringLiteral("picture"));
    EXPECT_EQ(f.panel->caption(), QStringLiteral("panel"));
    EXPECT_EQ(f.edit->text(), QStringLiteral("edit"));
    EXPECT_EQ(f.fancy->text(), QStringLiteral("fancy"));
    EXPECT_EQ(f.negative->text(), QStringLiteral("negative"));
    EXPECT_EQ(f.mismatched->text(), QStringLiteral("mismatched"));
}

TEST(Captions, TaggedEntriesAndEmptyValues) {
    CaptionForm f;
    ApplyCaptions(
        Table(QStringLiteral("S_1001=General\nS_1007=&Author:\nS_1024=\nS_1028=&Center\nS_-1=Minus")),
        QStringLiteral("FS_0"), &f.form);
    EXPECT_EQ(f.pageTagged->windowTitle(), QStringLiteral("General"));
    EXPECT_EQ(f.tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(f.labelTagged->text(), QStringLiteral("Author:")) << "a label without a buddy shows no '&'";
    EXPECT_EQ(f.itemTagged->text(), QStringLiteral("&Center"));
    EXPECT_EQ(f.cancel->text(), QStringLiteral("cancel")) << "an empty value keeps the form's caption";
    EXPECT_EQ(f.negative->text(), QStringLiteral("negative"));

    ApplyCaptions(Table(QStringLiteral("S_1024=Close")), QStringLiteral("FS_1"), &f.form);
    EXPECT_EQ(f.cancel->text(), QStringLiteral("cancel")) << "another section";
}

TEST(Captions, FrameCaptionIsAnUntaggedLabelThatCodeSetsAfterwards) {
    SkinnedDialog frame;
    frame.SetFrameCaption(QStringLiteral("Setup"));
    ApplyCaptions(Table(QStringLiteral("S_0=Zero")), QStringLiteral("FS_0"), &frame);
    EXPECT_EQ(frame.GetFrameCaption(), QStringLiteral("Zero"));
    frame.SetFrameCaption(QStringLiteral("Aurora Settings"));
    EXPECT_EQ(frame.GetFrameCaption(), QStringLiteral("Aurora Settings"));
    ApplyCaptions(Table(QStringLiteral("S_0=")), QStringLiteral("FS_0"), &frame);
    EXPECT_EQ(frame.GetFrameCaption(), QStringLiteral("Aurora Settings"));
}

TEST(Captions, AcceleratorsOfLabels) {
    EXPECT_EQ(StripAccelerators(QStringLiteral("&Name")), QStringLiteral("Name"));
    EXPECT_EQ(StripAccelerators(QStringLiteral("Fish && Chips")), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(StripAccelerators(QStringLiteral("trailing&")), QStringLiteral("trailing"));
    QWidget form;
    auto* label = new QLabel(&form);
    auto* edit = new QLineEdit(&form);
    label->setBuddy(edit);
    DeclareComponent(label, ComponentRole::Label, 5);
    EXPECT_TRUE(SetComponentCaption(label, QStringLiteral("&Name")));
    EXPECT_EQ(label->text(), QStringLiteral("&Name")) << "a label with a buddy keeps its mnemonic";
    EXPECT_FALSE(SetComponentCaption(edit, QStringLiteral("x")));
}

} // namespace
} // namespace scr
