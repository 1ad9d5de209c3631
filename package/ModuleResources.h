#pragma once
// The resources of the program module a package may be stored in (the
// resource form of a package): named RCDATA resources and string resources.
// Two kinds exist: the resources compiled into this program, and those of a
// Windows PE file opened as the package source.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scr {

class ModuleResources {
public:
    virtual ~ModuleResources() = default;
    // The bytes of the RCDATA resource with that name (compared without regard
    // to case); nothing when it does not exist.
    virtual std::optional<std::vector<uint8_t>> FindRcData(std::string_view name) const = 0;
    // String resource `id` as code-page text of at most maxBytes bytes;
    // nothing when it does not exist.
    virtual std::optional<std::string> LoadString(int id, std::size_t maxBytes) const = 0;
};

// The resources of the module stored in `path`: those of the PE file when
// the file is one, otherwise the resources compiled into this program.
// Nothing when the file cannot be opened.
std::unique_ptr<ModuleResources> OpenModuleResources(const std::string& path);

// The resources compiled into this program.
const ModuleResources& BuiltinResources();

} // namespace scr
