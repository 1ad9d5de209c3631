#include "platform/RegistryStore.h"

#include "platform/StandardDirectories.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// Lower-cases ASCII letters for comparisons that ignore case.
std::string Fold(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// "\\Software\\\\X\\" -> "Software\\X": no leading, trailing or doubled separators.
std::string NormalizePath(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!out.empty() && out.back() != '\\') out += '\\';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

struct StoredValue {
    std::string name; // as first written
    RegistryValue value;
};

struct StoredKey {
    std::string path;                          // as first written
    std::map<std::string, StoredValue> values; // by folded name
};

using Store = std::map<std::string, StoredKey>; // by folded path

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> Unquote(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < line.size()) {
            char n = line[++pos];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

Store Parse(std::istream& in) {
    Store store;
    StoredKey* current = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            auto end = line.rfind(']');
            if (end == std::string::npos) {
                current = nullptr;
                continue;
            }
            std::string path = NormalizePath(line.substr(1, end - 1));
            auto& key = store[Fold(path)];
            if (key.path.empty()) key.path = path;
            current = &key;
            continue;
        }
        if (!current) continue;
        std::size_t pos = 0;
        auto name = Unquote(line, pos);
        if (!name || pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        std::string rest = line.substr(pos);
        if (rest.rfind("dword:", 0) == 0) {
            char* end = nullptr;
            unsigned long v = std::strtoul(rest.c_str() + 6, &end, 16);
            if (end == rest.c_str() + 6 || *end != '\0' || v > 0xFFFFFFFFUL) continue;
            current->values[Fold(*name)] = {*name, static_cast<int32_t>(static_cast<uint32_t>(v))};
        } else {
            auto text = Unquote(line, pos);
            if (text) current->values[Fold(*name)] = {*name, *text};
        }
    }
    return store;
}

std::string Serialize(const Store& store) {
    std::ostringstream out;
    out << "; scrplayer registry store. Keys compare without regard to case.\n";
    for (const auto& [folded, key] : store) {
        out << "\n[" << key.path << "]\n";
        for (const auto& [vf, value] : key.values) {
            out << '"' << Escape(value.name) << "\"=";
            if (auto* i = std::get_if<int32_t>(&value.value)) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%08x", static_cast<uint32_t>(*i));
                out << "dword:" << hex << '\n';
            } else {
                out << '"' << Escape(std::get<std::string>(value.value)) << "\"\n";
            }
        }
    }
    return out.str();
}

Store Load(RegistryRoot root) {
    std::ifstream in(RegistryFilePath(root), std::ios::binary);
    if (!in) return {};
    return Parse(in);
}

// Runs `change` on the store under an exclusive lock and writes the result
// atomically when `change` returns true.
template <typename Change>
bool Modify(RegistryRoot root, Change change) {
    const fs::path file = RegistryFilePath(root);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const std::string lockPath = file.string() + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return false;
    bool ok = false;
    if (::flock(lockFd, LOCK_EX) == 0) {
        Store store = Load(root);
        if (change(store)) {
            std::string tmp = file.string() + ".XXXXXX";
            int fd = ::mkstemp(tmp.data());
            if (fd >= 0) {
                const std::string text = Serialize(store);
                std::size_t done = 0;
                bool written = true;
                while (done < text.size()) {
                    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
                    if (n <= 0) {
                        written = false;
                        break;
                    }
                    done += static_cast<std::size_t>(n);
                }
                written = written && ::fsync(fd) == 0;
                ::close(fd);
                if (written && std::rename(tmp.c_str(), file.c_str()) == 0)
                    ok = true;
                else
                    ::unlink(tmp.c_str());
            }
        }
        ::flock(lockFd, LOCK_UN);
    }
    ::close(lockFd);
    return ok;
}

} // namespace

std::string RegistryFilePath(RegistryRoot root) {
    if (root == RegistryRoot::CurrentUser) return XdgConfigHome() + "/scrplayer/registry.ini";
    return XdgDataHome() + "/scrplayer/registry.ini";
}

std::optional<RegistryKey> RegistryKey::Open(RegistryRoot root, std::string_view path, bool create) {
    std::string normalized = NormalizePath(path);
    if (normalized.empty()) return std::nullopt;
    if (RegistryKeyExists(root, normalized)) return RegistryKey(root, normalized);
    if (!create) return std::nullopt;
    bool made = Modify(root, [&](Store& store) {
        auto& key = store[Fold(normalized)];
        if (key.path.empty()) key.path = normalized;
        return true;
    });
    if (!made) return std::nullopt;
    return RegistryKey(root, normalized);
}

std::optional<RegistryValue> RegistryKey::ReadValue(std::string_view name) const {
    Store store = Load(root_);
    auto key = store.find(Fold(path_));
    if (key == store.end()) return std::nullopt;
    auto value = key->second.values.find(Fold(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second.value;
}

std::optional<int32_t> RegistryKey::ReadInteger(std::string_view name) const {
    auto value = ReadValue(name);
    if (!value || !std::holds_alternative<int32_t>(*value)) return std::nullopt;
    return std::get<int32_t>(*value);
}

std::optional<std::string> RegistryKey::ReadString(std::string_view name) const {
    auto value = ReadValue(name);
    if (!value || !std::holds_alternative<std::string>(*value)) return std::nullopt;
    return std::get<std::string>(*value);
}

bool RegistryKey::ValueExists(std::string_view name) const {
    return ReadValue(name).has_value();
}

bool RegistryKey::Write(std::string_view name, std::optional<RegistryValue> value) {
    return Modify(root_, [&](Store& store) {
        auto& key = store[Fold(path_)];
        if (key.path.empty()) key.path = path_;
        const std::string folded = Fold(name);
        if (!value) return key.values.erase(folded) > 0;
        auto existing = key.values.find(folded);
        std::string storedName = existing != key.values.end() ? existing->second.name : std::string(name);
        key.values[folded] = {storedName, *value};
        return true;
    });
}

bool RegistryKey::WriteInteger(std::string_view name, int32_t value) {
    return Write(name, RegistryValue(value));
}
bool RegistryKey::WriteString(std::string_view name, std::string_view value) {
    return Write(name, RegistryValue(std::string(value)));
}
bool RegistryKey::DeleteValue(std::string_view name) {
    return Write(name, std::nullopt);
}

bool RegistryKeyExists(RegistryRoot root, std::string_view path) {
    const std::string folded = Fold(NormalizePath(path));
    if (folded.empty()) return false;
    Store store = Load(root);
    if (store.count(folded)) return true;
    // A key also exists when one of its sub-keys does.
    auto next = store.lower_bound(folded + "\\");
    return next != store.end() && next->first.rfind(folded + "\\", 0) == 0;
}

bool DeleteRegistryKey(RegistryRoot root, std::string_view path) {
    const std::string folded = Fold(NormalizePath(path));
    if (folded.empty()) return false;
    return Modify(root, [&](Store& store) {
        bool removed = false;
        for (auto it = store.begin(); it != store.end();) {
            if (it->first == folded || it->first.rfind(folded + "\\", 0) == 0) {
                it = store.erase(it);
                removed = true;
            } else {
                ++it;
            }
        }
        return removed;
    });
}

int32_t ReadRegInteger(RegistryRoot root, std::string_view path, std::string_view name,
                       int32_t defaultValue) {
    auto key = RegistryKey::Open(root, path, false);
    if (!key) return defaultValue;
    return key->ReadInteger(name).value_or(defaultValue);
}

bool WriteRegInteger(RegistryRoot root, std::string_view path, std::string_view name, int32_t value) {
    auto key = RegistryKey::Open(root, path, true);
    return key && key->WriteInteger(name, value);
}

} // namespace scr
