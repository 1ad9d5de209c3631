#include "platform/FilePathText.h"

#include "platform/ExecutablePath.h"

namespace scr {

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (path.empty() || path.back() == '/') return path;
    return path + '/';
}

std::string ExtractFilePath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileStem(const std::string& path) {
    const std::string name = ExtractFileName(path);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}

} // namespace scr
