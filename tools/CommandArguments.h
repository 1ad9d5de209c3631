#pragma once
// The arguments of one scrtool sub-command: positional values, flags
// ("--json") and options with a value ("-o OUT", "--screen 1280x800").
// Parsing checks them against what the command declares, so every command
// reports unknown or incomplete arguments the same way.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace scr {

class CommandArguments {
public:
    // `flags` and `options` list the names the command accepts, with dashes.
    CommandArguments(std::set<std::string> flags, std::set<std::string> options);

    // argv[0] is the command name. False, with error() set, on an unknown
    // argument, an option without its value or a wrong number of positionals.
    bool parse(int argc, char** argv, std::size_t minPositional, std::size_t maxPositional);

    const std::vector<std::string>& positional() const { return positional_; }
    bool flag(const std::string& name) const { return givenFlags_.count(name) > 0; }
    std::optional<std::string> option(const std::string& name) const;
    const std::string& error() const { return error_; }

private:
    std::set<std::string> flags_;
    std::set<std::string> options_;
    std::vector<std::string> positional_;
    std::set<std::string> givenFlags_;
    std::map<std::string, std::string> givenOptions_;
    std::string error_;
};

// "WxH" with both numbers 1..65535. Nothing when the text is not of that form.
struct ScreenArgument {
    int width = 0;
    int height = 0;
};
std::optional<ScreenArgument> ParseScreenArgument(const std::string& text);

} // namespace scr
