#include "platform/FolderConfinedFile.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace scr {
namespace {

namespace fs = std::filesystem;

// Entries looked at in one folder when matching a name without case.
constexpr int kMaxEntriesCompared = 10000;

std::string AsciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

// The relative path's steps; nothing when one of them leaves or is not a plain name.
std::optional<std::vector<std::string>> Steps(std::string relative) {
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string::npos)
        return std::nullopt;
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        const std::string step = relative.substr(start, end - start);
        if (step == "..") return std::nullopt;
        if (!step.empty() && step != ".") steps.push_back(step);
        start = end + 1;
    }
    if (steps.empty()) return std::nullopt;
    return steps;
}

// The entry of `dir` named `step` as written, or else the one entry whose name matches it without case.
std::optional<fs::path> Entry(const fs::path& dir, const std::string& step) {
    std::error_code ec;
    const fs::path exact = dir / step;
    if (fs::exists(fs::symlink_status(exact, ec))) return exact;
    const std::string wanted = AsciiLower(step);
    std::optional<fs::path> match;
    int compared = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end && compared < kMaxEntriesCompared;
         it.increment(ec), ++compared) {
        if (AsciiLower(it->path().filename().string()) != wanted) continue;
        if (match) return std::nullopt; // two entries differ only by case
        match = it->path();
    }
    return match;
}

} // namespace

std::optional<std::string> FolderConfinedFile(const std::string& folder, const std::string& relative) {
    const std::optional<std::vector<std::string>> steps = Steps(relative);
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (!steps || ec) return std::nullopt;
    fs::path path = root;
    for (const std::string& step : *steps) {
        const std::optional<fs::path> entry = Entry(path, step);
        if (!entry) return std::nullopt;
        path = *entry;
    }
    const fs::path real = fs::canonical(path, ec);
    if (ec || !fs::is_regular_file(real, ec)) return std::nullopt;
    // Links are followed to their end, which must lie inside the folder.
    const fs::path inside = real.lexically_relative(root);
    if (inside.empty() || *inside.begin() == ".." || inside.is_absolute()) return std::nullopt;
    return real.string();
}

} // namespace scr
