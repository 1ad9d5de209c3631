// The idle watcher's rules, driven through a fake idle source and a fake
// show: when a show starts and ends, how inhibitions and bad files are
// treated, and that each new spell is counted afresh.
#include "installer/SaverWatcher.h"

#include "installer/ShowLauncher.h"
#include "platform/idle/IdleSource.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace scr {
namespace {

class FakeIdleSource : public IdleSource {
public:
    void Arm(int seconds) override { arms.push_back(seconds); }
    QString name() const override { return QStringLiteral("fake"); }
    void GoIdle() { emit idle(); }
    void Resume() { emit resumed(); }
    void Lose() { emit lost(QStringLiteral("compositor gone")); }
    std::vector<int> arms;
};

class FakeShow : public ShowLauncher {
public:
    bool Start(const QString& file, QString* why) override {
        if (refuse) {
            *why = QStringLiteral("no program");
            return false;
        }
        started << file;
        running_ = true;
        return true;
    }
    void Stop() override {
        if (running_) ++stops;
    }
    bool running() const override { return running_; }
    // The show process ends.
    void End(int status = 0, bool crashed = false) {
        running_ = false;
        emit finished(status, crashed);
    }
    QStringList started;
    int stops = 0;
    bool refuse = false;

private:
    bool running_ = false;
};

class SaverWatcherTest : public ::testing::Test {
protected:
    SaverWatcherTest() {
        QObject::connect(&watcher_, &SaverWatcher::report, [this](const QString& line) { reports_ << line; });
        QObject::connect(&watcher_, &SaverWatcher::lost, [this](const QString& reason) { lost_ << reason; });
        watcher_.Start();
    }

    FakeIdleSource source_;
    FakeShow show_;
    QString problem_;
    SaverWatcher watcher_{source_, show_, QStringLiteral("/s/Waves.scr"), 42,
                          [this](const QString&) { return problem_; }};
    QStringList reports_;
    QStringList lost_;
};

TEST_F(SaverWatcherTest, ShowsOnIdleEndsOnResumeAndCountsTheNextSpellFromTheShowsEnd) {
    EXPECT_EQ(source_.arms, std::vector<int>({42}));
    source_.GoIdle();
    EXPECT_EQ(show_.started, QStringList({"/s/Waves.scr"}));
    EXPECT_TRUE(watcher_.showing());
    source_.GoIdle(); // a second notice while it shows starts nothing more
    EXPECT_EQ(show_.started.size(), 1);

    source_.Resume();
    EXPECT_EQ(show_.stops, 1) << "the user is back: the show is asked to end";
    show_.End();
    EXPECT_FALSE(watcher_.showing());
    EXPECT_EQ(source_.arms, std::vector<int>({42, 42}));
    EXPECT_TRUE(reports_.isEmpty()) << reports_.join('\n').toStdString();

    // A show ended by its own input (a key) is followed by the next spell too.
    source_.GoIdle();
    show_.End();
    EXPECT_EQ(show_.started.size(), 2);
    EXPECT_EQ(source_.arms.size(), 3u);
}

TEST_F(SaverWatcherTest, AnInhibitionKeepsTheShowOffAndItsEndStartsANewSpell) {
    watcher_.SetInhibited(true);
    source_.GoIdle();
    EXPECT_TRUE(show_.started.isEmpty());
    watcher_.SetInhibited(false);
    EXPECT_EQ(source_.arms, std::vector<int>({42, 42})) << "the idle time counts from the inhibition's end";
    EXPECT_TRUE(show_.started.isEmpty());
    source_.GoIdle();
    EXPECT_EQ(show_.started.size(), 1);

    // An inhibition that comes and goes while the user works changes nothing.
    show_.End();
    const size_t arms = source_.arms.size();
    watcher_.SetInhibited(true);
    source_.GoIdle();
    source_.Resume();
    watcher_.SetInhibited(false);
    EXPECT_EQ(source_.arms.size(), arms);
    EXPECT_EQ(show_.started.size(), 1);
}

TEST_F(SaverWatcherTest, BadFilesCrashesAndFailedStartsAreReportedAndTheWatcherGoesOn) {
    problem_ = QStringLiteral("/s/Waves.scr is gone");
    source_.GoIdle();
    EXPECT_TRUE(show_.started.isEmpty());
    ASSERT_EQ(reports_.size(), 1);
    EXPECT_TRUE(reports_[0].contains("is gone")) << reports_[0].toStdString();

    problem_.clear();
    source_.Resume();
    source_.GoIdle();
    EXPECT_EQ(show_.started.size(), 1) << "the file is back: the next spell shows it";
    show_.End(0, true);
    ASSERT_EQ(reports_.size(), 2);
    EXPECT_TRUE(reports_[1].contains("crashed")) << reports_[1].toStdString();
    source_.GoIdle();
    show_.End(1);
    ASSERT_EQ(reports_.size(), 3);
    EXPECT_TRUE(reports_[2].contains("status 1")) << reports_[2].toStdString();

    show_.refuse = true;
    source_.GoIdle();
    ASSERT_EQ(reports_.size(), 4);
    EXPECT_TRUE(reports_[3].contains("did not start")) << reports_[3].toStdString();
    EXPECT_TRUE(lost_.isEmpty());
}

TEST_F(SaverWatcherTest, ALostSourceEndsTheShowAndIsPassedOn) {
    source_.GoIdle();
    source_.Lose();
    EXPECT_EQ(show_.stops, 1);
    EXPECT_EQ(lost_, QStringList({"compositor gone"}));
}

} // namespace
} // namespace scr
