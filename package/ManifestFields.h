#pragma once
// Typed, checked reading of one JSON object of a package manifest. Every
// accessor knows the key's path (for example "items[2].labels[0].font_size")
// and throws a ManifestError naming it when the value has the wrong type or
// cannot be stored at all; finish() reports keys nobody asked for.
//
// A value the package can store but that lies outside what a key usually
// takes (a transition step of 0, a colour with a high byte) is kept as given
// and noted as a warning, so that every package the reader accepts can be
// written as a manifest and packed again.

#include "package/PackageRecords.h"

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

// The values a key usually takes, and what the player makes of the others
// (for the warning; may be null).
struct UsualRange {
    int64_t min;
    int64_t max;
    const char* otherwise = nullptr;
};

// How many bytes a stored flag takes.
enum class FlagWidth { Byte, Word };

class ManifestFields {
public:
    // `path` is the key path of the object itself ("" for the top level);
    // `baseDir` is the folder file paths are relative to; warnings, when
    // given, receive the warnings of this object and of those inside it.
    ManifestFields(const nlohmann::json& object, std::string path, std::filesystem::path baseDir,
                   std::vector<std::string>* warnings = nullptr);

    bool has(const char* key) const;
    // The key path of a key of this object, for messages.
    std::string keyPath(const char* key) const;

    // An integer within min..max; others are errors.
    int32_t integer(const char* key, int64_t min, int64_t max, int32_t fallback);
    // Any value of a signed 32-bit field; one outside `usual` is a warning.
    int32_t word(const char* key, const UsualRange& usual, int32_t fallback);
    // Any value of a one-byte field (0..255); one outside `usual` is a warning.
    uint8_t byte(const char* key, const UsualRange& usual, uint8_t fallback);
    // true or false, or the stored value as an integer (0..255 for a one-byte
    // flag, any 32-bit value for a four-byte one); integers other than 0 and
    // 1 are a warning, saying `otherwise` when given.
    int32_t flag(const char* key, bool fallback, FlagWidth width = FlagWidth::Byte,
                 const char* otherwise = nullptr);
    // "#RRGGBB" as a colour value with red in the lowest byte; "#HHRRGGBB"
    // gives the high byte too (a warning when it is not 0: the player ignores it).
    uint32_t colour(const char* key, uint32_t fallback);
    // A text: a JSON string of UTF-8 converted to the package code page, or
    // {"bytes": HEX} with the stored code-page bytes as they are. At most
    // maxBytes either way. In a string, a character the code page cannot hold
    // is an error; control characters other than line ends and tabs in a
    // multi-line text are a warning, and the line ends of a multi-line text
    // become CR LF.
    std::string text(const char* key, std::size_t maxBytes, const std::string& fallback = {},
                     bool multiLine = false);
    // The text of a fixed field of `width` bytes: as text() at most width - 1
    // bytes (the field keeps a NUL after them), or {"bytes": HEX} of up to
    // `width` bytes, which may hold a NUL and bytes after it.
    std::string fieldText(const char* key, std::size_t width, const std::string& fallback = {},
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
    // The content of a text file named by a key: UTF-8 converted to the code
    // page with CR LF line ends, or, when the key is {"file": PATH,
    // "verbatim": true}, the file's bytes as they are. At most maxBytes stored.
    std::optional<std::string> textFile(const char* key, std::size_t maxBytes);
    // A nested object, or the elements of an array of objects.
    std::optional<ManifestFields> object(const char* key);
    std::vector<ManifestFields> objects(const char* key);
    // The raw value (for keys that take more than one type).
    const nlohmann::json* value(const char* key);

    // Throws when the object holds a key that was never asked for.
    void finish() const;

    [[noreturn]] void fail(const char* key, const std::string& message) const;
    // Notes a value that is stored as given although it is unusual.
    void warn(const char* key, const std::string& message) const;

private:
    int64_t anyInteger(const char* key, int64_t min, int64_t max);
    std::filesystem::path existingFile(const char* key, const nlohmann::json& value) const;
    std::vector<uint8_t> readFile(const char* key, const std::filesystem::path& path,
                                  std::size_t maxBytes) const;
    std::string storedBytes(const char* key, const nlohmann::json& value, std::size_t maxBytes) const;

    const nlohmann::json& object_;
    std::string path_;
    std::filesystem::path baseDir_;
    std::vector<std::string>* warnings_;
    std::set<std::string> seen_;
};

// Where the description lies in the information record: it ends the record.
inline constexpr std::size_t kDescriptionOffset = ScreenSaverInfo::kSize - ScreenSaverInfo::kDescriptionSize;

// Writes bytes (at most `width`) into a fixed field, padded with NULs.
void StoreField(uint8_t* field, std::size_t width, const std::string& bytes);

// UTF-8 text -> code-page text; throws (naming `keyPath`) when a character
// cannot be held by the code page.
std::string ToCodePageStrict(const std::string& utf8, const std::string& keyPath);

// Hexadecimal text (two digits a byte, blanks between digits ignored) as
// bytes; nothing when it holds anything else or an odd number of digits.
std::optional<std::vector<uint8_t>> BytesOfHexText(const std::string& text);

// Bytes as lower-case hexadecimal text, the groups of `groupSizes` (byte
// counts) separated by one blank; no groups: one run of digits.
std::string HexText(const uint8_t* bytes, std::size_t size, const std::vector<std::size_t>& groupSizes = {});

// A track file's extension as the manifest takes it: a dot and 1 to 6 ASCII
// letters or digits (it must fit the track record with its NUL).
bool IsPlainTrackExtension(const std::string& extension);

// CR LF line ends for a text with any mix of LF, CR LF or CR.
std::string WithCrLfLineEnds(const std::string& text);

} // namespace scr
