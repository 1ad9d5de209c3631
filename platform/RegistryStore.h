#pragma once
// A small registry for the keys and values the program keeps, stored in INI
// files (see docs/registry.md):
//   HKEY_CURRENT_USER  -> $XDG_CONFIG_HOME/scrplayer/registry.ini
//   HKEY_LOCAL_MACHINE -> $XDG_DATA_HOME/scrplayer/registry.ini (per user:
//                         screen savers never run as root)
// Key paths and value names compare without regard to case, like the Windows
// registry. Values keep their type (32-bit integer or text), so reading a
// text as an integer is detectable. Every change rewrites the file atomically
// (temporary file + rename) under an exclusive lock, so two processes writing
// at once never lose each other's changes or leave a half-written file.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace scr {

enum class RegistryRoot { CurrentUser, LocalMachine };

using RegistryValue = std::variant<int32_t, std::string>;

class RegistryKey {
public:
    // Opens a key. With create = false the key must exist already;
    // with create = true it is made (with its parents) when missing.
    static std::optional<RegistryKey> Open(RegistryRoot root, std::string_view path, bool create);

    const std::string& path() const { return path_; }

    std::optional<RegistryValue> ReadValue(std::string_view name) const;
    // nullopt when the value is missing or is not a 32-bit integer.
    std::optional<int32_t> ReadInteger(std::string_view name) const;
    // nullopt when the value is missing or is not a text.
    std::optional<std::string> ReadString(std::string_view name) const;
    bool ValueExists(std::string_view name) const;

    bool WriteInteger(std::string_view name, int32_t value);
    bool WriteString(std::string_view name, std::string_view value);
    bool DeleteValue(std::string_view name);

private:
    RegistryKey(RegistryRoot root, std::string path) : root_(root), path_(std::move(path)) {}
    bool Write(std::string_view name, std::optional<RegistryValue> value);

    RegistryRoot root_;
    std::string path_;
};

// True when the key exists.
bool RegistryKeyExists(RegistryRoot root, std::string_view path);
// Deletes a key with its values and sub-keys; true when it existed.
bool DeleteRegistryKey(RegistryRoot root, std::string_view path);

// 32-bit integer helpers: the default on any failure (missing key or value, wrong type).
int32_t ReadRegInteger(RegistryRoot root, std::string_view path, std::string_view name, int32_t defaultValue);
// Creates the key when missing; false on failure. Failures are not reported further.
bool WriteRegInteger(RegistryRoot root, std::string_view path, std::string_view name, int32_t value);

// The file that stores one root.
std::string RegistryFilePath(RegistryRoot root);

} // namespace scr
