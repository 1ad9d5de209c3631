#pragma once
// Builders of package files for tests: an appended package laid out exactly
// as the reader expects it, a Windows PE file with a resource section, and
// small JPEG pictures.

#include "package/LabelData.h"
#include "package/PackageRecords.h"
#include "platform/Bitmap24.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scr::test {

struct FixtureItem {
    ShowItem item;
    std::vector<uint8_t> data;
};

struct FixtureTrack {
    MusicItem music;
    std::vector<uint8_t> data;
};

struct FixturePackage {
    ScreenSaverInfo info; // counts, signature and HasAuthorInfo are filled in by the builder
    std::string name;
    std::optional<AuthorInfo> author;
    std::vector<FixtureItem> items;
    std::vector<FixtureTrack> tracks;
    LabelGroupList labels;
    bool writeLabels = true;
    PackageExtension extension; // sizes are filled in by the builder
    std::string musicNames;     // one name per line
    std::vector<uint8_t> background;
    std::string license;
    std::optional<int32_t> licenseLengthWord; // overrides the stored length (unscrambled)
    std::vector<uint8_t> dynamicTexts;
    std::vector<uint8_t> staticCaptions;
};

// A program image followed by the package.
std::vector<uint8_t> BuildAppendedPackage(const FixturePackage& package,
                                          const std::vector<uint8_t>& program = std::vector<uint8_t>(100,
                                                                                                     0x90));

// A PE32 file whose only section holds RCDATA resources (name -> bytes) and,
// when given, string table entries (id -> UTF-8 text).
struct PeResource {
    std::string name;
    std::vector<uint8_t> data;
};
std::vector<uint8_t> BuildPeFile(const std::vector<PeResource>& rcdata,
                                 const std::vector<std::pair<int, std::string>>& strings = {},
                                 bool pe32Plus = false);

// Any resource: its type and name each a name (when not empty) or a number, and its language.
struct PeResourceFixture {
    std::string typeName;
    uint32_t typeId = 10;
    std::string name;
    uint32_t nameId = 0;
    uint32_t language = 1033;
    std::vector<uint8_t> data;
};
// A PE32 (or PE32+) file whose only section holds these resources.
std::vector<uint8_t> BuildPeWithResources(const std::vector<PeResourceFixture>& resources,
                                          bool pe32Plus = false);

// The stored SCRINFO resource (scrambled) of a package description.
std::vector<uint8_t> BuildScrInfoResource(const FixturePackage& package);

// A JPEG of a given size with a simple gradient pattern.
std::vector<uint8_t> MakeJpeg(int width, int height, int quality = 90);
Bitmap24 MakeGradient(int width, int height);

// A picture item of the given JPEG data with typical settings.
FixtureItem PictureItem(std::vector<uint8_t> jpeg, int left = 0, int top = 0, int width = 0, int height = 0);

} // namespace scr::test
