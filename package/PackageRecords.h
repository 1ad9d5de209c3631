#pragma once
// The binary records of a content package and their byte-exact stored forms.
//
// Every record parses from and serializes to exactly the bytes it occupies in
// a package (32-bit little-endian integers, NUL-padded 8-bit texts of the
// system code page). Bytes the player does not interpret are carried along
// unchanged, so parse followed by serialize gives back the same bytes. Texts
// are exposed raw (code-page bytes); the *Utf8 helpers decode them.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scr {

inline constexpr std::size_t kPackageNameSize = 64;
inline constexpr std::size_t kLabelMarkerSize = 16;
inline constexpr char kLabelMarker[] = "PLENVLABELSTART";
// Upper bound of the licence text stored in a package.
inline constexpr int32_t kMaxLicenseLength = 0x10000;

// A NUL-terminated text inside a fixed-width field: the bytes up to the first
// NUL, or the whole field when it holds none.
std::string FixedText(const uint8_t* field, std::size_t width);
// Writes text NUL-padded into a field. False (field unchanged) when the text
// with its terminating NUL does not fit.
bool SetFixedText(uint8_t* field, std::size_t width, std::string_view text);

// trunc(value) toward zero, clamped to the 32-bit range (NaN gives 0), so that
// scaling damaged coordinates never overflows.
int32_t TruncToInt32(double value);
// offset + trunc(value), clamped to the 32-bit range.
int32_t OffsetTrunc(int32_t offset, double value);

// A run of bytes inside a record.
struct ByteRange {
    std::size_t offset;
    std::size_t size;
};

// The 380-byte information record. The record is kept as its raw bytes so that
// the reserved bytes travel unchanged; the accessors read and write the
// fields the player knows.
class ScreenSaverInfo {
public:
    static constexpr std::size_t kSize = 380;
    static constexpr std::size_t kDescriptionSize = 258;
    using Bytes = std::array<uint8_t, kSize>;
    // The bytes the player does not interpret, in record order (36 bytes in all).
    static constexpr ByteRange kReservedRanges[] = {{32, 4},  {66, 2},  {77, 7}, {88, 17},
                                                    {107, 1}, {116, 1}, {118, 4}};
    static constexpr std::size_t kReservedSize = 36;

    ScreenSaverInfo() = default;
    static ScreenSaverInfo Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const { std::copy(bytes_.begin(), bytes_.end(), out); }

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }
    void clear() { bytes_.fill(0); }

    bool signatureMatches() const;
    void setSignature();

    int32_t itemCount() const { return i32(36); }
    void setItemCount(int32_t v) { setI32(36, v); }
    int32_t defaultDisplaySeconds() const { return i32(40); }
    void setDefaultDisplaySeconds(int32_t v) { setI32(40, v); }
    int32_t defaultTransitionStep() const { return i32(44); }
    void setDefaultTransitionStep(int32_t v) { setI32(44, v); }
    int32_t defaultTransitionDelay() const { return i32(48); }
    void setDefaultTransitionDelay(int32_t v) { setI32(48, v); }
    int32_t defaultExitStep() const { return i32(52); }
    void setDefaultExitStep(int32_t v) { setI32(52, v); }
    int32_t defaultExitDelay() const { return i32(56); }
    void setDefaultExitDelay(int32_t v) { setI32(56, v); }
    // COLORREF: red in the lowest byte.
    uint32_t backgroundColor() const { return static_cast<uint32_t>(i32(60)); }
    void setBackgroundColor(uint32_t v) { setI32(60, static_cast<int32_t>(v)); }
    uint8_t randomOrder() const { return bytes_[64]; }
    void setRandomOrder(uint8_t v) { bytes_[64] = v; }
    uint8_t hasAuthorInfo() const { return bytes_[65]; }
    void setHasAuthorInfo(uint8_t v) { bytes_[65] = v; }
    int32_t designWidth() const { return i32(68); }
    void setDesignWidth(int32_t v) { setI32(68, v); }
    int32_t musicCount() const { return i32(72); }
    void setMusicCount(int32_t v) { setI32(72, v); }
    uint8_t noSaving() const { return bytes_[76]; }
    void setNoSaving(uint8_t v) { bytes_[76] = v; }
    int32_t formatLevel() const { return i32(84); }
    void setFormatLevel(int32_t v) { setI32(84, v); }
    uint8_t placementMode() const { return bytes_[105]; }
    void setPlacementMode(uint8_t v) { bytes_[105] = v; }
    uint8_t ignoreMouseMove() const { return bytes_[106]; }
    void setIgnoreMouseMove(uint8_t v) { bytes_[106] = v; }
    int32_t defaultTransitionEffect() const { return i32(108); }
    void setDefaultTransitionEffect(int32_t v) { setI32(108, v); }
    int32_t defaultExitEffect() const { return i32(112); }
    void setDefaultExitEffect(int32_t v) { setI32(112, v); }
    uint8_t packageKind() const { return bytes_[117]; }
    void setPackageKind(uint8_t v) { bytes_[117] = v; }
    // Code-page text, at most 257 bytes.
    std::string description() const { return FixedText(&bytes_[122], kDescriptionSize); }
    bool setDescription(std::string_view text) { return SetFixedText(&bytes_[122], kDescriptionSize, text); }
    std::string descriptionUtf8() const;

    // The reserved bytes, the ranges of kReservedRanges one after the other.
    std::array<uint8_t, kReservedSize> reservedBytes() const;
    void setReservedBytes(const std::array<uint8_t, kReservedSize>& reserved);

    bool operator==(const ScreenSaverInfo&) const = default;

private:
    int32_t i32(std::size_t offset) const;
    void setI32(std::size_t offset, int32_t value);

    Bytes bytes_{};
};

// One picture or movie of the show, 56 bytes.
struct ShowItem {
    static constexpr std::size_t kSize = 56;
    enum Kind : int32_t { Picture = 0, Flash = 1 };

    int32_t displaySeconds = 0;
    int32_t transitionEffect = 0;
    int32_t transitionStep = 0;
    int32_t transitionDelay = 0;
    int32_t exitEffect = 0;
    int32_t exitStep = 0;
    int32_t exitDelay = 0;
    uint8_t fixedPosition = 0;
    std::array<uint8_t, 3> reserved{};
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t kind = 0;
    int32_t pinned = 0;

    static ShowItem Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const;
    bool operator==(const ShowItem&) const = default;
};

// The item a package without any object gives: 10 seconds, random effects.
ShowItem NoPackageItem();

// One music track, 16 bytes: its extension (".mp3") and, in the resource
// form, the name of the resource holding it.
class MusicItem {
public:
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kFieldSize = 8;
    using Bytes = std::array<uint8_t, kSize>;

    static MusicItem Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const { std::copy(bytes_.begin(), bytes_.end(), out); }
    const Bytes& bytes() const { return bytes_; }

    // Code-page texts of at most 7 bytes each.
    std::string extension() const { return FixedText(&bytes_[0], kFieldSize); }
    bool setExtension(std::string_view text) { return SetFixedText(&bytes_[0], kFieldSize, text); }
    std::string resourceName() const { return FixedText(&bytes_[8], kFieldSize); }
    bool setResourceName(std::string_view text) { return SetFixedText(&bytes_[8], kFieldSize, text); }

    bool operator==(const MusicItem&) const = default;

private:
    Bytes bytes_{};
};

// The author's details, 128 bytes of NUL-padded texts.
class AuthorInfo {
public:
    static constexpr std::size_t kSize = 128;
    using Bytes = std::array<uint8_t, kSize>;

    static AuthorInfo Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const { std::copy(bytes_.begin(), bytes_.end(), out); }
    const Bytes& bytes() const { return bytes_; }
    void clear() { bytes_.fill(0); }

    // Code-page texts: name and e-mail at most 31 bytes, home page at most 63.
    std::string name() const { return FixedText(&bytes_[0], 32); }
    bool setName(std::string_view text) { return SetFixedText(&bytes_[0], 32, text); }
    std::string email() const { return FixedText(&bytes_[32], 32); }
    bool setEmail(std::string_view text) { return SetFixedText(&bytes_[32], 32, text); }
    std::string homepage() const { return FixedText(&bytes_[64], 64); }
    bool setHomepage(std::string_view text) { return SetFixedText(&bytes_[64], 64, text); }
    std::string nameUtf8() const;
    std::string emailUtf8() const;
    std::string homepageUtf8() const;

    bool operator==(const AuthorInfo&) const = default;

private:
    Bytes bytes_{};
};

// Where an item's or track's data lies: offset from the package start and size.
struct ItemLocation {
    static constexpr std::size_t kSize = 8;
    int32_t offset = -1;
    int32_t size = -1;

    static ItemLocation Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const;
    bool operator==(const ItemLocation&) const = default;
};

// The extension block of format level 4 and above, 20 bytes.
struct PackageExtension {
    static constexpr std::size_t kSize = 20;
    int32_t designHeight = 0;
    int32_t musicNamesSize = 0;
    int32_t opacityPercent = 0;
    int32_t keepCursor = 0;
    int32_t backgroundSize = 0;

    static PackageExtension Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const;
    bool operator==(const PackageExtension&) const = default;
};

// The 24 plain bytes in front of the trailer that locate the label data.
struct LabelBlockLocator {
    static constexpr std::size_t kSize = 24;
    bool markerMatches = false; // filled by Parse; Serialize always writes the marker
    int32_t labelOffset = 0;
    int32_t labelSize = 0;

    static LabelBlockLocator Parse(const uint8_t* data);
    void Serialize(uint8_t* out) const;
};

// True when a 16-byte field holds "PLENVLABELSTART" as a NUL-terminated text.
bool LabelMarkerMatches(const uint8_t* field);

} // namespace scr
