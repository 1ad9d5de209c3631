#include "installer/UninstallEntry.h"

#include "installer/InstallNames.h"
#include "platform/RegistryStore.h"

namespace scr {

std::optional<std::string> UninstallKeyPath(const std::string& fileStem) {
    if (fileStem.empty()) return std::nullopt;
    return std::string(kUninstallKeyRoot) + SafeNameComponent(fileStem, true);
}

bool WriteUninstallEntry(const std::string& fileStem, const std::string& displayName,
                         const std::string& uninstallString) {
    const auto path = UninstallKeyPath(fileStem);
    if (!path) return false;
    auto key = RegistryKey::Open(RegistryRoot::LocalMachine, *path, true);
    if (!key) return false;
    const bool name = key->WriteString("DisplayName", displayName);
    const bool command = key->WriteString("UninstallString", uninstallString);
    return name && command;
}

bool DeleteUninstallEntry(const std::string& fileStem) {
    const auto path = UninstallKeyPath(fileStem);
    return path && DeleteRegistryKey(RegistryRoot::LocalMachine, *path);
}

} // namespace scr
