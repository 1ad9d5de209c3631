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

} // namespace scr::test
