#include "startup/ModeDetection.h"

#include "package/PackageTrailer.h"
#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/IntegerText.h"

namespace scr {
namespace {

bool IsWindowIdOption(const std::string& parameter) {
    const std::string lower = AnsiLowerCase(parameter);
    return lower == "-window-id" || lower == "--window-id";
}

bool IsHostOption(const std::string& parameter) {
    const std::string lower = AnsiLowerCase(parameter);
    return lower == "-root" || lower == "--root" || IsWindowIdOption(parameter);
}

} // namespace

bool ParseParentWindow(const std::vector<std::string>& parameters, WindowHandle& parent) {
    if (parameters.size() >= 2) {
        auto handle = TryStrToWindowHandle(parameters[1]);
        if (!handle) return false;
        parent = *handle;
        return true;
    }
    if (parameters.empty()) return true;
    const std::string& first = parameters[0];
    if (first.size() > 3) {
        auto handle = TryStrToWindowHandle(std::string_view(first).substr(3));
        if (!handle) return false;
        parent = *handle;
    }
    return true;
}

DetectedMode DetectModeFor(const std::string& executablePath, const std::vector<std::string>& parameters,
                           const std::function<uint8_t(const std::string& path)>& readPackageKind) {
    DetectedMode result;
    if (AnsiLowerCase(ExtractFileExt(executablePath)) == ".exe") {
        result.mode = readPackageKind(executablePath) == 'E' ? ShowMode::Install : ShowMode::Show;
        return result;
    }
    if (parameters.empty()) {
        result.mode = ShowMode::Config;
        return result;
    }
    if (IsHostOption(parameters[0])) {
        // Linux screen-saver hosts: "-root" draws the full screen (into the
        // window XSCREENSAVER_WINDOW names, when it names one), "-window-id ID"
        // previews in window ID. Newer hosts spell them with two dashes and
        // may pass both; the window id wins.
        result.mode = ShowMode::Show;
        for (std::size_t i = 0; i + 1 < parameters.size(); ++i) {
            if (!IsWindowIdOption(parameters[i])) continue;
            if (auto handle = TryStrToWindowHandle(parameters[i + 1])) {
                result.mode = ShowMode::Preview;
                result.parent = *handle;
            }
            break;
        }
        return result;
    }
    std::string first = AnsiUpperCase(parameters[0]);
    if (!first.empty() && (first[0] < 'A' || first[0] > 'Z')) first.erase(0, 1);
    // An empty first parameter, or a lone non-letter, falls back to Show.
    const char letter = first.empty() ? 'S' : first[0];
    switch (letter) {
    case 'A':
        if (ParseParentWindow(parameters, result.parent)) result.mode = ShowMode::ChangePassword;
        break;
    case 'C':
        if (ParseParentWindow(parameters, result.parent)) result.mode = ShowMode::Config;
        break;
    case 'P':
        if (ParseParentWindow(parameters, result.parent)) result.mode = ShowMode::Preview;
        break;
    case 'U':
        result.mode = ShowMode::Uninstall;
        break;
    default:
        result.mode = ShowMode::Show;
        break;
    }
    return result;
}

DetectedMode DetectMode(const std::string& packagePath, const std::vector<std::string>& parameters) {
    // The extension is that of the file actually running; the trailer is read
    // from the package file (the same file unless a tool names another).
    return DetectModeFor(ExecutablePath(), parameters,
                         [&packagePath](const std::string&) { return ReadPackageKind(packagePath); });
}

} // namespace scr
