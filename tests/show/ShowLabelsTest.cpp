// Labels on the show window: reuse by name, trimming, placement and colours.
#include "show/ShowLabels.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <gtest/gtest.h>

namespace scr {
namespace {

LabelItem MakeLabel(const std::string& text, int cx, int cy, int size = 20, bool transparent = true,
                    uint32_t back = 0x0000FF) {
    LabelRecord record;
    record.setFontName("Arial");
    record.fontSize = size;
    record.textColor = 0xFFFFFF;
    record.transparent = transparent ? 1 : 0;
    record.backColor = back;
    record.centerX = cx;
    record.centerY = cy;
    return LabelItem(record, text);
}

QStringList LabelNames(QWidget& window) {
    QStringList names;
    for (QLabel* label : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        names << label->objectName();
    names.sort();
    return names;
}

class ShowLabelsTest : public ::testing::Test {
protected:
    void SetUp() override { window_.resize(800, 600); }
    QWidget window_;
};

TEST_F(ShowLabelsTest, ThreeLabelsThenOneLeavesOnlyTheFirstWithTheNewText) {
    const LabelGroup first = {MakeLabel("one", 100, 100), MakeLabel("two", 200, 200),
                              MakeLabel("three", 300, 300)};
    LabelGroup second = {MakeLabel("alone", 400, 50, 30)};
    second[0].record().fontStyle = LabelBold | LabelItalic;
    second[0].record().setFontName("Times New Roman");

    RemoveLabels(&window_, static_cast<int>(first.size()));
    ShowLabels(&window_, &first, 1.0);
    EXPECT_EQ(LabelNames(window_), (QStringList{"xlabel_0", "xlabel_1", "xlabel_2"}));
    QLabel* reused = window_.findChild<QLabel*>("xlabel_0");
    EXPECT_EQ(window_.findChild<QLabel*>("xlabel_2")->property("tag").toInt(), -2);

    RemoveLabels(&window_, static_cast<int>(second.size()));
    ShowLabels(&window_, &second, 1.0);
    EXPECT_EQ(LabelNames(window_), QStringList{"xlabel_0"});
    QLabel* label = window_.findChild<QLabel*>("xlabel_0");
    EXPECT_EQ(label, reused); // the same control, refilled
    EXPECT_EQ(label->text(), "alone");
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->font().italic());
    EXPECT_EQ(label->font().family(), "Times New Roman");
    EXPECT_EQ(label->font().pixelSize(), 40); // 30 points at 96 dpi

    RemoveLabels(&window_, 0); // an item without labels
    EXPECT_TRUE(LabelNames(window_).isEmpty());
}

TEST_F(ShowLabelsTest, RemoveKeepsLowerIndicesAndForeignNames) {
    const LabelGroup group = {MakeLabel("a", 10, 10), MakeLabel("b", 20, 20), MakeLabel("c", 30, 30),
                              MakeLabel("d", 40, 40)};
    ShowLabels(&window_, &group, 1.0);
    auto* odd = new QLabel(&window_);
    odd->setObjectName("xlabel_x"); // does not convert: counts as -1
    RemoveLabels(&window_, 2);
    EXPECT_EQ(LabelNames(window_), (QStringList{"xlabel_0", "xlabel_1", "xlabel_x"}));
    RemoveLabels(&window_, -3);
    EXPECT_TRUE(LabelNames(window_).isEmpty());
}

TEST_F(ShowLabelsTest, CentredOnItsPointAndScaled) {
    const LabelGroup group = {MakeLabel("Centre & more", 400, 300, 24)};
    ShowLabels(&window_, &group, 0.5);
    QLabel* label = window_.findChild<QLabel*>("xlabel_0");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Centre & more"); // '&' shown as it is
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    QFont unscaled("Arial");
    unscaled.setPixelSize(32);
    const QFontMetrics metrics(unscaled);
    const int w = metrics.horizontalAdvance("Centre & more");
    const int h = metrics.height();
    EXPECT_EQ(label->width(), static_cast<int>(0.5 * w));
    EXPECT_EQ(label->height(), static_cast<int>(0.5 * h));
    EXPECT_EQ(label->x(), static_cast<int>(0.5 * 400 - 0.5 * w * 0.5));
    EXPECT_EQ(label->y(), static_cast<int>(0.5 * 300 - 0.5 * h * 0.5));
    EXPECT_EQ(label->font().pixelSize(), 16); // trunc(24 * 0.5) points
}

// On a window over several monitors the labels sit on the primary, which
// may lie right of or below the window's origin.
TEST_F(ShowLabelsTest, CentredOnItsPointFromTheOrigin) {
    const LabelGroup group = {MakeLabel("Primary", 400, 300, 24)};
    ShowLabels(&window_, &group, 1.0);
    QLabel* label = window_.findChild<QLabel*>("xlabel_0");
    ASSERT_NE(label, nullptr);
    const QPoint atTheCorner = label->pos();
    ShowLabels(&window_, &group, 1.0, QPoint(1280, 56));
    EXPECT_EQ(label->pos(), atTheCorner + QPoint(1280, 56));
}

TEST_F(ShowLabelsTest, FontSizesOfZeroNegativeAndTinyScales) {
    const struct {
        int size;
        double factor;
        int pixels;
    } cases[] = {
        {30, 1.0, 40},          // points at 96 dpi
        {0, 1.0, 11},           // the default size: 8 points
        {0, 0.5, 5},            // scaled like any other
        {-20, 1.0, 20},         // the character height in pixels
        {-20, 0.5, 10},         //
        {10, 0.1, 2},           // a small preview: 1 point would be a 1-pixel line
        {5, 0.1, 2},            // and 0 points must not become the default size
        {-5, 0.1, 2},           //
        {1, 1.0, 2},            //
        {INT32_MIN, 1.0, 4096}, // absurd sizes are bounded
        {INT32_MAX, 1.0, 4096},
    };
    for (const auto& c : cases) {
        const LabelGroup group = {MakeLabel("Size", 100, 100, c.size)};
        ShowLabels(&window_, &group, c.factor);
        QLabel* label = window_.findChild<QLabel*>("xlabel_0");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->font().pixelSize(), c.pixels) << c.size << " at " << c.factor;
    }
}

TEST_F(ShowLabelsTest, OpaqueLabelIsABoxOfItsBackColour) {
    window_.setAutoFillBackground(true);
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window_.setPalette(palette);
    const LabelGroup opaque = {MakeLabel("....", 200, 200, 20, false, 0x0000FF)}; // red
    ShowLabels(&window_, &opaque, 1.0);
    QLabel* label = window_.findChild<QLabel*>("xlabel_0");
    QImage image = window_.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(label->x() + 1, label->y() + 1)), QColor(Qt::red));

    const LabelGroup transparent = {MakeLabel("....", 200, 200, 20, true)};
    ShowLabels(&window_, &transparent, 1.0);
    image = window_.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(label->x() + 1, label->y() + 1)), QColor(Qt::black));
}

} // namespace
} // namespace scr
