#include "show/MusicPlayer.h"

#include "tests/show/AudioTestFiles.h"
#include "tests/support/TempDir.h"

#include <QSignalSpy>
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

bool WaitForState(MusicPlayer& player, MusicPlayer::State state, int ms) {
    return QTest::qWaitFor([&] { return player.state() == state; }, ms);
}

// Opens a file and waits for the player's answer: true when it opened.
// Open itself returns at once, before either answer.
bool OpenAndWait(MusicPlayer& player, const QString& path) {
    QSignalSpy opened(&player, &MusicPlayer::opened);
    QSignalSpy failed(&player, &MusicPlayer::failed);
    player.Open(path);
    EXPECT_EQ(player.state(), MusicPlayer::State::Opening);
    EXPECT_EQ(opened.count() + failed.count(), 0) << "answered inside Open";
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.count() + failed.count() > 0; },
                                MusicPlayer::kOpenTimeoutMs + 2000));
    QTest::qWait(50); // no second answer follows
    EXPECT_EQ(opened.count() + failed.count(), 1);
    return opened.count() == 1;
}

TEST_P(MusicPlayerTest, PlaysPausesResumesStopsAndEnds) {
    std::string track = MakeTrack();
    std::unique_ptr<MusicPlayer> player = MusicPlayer::Create();
    ASSERT_TRUE(player);
    EXPECT_EQ(player->state(), MusicPlayer::State::Closed);
    ASSERT_TRUE(OpenAndWait(*player, QString::fromStdString(track)));
    EXPECT_EQ(player->state(), MusicPlayer::State::Stopped);

    // Pause and stop do nothing while stopped; play starts.
    player->Pause();
    EXPECT_EQ(player->state(), MusicPlayer::State::Stopped);
    player->Play();
    ASSERT_TRUE(WaitForState(*player, MusicPlayer::State::Playing, 3000));
    QTest::qWait(300);
    player->Pause();
    ASSERT_TRUE(WaitForState(*player, MusicPlayer::State::Paused, 3000));
    if (GetParam() != Format::Midi) {
        qint64 paused = player->Position();
        EXPECT_GT(paused, 0);
        QTest::qWait(300);
        EXPECT_EQ(player->Position(), paused) << "pause keeps the position";
    }
    player->Play(); // resumes
    ASSERT_TRUE(WaitForState(*player, MusicPlayer::State::Playing, 3000));
    player->Stop();
    ASSERT_TRUE(WaitForState(*player, MusicPlayer::State::Stopped, 3000));
    if (GetParam() != Format::Midi) {
        EXPECT_EQ(player->Position(), 0) << "stop rewinds";
    }

    // From the start to the end: the state returns to stopped by itself.
    player->Play();
    ASSERT_TRUE(WaitForState(*player, MusicPlayer::State::Playing, 3000));
    EXPECT_TRUE(WaitForState(*player, MusicPlayer::State::Stopped, 6000)) << "the track should end by itself";

    player->Close();
    EXPECT_EQ(player->state(), MusicPlayer::State::Closed);
}

std::string FormatName(const ::testing::TestParamInfo<Format>& format) {
    const char* const names[] = {"Wav", "Mp3", "Midi"};
    return names[static_cast<int>(format.param)];
}

INSTANTIATE_TEST_SUITE_P(Formats, MusicPlayerTest, ::testing::Values(Format::Wav, Format::Mp3, Format::Midi),
                         FormatName);

TEST(MusicPlayerFailureTest, UndecodableAndMissingFilesFailAndTheNextFileOpens) {
    test::TempDir dir;
    std::vector<uint8_t> junk(4000);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<uint8_t>(i * 131 + 7);
    std::unique_ptr<MusicPlayer> player = MusicPlayer::Create();
    ASSERT_TRUE(player);
    for (const char* name : {"junk.wav", "junk.mp3", "junk.mid"}) {
        test::WriteFile(dir.file(name), junk);
        EXPECT_FALSE(OpenAndWait(*player, QString::fromStdString(dir.file(name)))) << name;
        EXPECT_EQ(player->state(), MusicPlayer::State::Closed) << name;
    }
    EXPECT_FALSE(OpenAndWait(*player, QString::fromStdString(dir.file("missing.wav"))));
    EXPECT_FALSE(OpenAndWait(*player, QString()));
    player->Play();
    EXPECT_EQ(player->state(), MusicPlayer::State::Closed);

    // A good file after a bad one opens as usual.
    test::WriteToneWav(dir.file("good.wav"), 300);
    EXPECT_TRUE(OpenAndWait(*player, QString::fromStdString(dir.file("good.wav"))));
}

// A file opened while another is still being opened replaces it: only the
// last one is answered, and closing while opening answers nothing.
TEST(MusicPlayerFailureTest, OnlyTheLastOpenIsAnswered) {
    test::TempDir dir;
    test::WriteToneWav(dir.file("good.wav"), 300);
    std::unique_ptr<MusicPlayer> player = MusicPlayer::Create();
    ASSERT_TRUE(player);
    QSignalSpy opened(player.get(), &MusicPlayer::opened);
    QSignalSpy failed(player.get(), &MusicPlayer::failed);
    player->Open(QString::fromStdString(dir.file("missing.wav")));
    player->Open(QString::fromStdString(dir.file("good.wav")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.count() > 0; }, MusicPlayer::kOpenTimeoutMs + 2000));
    QTest::qWait(200);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(failed.count(), 0);

    player->Open(QString::fromStdString(dir.file("good.wav")));
    player->Close();
    QTest::qWait(500);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(player->state(), MusicPlayer::State::Closed);
}

} // namespace
} // namespace scr
