#pragma once
// Test material for the configuration dialog: packages written to a private
// folder, a dialog shell that records what the dialog asks of the desktop
// instead of doing it, and a private home for the registry store and the
// system directory.

#include "dialogs/ConfigDialog.h"
#include "dialogs/DialogShell.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/SaveFileDialog.h"
#include "package/JpegCodec.h"
#include "package/PackageBuilder.h"
#include "platform/ExecutablePath.h"
#include "platform/ShowMode.h"
#include "tests/package/PackageFixtures.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <QUrl>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scr::test {

// What the dialog asked of its shell; kept apart from the shell, which the
// dialog destroys.
struct ShellLog {
    struct SaveRequest {
        QString title, filter, defaultExt, fileName;
    };
    struct Message {
        QString text, caption;
        MessageStyle style;
    };
    std::vector<SaveRequest> saveRequests;
    std::deque<QString> saveAnswers; // file names to give; empty: the user cancels
    std::vector<QString> browsePrompts;
    QString browseAnswer;
    std::vector<Message> messages;
    std::vector<QUrl> urls;
    int popups = 0;
    std::vector<std::pair<std::string, int>> wallpapers;
    int wallpaperRemovals = 0;
    WindowHandle foreground = 0;
    std::vector<WindowHandle> foregroundRequests;
};

class RecordingShell : public DialogShell {
public:
    explicit RecordingShell(std::shared_ptr<ShellLog> log) : log_(std::move(log)) {}

    bool ExecuteSaveDialog(SaveFileDialog& dialog, QWidget*) override {
        log_->saveRequests.push_back({dialog.Title, dialog.Filter, dialog.DefaultExt, dialog.FileName});
        if (log_->saveAnswers.empty()) return false;
        dialog.FileName = log_->saveAnswers.front();
        log_->saveAnswers.pop_front();
        return true;
    }
    QString BrowseForDirectory(const QString& prompt, QWidget*) override {
        log_->browsePrompts.push_back(prompt);
        return log_->browseAnswer;
    }
    MessageAnswer ShowMessage(const QString& message, const QString& caption, const MessageStyle& style,
                              const QStringList*) override {
        log_->messages.push_back({message, caption, style});
        return MessageAnswer::Ok;
    }
    void OpenUrl(const QUrl& url) override { log_->urls.push_back(url); }
    void PopupMenu(QMenu*, const QPoint&) override { ++log_->popups; }
    void SetWallpaper(const std::string& path, int style) override {
        log_->wallpapers.emplace_back(path, style);
    }
    void RemoveWallpaper() override { ++log_->wallpaperRemovals; }
    WindowHandle ForegroundWindow() override { return log_->foreground; }
    void SetForegroundWindow(WindowHandle window) override { log_->foregroundRequests.push_back(window); }

private:
    std::shared_ptr<ShellLog> log_;
};

// A JPEG of a colour gradient, so that its pixels tell where they came from.
inline std::vector<uint8_t> GradientJpeg(int width, int height) {
    Bitmap24 bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y,
                            static_cast<uint32_t>((x * 255 / width) | ((y * 255 / height) << 8) | 0x400000));
    std::vector<uint8_t> jpeg;
    EncodeJpeg(bitmap, 95, jpeg);
    return jpeg;
}

// A 16-bit mono WAV of a quiet tone, `ms` milliseconds long.
inline std::vector<uint8_t> ToneWav(int ms) {
    const uint32_t rate = 8000;
    const uint32_t samples = rate * static_cast<uint32_t>(ms) / 1000;
    std::vector<uint8_t> wav;
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const auto put16 = [&](uint16_t v) {
        wav.push_back(static_cast<uint8_t>(v));
        wav.push_back(static_cast<uint8_t>(v >> 8));
    };
    const auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            wav.push_back(static_cast<uint8_t>(t[i]));
    };
    tag("RIFF");
    put32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i)
        put16(static_cast<uint16_t>((i / 10) % 2 ? 2000 : -2000));
    return wav;
}

// The dynamic texts of the test packages: "T<n>" for entry n, so a message
// shows which entry it was made of.
inline std::string TestDynamicTexts() {
    std::string texts;
    for (int i = 0; i <= 25; ++i)
        texts += "T" + std::to_string(i) + "\r\n";
    return texts;
}

// A package with `pictures` pictures (48 x 32, the first one 640 x 400 at a
// fixed place), `movies` movies after them, and one track per name.
inline PackageDescription DialogPackage(int pictures, int movies, const std::vector<std::string>& tracks) {
    PackageDescription d;
    d.name = "Dialog Test";
    d.info.setFormatLevel(5);
    d.info.setDesignWidth(800);
    d.info.setBackgroundColor(0x00402010);
    d.info.setHasAuthorInfo(1);
    d.info.setDescription("A package for the dialog tests.");
    d.author.setName("Tester");
    d.author.setEmail("tester@example.org");
    d.author.setHomepage("https://example.org/");
    d.extension.designHeight = 600;
    for (int i = 0; i < pictures; ++i) {
        PackageItemSource item;
        item.record.kind = ShowItem::Picture;
        item.record.fixedPosition = i == 0 ? 1 : 0;
        item.record.left = i == 0 ? 80 : 0;
        item.record.top = i == 0 ? 100 : 0;
        item.record.width = i == 0 ? 640 : 0;
        item.record.height = i == 0 ? 400 : 0;
        item.data = GradientJpeg(48 + i, 32);
        d.items.push_back(item);
    }
    for (int i = 0; i < movies; ++i) {
        PackageItemSource item;
        item.record.kind = ShowItem::Flash;
        item.data = TinySwf();
        d.items.push_back(item);
    }
    for (const std::string& name : tracks) {
        PackageTrackSource track;
        track.record.setExtension(".wav");
        track.data = ToneWav(3000);
        d.tracks.push_back(track);
        d.musicNames.push_back(name);
    }
    d.licenseText = "Licence text\r\n";
    d.dynamicTexts = TestDynamicTexts();
    d.staticCaptions = "[FS_0]\r\nS_1001=General\r\nS_1002=Pictures\r\nS_1003=Music\r\nS_1032=License\r\n";
    return d;
}

// A private home (registry store, system directory, temporary files) and the
// package the dialog reads.
class ConfigDialogTest : public ::testing::Test {
protected:
    ConfigDialogTest()
        : config_("XDG_CONFIG_HOME", dir_.file("config")), data_("XDG_DATA_HOME", dir_.file("data")),
          temp_("TMPDIR", dir_.path()), desktop_("XDG_CURRENT_DESKTOP", "test-none") {}

    // Writes the package and makes it the one the next dialog reads.
    void UsePackage(const PackageDescription& description) {
        const std::string path = dir_.file("saver.scr");
        const std::vector<uint8_t> program(256, 0x90);
        const Result<void> packed = WritePackedFile(path, program, description);
        ASSERT_TRUE(packed) << packed.error();
        packagePath_ = path;
    }

    std::unique_ptr<ConfigDialog> OpenDialog() {
        return std::make_unique<ConfigDialog>(packagePath_, parentWindow_, ReadingEnvironment{},
                                              std::make_unique<RecordingShell>(log_));
    }

    TempDir dir_;
    ScopedEnv config_, data_, temp_, desktop_;
    std::shared_ptr<ShellLog> log_ = std::make_shared<ShellLog>();
    // The package and the parent window the next dialog is given.
    std::string packagePath_ = ExecutablePath();
    WindowHandle parentWindow_ = 0;
};

} // namespace scr::test
