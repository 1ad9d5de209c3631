#pragma once
// Typed, checked reading of one JSON object of a package manifest. Every
// accessor knows the key's path (for example "items[2].labels[0].font_size")
// and throws a ManifestError naming it when the value has the wrong type or
// lies outside its range; finish() reports keys nobody asked for.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace scr {

class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ManifestFields {
public:
    // `path` is the key path of the object itself ("" for the top level);
    // `baseDir` is the folder file paths are relative to.
    ManifestFields(const nlohmann::json& object, std::string path, std::filesystem::path baseDir);

    bool has(const char* key) const;
    // The key path of a key of this object, for messages.
    std::string keyPath(const char* key) const;

    int32_t integer(const char* key, int64_t min, int64_t max, int32_t fallback);
    bool flag(const char* key, bool fallback);
    // "#RRGGBB" as a colour value with red in the lowest byte.
    uint32_t colour(const char* key, uint32_t fallback);
    // A UTF-8 text converted to the package code page; at most maxBytes there.
    // A character the code page cannot hold is an error; so are control
    // characters unless multiLine.
    std::string text(const char* key, std::size_t maxBytes, const std::string& fallback = {},
                     bool multiLine = false);
    // Exactly `size` bytes written as hexadecimal text, two digits a byte;
    // blanks between the digits are allowed. Nothing when the key is absent.
    std::optional<std::vector<uint8_t>> hexBytes(const char* key, std::size_t size);
    // One of the given choices, exactly as written.
    std::string choice(const char* key, const std::vector<std::string>& choices, const std::string& fallback);
    // A file path resolved against the base folder; the file must exist.
    std::optional<std::filesystem::path> file(const char* key);
    // The whole content of a file named by a key, at most maxBytes.
    std::optional<std::vector<uint8_t>> fileBytes(const char* key, std::size_t maxBytes);
    // A nested object, or the elements of an array of objects.
    std::optional<ManifestFields> object(const char* key);
    std::vector<ManifestFields> objects(const char* key);
    // The raw value (for keys that take more than one type).
    const nlohmann::json* value(const char* key);

    // Throws when the object holds a key that was never asked for.
    void finish() const;

    [[noreturn]] void fail(const char* key, const std::string& message) const;

private:
    const nlohmann::json& object_;
    std::string path_;
    std::filesystem::path baseDir_;
    std::set<std::string> seen_;
};

// UTF-8 text -> code-page text; throws (naming `keyPath`) when a character
// cannot be held by the code page.
std::string ToCodePageStrict(const std::string& utf8, const std::string& keyPath);

// Bytes as lower-case hexadecimal text, the groups of `groupSizes` (byte
// counts) separated by one blank; no groups: one run of digits.
std::string HexText(const uint8_t* bytes, std::size_t size, const std::vector<std::size_t>& groupSizes = {});

// A track file's extension as the manifest takes it: a dot and 1 to 6 ASCII
// letters or digits (it must fit the track record with its NUL).
bool IsPlainTrackExtension(const std::string& extension);

// CR LF line ends for a text with any mix of LF, CR LF or CR.
std::string WithCrLfLineEnds(const std::string& text);

} // namespace scr
