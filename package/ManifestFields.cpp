#include "package/ManifestFields.h"

#include "platform/CodePage.h"
#include "platform/ColorRef.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace scr {

namespace fs = std::filesystem;
using nlohmann::json;

ManifestFields::ManifestFields(const json& object, std::string path, fs::path baseDir)
    : object_(object), path_(std::move(path)), baseDir_(std::move(baseDir)) {
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

const json* ManifestFields::value(const char* key) {
    seen_.insert(key);
    const auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
}

int32_t ManifestFields::integer(const char* key, int64_t min, int64_t max, int32_t fallback) {
    const json* v = value(key);
    if (!v) return fallback;
    if (!v->is_number_integer()) fail(key, "must be an integer");
    // Unsigned JSON numbers above the signed range are out of range too.
    if (v->is_number_unsigned() && v->get<uint64_t>() > static_cast<uint64_t>(max))
        fail(key, v->dump() + " is out of range " + std::to_string(min) + ".." + std::to_string(max));
    const auto n = v->get<int64_t>();
    if (n < min || n > max)
        fail(key, std::to_string(n) + " is out of range " + std::to_string(min) + ".." + std::to_string(max));
    return static_cast<int32_t>(n);
}

bool ManifestFields::flag(const char* key, bool fallback) {
    const json* v = value(key);
    if (!v) return fallback;
    if (!v->is_boolean()) fail(key, "must be true or false");
    return v->get<bool>();
}

uint32_t ManifestFields::colour(const char* key, uint32_t fallback) {
    const json* v = value(key);
    if (!v) return fallback;
    const std::string text = v->is_string() ? v->get<std::string>() : std::string();
    const bool wellFormed = text.size() == 7 && text[0] == '#' &&
                            text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
    if (!wellFormed) fail(key, "must be a colour written #RRGGBB");
    const auto rgb = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
    return ColorRefFromRgb(
        {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)});
}

std::string ManifestFields::text(const char* key, std::size_t maxBytes, const std::string& fallback,
                                 bool multiLine) {
    const json* v = value(key);
    if (!v) return fallback;
    if (!v->is_string()) fail(key, "must be a text");
    std::string stored = ToCodePageStrict(v->get<std::string>(), keyPath(key));
    if (multiLine) stored = WithCrLfLineEnds(stored);
    for (const char c : stored) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 && !(multiLine && (c == '\r' || c == '\n' || c == '\t')))
            fail(key, "must not contain control characters");
    }
    if (stored.size() > maxBytes)
        fail(key, "is " + std::to_string(stored.size()) + " bytes long, at most " + std::to_string(maxBytes) +
                      " fit");
    return stored;
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
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(std::stoul(digits.substr(2 * i, 2), nullptr, 16));
    return bytes;
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

std::optional<fs::path> ManifestFields::file(const char* key) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    if (!v->is_string() || v->get<std::string>().empty()) fail(key, "must be a file path");
    const fs::path path = baseDir_ / fs::path(v->get<std::string>());
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) fail(key, "no such file: " + path.string());
    return path;
}

std::optional<std::vector<uint8_t>> ManifestFields::fileBytes(const char* key, std::size_t maxBytes) {
    const auto path = file(key);
    if (!path) return std::nullopt;
    std::error_code ec;
    const auto size = fs::file_size(*path, ec);
    if (ec) fail(key, "cannot read " + path->string());
    if (size > maxBytes)
        fail(key, path->string() + " is " + std::to_string(size) + " bytes long, at most " +
                      std::to_string(maxBytes) + " fit");
    std::ifstream in(*path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        fail(key, "cannot read " + path->string());
    return bytes;
}

std::optional<ManifestFields> ManifestFields::object(const char* key) {
    const json* v = value(key);
    if (!v) return std::nullopt;
    if (!v->is_object()) fail(key, "must be an object");
    return ManifestFields(*v, keyPath(key), baseDir_);
}

std::vector<ManifestFields> ManifestFields::objects(const char* key) {
    std::vector<ManifestFields> result;
    const json* v = value(key);
    if (!v) return result;
    if (!v->is_array()) fail(key, "must be an array");
    for (std::size_t i = 0; i < v->size(); ++i) {
        const std::string path = keyPath(key) + "[" + std::to_string(i) + "]";
        if (!(*v)[i].is_object()) throw ManifestError(path + ": must be an object");
        result.emplace_back((*v)[i], path, baseDir_);
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

bool IsPlainTrackExtension(const std::string& extension) {
    if (extension.size() < 2 || extension.size() > 7 || extension[0] != '.') return false;
    return std::all_of(extension.begin() + 1, extension.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
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
