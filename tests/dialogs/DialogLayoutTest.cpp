// The arithmetic and text rules of the configuration dialog that stand alone.
#include "dialogs/FileFilters.h"
#include "dialogs/PreviewPlacement.h"
#include "dialogs/TabButtonLayout.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

using Places = std::vector<std::optional<TabButtonPlace>>;

TEST(TabButtonLayout, SelectedButtonIsWiderAndHiddenOnesTakeNoPlace) {
    const TabButtonState up{true, false}, down{true, true}, hidden{false, false}, hiddenDown{false, true};
    const struct {
        int width;
        std::vector<TabButtonState> states;
        Places expected;
    } cases[] = {
        // 551 pixels, four pages: base 137 reduced to 102; the selected one 240.
        {551, {down, up, up, up}, {{{0, 240}}, {{241, 102}}, {{344, 102}}, {{447, 102}}}},
        {551, {up, up, up, down}, {{{0, 102}}, {{103, 102}}, {{206, 102}}, {{309, 240}}}},
        // Nothing down: everyone gets the base width.
        {551, {up, up, up, up}, {{{0, 137}}, {{138, 137}}, {{276, 137}}, {{414, 137}}}},
        // Two visible: base (551 - 2) / 2 = 274, reduced to 205; the selected 551 - 3 - 205 = 343.
        {551, {down, hidden, up, hiddenDown}, {{{0, 343}}, std::nullopt, {{344, 205}}, std::nullopt}},
        // The last visible button that is down is the selected one.
        {300, {down, down}, {{{0, 111}}, {{112, 186}}}},
        {300, {hidden, hidden}, {std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutTabButtons(c.width, c.states), c.expected) << c.width;
}

TEST(PreviewPlacement, ScalesFromTheDesignScreenToThePanel) {
    ShowItem fixed;
    fixed.fixedPosition = 1;
    fixed.left = 100;
    fixed.top = 50;
    fixed.width = 640;
    fixed.height = 400;
    ShowItem floating = fixed;
    floating.fixedPosition = 0;
    ShowItem ownSize = floating;
    ownSize.width = 0;
    const struct {
        ShowItem item;
        QSize picture;
        QSize panel;
        int designWidth;
        QRect expected;
    } cases[] = {
        // s = 336 / 1280 = 0.2625: 640 x 400 becomes 168 x 105, at (26, 13).
        {fixed, {10, 10}, {336, 210}, 1280, {26, 13, 168, 105}},
        // Centred: (336 - 168) / 2, (210 - 105) / 2.
        {floating, {10, 10}, {336, 210}, 1280, {84, 52, 168, 105}},
        // A width of 0 takes the picture's own size: 2000 x 1000 -> 525 x 262, wider than the panel: left 0.
        {ownSize, {2000, 1000}, {336, 210}, 1280, {0, 0, 525, 262}},
        // Exactly as wide as the panel: left 0, top centred.
        {floating, {1, 1}, {640, 480}, 640, {0, 40, 640, 400}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewPlacement(c.item, c.picture, c.panel, c.designWidth), c.expected) << c.expected.x();
}

TEST(FileFilters, StoredFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("JPEG picture (*.jpg)|*.jpg|Bitmap picture|*.bmp;*.dib")),
              (QStringList{QStringLiteral("JPEG picture (*.jpg)"),
                           QStringLiteral("Bitmap picture (*.bmp *.dib)")}));
    EXPECT_EQ(QtNameFilters(QStringLiteral("Music files(*.mp3)|*.mp3")),
              QStringList{QStringLiteral("Music files(*.mp3)")});
    // An entry without a pattern is dropped; an empty description shows the pattern.
    EXPECT_EQ(QtNameFilters(QStringLiteral("|*.swf|Lonely")), QStringList{QStringLiteral("(*.swf)")});
    EXPECT_TRUE(QtNameFilters(QString()).isEmpty());

    EXPECT_EQ(ExtensionOfPattern({QStringLiteral("*.bmp")}), QStringLiteral("bmp"));
    for (const QStringList& none :
         {QStringList{QStringLiteral("*")}, QStringList{QStringLiteral("*.*")},
          QStringList{QStringLiteral("*.a"), QStringLiteral("*.b")}, QStringList{QStringLiteral("name.txt")}})
        EXPECT_TRUE(ExtensionOfPattern(none).isEmpty()) << none.join(QLatin1Char(',')).toStdString();
}

TEST(FileFilters, TrackFilterComesFromTheTrackNamesLastDot) {
    const struct {
        const char* name;
        const char* filter;
        const char* extension;
    } cases[] = {{"Song.mp3", "Music (*.mp3)|*.mp3", "mp3"},
                 {"my.song.wav", "Music (*.wav)|*.wav", "wav"},
                 {"Plain name", "Music (*)|*", ""},
                 {"ends with dot.", "Music (*.)|*.", ""}};
    for (const auto& c : cases) {
        const TrackSaveFilter filter =
            MakeTrackSaveFilter(QString::fromLatin1(c.name), QStringLiteral("Music "));
        EXPECT_EQ(filter.filter, QString::fromLatin1(c.filter)) << c.name;
        EXPECT_EQ(filter.defaultExtension, QString::fromLatin1(c.extension)) << c.name;
    }
}

} // namespace
} // namespace scr
