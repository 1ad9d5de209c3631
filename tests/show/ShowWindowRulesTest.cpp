// The show window's input and close rules, driven input by input.
#include "show/ShowWindowRules.h"

#include <Qt>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace scr {
namespace {

using Kind = ShowInput::Kind;

// Carries out the rules' requests as the show window does, and logs them:
// "forward", "backward", "move", "stop", "closed". Requests for later go to
// a queue run like an event loop.
class FakeWindow {
public:
    Point cursor{400, 300};
    std::deque<ShowInput> queue;
    std::vector<std::string> log;
    ShowWindowRules* rules = nullptr;

    void Deliver(const ShowInput& input) { Carry(rules->Handle(input)); }
    void Carry(ShowRequest request) {
        switch (request) {
        case ShowRequest::Nothing:
            break;
        case ShowRequest::AdvanceForward:
            log.push_back("forward");
            break;
        case ShowRequest::AdvanceBackward:
            log.push_back("backward");
            break;
        case ShowRequest::AdvanceForwardLater:
            queue.push_back({Kind::ItemTick});
            break;
        case ShowRequest::MoveStep:
            log.push_back("move");
            break;
        case ShowRequest::StopActivity:
            log.push_back("stop");
            break;
        case ShowRequest::EndShow:
            log.push_back("stop");
            if (rules->CloseQuery()) log.push_back("closed");
            break;
        }
    }
};

class ShowWindowRulesTest : public ::testing::Test {
protected:
    ShowWindowRules& Make(bool preview, bool ignoreMouseMove = false, PasswordCheck check = {}) {
        rules_.emplace(preview, ignoreMouseMove, std::move(check));
        window_.rules = &*rules_;
        return *rules_;
    }
    // Hands on an input at the current cursor and runs the queue until it is
    // empty, like an event loop.
    void Post(Kind kind) {
        window_.queue.push_back({kind, window_.cursor});
        RunQueue();
    }
    void RunQueue() {
        while (!window_.queue.empty()) {
            ShowInput input = window_.queue.front();
            window_.queue.pop_front();
            window_.Deliver(input);
        }
    }
    void MoveCursorTo(int x, int y) {
        window_.cursor = {x, y};
        Post(Kind::MouseMove);
    }
    bool Closed() const {
        for (const auto& entry : window_.log)
            if (entry == "closed") return true;
        return false;
    }
    static PasswordCheck Refusing() {
        return [] { return false; };
    }

    FakeWindow window_;
    std::optional<ShowWindowRules> rules_;
};

TEST_F(ShowWindowRulesTest, MouseDriftUpToFivePixelsIsToleratedAndSixEndsTheShow) {
    struct Case {
        int dx, dy;
        bool closes;
    };
    const Case cases[] = {{5, 0, false}, {0, -5, false}, {5, 5, false},
                          {6, 0, true},  {0, -6, true},  {-6, 3, true}};
    for (const Case& c : cases) {
        window_.log.clear();
        Make(false);
        window_.cursor = {100, 100};
        Post(Kind::Activated);
        MoveCursorTo(100 + c.dx, 100 + c.dy);
        EXPECT_EQ(Closed(), c.closes) << c.dx << "," << c.dy;
    }
}

TEST_F(ShowWindowRulesTest, ReferenceFollowsSlowMovement) {
    Make(false);
    window_.cursor = {100, 100};
    Post(Kind::Activated);
    for (int x = 104; x <= 140; x += 4)
        MoveCursorTo(x, 100);
    EXPECT_FALSE(Closed());
    EXPECT_EQ(rules_->mouseRef(), (Point{140, 100}));
}

TEST_F(ShowWindowRulesTest, FirstMouseMoveBeforeActivationEndsTheShow) {
    Make(false);
    EXPECT_EQ(rules_->mouseRef(), (Point{-1, -1}));
    MoveCursorTo(400, 300);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(rules_->closing());
}

TEST_F(ShowWindowRulesTest, ActivationTakesTheReferenceAndStartsTheFirstItem) {
    Make(false);
    window_.cursor = {7, 9};
    Post(Kind::Activated);
    EXPECT_EQ(rules_->mouseRef(), (Point{7, 9}));
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
}

TEST_F(ShowWindowRulesTest, AShowStartedWithoutActivationTakesThePointersFirstReportAsItsReference) {
    Make(false);
    window_.cursor = {-2147483647, -2147483647}; // nothing known of the pointer yet
    window_.Carry(rules_->StartWithoutActivation());
    RunQueue();
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
    // The activation granted later does not advance; the one after a loss would end the show.
    Post(Kind::Activated);
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
    // The pointer enters far from anything known: a reference, not a jump.
    MoveCursorTo(800, 600);
    EXPECT_FALSE(Closed());
    MoveCursorTo(804, 597);
    EXPECT_FALSE(Closed());
    MoveCursorTo(830, 597);
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, AShowStartedWithoutActivationAdvancesOnLaterActivations) {
    Make(true); // a preview never loses its show to a deactivation
    window_.Carry(rules_->StartWithoutActivation());
    RunQueue();
    Post(Kind::Activated);
    Post(Kind::Activated);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"forward", "forward"}));
}

// Keys by their Qt numbers, through the same reading the input filter does.
TEST_F(ShowWindowRulesTest, KeysAndButtonsInBothModes) {
    struct Case {
        bool preview;
        std::optional<int> qtKey; // none: a mouse input
        Kind mouse;
        const char* expected; // "closed", "forward", "backward" or "" (nothing)
        bool alt = false;
    };
    const Case cases[] = {
        {false, Qt::Key_A, {}, "closed"},
        {true, Qt::Key_A, {}, ""},
        {false, Qt::Key_Escape, {}, "closed"},
        {true, Qt::Key_Escape, {}, ""},
        {false, Qt::Key_Alt, {}, "closed"}, // Alt alone is a key like any other
        {false, Qt::Key_F1, {}, "closed"},
        {true, Qt::Key_F1, {}, "closed"},
        {true, Qt::Key_F2, {}, "closed"},
        {false, std::nullopt, Kind::MouseButton, "closed"},
        {true, std::nullopt, Kind::MouseButton, ""},
        {true, std::nullopt, Kind::MouseMove, ""},
        {false, std::nullopt, Kind::MovieClick, "closed"},
        {true, std::nullopt, Kind::MovieClick, "closed"},
        {false, Qt::Key_X, {}, "", true},  // held with Alt
        {false, Qt::Key_F4, {}, "", true}, // Alt+F4
        {false, Qt::Key_Space, {}, "forward"},
        {true, Qt::Key_PageDown, {}, "forward"},
        {false, Qt::Key_Right, {}, "forward"},
        {false, Qt::Key_Down, {}, "forward"},
        {false, Qt::Key_Backspace, {}, "backward"},
        {true, Qt::Key_PageUp, {}, "backward"},
        {false, Qt::Key_Left, {}, "backward"},
        {false, Qt::Key_Up, {}, "backward"},
    };
    for (const Case& c : cases) {
        window_.log.clear();
        Make(c.preview);
        window_.cursor = {50, 50};
        rules_->SetMouseRef({50, 50});
        Post(c.qtKey ? KeyInputKind(*c.qtKey, c.alt) : c.mouse);
        const std::string what = std::string(c.preview ? "preview " : "full ") +
                                 (c.qtKey ? "key " + std::to_string(*c.qtKey)
                                          : "mouse " + std::to_string(static_cast<int>(c.mouse))) +
                                 (c.alt ? " alt" : "");
        const std::string expected = c.expected;
        if (expected == "closed") {
            EXPECT_TRUE(Closed()) << what;
        } else if (expected.empty()) {
            EXPECT_TRUE(window_.log.empty()) << what;
        } else {
            EXPECT_EQ(window_.log, std::vector<std::string>{expected}) << what;
        }
    }
}

TEST_F(ShowWindowRulesTest, IgnoreMouseMoveKeepsTheShowButKeysStillEndIt) {
    Make(false, true);
    MoveCursorTo(900, 900);
    MoveCursorTo(0, 0);
    EXPECT_FALSE(Closed());
    Post(Kind::OtherKey);
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, LosingActivationEndsThePreviewWithoutPasswordCheck) {
    Make(true, false, Refusing()); // the check would refuse every close
    Post(Kind::Deactivated);
    EXPECT_TRUE(Closed());
    // Becoming active does not end anything.
    window_.log.clear();
    Make(true, false, Refusing());
    Post(Kind::Activated);
    EXPECT_FALSE(Closed());
}

TEST_F(ShowWindowRulesTest, LosingActivationEndsTheFullScreenShow) {
    Make(false);
    window_.cursor = {10, 10};
    Post(Kind::Activated);
    Post(Kind::Deactivated);
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, FullScreenRefusesCloseUntilAccepted) {
    Make(false);
    EXPECT_FALSE(rules_->CloseQuery()); // Alt+F4 and the like
    Post(Kind::OtherKey);
    EXPECT_TRUE(rules_->CloseQuery());
    Make(true);
    EXPECT_TRUE(rules_->CloseQuery());
}

TEST_F(ShowWindowRulesTest, RefusedPasswordKeepsTheShowAndTakesNewReference) {
    Make(false, false, Refusing());
    window_.cursor = {10, 10};
    Post(Kind::Activated);
    window_.log.clear();
    window_.cursor = {300, 200};
    Post(Kind::MouseMove);
    EXPECT_FALSE(Closed());
    EXPECT_FALSE(rules_->closing());
    EXPECT_FALSE(rules_->passwordCheckActive());
    EXPECT_EQ(rules_->mouseRef(), (Point{300, 200}));
    // The show goes on: the item timer still advances.
    Post(Kind::ItemTick);
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
}

// While the password check runs its dialog, input that arrives meanwhile
// neither closes the show nor opens a second dialog.
TEST_F(ShowWindowRulesTest, InputDuringPasswordCheckIsIgnored) {
    int checks = 0;
    std::vector<ShowRequest> meanwhile;
    Make(false, false, [&] {
        ++checks;
        for (Kind kind :
             {Kind::OtherKey, Kind::MouseButton, Kind::Deactivated, Kind::MouseMove, Kind::Activated})
            meanwhile.push_back(rules_->Handle({kind, {900, 900}}));
        return false;
    });
    Post(Kind::OtherKey);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(meanwhile, (std::vector<ShowRequest>(5, ShowRequest::Nothing)));
    EXPECT_FALSE(Closed());
}

TEST_F(ShowWindowRulesTest, AcceptedPasswordOrNoCheckEndsTheShow) {
    Make(false, false, [] { return true; });
    Post(Kind::OtherKey);
    EXPECT_TRUE(Closed());
    // A check that fails in itself does not lock the user in.
    window_.log.clear();
    Make(false, false, []() -> bool { throw std::runtime_error("no dialog"); });
    Post(Kind::OtherKey);
    EXPECT_TRUE(Closed());
    // Without a check (the player's case) every close is accepted.
    window_.log.clear();
    Make(false);
    Post(Kind::OtherKey);
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, F2AsksForTheHomePageOnlyWhenItEndsTheShow) {
    Make(false);
    Post(Kind::HomePageKey);
    EXPECT_TRUE(rules_->homePageRequest());
    Make(false);
    Post(Kind::HelpKey);
    EXPECT_FALSE(rules_->homePageRequest());

    Make(false, false, Refusing());
    Post(Kind::HomePageKey); // refused: the show goes on
    EXPECT_FALSE(rules_->homePageRequest());
}

TEST_F(ShowWindowRulesTest, AfterTheCloseTicksOnlyStopActivityAndCloseIsAskedOnce) {
    Make(false);
    Post(Kind::OtherKey);
    window_.log.clear();
    Post(Kind::ItemTick);
    Post(Kind::MovementTick);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"stop", "stop"}));
    EXPECT_EQ(rules_->RequestClose({0, 0}), ShowRequest::Nothing);
    EXPECT_EQ(rules_->ForceClose(), ShowRequest::Nothing);
}

TEST_F(ShowWindowRulesTest, EachTimerTickIsItsOwnInput) {
    Make(false);
    Post(Kind::ItemTick);
    Post(Kind::MovementTick);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"forward", "move"}));
}

TEST_F(ShowWindowRulesTest, ForceCloseEndsEvenAFullScreenShowWhoseCheckRefuses) {
    Make(false, false, Refusing());
    EXPECT_EQ(rules_->ForceClose(), ShowRequest::EndShow);
    EXPECT_TRUE(rules_->closing());
    EXPECT_TRUE(rules_->CloseQuery());
}

} // namespace
} // namespace scr
