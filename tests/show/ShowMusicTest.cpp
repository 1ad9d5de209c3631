#include "show/ShowMusic.h"

#include "platform/RegistryStore.h"
#include "show/MusicSettings.h"
#include "tests/show/AudioTestFiles.h"
#include "tests/support/TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace scr {
namespace {

constexpr const char* kName = "Music Test Saver";

// Tracks given as files; an empty file name is a track that cannot be extracted.
class FakeTracks : public MusicTrackSource {
public:
    explicit FakeTracks(std::vector<std::string> files) : files_(std::move(files)) {}
    int MusicCount() const override { return static_cast<int>(files_.size()); }
    std::string ExtractMusic(int index) override {
        requests.push_back(index);
        return files_.at(static_cast<size_t>(index));
    }
    std::vector<int> requests;

private:
    std::vector<std::string> files_;
};

// Each test gets its own registry store and statistics file.
class ShowMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "SCRPLAYER_STATS"})
            if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
        setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
        setenv("SCRPLAYER_STATS", dir_.file("stats.txt").c_str(), 1);
    }
    void TearDown() override {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "SCRPLAYER_STATS"})
            unsetenv(name);
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
    }

    void Store(int32_t mrop, int32_t mra, int32_t mute) {
        ASSERT_TRUE(WriteMusicSettings(kName, {mrop != 0, mra != 0, mute != 0}));
    }

    std::vector<std::string> StatsLines() {
        std::ifstream in(dir_.file("stats.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    test::TempDir dir_;
    QWidget window_;
    SeededRandom random_{1};
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(ShowMusicTest, SettingsDefaultReadAndWriteUnderTheScreenSaversKey) {
    MusicSettings defaults = ReadMusicSettings(kName);
    EXPECT_FALSE(defaults.randomOrder);
    EXPECT_TRUE(defaults.repeat);
    EXPECT_FALSE(defaults.mute);

    Store(1, 0, 1);
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "\\Software\\Vantrel\\Music Test Saver", "MROP", -1),
              1);
    EXPECT_EQ(ReadRegInteger(RegistryRoot::CurrentUser, "\\Software\\Vantrel\\Music Test Saver", "MRA", -1),
              0);
    MusicSettings read = ReadMusicSettings(kName);
    EXPECT_TRUE(read.randomOrder);
    EXPECT_FALSE(read.repeat);
    EXPECT_TRUE(read.mute);

    // A value of another type reads as its default; any non-zero integer is on.
    auto key = RegistryKey::Open(RegistryRoot::CurrentUser, MusicSettingsKey(kName), true);
    ASSERT_TRUE(key);
    key->WriteString("MRA", "1");
    key->WriteInteger("Mute", 7);
    read = ReadMusicSettings(kName);
    EXPECT_TRUE(read.repeat);
    EXPECT_TRUE(read.mute);
}

TEST_F(ShowMusicTest, NoPlayerInPreviewWithoutTracksOrWhenMuted) {
    FakeTracks tracks({"a.wav", "b.wav"});
    {
        ShowMusic preview(&window_, tracks, kName, /*fullScreen=*/false, random_);
        EXPECT_EQ(preview.player(), nullptr);
        EXPECT_FALSE(preview.musicTimerRunning());
        preview.MusicTick();
    }
    FakeTracks none({});
    {
        ShowMusic silent(&window_, none, kName, true, random_);
        EXPECT_EQ(silent.player(), nullptr);
    }
    Store(1, 1, 1);
    {
        ShowMusic muted(&window_, tracks, kName, true, random_);
        EXPECT_EQ(muted.player(), nullptr);
        EXPECT_FALSE(muted.musicTimerRunning());
        EXPECT_TRUE(muted.musicOrder().empty());
        muted.MusicTick();
    }
    EXPECT_TRUE(tracks.requests.empty());
    EXPECT_TRUE(StatsLines().empty());
}

// Tracks that cannot be extracted never play, so each tick moves on: the order
// and repeat rules show in the requests alone.
TEST_F(ShowMusicTest, OrderRepeatAndSinglePass) {
    struct Case {
        int tracks;
        int32_t mrop, mra;
        int ticks;
    };
    for (Case c : {Case{3, 0, 0, 5}, Case{3, 0, 1, 7}, Case{1, 0, 1, 3}, Case{1, 1, 0, 2}, Case{3, 1, 1, 6},
                   Case{3, 1, 0, 4}}) {
        SCOPED_TRACE("tracks " + std::to_string(c.tracks) + " MROP " + std::to_string(c.mrop) + " MRA " +
                     std::to_string(c.mra));
        Store(c.mrop, c.mra, 0);
        FakeTracks tracks(std::vector<std::string>(static_cast<size_t>(c.tracks), ""));
        ShowMusic music(&window_, tracks, kName, true, random_, 3600000);
        ASSERT_NE(music.player(), nullptr);
        EXPECT_TRUE(music.musicTimerRunning());
        EXPECT_EQ(music.musicOrder().size(), c.mrop && c.tracks > 1 ? size_t(c.tracks) : 0u);
        for (int i = 0; i < c.ticks; ++i)
            music.MusicTick();

        std::vector<int> passes = tracks.requests;
        if (!c.mra) {
            // One pass, then the player and the timer are gone for good.
            ASSERT_EQ(passes.size(), size_t(c.tracks));
            EXPECT_EQ(music.player(), nullptr);
            EXPECT_FALSE(music.musicTimerRunning());
            EXPECT_TRUE(music.musicOrder().empty());
        } else {
            ASSERT_EQ(passes.size(), size_t(c.ticks));
            EXPECT_NE(music.player(), nullptr);
        }
        // Every pass plays each track once; without random order in package order.
        for (size_t start = 0; start + size_t(c.tracks) <= passes.size(); start += size_t(c.tracks)) {
            std::vector<int> pass(passes.begin() + static_cast<ptrdiff_t>(start),
                                  passes.begin() + static_cast<ptrdiff_t>(start) + c.tracks);
            std::vector<int> sorted = pass;
            std::sort(sorted.begin(), sorted.end());
            for (int i = 0; i < c.tracks; ++i)
                EXPECT_EQ(sorted[size_t(i)], i);
            if (!c.mrop) {
                EXPECT_EQ(pass, sorted);
            }
        }
    }
}

TEST_F(ShowMusicTest, PlaysRealTracksOnTheTimerOnePassThenStops) {
    std::vector<std::string> files;
    for (const char* name : {"0.wav", "1.wav", "2.wav"}) {
        test::WriteToneWav(dir_.file(name), 300);
        files.push_back(dir_.file(name));
    }
    Store(0, 0, 0);
    FakeTracks tracks(files);
    ShowMusic music(&window_, tracks, kName, true, random_, 100);
    ASSERT_TRUE(music.player());
    // Nothing plays before the first tick.
    EXPECT_TRUE(tracks.requests.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !music.musicTimerRunning(); }, 15000));
    EXPECT_EQ(tracks.requests, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(music.player(), nullptr);
    EXPECT_EQ(StatsLines(), (std::vector<std::string>{"music track=0 opened=1", "music track=1 opened=1",
                                                      "music track=2 opened=1"}));
}

TEST_F(ShowMusicTest, OneTrackWithRepeatStartsAgainAfterItEnds) {
    test::WriteToneWav(dir_.file("loop.wav"), 300);
    std::vector<uint8_t> junk(2000, 0x5a);
    test::WriteFile(dir_.file("junk.wav"), junk);
    FakeTracks tracks({dir_.file("loop.wav")});
    ShowMusic music(&window_, tracks, kName, true, random_, 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracks.requests.size() >= 3; }, 15000));
    EXPECT_EQ(tracks.requests, (std::vector<int>{0, 0, 0}));
    // While a track plays, ticks leave it alone.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return music.player()->state() == MusicPlayer::State::Playing; }, 5000));
    size_t before = tracks.requests.size();
    music.MusicTick();
    EXPECT_EQ(tracks.requests.size(), before);

    // An undecodable track is skipped: counted as not opened, the next tick
    // tries again. A tick while it is still being opened leaves it alone.
    FakeTracks bad({dir_.file("junk.wav")});
    ShowMusic skipping(&window_, bad, kName, true, random_, 3600000);
    ASSERT_NE(skipping.player(), nullptr);
    QSignalSpy failed(skipping.player(), &MusicPlayer::failed);
    skipping.MusicTick();
    skipping.MusicTick();
    EXPECT_EQ(bad.requests.size(), 1u);
    ASSERT_TRUE(failed.wait(MusicPlayer::kOpenTimeoutMs + 2000));
    skipping.MusicTick();
    ASSERT_TRUE(failed.wait(MusicPlayer::kOpenTimeoutMs + 2000));
    EXPECT_EQ(bad.requests.size(), 2u);
    std::vector<std::string> lines = StatsLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "music track=0 opened=0"), 2);
}

// The show closes while a track is being opened: it opens, but does not play.
TEST_F(ShowMusicTest, ATrackOpenedAfterTheShowClosesDoesNotPlay) {
    test::WriteToneWav(dir_.file("late.wav"), 300);
    FakeTracks tracks({dir_.file("late.wav")});
    ShowMusic music(&window_, tracks, kName, true, random_, 3600000);
    ASSERT_NE(music.player(), nullptr);
    bool closing = false;
    music.SetClosingProbe([&closing] { return closing; });
    QSignalSpy opened(music.player(), &MusicPlayer::opened);
    music.MusicTick();
    EXPECT_EQ(music.player()->state(), MusicPlayer::State::Opening);
    closing = true;
    ASSERT_TRUE(opened.wait(MusicPlayer::kOpenTimeoutMs + 2000));
    QTest::qWait(100);
    EXPECT_EQ(music.player()->state(), MusicPlayer::State::Stopped);
}

TEST_F(ShowMusicTest, TicksDoNothingOnceTheShowCloses) {
    FakeTracks tracks({""});
    ShowMusic music(&window_, tracks, kName, true, random_, 50);
    music.SetClosingProbe([] { return true; });
    QTest::qWait(300);
    EXPECT_TRUE(tracks.requests.empty());
}

} // namespace
} // namespace scr
