#pragma once
// A private temporary directory for one test, removed with everything in it.

#include <cstdint>
#include <string>
#include <vector>

namespace scr::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);

// Runs a command through the shell; returns its exit status and captures stdout.
int RunCommand(const std::string& command, std::string* output = nullptr);

// Where the build put the executables (set by CTest), for end-to-end tests.
std::string BuildBinDir();
// The project's source folder, for tests that read files from it.
std::string SourceDir();
// True when the build has the Flash engine plugin and the Ruffle files.
bool FlashEngineBuilt();
// A folder of public real-world movies: $SCRPLAYER_REALWORLD_SWF, else
// shared/realworld/swf beside the source tree, else the few kept in
// tests/data/swf.
std::string RealWorldMovieFolder();

} // namespace scr::test

namespace scr::test {
// A stored (scrambled) 400-byte package trailer with a valid signature, the
// given package-kind byte and PackageSize, for appending to a program image.
std::vector<uint8_t> StoredTrailer(char kind, int32_t packageSize);
} // namespace scr::test
