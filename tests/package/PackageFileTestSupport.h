#pragma once
// Shared set-up of the package reader tests: a private temporary directory
// (also used as the system's temporary directory for extractions) and a
// chosen primary screen size.

#include "package/PackageFile.h"
#include "platform/ReadingEnvironment.h"
#include "tests/package/PackageFixture.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace scr::test {

class PackageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        oldTmp_ = old ? old : "";
        hadTmp_ = old != nullptr;
        ::setenv("TMPDIR", temp_.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    // The screen the packages opened next are fitted to (none at first).
    void SetScreen(int width, int height) { reading_.screen = ScreenSize{width, height}; }

    // Writes the package to a file and opens it.
    std::unique_ptr<PackageFile> Open(const FixturePackage& package, const std::string& name = "saver.scr") {
        return OpenBytes(BuildAppendedPackage(package), name);
    }
    std::unique_ptr<PackageFile> OpenBytes(const std::vector<uint8_t>& bytes,
                                           const std::string& name = "saver.scr") {
        const std::string path = temp_.file(name);
        WriteFile(path, bytes);
        return std::make_unique<PackageFile>(path, reading_);
    }

    TempDir temp_;
    ReadingEnvironment reading_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

} // namespace scr::test
