// The show window's input and close rules, driven message by message.
#include "show/ShowWindowRules.h"

#include "platform/RegistryStore.h"
#include "show/ShowTimer.h"
#include "tests/support/TempDir.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace scr {
namespace {

class FakeWindow : public ShowWindowHost {
public:
    Point cursor{400, 300};
    std::deque<WindowMessage> queue;
    std::vector<std::string> log;
    std::vector<Msg> defaults;
    ShowWindowRules* rules = nullptr;
    PasswordVerifyEntry entry = nullptr;

    WindowMessage* current = nullptr; // the message being handled

    // Hands a message to the rules as the show window does.
    void Deliver(WindowMessage message) {
        WindowMessage* outer = std::exchange(current, &message);
        rules->Handle(ReadShowInput(message));
        current = outer;
    }

    Point CursorPos() override { return cursor; }
    void DefaultHandling() override { DefaultWindowProc(*current); }
    void DefaultWindowProc(WindowMessage& message) {
        defaults.push_back(message.id);
        if (message.id == Msg::Activate) {
            if (message.wParam == WA_INACTIVE)
                rules->FormDeactivate();
            else
                rules->FormActivate();
        }
        if (message.id == Msg::Close && rules->CloseQuery()) log.push_back("closed");
    }
    void PostWindowMessage(Msg id, uintptr_t wParam, intptr_t lParam) override {
        queue.push_back({id, wParam, lParam});
    }
    void StopActivity() override { log.push_back("stop"); }
    void Advance(bool forward) override { log.push_back(forward ? "forward" : "backward"); }
    void MoveStep() override { log.push_back("move"); }
    PasswordVerifyEntry PasswordEntry() override { return entry; }
};

class ShowWindowRulesTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }

    ShowWindowRules& Make(bool preview, bool ignoreMouseMove = false) {
        rules_.emplace(window_, preview, ignoreMouseMove);
        window_.rules = &*rules_;
        return *rules_;
    }
    // Posts a message and runs the queue until it is empty, like a message loop.
    void Post(Msg id, uintptr_t wParam = 0) {
        window_.queue.push_back({id, wParam, 0});
        RunQueue();
    }
    void RunQueue() {
        while (!window_.queue.empty()) {
            WindowMessage message = window_.queue.front();
            window_.queue.pop_front();
            window_.Deliver(message);
        }
    }
    void MoveCursorTo(int x, int y) {
        window_.cursor = {x, y};
        Post(Msg::MouseMove);
    }
    bool Closed() const {
        for (const auto& entry : window_.log)
            if (entry == "closed") return true;
        return false;
    }
    static void UsePassword(bool on) {
        WriteRegInteger(RegistryRoot::CurrentUser, "\\Control Panel\\Desktop", "ScreenSaveUsePassword",
                        on ? 1 : 0);
    }

    test::TempDir dir_;
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
        Post(Msg::Activate, WA_ACTIVE);
        MoveCursorTo(100 + c.dx, 100 + c.dy);
        EXPECT_EQ(Closed(), c.closes) << c.dx << "," << c.dy;
    }
}

TEST_F(ShowWindowRulesTest, ReferenceFollowsSlowMovement) {
    Make(false);
    window_.cursor = {100, 100};
    Post(Msg::Activate, WA_ACTIVE);
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
    Post(Msg::Activate, WA_ACTIVE);
    EXPECT_EQ(rules_->mouseRef(), (Point{7, 9}));
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
}

TEST_F(ShowWindowRulesTest, AShowStartedWithoutActivationTakesThePointersFirstReportAsItsReference) {
    Make(false);
    window_.cursor = {-2147483647, -2147483647}; // nothing known of the pointer yet
    rules_->StartWithoutActivation();
    RunQueue();
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
    // The activation granted later does not advance; the one after a loss would end the show.
    Post(Msg::Activate, WA_ACTIVE);
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
    rules_->StartWithoutActivation();
    RunQueue();
    Post(Msg::Activate, WA_ACTIVE);
    Post(Msg::Activate, WA_ACTIVE);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"forward", "forward"}));
}

TEST_F(ShowWindowRulesTest, KeysAndButtonsInBothModes) {
    struct Case {
        bool preview;
        Msg id;
        uintptr_t wParam;
        const char* expected; // "closed", "forward", "backward" or "" (nothing)
    };
    const Case cases[] = {
        {false, Msg::KeyDown, 'A', "closed"},
        {true, Msg::KeyDown, 'A', ""},
        {false, Msg::KeyDown, vk::Escape, "closed"},
        {true, Msg::KeyDown, vk::Escape, ""},
        {false, Msg::KeyDown, vk::F1, "closed"},
        {true, Msg::KeyDown, vk::F1, "closed"},
        {true, Msg::KeyDown, vk::F2, "closed"},
        {false, Msg::LButtonDown, 0, "closed"},
        {false, Msg::RButtonDown, 0, "closed"},
        {false, Msg::MButtonDown, 0, "closed"},
        {true, Msg::LButtonDown, 0, ""},
        {true, Msg::RButtonDown, 0, ""},
        {true, Msg::MouseMove, 0, ""},
        {false, Msg::SysKeyDown, 'X', ""},
        {false, Msg::KeyDown, vk::Space, "forward"},
        {true, Msg::KeyDown, vk::Next, "forward"},
        {false, Msg::KeyDown, vk::Right, "forward"},
        {false, Msg::KeyDown, vk::Down, "forward"},
        {false, Msg::KeyDown, vk::Back, "backward"},
        {true, Msg::KeyDown, vk::Prior, "backward"},
        {false, Msg::KeyDown, vk::Left, "backward"},
        {false, Msg::KeyDown, vk::Up, "backward"},
    };
    for (const Case& c : cases) {
        window_.log.clear();
        Make(c.preview);
        window_.cursor = {50, 50};
        rules_->SetMouseRef({50, 50});
        Post(c.id, c.wParam);
        const std::string what = std::string(c.preview ? "preview " : "full ") + std::to_string(int(c.id)) +
                                 " " + std::to_string(c.wParam);
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
    Post(Msg::KeyDown, 'Q');
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, LosingActivationEndsThePreviewWithoutPasswordCheck) {
    UsePassword(true);
    window_.entry = [](WindowHandle) { return 0; }; // would refuse every close
    const struct {
        Msg id;
        uintptr_t wParam;
    } cases[] = {{Msg::NcActivate, 0}, {Msg::ActivateApp, 0}, {Msg::Activate, WA_INACTIVE}};
    for (const auto& c : cases) {
        window_.log.clear();
        Make(true);
        Post(c.id, c.wParam);
        EXPECT_TRUE(Closed()) << int(c.id);
    }
    // Becoming active does not end anything.
    window_.log.clear();
    Make(true);
    Post(Msg::NcActivate, 1);
    Post(Msg::ActivateApp, 1);
    EXPECT_FALSE(Closed());
}

TEST_F(ShowWindowRulesTest, FullScreenRefusesCloseUntilAccepted) {
    Make(false);
    EXPECT_FALSE(rules_->CloseQuery()); // Alt+F4 and the like
    Post(Msg::KeyDown, 'K');
    EXPECT_TRUE(rules_->CloseQuery());
    Make(true);
    EXPECT_TRUE(rules_->CloseQuery());
}

TEST_F(ShowWindowRulesTest, RefusedPasswordKeepsTheShowAndTakesNewReference) {
    UsePassword(true);
    window_.entry = [](WindowHandle) { return 0; };
    Make(false);
    window_.cursor = {10, 10};
    Post(Msg::Activate, WA_ACTIVE);
    window_.log.clear();
    window_.cursor = {300, 200};
    Post(Msg::MouseMove);
    EXPECT_FALSE(Closed());
    EXPECT_FALSE(rules_->closing());
    EXPECT_FALSE(rules_->passwordCheckActive());
    EXPECT_EQ(rules_->mouseRef(), (Point{300, 200}));
    // The show goes on: the item timer still advances.
    Post(Msg::Timer, TimerId(ShowTimer::Item));
    EXPECT_EQ(window_.log, std::vector<std::string>{"forward"});
}

// While the password dialog is up, input that arrives meanwhile neither
// closes the show nor opens a second dialog.
ShowWindowRules* g_rulesUnderCheck = nullptr;
int g_checks = 0;
int RefuseWhileInputArrives(WindowHandle) {
    ++g_checks;
    g_rulesUnderCheck->Handle(ReadShowInput({Msg::KeyDown, 'Z', 0}));
    g_rulesUnderCheck->Handle(ReadShowInput({Msg::LButtonDown, 0, 0}));
    g_rulesUnderCheck->Handle(ReadShowInput({Msg::Activate, WA_INACTIVE, 0}));
    return 0;
}

TEST_F(ShowWindowRulesTest, InputDuringPasswordCheckIsIgnored) {
    UsePassword(true);
    window_.entry = RefuseWhileInputArrives;
    g_rulesUnderCheck = &Make(false);
    g_checks = 0;
    Post(Msg::KeyDown, 'A');
    EXPECT_EQ(g_checks, 1);
    EXPECT_FALSE(Closed());
}

TEST_F(ShowWindowRulesTest, AcceptedPasswordOrNoCheckerEndsTheShow) {
    UsePassword(true);
    window_.entry = [](WindowHandle) { return 1; };
    Make(false);
    Post(Msg::KeyDown, 'A');
    EXPECT_TRUE(Closed());
    // Without a password checker (Linux) the check accepts.
    window_.log.clear();
    window_.entry = nullptr;
    Make(false);
    Post(Msg::KeyDown, 'A');
    EXPECT_TRUE(Closed());
}

TEST_F(ShowWindowRulesTest, F2AsksForTheHomePageOnlyWhenItEndsTheShow) {
    Make(false);
    Post(Msg::KeyDown, vk::F2);
    EXPECT_TRUE(rules_->homePageRequest());
    Make(false);
    Post(Msg::KeyDown, vk::F1);
    EXPECT_FALSE(rules_->homePageRequest());

    UsePassword(true);
    window_.entry = [](WindowHandle) { return 0; };
    Make(false);
    Post(Msg::KeyDown, vk::F2); // refused: the show goes on
    EXPECT_FALSE(rules_->homePageRequest());
}

TEST_F(ShowWindowRulesTest, AfterTheCloseTimersOnlyStopActivity) {
    Make(false);
    Post(Msg::KeyDown, 'A');
    window_.log.clear();
    for (ShowTimer timer : {ShowTimer::Item, ShowTimer::Movement})
        Post(Msg::Timer, TimerId(timer));
    EXPECT_EQ(window_.log, (std::vector<std::string>{"stop", "stop"}));
}

TEST_F(ShowWindowRulesTest, TimersDispatchById) {
    Make(false);
    for (unsigned id : {TimerId(ShowTimer::Item), TimerId(ShowTimer::Movement), 42u})
        Post(Msg::Timer, id);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"forward", "move"}));
}

TEST_F(ShowWindowRulesTest, NoScreenSaverStartsOverTheShow) {
    Make(false);
    Post(Msg::SysCommand, SC_SCREENSAVE);
    EXPECT_TRUE(window_.defaults.empty());
    Post(Msg::SysCommand, SC_CLOSE);
    EXPECT_EQ(window_.defaults, std::vector<Msg>{Msg::SysCommand});
}

} // namespace
} // namespace scr
