#include "platform/ChromiumFlags.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

struct SwitchCase {
    const char* flags;
    const char* flag;
    const char* expected;
};

TEST(ChromiumFlagsTest, SwitchesAreAddedOnceAndTheUsersValueIsKept) {
    const SwitchCase cases[] = {
        {"", "--disable-gpu", "--disable-gpu"},
        {"--no-sandbox", "--disable-gpu", "--no-sandbox --disable-gpu"},
        {"--disable-gpu", "--disable-gpu", "--disable-gpu"},
        {"  --a   --b ", "--c", "--a --b --c"},
        {"--js-flags=--expose-gc", "--js-flags=--optimize-for-size", "--js-flags=--expose-gc"},
        {"--renderer-process-limit=4", "--renderer-process-limit=1", "--renderer-process-limit=4"},
        {"--renderer-process-limit-x=4", "--renderer-process-limit=1",
         "--renderer-process-limit-x=4 --renderer-process-limit=1"},
        {"--disable-gpu-compositing", "--disable-gpu", "--disable-gpu-compositing --disable-gpu"},
    };
    for (const SwitchCase& c : cases)
        EXPECT_EQ(WithChromiumSwitch(c.flags, c.flag), c.expected) << c.flags << " + " << c.flag;
}

TEST(ChromiumFlagsTest, DisabledFeaturesJoinTheOneListUnlessTheUserNamedThem) {
    const SwitchCase cases[] = {
        {"", "AudioServiceOutOfProcess", "--disable-features=AudioServiceOutOfProcess"},
        {"--no-sandbox", "A", "--no-sandbox --disable-features=A"},
        {"--disable-features=X --no-sandbox", "A", "--disable-features=X,A --no-sandbox"},
        {"--disable-features=X,A", "A", "--disable-features=X,A"},
        {"--disable-features=AB", "A", "--disable-features=AB,A"},
        {"--enable-features=A", "A", "--enable-features=A"},
        {"--enable-features=B --disable-features=", "A", "--enable-features=B --disable-features=A"},
    };
    for (const SwitchCase& c : cases)
        EXPECT_EQ(WithChromiumFeatureDisabled(c.flags, c.flag), c.expected) << c.flags << " + " << c.flag;
}

} // namespace
} // namespace scr
