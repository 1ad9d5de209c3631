#include "package/ManifestFields.h"

#include "platform/CodePage.h"
#include "platform/ColorRef.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>

namespace scr {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A text file is read whole before it is converted from UTF-8; the package's
// 32-bit sizes bound it.
constexpr std::size_t kMaxTextFileBytes = INT32_MAX;

} // namespace

ManifestFields::ManifestFields(const json& object, std::string path, fs::path baseDir,
                               std::vector<std::string>* warnings)
    : object_(object), path_(std::move(path)), baseDir_(std::move(baseDir)), warnings_(warnings) {
    if (!object_.is_object())
        throw ManifestError((path_.empty() ? "manifest" : path_) + ": must be an object");
}

bool ManifestFields::has(const char* key) const {
    return object_.contains(key);
}

std::string ManifestFields::keyPath(const char* key) const {
    return path_.empty() ? key : path_ + "." + key;
}

void ManifestFields::fail(const char* key, const std::string& message) const {
    throw ManifestError(keyPath(key) + ": " + message);
}

void ManifestFields::warn(const char* key, const std::string& message) const {
    if (warnings_) warnings_->push_back(keyPath(key) + ": " + message);
}

const json* ManifestFields::value(const char* key) {
    seen_.insert(key);
    const auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
}

// The integer of a key that is present, within min..max.
int64_t ManifestFields::anyInteger(const char* key, int64_t min, int64_t max) {
    const json* v = value(key);
    if (!v->is_number_integer()) fail(key, "must be an integer");
    const std::string range = " is out of range " + std::to_string(min) + ".." + std::to_string(max);
    // Unsigned JSON numbers above the signed range are out of range too.
    if (v->is_number_unsigned() && v->get<uint64_t>() > static_cast<uint64_t>(max))
        fail(key, v->dump() + range);
    const auto n = v->get<int64_t>();
    if (n < min || n > max) fail(key, std::to_string(n) + range);
    return n;
}

int32_t ManifestFields::integer(const char* key, int64_t min, int64_t max, int32_t fallback) {
    if (!has(key)) {
        value(key);
        return fallback;
    }
    return static_cast<int32_t>(anyInteger(key, min, max));
}

namespace {

std::string Unusual(int64_t n, const UsualRange& usual) {
    std::string text = std::to_string(n) + " lies outside the usual " + std::to_string(usual.min) + ".." +
                       std::to_string(usual.max) + " and is stored as given";
    return usual.otherwise ? text + " (" + usual.otherwise + ")" : text;
}

} // namespace

int32_t ManifestFields::word(const char* key, const UsualRange& usual, int32_t fallback) {
    const int32_t n = integer(key, INT32_MIN, INT32_MAX, fallback);
    if (has(key) && (n < usual.min || n > usual.max)) warn(key, Unusual(n, usual));
    return n;
}

uint8_t ManifestFields::byte(const char* key, const UsualRange& usual, uint8_t fallback) {
    const auto n = static_cast<uint8_t>(integer(key, 0, 255, fallback));
    if (has(key) && (n < usual.min || n > usual.max)) warn(key, Unusual(n, usual));
    return n;
}

int32_t ManifestFields::flag(const char* key, bool fallback, FlagWidth width, const char* otherwise) {
    const json* v = value(key);
    if (!v) return fallback ? 1 : 0;
    if (v->is_boolean()) return v->get<bool>() ? 1 : 0;
    if (!v->is_number_integer()) fail(key, "must be true or false, or the stored value as an integer");
    const int32_t n = width == FlagWidth::Byte ? static_cast<int32_t>(anyInteger(key, 0, 255))
                                               : static_cast<int32_t>(anyInteger(key, INT32_MIN, INT32_MAX));
    if (n != 0 && n != 1)
        warn(key, std::to_string(n) + " is stored as given (" +
                      (otherwise ? otherwise : "the player takes any value but 0 as true") + ")");
    return n;
}

uint32_t ManifestFields::colour(const char* key, uint32_t fallback) {
    const json* v = value(key);
    if (!v) return fallback;
    const std::string text = v->is_string() ? v->get<std::string>() : std::string();
    const bool wellFormed = (text.size() == 7 || text.size() == 9) && text[0] == '#' &&
                            text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
    if (!wellFormed) fail(key, "must be a colour written #RRGGBB (or #HHRRGGBB with the stored high byte)");
    const auto value = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
    const uint32_t high = value >> 24;
    if (high != 0)
        warn(key, "the high byte " + text.substr(1, 2) + " is stored as given (the player ignores it)");
    return (high << 24) | ColorRefFromRgb({static_cast<uint8_t>(value >> 16),
                                           static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

// The bytes of a {"bytes": HEX} value, at most maxBytes.
std::string ManifestFields::storedBytes(const char* key, const json& value, std::size_t maxBytes) const {
    const std::string wanted = "must be {\"bytes\": HEX} with the stored bytes as hexadecimal text";
    if (value.size() != 1 || !value.contains("bytes") || !value["bytes"].is_string()) fail(key, wanted);
    const auto bytes = BytesOfHexText(value["bytes"].get<std::string>());
    if (!bytes) fail(key, wanted);
    if (bytes->size() > maxBytes)
        fail(key, "is " + std::to_string(bytes->size()) + " bytes long, at most " + std::to_string(maxBytes) +
                      " fit");
    return std::string(bytes->begin(), bytes->end());
}

std::string ManifestFields::text(const char* key, std::size_t maxBytes, const std::string& fallback,
                                 bool multiLine) {
    const json* v = value(key);
    if (!v) return fallback;
    if (v->is_object()) return storedBytes(key, *v, maxBytes);
    if (!v->is_string()) fail(key, "must be a text");
    std::string stored = ToCodePageStrict(v->get<std::string>(), keyPath(key));
    if (multiLine) stored = WithCrLfLineEnds(stored);
    const bool control = std::any_of(stored.begin(), stored.end(), [&](char c) {
        return static_cast<unsigned char>(c) < 32 && !(multiLine && (c == '\r' || c == '\n' || c == '\t'));
    });
    if (control) warn(key, "holds control characters; they are stored as given");
    if (stored.size() > maxBytes)
        fail(key, "is " + std::to_string(stored.size()) + " bytes long, at most " + std::to_string(maxBytes) +
                      " fit");
    return stored;
}

std::string ManifestFields::fieldText(const char* key, std::size_t width, const std::string& fallback,
                                      bool multiLine) {
    const json* v = value(key);
    if (v && v->is_object()) return storedBytes(key, *v, width);
    return text(key, width - 1, fallback, multiLine);
}

std::optional<std::vector<uint8_t>> ManifestFields::hexBytes(const char* key, std::size_t size) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    const std::string wanted = "must be " + std::to_string(size) + " bytes written as hexadecimal text";
    if (!v->is_string()) fail(key, wanted);
    std::string digits;
    for (const char c : v->get<std::string>()) {
        if (c == ' ') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) fail(key, wanted + ", not '" + c + "'");
        digits += c;
    }
    if (digits.size() != 2 * size)
        fail(key, wanted + "; it holds " + std::to_string(digits.size()) + " digits");
    return *BytesOfHexText(digits);
}

std::string ManifestFields::choice(const char* key, const std::vector<std::string>& choices,
                                   const std::string& fallback) {
    const json* v = value(key);
    if (!v) return fallback;
    std::string list;
    for (const std::string& c : choices)
        list += (list.empty() ? "\"" : ", \"") + c + "\"";
    if (v->is_string())
        for (const std::string& c : choices)
            if (v->get<std::string>() == c) return c;
    fail(key, "must be one of " + list);
}

fs::path ManifestFields::existingFile(const char* key, const json& value) const {
    if (!value.is_string() || value.get<std::string>().empty()) fail(key, "must be a file path");
    const fs::path path = baseDir_ / fs::path(value.get<std::string>());
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) fail(key, "no such file: " + path.string());
    return path;
}

std::optional<fs::path> ManifestFields::file(const char* key) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    return existingFile(key, *v);
}

std::vector<uint8_t> ManifestFields::readFile(const char* key, const fs::path& path,
                                              std::size_t maxBytes) const {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) fail(key, "cannot read " + path.string());
    if (size > maxBytes)
        fail(key, path.string() + " is " + std::to_string(size) + " bytes long, at most " +
                      std::to_string(maxBytes) + " fit");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        fail(key, "cannot read " + path.string());
    return bytes;
}

std::optional<std::vector<uint8_t>> ManifestFields::fileBytes(const char* key, std::size_t maxBytes) {
    const auto path = file(key);
    if (!path) return std::nullopt;
    return readFile(key, *path, maxBytes);
}

std::optional<std::string> ManifestFields::textFile(const char* key, std::size_t maxBytes) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    const bool verbatim = v->is_object();
    if (verbatim) {
        const bool wellFormed =
            v->size() == 2 && v->contains("file") && v->contains("verbatim") && (*v)["verbatim"] == true;
        if (!wellFormed) fail(key, "must be a file path, or {\"file\": PATH, \"verbatim\": true}");
    }
    const fs::path path = existingFile(key, verbatim ? (*v)["file"] : *v);
    const std::vector<uint8_t> bytes = readFile(key, path, verbatim ? maxBytes : kMaxTextFileBytes);
    std::string text(bytes.begin(), bytes.end());
    if (!verbatim) text = WithCrLfLineEnds(ToCodePageStrict(text, keyPath(key)));
    if (text.size() > maxBytes)
        fail(key, "the text is " + std::to_string(text.size()) + " bytes long, at most " +
                      std::to_string(maxBytes) + " fit");
    return text;
}

std::optional<ManifestFields> ManifestFields::object(const char* key) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    if (!v->is_object()) fail(key, "must be an object");
    return ManifestFields(*v, keyPath(key), baseDir_, warnings_);
}

std::vector<ManifestFields> ManifestFields::objects(const char* key) {
    std::vector<ManifestFields> result;
    const json* v = value(key);
    if (!v) return result;
    if (!v->is_array()) fail(key, "must be an array");
    for (std::size_t i = 0; i < v->size(); ++i) {
        const std::string path = keyPath(key) + "[" + std::to_string(i) + "]";
        if (!(*v)[i].is_object()) throw ManifestError(path + ": must be an object");
        result.emplace_back((*v)[i], path, baseDir_, warnings_);
    }
    return result;
}

void ManifestFields::finish() const {
    for (auto it = object_.begin(); it != object_.end(); ++it)
        if (!seen_.count(it.key())) throw ManifestError(keyPath(it.key().c_str()) + ": unknown key");
}

std::string ToCodePageStrict(const std::string& utf8, const std::string& keyPath) {
    const std::string stored = EncodeCodePage(utf8);
    // A character the code page lacks comes back as '?', so the round trip differs.
    if (DecodeCodePage(stored) != utf8)
        throw ManifestError(keyPath + ": holds a character that code page " + SystemCodePage() +
                            " cannot store, or is not UTF-8");
    return stored;
}

void StoreField(uint8_t* field, std::size_t width, const std::string& bytes) {
    std::fill(field, field + width, 0);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), width)),
              field);
}

bool IsPlainTrackExtension(const std::string& extension) {
    if (extension.size() < 2 || extension.size() > 7 || extension[0] != '.') return false;
    return std::all_of(extension.begin() + 1, extension.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

std::optional<std::vector<uint8_t>> BytesOfHexText(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (c == ' ') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        digits += c;
    }
    if (digits.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(std::stoul(digits.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

std::string HexText(const uint8_t* bytes, std::size_t size, const std::vector<std::size_t>& groupSizes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    std::size_t group = 0, inGroup = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (group < groupSizes.size() && inGroup == groupSizes[group]) {
            text += ' ';
            ++group;
            inGroup = 0;
        }
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
        ++inGroup;
    }
    return text;
}

std::string WithCrLfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace scr
