#pragma once
// Chooses the role of this run from the executable's extension and the
// command line, once, before any window exists.

#include "platform/ShowMode.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace scr {

struct DetectedMode {
    ShowMode mode = ShowMode::Show;
    WindowHandle parent = 0;
};

// The window handle of a command line: the second parameter when there are
// two or more, else the first parameter from its fourth character on. With a
// single parameter of three characters or fewer the handle stays as given in
// `parent` and parsing succeeds. False (parent unchanged) when the text is
// not an integer.
bool ParseParentWindow(const std::vector<std::string>& parameters, WindowHandle& parent);

// The whole detection as a pure function. `packageKind` is consulted only
// for an ".exe" name and is read lazily through the callback.
DetectedMode DetectModeFor(const std::string& executablePath, const std::vector<std::string>& parameters,
                           const std::function<uint8_t(const std::string& path)>& readPackageKind);

// Detects the mode of this run from the running executable's name, the
// trailer of the package file and the command line's parameters.
DetectedMode DetectMode(const std::string& packagePath, const std::vector<std::string>& parameters);

} // namespace scr
