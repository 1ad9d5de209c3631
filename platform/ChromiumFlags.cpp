#include "platform/ChromiumFlags.h"

#include <sstream>
#include <vector>

namespace scr {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in{std::string(text)};
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string Join(const std::vector<std::string>& parts, char separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

std::string_view NameOf(std::string_view flag) {
    return flag.substr(0, flag.find('='));
}

bool ListNames(const std::string& token, std::string_view name, std::string_view item) {
    if (NameOf(token) != name || token.size() <= name.size()) return false;
    for (const std::string& listed : Split(std::string_view(token).substr(name.size() + 1), ','))
        if (listed == item) return true;
    return false;
}

} // namespace

std::string WithChromiumSwitch(std::string_view flags, std::string_view flag) {
    std::vector<std::string> tokens = Split(flags, ' ');
    for (const std::string& token : tokens)
        if (NameOf(token) == NameOf(flag)) return Join(tokens, ' ');
    tokens.emplace_back(flag);
    return Join(tokens, ' ');
}

std::string WithChromiumFeatureDisabled(std::string_view flags, std::string_view feature) {
    constexpr std::string_view kDisable = "--disable-features", kEnable = "--enable-features";
    std::vector<std::string> tokens = Split(flags, ' ');
    for (const std::string& token : tokens)
        if (ListNames(token, kDisable, feature) || ListNames(token, kEnable, feature))
            return Join(tokens, ' ');
    for (std::string& token : tokens) {
        if (NameOf(token) != kDisable) continue;
        if (token.size() > kDisable.size() + 1)
            token += ',';
        else
            token = std::string(kDisable) + '=';
        token += feature;
        return Join(tokens, ' ');
    }
    tokens.push_back(std::string(kDisable) + '=' + std::string(feature));
    return Join(tokens, ' ');
}

} // namespace scr
