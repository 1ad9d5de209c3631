#pragma once
// Small operations on path texts (no file system access), completing
// ExtractFileName and ExtractFileExt of ExecutablePath.h.

#include <string>

namespace scr {

// The path with a '/' at its end, added when missing ("" stays "").
std::string IncludeTrailingPathDelimiter(const std::string& path);

// The folder part of a path with its trailing '/': "/a/b.scr" -> "/a/";
// "" for a bare name.
std::string ExtractFilePath(const std::string& path);

// The file name without its extension: "/a/Waves.scr" -> "Waves",
// "/a/.scr" -> "" (the extension is the text from the last '.' on).
std::string ExtractFileStem(const std::string& path);

} // namespace scr
