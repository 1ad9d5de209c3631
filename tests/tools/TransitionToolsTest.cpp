// End-to-end runs of `scrtool frame` and `scrtool sheet`.
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>

namespace scr {
namespace {

class TransitionTools : public ::testing::Test {
protected:
    void SetUp() override {
        QImage old(40, 20, QImage::Format_RGB32);
        old.fill(QColor(255, 0, 0));
        ASSERT_TRUE(old.save(QString::fromStdString(dir.file("old.png"))));
        QImage next(40, 20, QImage::Format_RGB32);
        next.fill(QColor(0, 0, 255));
        ASSERT_TRUE(next.save(QString::fromStdString(dir.file("new.jpg")), "JPEG", 100));
    }

    int scrtool(const std::string& arguments, std::string* output = nullptr) {
        return test::RunCommand(test::BuildBinDir() + "/scrtool " + arguments + " 2>&1", output);
    }

    test::TempDir dir;
};

TEST_F(TransitionTools, FrameComposesTheRealFrame) {
    const std::string out = dir.file("frame.png");
    // Wipe from the left at 50 %: the left half is the new picture.
    ASSERT_EQ(scrtool("frame --style 5 --progress 50 " + dir.file("old.png") + " " + dir.file("new.jpg") +
                      " -o " + out),
              0);
    const QImage frame(QString::fromStdString(out));
    ASSERT_EQ(frame.size(), QSize(40, 20));
    EXPECT_GT(QColor(frame.pixel(5, 10)).blue(), 240);
    EXPECT_LT(QColor(frame.pixel(5, 10)).red(), 15);
    EXPECT_EQ(frame.pixel(25, 10), QColor(255, 0, 0).rgb());

    // At 0 the old picture; seeded random styles repeat.
    ASSERT_EQ(scrtool("frame --style 127 --progress 0 " + dir.file("old.png") + " " + dir.file("new.jpg") +
                      " -o " + out),
              0);
    EXPECT_EQ(QImage(QString::fromStdString(out)).pixel(39, 19), QColor(255, 0, 0).rgb());
    const std::string a = dir.file("a.png"), b = dir.file("b.png");
    const std::string args =
        "frame --style 127 --progress 40 --seed 9 " + dir.file("old.png") + " " + dir.file("new.jpg");
    ASSERT_EQ(scrtool(args + " -o " + a), 0);
    ASSERT_EQ(scrtool(args + " -o " + b), 0);
    EXPECT_EQ(QImage(QString::fromStdString(a)), QImage(QString::fromStdString(b)));
}

TEST_F(TransitionTools, FrameRejectsBadArgumentsClearly) {
    std::string output;
    EXPECT_EQ(scrtool("frame --style 128 --progress 5 a b -o c", &output), 2);
    EXPECT_NE(output.find("--style"), std::string::npos);
    EXPECT_EQ(scrtool("frame --style 1 --progress 5 " + dir.file("missing.png") + " " + dir.file("new.jpg") +
                          " -o " + dir.file("x.png"),
                      &output),
              2);
    EXPECT_NE(output.find("missing.png"), std::string::npos);
    EXPECT_EQ(scrtool("frame --style 1 " + dir.file("old.png"), &output), 2);
}

TEST_F(TransitionTools, SheetShowsAllStyles) {
    const std::string out = dir.file("sheet.png");
    ASSERT_EQ(scrtool("sheet --progress 100 --size 32x24 " + dir.file("old.png") + " " + dir.file("new.jpg") +
                      " -o " + out),
              0);
    const QImage sheet(QString::fromStdString(out));
    ASSERT_FALSE(sheet.isNull());
    // 8 columns of 32 + 8 pixels and a margin; at 100 % every frame is the new picture.
    EXPECT_EQ(sheet.width(), 8 + 8 * 40);
    EXPECT_GT(QColor(sheet.pixel(8 + 10, 36 + 10)).blue(), 240);
}

} // namespace
} // namespace scr
