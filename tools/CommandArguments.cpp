#include "tools/CommandArguments.h"

#include <charconv>

namespace scr {

CommandArguments::CommandArguments(std::set<std::string> flags, std::set<std::string> options)
    : flags_(std::move(flags)), options_(std::move(options)) {}

bool CommandArguments::parse(int argc, char** argv, std::size_t minPositional, std::size_t maxPositional) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-') {
            if (flags_.count(arg)) {
                givenFlags_.insert(arg);
            } else if (options_.count(arg)) {
                if (i + 1 >= argc) {
                    error_ = "option " + arg + " needs a value";
                    return false;
                }
                givenOptions_[arg] = argv[++i];
            } else {
                error_ = "unknown option " + arg;
                return false;
            }
        } else {
            positional_.push_back(arg);
        }
    }
    if (positional_.size() < minPositional) {
        error_ = "missing arguments";
        return false;
    }
    if (positional_.size() > maxPositional) {
        error_ = "unexpected argument " + positional_[maxPositional];
        return false;
    }
    return true;
}

std::optional<std::string> CommandArguments::option(const std::string& name) const {
    const auto it = givenOptions_.find(name);
    if (it == givenOptions_.end()) return std::nullopt;
    return it->second;
}

std::optional<ScreenArgument> ParseScreenArgument(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    auto number = [](const char* first, const char* last) -> std::optional<int> {
        int value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last || value < 1 || value > 65535) return std::nullopt;
        return value;
    };
    const auto width = number(text.data(), text.data() + x);
    const auto height = number(text.data() + x + 1, text.data() + text.size());
    if (!width || !height) return std::nullopt;
    return ScreenArgument{*width, *height};
}

} // namespace scr
