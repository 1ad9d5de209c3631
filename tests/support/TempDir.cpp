#include "tests/support/TempDir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>

namespace scr::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrtest-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buffer{};
    std::string text;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), n);
    int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string BuildBinDir() {
    const char* dir = std::getenv("SCR_BUILD_BIN");
    return dir && *dir ? dir : SCR_BUILD_BIN_DIR;
}

bool FlashEngineBuilt() {
    return std::filesystem::exists(BuildBinDir() + "/scrplayer-flash.so") &&
           std::filesystem::exists(BuildBinDir() + "/ruffle/ruffle.js");
}

std::string SourceDir() {
    return SCR_SOURCE_DIR;
}

std::string RealWorldMovieFolder() {
    if (const char* env = std::getenv("SCRPLAYER_REALWORLD_SWF")) return env;
    for (const char* relative : {"/../shared/realworld/swf", "/../../shared/realworld/swf"}) {
        const std::filesystem::path folder = std::filesystem::path(SourceDir() + relative);
        if (std::filesystem::is_directory(folder)) return std::filesystem::canonical(folder).string();
    }
    return SourceDir() + "/tests/data/swf";
}

} // namespace scr::test

namespace scr::test {
std::vector<uint8_t> StoredTrailer(char kind, int32_t packageSize) {
    std::vector<uint8_t> trailer(400, 0);
    for (int i = 0; i < 4; ++i)
        trailer[i] = static_cast<uint8_t>(static_cast<uint32_t>(packageSize) >> (8 * i));
    const char signature[] = "KorvalinTrailerMarkPackageBlock";
    for (int i = 0; i < 32; ++i)
        trailer[20 + i] = static_cast<uint8_t>(signature[i]);
    trailer[137] = static_cast<uint8_t>(kind);
    for (auto& b : trailer)
        b = static_cast<uint8_t>(~b);
    return trailer;
}
} // namespace scr::test
