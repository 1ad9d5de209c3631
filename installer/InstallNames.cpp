#include "installer/InstallNames.h"

namespace scr {
namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string TrimName(std::string_view text) {
    auto blankOrControl = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blankOrControl(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string SafeNameComponent(std::string_view name, bool keySeparators) {
    std::string out(name);
    for (char& c : out)
        if (c == '/' || IsControl(c) || (keySeparators && c == '\\')) c = '_';
    return out;
}

bool IsPlainFileName(std::string_view name) {
    for (char c : name)
        if (c == '/' || IsControl(c)) return false;
    return true;
}

} // namespace scr
