#include "package/ModuleResources.h"

#include "package/PeResources.h"
#include "platform/ExecutablePath.h"

#include <cstddef>
#include <span>
#include <sys/stat.h>

namespace scr {

// Drawn and encoded at build time (package/generator).
extern const unsigned char kFlashPlaceholderJpeg[];
extern const std::size_t kFlashPlaceholderJpegSize;

namespace {

struct BuiltinData {
    const char* name;
    std::span<const unsigned char> bytes;
};

struct BuiltinString {
    int id;
    const char* text;
};

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

// The resources compiled into this program. The player itself carries no
// package in resource form, so only the movie placeholder is here, and
// string 1, the program's own name, which a bare player shows.
class CompiledResources final : public ModuleResources {
public:
    std::optional<std::vector<uint8_t>> FindRcData(std::string_view name) const override {
        const BuiltinData table[] = {
            {"XJPEGXFLASH", {kFlashPlaceholderJpeg, kFlashPlaceholderJpegSize}},
        };
        for (const auto& entry : table)
            if (SameNameIgnoringCase(entry.name, name))
                return std::vector<uint8_t>(entry.bytes.begin(), entry.bytes.end());
        return std::nullopt;
    }

    std::optional<std::string> LoadString(int id, std::size_t maxBytes) const override {
        static constexpr BuiltinString kStrings[] = {{1, "scrplayer"}};
        for (const auto& entry : kStrings)
            if (entry.id == id) return std::string(entry.text).substr(0, maxBytes);
        return std::nullopt;
    }
};

// A module without resources: a file that is neither a PE file nor this program.
class NoResources final : public ModuleResources {
public:
    std::optional<std::vector<uint8_t>> FindRcData(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> LoadString(int, std::size_t) const override { return std::nullopt; }
};

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

const ModuleResources& BuiltinResources() {
    static const CompiledResources resources;
    return resources;
}

std::unique_ptr<ModuleResources> OpenModuleResources(const std::string& path) {
    ReadOnlyFile file;
    if (!file.open(path)) return nullptr;
    FileByteSource source(file);
    if (LooksLikePe(source)) return PeFileResources::Open(path);
    if (SameFile(path, ExecutablePath())) return std::make_unique<CompiledResources>();
    return std::make_unique<NoResources>();
}

} // namespace scr
