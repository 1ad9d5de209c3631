#pragma once
// Shared material of the installer tests: a private home with its own XDG
// folders and PATH (so nothing of the real user is touched and no desktop
// tool runs), self-installing package files, and answers to the modal
// message forms the wizard shows.

#include "dialogs/MessageStyle.h"
#include "package/PackageBuilder.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scr::test {

// Sets HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_DESKTOP_DIR and PATH to
// folders of a private temporary directory for the lifetime of the object,
// and restores them (and DISPLAY and QT_QPA_PLATFORM) afterwards.
class PrivateHome {
public:
    PrivateHome();
    ~PrivateHome();
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    const std::string& root() const { return dir_.path(); }
    std::string home() const { return dir_.file("home"); }
    std::string desktop() const { return dir_.file("home/Desktop"); }
    std::string systemDirectory() const { return dir_.file("home/.local/share/scrplayer/system"); }
    std::string bin() const { return dir_.file("bin"); }
    std::string registryFile() const { return dir_.file("home/.local/share/scrplayer/registry.ini"); }
    std::string file(const std::string& name) const { return dir_.file(name); }

    // Puts an executable shell script named `name` into bin().
    void AddProgram(const std::string& name, const std::string& script) const;

private:
    TempDir dir_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// The package of an installer: name, description, licence and English-like
// language tables with the wizard's texts; kind 'E'.
PackageDescription InstallerDescription(const std::string& name,
                                        const std::string& license = "Licence text.");

// Writes a program image (arbitrary bytes standing in for the player)
// followed by the package to `path` and returns the file's bytes.
std::vector<uint8_t> WriteInstallerFile(const std::string& path, const PackageDescription& description);

// The registry string value of a key under HKEY_LOCAL_MACHINE, if any.
std::optional<std::string> ReadMachineString(const std::string& keyPath, const std::string& name);

// Makes every write beyond `bytes` into any file fail (EFBIG) while it
// lives: a disk that fills up half-way through a copy.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long savedSoft_ = 0;
    void (*savedHandler_)(int) = nullptr;
};

// Answers the next message forms as they appear: each is closed with the
// next answer of the list; the texts they showed are collected.
class MessageAnswers {
public:
    explicit MessageAnswers(std::vector<MessageAnswer> answers);
    ~MessageAnswers();
    const std::vector<QString>& texts() const { return *texts_; }

private:
    struct State;
    std::shared_ptr<State> state_;
    std::shared_ptr<std::vector<QString>> texts_;
};

} // namespace scr::test
