#include "show/MusicPlayer.h"

#include "tests/show/AudioTestFiles.h"
#include "tests/support/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

namespace scr {
namespace {

enum class Format { Wav, Mp3, Midi };

class MusicPlayerTest : public ::testing::TestWithParam<Format> {
protected:
    // A track of about one second in the format under test.
    std::string MakeTrack() {
        switch (GetParam()) {
        case Format::Wav:
            WriteToneWav(dir_.file("t.wav"), 1000);
            return dir_.file("t.wav");
        case Format::Mp3:
            EXPECT_TRUE(test::WriteToneMp3(dir_.file("t.mp3"), 1000));
            return dir_.file("t.mp3");
        case Format::Midi:
            test::WriteMidi(dir_.file("t.mid"), 2);
            return dir_.file("t.mid");
        }
        return {};
    }
    static void WriteToneWav(const std::string& path, int ms) { test::WriteToneWav(path, ms); }

    test::TempDir dir_;
};

bool WaitForMode(MusicWindow window, MusicMode mode, int ms) {
    return QTest::qWaitFor([&] { return MusicGetMode(window) == mode; }, ms);
}

TEST_P(MusicPlayerTest, PlaysPausesResumesStopsAndEnds) {
    std::string track = MakeTrack();
    MusicWindow window = MusicWindowCreate(nullptr, kMusicStyleShow);
    ASSERT_TRUE(window);
    EXPECT_EQ(MusicGetMode(window), MusicMode::NotReady);
    ASSERT_TRUE(MusicOpen(window, QString::fromStdString(track)));
    EXPECT_EQ(MusicGetMode(window), MusicMode::Stopped);

    // Pause and stop do nothing while stopped; play starts.
    MusicPause(window);
    EXPECT_EQ(MusicGetMode(window), MusicMode::Stopped);
    MusicPlay(window);
    ASSERT_TRUE(WaitForMode(window, MusicMode::Playing, 3000));
    QTest::qWait(300);
    MusicPause(window);
    ASSERT_TRUE(WaitForMode(window, MusicMode::Paused, 3000));
    if (GetParam() != Format::Midi) {
        qint64 paused = window->Position();
        EXPECT_GT(paused, 0);
        QTest::qWait(300);
        EXPECT_EQ(window->Position(), paused) << "pause keeps the position";
    }
    MusicPlay(window); // resumes
    ASSERT_TRUE(WaitForMode(window, MusicMode::Playing, 3000));
    MusicStop(window);
    ASSERT_TRUE(WaitForMode(window, MusicMode::Stopped, 3000));
    if (GetParam() != Format::Midi) {
        EXPECT_EQ(window->Position(), 0) << "stop rewinds";
    }

    // From the start to the end: the mode returns to stopped by itself.
    MusicPlay(window);
    ASSERT_TRUE(WaitForMode(window, MusicMode::Playing, 3000));
    EXPECT_TRUE(WaitForMode(window, MusicMode::Stopped, 6000)) << "the track should end by itself";

    MusicCloseDevice(window);
    EXPECT_EQ(MusicGetMode(window), MusicMode::NotReady);
    MusicDestroy(window);
}

std::string FormatName(const ::testing::TestParamInfo<Format>& format) {
    const char* const names[] = {"Wav", "Mp3", "Midi"};
    return names[static_cast<int>(format.param)];
}

INSTANTIATE_TEST_SUITE_P(Formats, MusicPlayerTest, ::testing::Values(Format::Wav, Format::Mp3, Format::Midi),
                         FormatName);

TEST(MusicPlayerFailureTest, UndecodableFilesAndMissingPlayersAreNotOpened) {
    test::TempDir dir;
    std::vector<uint8_t> junk(4000);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<uint8_t>(i * 131 + 7);
    MusicWindow window = MusicWindowCreate(nullptr, kMusicStyleDialog);
    ASSERT_TRUE(window);
    for (const char* name : {"junk.wav", "junk.mp3", "junk.mid"}) {
        test::WriteFile(dir.file(name), junk);
        EXPECT_FALSE(MusicOpen(window, QString::fromStdString(dir.file(name)))) << name;
        EXPECT_EQ(MusicGetMode(window), MusicMode::NotReady) << name;
    }
    EXPECT_FALSE(MusicOpen(window, QString::fromStdString(dir.file("missing.wav"))));
    EXPECT_FALSE(MusicOpen(window, QString()));
    MusicPlay(window);
    EXPECT_EQ(MusicGetMode(window), MusicMode::NotReady);

    // A good file after a bad one opens as usual.
    test::WriteToneWav(dir.file("good.wav"), 300);
    EXPECT_TRUE(MusicOpen(window, QString::fromStdString(dir.file("good.wav"))));
    MusicDestroy(window);

    // Every operation on a missing player does nothing.
    EXPECT_FALSE(MusicOpen(nullptr, QString::fromStdString(dir.file("good.wav"))));
    EXPECT_EQ(MusicGetMode(nullptr), MusicMode::NotReady);
    MusicPlay(nullptr);
    MusicPause(nullptr);
    MusicStop(nullptr);
    MusicCloseDevice(nullptr);
    MusicDestroy(nullptr);
}

} // namespace
} // namespace scr
