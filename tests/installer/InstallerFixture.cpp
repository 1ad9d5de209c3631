#include "tests/installer/InstallerFixture.h"

#include "dialogs/MessageDialog.h"
#include "platform/RegistryStore.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace scr::test {
namespace {

// Saved and restored; the last two are not set here, but tests change them.
const char* const kVariables[] = {
    "HOME",    "XDG_DATA_HOME",  "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "PATH", "DBUS_SESSION_BUS_ADDRESS",
    "DISPLAY", "QT_QPA_PLATFORM"};

} // namespace

PrivateHome::PrivateHome() {
    for (const char* name : kVariables) {
        const char* value = std::getenv(name);
        saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    std::filesystem::create_directories(home());
    std::filesystem::create_directories(bin());
    setenv("HOME", home().c_str(), 1);
    setenv("XDG_DATA_HOME", (home() + "/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home() + "/.config").c_str(), 1);
    setenv("XDG_DESKTOP_DIR", desktop().c_str(), 1);
    setenv("PATH", bin().c_str(), 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

PrivateHome::~PrivateHome() {
    for (const auto& [name, value] : saved_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

void PrivateHome::AddProgram(const std::string& name, const std::string& script) const {
    const std::string path = bin() + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << script << "\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

PackageDescription InstallerDescription(const std::string& name, const std::string& license) {
    PackageDescription d;
    d.name = name;
    d.info.setFormatLevel(5);
    d.info.setPackageKind('E');
    d.info.setDescription("A screen saver for the installer tests.");
    d.licenseText = license;
    std::string texts;
    for (int i = 0; i < 26; ++i) {
        const char* text = i == 21   ? "Setup Title"
                           : i == 23 ? "Replace the file?"
                           : i == 24 ? "Installation failed."
                           : i == 19 ? "Yes"
                           : i == 20 ? "No"
                           : i == 18 ? "Cancel"
                           : i == 17 ? "OK"
                                     : "";
        texts += std::string(text) + "\r\n";
    }
    d.dynamicTexts = texts;
    d.staticCaptions = "[FS_0]\r\nS_1024=Close\r\nS_2009=Next\r\n";
    return d;
}

std::vector<uint8_t> WriteInstallerFile(const std::string& path, const PackageDescription& description) {
    std::vector<uint8_t> program(3000);
    for (std::size_t i = 0; i < program.size(); ++i)
        program[i] = static_cast<uint8_t>(i * 7 + 3);
    const Result<void> packed = WritePackedFile(path, program, description);
    EXPECT_TRUE(packed) << packed.error();
    return ReadFile(path);
}

std::optional<std::string> ReadMachineString(const std::string& keyPath, const std::string& name) {
    auto key = RegistryKey::Open(RegistryRoot::LocalMachine, keyPath, false);
    if (!key) return std::nullopt;
    return key->ReadString(name);
}

FileSizeLimit::FileSizeLimit(long long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    savedSoft_ = limit.rlim_cur;
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(savedSoft_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, savedHandler_);
}

struct MessageAnswers::State {
    std::vector<MessageAnswer> results;
    std::size_t next = 0;
    QTimer timer;
};

MessageAnswers::MessageAnswers(std::vector<MessageAnswer> results)
    : state_(std::make_shared<State>()), texts_(std::make_shared<std::vector<QString>>()) {
    state_->results = std::move(results);
    state_->timer.setInterval(10);
    QObject::connect(&state_->timer, &QTimer::timeout, [state = state_.get(), texts = texts_] {
        auto* form = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
        if (!form || !form->isVisible() || state->next >= state->results.size()) return;
        const auto* message = form->findChild<QLabel*>(QStringLiteral("LabelMsg"));
        texts->push_back(message ? message->text() : QStringLiteral("(no LabelMsg)"));
        form->Answer(state->results[state->next++]);
    });
    state_->timer.start();
}

MessageAnswers::~MessageAnswers() = default;

} // namespace scr::test
