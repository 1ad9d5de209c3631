#pragma once
// PackageFile: the in-memory form of the content package a packed screen saver
// carries. It reads the settings, the item and track tables, labels, author,
// background and licence when it is constructed; picture, movie and music
// data stay in the file and are read on demand: pictures decoded straight
// into a bitmap, movies handed over as bytes, tracks extracted to a temporary
// file for the music player, the background decoded when first asked for.
// It also fits the stored layout, designed for one screen size, to the
// primary screen (LayoutFit.h).
//
// Two stored forms exist: the appended package found through the trailer at
// the end of the file, and the resource form (resources "SCRINFO" and
// "XLABELS" of the executable), which has no item data, extension block,
// background, music names or licence.
//
// Texts are kept as 8-bit code-page strings, as stored; the *Utf8 accessors
// decode them for Qt, JSON and file names. Nothing here reports a failure by
// message: damaged data gives an empty but usable package and failed
// operations give false or an empty result.

#include "package/LabelData.h"
#include "package/PackageRecords.h"
#include "package/PackageTrailer.h"
#include "package/Result.h"
#include "platform/Bitmap24.h"
#include "platform/ExecutablePath.h"
#include "platform/ReadingEnvironment.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scr {

class ModuleResources;

// Reports an export's progress (files done, files in all); false cancels.
using ExportProgress = std::function<bool(int done, int total)>;

// A track extracted to a temporary file.
struct ExtractedTrack {
    std::string path; // the temporary file
    MusicItem music;  // the track's record
};

// What the reader of an appended package found damaged or missing. All false
// for an intact package; the player ignores it, tools report it.
struct PackageReadGaps {
    bool labelsUnreadable = false;  // the label data is damaged: some or all labels are lost
    bool chainEnded = false;        // the extension block, music names or background ran out of the file
    bool licenseUnreadable = false; // the licence length or text is damaged
};

class PackageFile {
public:
    // Reads the package from `sourcePath`, fitting its layout to the
    // reading environment's screen (when known) and decoding its pictures
    // within its limits.
    explicit PackageFile(std::string sourcePath, ReadingEnvironment reading = {});
    // Deletes the temporary files this package extracted.
    ~PackageFile();
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    // Reads everything anew from SourcePath(); called by the constructor.
    void Load();
    // Deletes all items and tracks (removing the tracks' temporary files) and zeroes
    // the information record and the author block. Name, licence text and
    // background stay.
    void Clear();

    const std::string& SourcePath() const { return sourcePath_; }
    bool IsAppended() const { return isAppended_; }
    // The unscrambled 400-byte trailer (in the resource form only the
    // information record part is filled).
    TrailerBytes Trailer() const;
    const ScreenSaverInfo& Info() const { return info_; }
    const TrailerFields& Fields() const { return fields_; }
    const PackageExtension& Extension() const { return extension_; }
    const PackageReadGaps& ReadGaps() const { return gaps_; }

    // --- Items and tracks ---
    int ItemCount() const { return static_cast<int>(items_.size()); }
    int MusicCount() const { return static_cast<int>(musics_.size()); }
    // The item's record, or the default item for an index out of range.
    ShowItem GetItem(int index) const;
    ShowItem DefaultItem() const;
    // The track's record, or 16 zero bytes for an index out of range.
    MusicItem GetMusic(int index) const;
    // Where an item's or track's data lies; {-1, -1} out of range or in the resource form.
    ItemLocation GetItemLocation(int index) const;
    ItemLocation GetMusicLocation(int index) const;
    // The track's display name (code-page text / UTF-8); empty out of range.
    std::string MusicName(int index) const;
    std::string MusicNameUtf8(int index) const;
    // True when the names came from the package, false when the reader made them up.
    bool HasStoredMusicNames() const { return musicNamesStored_; }
    int CountPinnedItems() const;

    // The data of an item or track as stored (its first eighth unscrambled);
    // nothing when the index is out of range or the data cannot be read.
    std::optional<std::vector<uint8_t>> ReadItemData(int index) const;
    std::optional<std::vector<uint8_t>> ReadMusicData(int index) const;

    // Decodes picture `index` at a scale 0..3 (full, half, quarter, eighth)
    // into `bitmap`. False, with `bitmap` untouched, when the index is out of
    // range, the package is not appended or the data is not a decodable JPEG.
    // `item`, when given, receives the item's record in every case.
    bool LoadPicture(Bitmap24& bitmap, int index, int scale, ShowItem* item = nullptr) const;
    // A thumbnail fitting boxWidth x boxHeight (a picture decoded at one
    // eighth, shrunk when still too large). A movie gives the placeholder
    // picture and false; other kinds give false.
    bool GetThumbnail(Bitmap24& bitmap, int index, int boxHeight, int boxWidth) const;

    // The bytes of movie `index` for the Flash player, which takes them from
    // memory: nothing when the index is out of range, the data cannot be read
    // or it is larger than kMaxMovieBytes.
    std::optional<std::vector<uint8_t>> ReadMovie(int index) const;
    static constexpr int32_t kMaxMovieBytes = 256 << 20;

    // Writes a track to a temporary file for the music player, once per
    // process while that file exists. Names are "~S_N" + the track's
    // extension in the temporary directory, with the smallest free N.
    // A failure says why: no such track, no data, or no file could be written.
    Result<ExtractedTrack> ExtractMusic(int index);
    // Saves the background, pictures and movies ("Pic_bk.jpg", "Pic_N.jpg",
    // "Flash_N.swf") and the tracks ("Music_N.ext") into an existing
    // directory, replacing files of the same names. Stops at the first failure
    // (what was written stays) and then answers false. `progress`, when given,
    // is called before each file (and once more at the end) with the number of
    // files done and the number to write; when it answers false before a file
    // the export stops there (and answers false).
    bool ExportContent(bool savePictures, bool saveMusic, const std::string& directory,
                       const ExportProgress& progress = {});

    // Removes one item (its record, its data location and its label group)
    // or one track (its temporary file, record, location, name).
    bool DeleteItem(int index);
    bool DeleteMusic(int index);

    // --- Settings ---
    const std::string& Name() const { return name_; }
    std::string NameUtf8() const;
    std::string Description() const { return info_.description(); }
    std::string DescriptionUtf8() const { return info_.descriptionUtf8(); }
    const std::string& LicenseText() const { return licenseText_; }
    std::string LicenseTextUtf8() const;
    const AuthorInfo& Author() const { return author_; }
    bool HasAuthorInfo() const { return info_.hasAuthorInfo() != 0; }
    int DefaultDisplaySeconds() const { return info_.defaultDisplaySeconds(); }
    bool RandomOrder() const { return info_.randomOrder() != 0; }
    uint32_t BackgroundColor() const { return info_.backgroundColor(); }
    bool NoSaving() const { return info_.noSaving() != 0; }
    uint8_t PlacementMode() const { return info_.placementMode(); }
    bool IgnoreMouseMove() const { return info_.ignoreMouseMove() == 1; }
    int FormatLevel() const { return info_.formatLevel(); }
    uint8_t PackageKind() const { return info_.packageKind(); }
    int OpacityPercent() const { return extension_.opacityPercent; }
    bool KeepCursor() const { return extension_.keepCursor != 0; }
    // The design screen size; a stored value of 0 or less stands for the
    // reading environment's screen.
    int DesignWidth() const;
    int DesignHeight() const;

    // The background picture, decoded on the first call; nullptr when there
    // is none or it does not decode.
    const Bitmap24* Background() const;
    // The background's stored JPEG bytes, whether they decode or not; empty when there are none.
    std::vector<uint8_t> ReadBackgroundData() const;
    // Replaces the background by a copy of `bitmap`, or drops it (nullptr).
    void SetBackground(const Bitmap24* bitmap);

    LabelGroupList& Labels() { return labels_; }
    const LabelGroupList& Labels() const { return labels_; }
    // The dynamic texts and static captions tables are read by their own
    // module; this gives their unscrambled bytes (empty when absent).
    std::vector<uint8_t> ReadLanguageTable(bool staticCaptions) const;

    // --- Layout ---
    // Left = trunc(dx + Left * f) (likewise Top), Width = trunc(Width * f)
    // (likewise Height), labels scaled too; then the design size becomes the
    // screen size. With no known screen size the design size stays.
    void ScaleLayout(int dx, int dy, double f);
    // Scales a layout of w x h uniformly to fit the screen, centred.
    void FitLayout(int w, int h);

private:
    struct ItemEntry {
        ShowItem item;
        ItemLocation location;
    };
    struct MusicEntry {
        MusicItem music;
        ItemLocation location;
        std::string file;
    };

    void ResetAll();
    void LoadAppended();
    void LoadResourceForm();
    void AdaptLayoutToScreen();
    void FillGeneratedMusicNames();
    int64_t PackageStart(int64_t fileSize) const;
    // The data of an item or track, its first eighth unscrambled; nothing on failure.
    std::optional<std::vector<uint8_t>> ReadLocatedData(const ItemLocation& location) const;

    std::string sourcePath_;
    ReadingEnvironment reading_;
    bool isAppended_ = false;
    TrailerFields fields_;
    ScreenSaverInfo info_;
    AuthorInfo author_;
    PackageExtension extension_;
    std::vector<ItemEntry> items_;
    std::vector<MusicEntry> musics_;
    std::vector<std::string> musicNames_;
    bool musicNamesStored_ = false;
    ItemLocation backgroundLocation_; // the stored JPEG, from the package start
    PackageReadGaps gaps_;
    // Decoded on first use: the package is read without it.
    mutable std::unique_ptr<Bitmap24> background_;
    mutable bool backgroundDecoded_ = false;
    LabelGroupList labels_;
    std::string name_;
    std::string licenseText_;
    std::unique_ptr<ModuleResources> resources_; // resource form only
};

// The plain extension to give a track's temporary or exported file: the
// stored extension when it is a dot and one to seven ASCII letters or
// digits, otherwise ".bin".
std::string SafeTrackExtension(const std::string& stored);

} // namespace scr
