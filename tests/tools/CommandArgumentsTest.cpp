#include "tools/CommandArguments.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

bool Parse(CommandArguments& args, std::vector<std::string> words, std::size_t min, std::size_t max) {
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    return args.parse(static_cast<int>(argv.size()), argv.data(), min, max);
}

TEST(CommandArgumentsTest, SeparatesPositionalsFlagsAndOptionsInAnyOrder) {
    CommandArguments args({"--json"}, {"--screen"});
    ASSERT_TRUE(Parse(args, {"info", "--screen", "800x600", "file.scr", "--json"}, 1, 1)) << args.error();
    EXPECT_EQ(args.positional(), std::vector<std::string>{"file.scr"});
    EXPECT_TRUE(args.flag("--json"));
    EXPECT_EQ(args.option("--screen"), "800x600");
    EXPECT_FALSE(args.option("--other"));
}

TEST(CommandArgumentsTest, RefusesWhatTheCommandDoesNotDeclare) {
    struct Case {
        std::vector<std::string> words;
        std::string error;
    };
    const Case cases[] = {
        {{"info", "a", "--verbose"}, "unknown option --verbose"},
        {{"info", "a", "--screen"}, "option --screen needs a value"},
        {{"info"}, "missing arguments"},
        {{"info", "a", "b"}, "unexpected argument b"},
    };
    for (const Case& c : cases) {
        CommandArguments args({"--json"}, {"--screen"});
        EXPECT_FALSE(Parse(args, c.words, 1, 1));
        EXPECT_EQ(args.error(), c.error);
    }
}

TEST(CommandArgumentsTest, ScreenSizesAreTwoPositiveNumbers) {
    const auto size = ParseScreenArgument("1920x1080");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 1920);
    EXPECT_EQ(size->height, 1080);
    for (const char* bad :
         {"", "1920", "x1080", "1920x", "0x600", "800x-1", "800x600x2", "80 x600", "99999x1"})
        EXPECT_FALSE(ParseScreenArgument(bad)) << bad;
}

} // namespace
} // namespace scr
