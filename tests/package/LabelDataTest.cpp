#include "package/LabelData.h"

#include "platform/ReadOnlyFile.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

LabelItem MakeLabel(const std::string& text, int x, int y, int size = 12) {
    LabelRecord record;
    record.setFontName("Arial");
    record.fontSize = size;
    record.fontStyle = LabelBold | LabelItalic;
    record.textColor = 0x0000FF;
    record.backColor = 0x00FF00;
    record.centerX = x;
    record.centerY = y;
    record.reserved1 = {1, 2, 3};
    return LabelItem(record, text);
}

LabelGroupList SampleList() {
    LabelGroupList list;
    list.AppendGroupCopy({MakeLabel("first", 10, 20), MakeLabel("", 30, 40), MakeLabel("a & b", 5, 6)});
    list.AppendGroupCopy({});
    list.AppendGroupCopy({MakeLabel("third", -7, 9)});
    return list;
}

TEST(LabelData, StreamRoundTripKeepsEveryFieldAndText) {
    const LabelGroupList list = SampleList();
    const auto stream = WriteLabelStream(list);
    LabelGroupList back;
    back.LoadLabelStream(stream);
    EXPECT_EQ(back, list);
    EXPECT_EQ(LabelText(Label(back.Group(0), 2)), "a & b");
    EXPECT_EQ(Label(back.Group(0), 1)->record().textLength, 0);
    EXPECT_EQ(WriteLabelStream(back), stream);
}

TEST(LabelData, WrongMarkerOrGroupCheckLoadsNothing) {
    auto stream = WriteLabelStream(SampleList());
    LabelGroupList list = SampleList();
    auto badCheck = stream;
    WriteLE32(badCheck.data() + 20, 3 + 887);
    list.LoadLabelStream(badCheck);
    EXPECT_EQ(list.GroupCount(), 0);
    auto badMarker = stream;
    badMarker[0] = 'X';
    list.LoadLabelStream(badMarker);
    EXPECT_EQ(list.GroupCount(), 0);
}

TEST(LabelData, WrongLabelCheckKeepsEarlierGroups) {
    auto stream = WriteLabelStream(SampleList());
    // Second group header directly follows the first group.
    const std::size_t second = 24 + 8 + 3 * 64 + 5 + 0 + 5;
    ASSERT_EQ(ReadLE32(stream.data() + second + 4), 999);
    WriteLE32(stream.data() + second + 4, 1000);
    LabelGroupList list;
    list.LoadLabelStream(stream);
    ASSERT_EQ(list.GroupCount(), 1);
    EXPECT_EQ(LabelCount(list.Group(0)), 3);
}

TEST(LabelData, TruncationKeepsOnlyCompleteGroups) {
    const auto stream = WriteLabelStream(SampleList());
    for (std::size_t size = 0; size <= stream.size(); ++size) {
        LabelGroupList list;
        list.LoadLabelStream(std::span(stream.data(), size));
        const int expected = size < 24 + 8 + 3 * 64 + 10       ? 0
                             : size < 24 + 8 + 3 * 64 + 10 + 8 ? 1
                             : size < stream.size()            ? 2
                                                               : 3;
        EXPECT_EQ(list.GroupCount(), expected) << size;
    }
}

TEST(LabelData, TextLengthBeyondDataIsRefused) {
    LabelGroupList one;
    one.AppendGroupCopy({MakeLabel("abc", 1, 1)});
    auto stream = WriteLabelStream(one);
    WriteLE32(stream.data() + 24 + 8 + 60, 0x7FFFFFFF);
    LabelGroupList list;
    list.LoadLabelStream(stream);
    EXPECT_EQ(list.GroupCount(), 0);
}

TEST(LabelData, ZeroGroupsAndMatchingCounts) {
    LabelGroupList empty;
    auto stream = WriteLabelStream(empty);
    EXPECT_EQ(ReadLE32(stream.data() + 20), 888);
    LabelGroupList list;
    list.LoadLabelStream(stream);
    EXPECT_EQ(list.GroupCount(), 0);
    list.MatchGroupCount(5);
    EXPECT_EQ(list.GroupCount(), 5);
    EXPECT_EQ(LabelCount(list.Group(4)), 0);

    LabelGroupList three = SampleList();
    three.MatchGroupCount(5);
    EXPECT_EQ(three.GroupCount(), 5);
    EXPECT_EQ(LabelCount(three.Group(3)), 0);
    EXPECT_EQ(LabelCount(three.Group(0)), 3);
    three.MatchGroupCount(2);
    EXPECT_EQ(three.GroupCount(), 2);
    EXPECT_EQ(three.Group(2), nullptr);
}

TEST(LabelData, DeleteGroupAndAccessorsOutOfRange) {
    LabelGroupList list = SampleList();
    list.DeleteGroup(-1);
    list.DeleteGroup(3);
    EXPECT_EQ(list.GroupCount(), 3);
    list.DeleteGroup(0);
    EXPECT_EQ(list.GroupCount(), 2);
    EXPECT_EQ(LabelText(Label(list.Group(1), 0)), "third");
    EXPECT_EQ(Label(list.Group(1), 1), nullptr);
    EXPECT_EQ(Label(nullptr, 0), nullptr);
    EXPECT_EQ(LabelCount(nullptr), 0);
    EXPECT_EQ(LabelText(nullptr), "");
}

TEST(LabelData, ScaleTruncatesTowardZero) {
    LabelGroupList list;
    list.AppendGroupCopy({MakeLabel("x", 100, -3, 15)});
    list.ScaleLabels(10, 32, 1.28);
    const auto& r = Label(list.Group(0), 0)->record();
    EXPECT_EQ(r.fontSize, 19); // trunc(19.2)
    EXPECT_EQ(r.centerX, 10 + 128);
    EXPECT_EQ(r.centerY, 32 - 3); // trunc(-3.84) = -3
}

TEST(LabelData, CopiesAreDeep) {
    LabelGroupList list = SampleList();
    LabelGroupList copy = list;
    copy.Group(0)->at(0).setText("changed");
    EXPECT_EQ(LabelText(Label(list.Group(0), 0)), "first");
    LabelGroup group;
    AppendLabelCopy(group, *Label(list.Group(0), 0));
    group[0].setText("other");
    EXPECT_EQ(LabelText(Label(list.Group(0), 0)), "first");
}

} // namespace
} // namespace scr
