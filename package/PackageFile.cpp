#include "package/PackageFile.h"

#include "package/BitmapFiles.h"
#include "package/JpegCodec.h"
#include "package/LayoutFit.h"
#include "package/ModuleResources.h"
#include "package/StretchBitmap.h"
#include "platform/CodePage.h"
#include "platform/ReadOnlyFile.h"
#include "platform/ReadingEnvironment.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace scr {
namespace {

constexpr std::size_t kItemTableEntry = ItemLocation::kSize + ShowItem::kSize;
constexpr std::size_t kMusicTableEntry = ItemLocation::kSize + MusicItem::kSize;
constexpr int64_t kLocatorDistance = kTrailerSize + static_cast<int64_t>(LabelBlockLocator::kSize);

// The text of a name field: all its bytes without leading and trailing
// characters of code 32 or less (the NUL padding among them), so a name that
// starts after NUL or blank bytes is still found. A NUL inside what remains
// ends the text, as a name can hold none.
std::string TrimmedName(const uint8_t* field, std::size_t width) {
    const std::string_view bytes(reinterpret_cast<const char*>(field), width);
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto first = std::find_if_not(bytes.begin(), bytes.end(), isBlank);
    const std::string_view rest(first, bytes.end());
    const std::string_view text = rest.substr(0, rest.find('\0'));
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return std::string(text.begin(), last);
}

// Lines of a text as a string list reads them: separated by CR, LF or CR LF,
// no empty line after a final line break, ending at a NUL.
std::vector<std::string> SplitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

void UnscrambleFirstEighth(std::vector<uint8_t>& data) {
    ScrambleBytes(data.data(), static_cast<long long>(data.size() / 8));
}

} // namespace

std::string SafeTrackExtension(const std::string& stored) {
    const bool plain = stored.size() >= 2 && stored.size() <= 8 && stored[0] == '.' &&
                       std::all_of(stored.begin() + 1, stored.end(), [](char c) {
                           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                       });
    return plain ? stored : ".bin";
}

PackageFile::PackageFile(std::string sourcePath, ReadingEnvironment reading)
    : sourcePath_(std::move(sourcePath)), reading_(reading) {
    Load();
}

PackageFile::~PackageFile() {
    Clear();
}

void PackageFile::ResetAll() {
    Clear();
    isAppended_ = false;
    fields_ = {};
    extension_ = {};
    musicNames_.clear();
    musicNamesStored_ = false;
    backgroundLocation_ = {};
    gaps_ = {};
    labels_.Clear();
    background_.reset();
    backgroundDecoded_ = false;
    name_.clear();
    licenseText_.clear();
    resources_.reset();
}

void PackageFile::Load() {
    ResetAll();
    if (sourcePath_.empty()) return;
    isAppended_ = HasValidTrailer(sourcePath_);
    if (isAppended_) {
        LoadAppended();
        return;
    }
    resources_ = OpenModuleResources(sourcePath_);
    if (resources_) LoadResourceForm();
}

void PackageFile::Clear() {
    for (int i = ItemCount() - 1; i >= 0; --i)
        DeleteItem(i);
    for (int i = MusicCount() - 1; i >= 0; --i)
        DeleteMusic(i);
    info_.clear();
    author_.clear();
}

int64_t PackageFile::PackageStart(int64_t fileSize) const {
    return fileSize - fields_.packageSize;
}

void PackageFile::LoadAppended() {
    ReadOnlyFile file;
    TrailerBytes trailer{};
    if (!file.open(sourcePath_) || file.size() < kTrailerSize ||
        !file.readAt(file.size() - kTrailerSize, trailer.data(), trailer.size())) {
        isAppended_ = false;
        return;
    }
    ScrambleBytes(trailer.data(), kTrailerSize);
    fields_ = ParseTrailerFields(trailer);
    info_ = ScreenSaverInfo::Parse(trailer.data() + kInfoRecordOffset);
    if (!info_.signatureMatches()) {
        Clear();
        fields_ = {};
        isAppended_ = false;
        return;
    }
    const int64_t size = file.size();
    const int64_t start = PackageStart(size);

    // Item and track tables, stored plain, read a block of entries at a time
    // (one read per entry made a large package's load a matter of system
    // calls). Reading stops at the end of the file; only complete entries count.
    bool tablesComplete = file.seek(start + fields_.tableOffset);
    const auto readTable = [&](int32_t count, std::size_t entrySize, const auto& take) {
        constexpr int32_t kEntriesPerRead = 1024;
        std::vector<uint8_t> block;
        for (int32_t done = 0; tablesComplete && done < count;) {
            const int64_t whole = (file.size() - file.position()) / static_cast<int64_t>(entrySize);
            const auto n = static_cast<int32_t>(std::min<int64_t>({kEntriesPerRead, count - done, whole}));
            tablesComplete = n > 0 && file.readBytes(static_cast<std::size_t>(n) * entrySize, block);
            for (int32_t i = 0; tablesComplete && i < n; ++i)
                take(block.data() + static_cast<std::size_t>(i) * entrySize);
            done += n;
        }
    };
    readTable(info_.itemCount(), kItemTableEntry, [&](const uint8_t* entry) {
        items_.push_back({ShowItem::Parse(entry + ItemLocation::kSize), ItemLocation::Parse(entry)});
    });
    readTable(info_.musicCount(), kMusicTableEntry, [&](const uint8_t* entry) {
        musics_.push_back({MusicItem::Parse(entry + ItemLocation::kSize), ItemLocation::Parse(entry), {}});
    });

    // Name and author block at the package start; `pos` follows the reads
    // because the blocks of format level 4 and up come one after the other.
    int64_t pos = start;
    uint8_t nameField[kPackageNameSize];
    if (file.readAt(pos, nameField, sizeof nameField)) {
        ScrambleBytes(nameField, sizeof nameField);
        name_ = TrimmedName(nameField, sizeof nameField);
        pos += kPackageNameSize;
    }
    if (info_.hasAuthorInfo()) {
        uint8_t author[AuthorInfo::kSize];
        if (file.readAt(pos, author, sizeof author)) {
            ScrambleBytes(author, sizeof author);
            author_ = AuthorInfo::Parse(author);
            pos += AuthorInfo::kSize;
        }
    }

    // Labels, found through the locator in front of the trailer. Packages
    // below format level 4 may carry no label data at all: only a locator
    // that is there but points nowhere counts as damage for them.
    bool labelsRead = false, locatorFound = false;
    if (size - kLocatorDistance >= 0) {
        uint8_t locatorBytes[LabelBlockLocator::kSize];
        if (file.readAt(size - kLocatorDistance, locatorBytes, sizeof locatorBytes)) {
            pos = size - kTrailerSize;
            const auto locator = LabelBlockLocator::Parse(locatorBytes);
            locatorFound = locator.markerMatches;
            const int64_t labelStart = start + locator.labelOffset;
            std::vector<uint8_t> stream;
            if (locator.markerMatches && labelStart >= 0 && locator.labelSize >= 0 &&
                labelStart + locator.labelSize < size && file.seek(labelStart) &&
                file.readBytes(static_cast<std::size_t>(locator.labelSize), stream)) {
                ScrambleBytes(stream.data(), static_cast<long long>(stream.size()));
                labelsRead = labels_.LoadLabelStream(stream);
                pos = labelStart + locator.labelSize;
            }
        }
    }
    gaps_.labelsUnreadable = !labelsRead && (locatorFound || info_.formatLevel() >= 4);
    labels_.MatchGroupCount(ItemCount());

    // Extension block, music names, background and licence, in this order.
    bool chainReadable = info_.formatLevel() >= 4;
    if (chainReadable) {
        uint8_t ext[PackageExtension::kSize];
        chainReadable = file.readAt(pos, ext, sizeof ext);
        if (chainReadable) {
            ScrambleBytes(ext, sizeof ext);
            extension_ = PackageExtension::Parse(ext);
            pos += PackageExtension::kSize;
        }
    }
    std::vector<uint8_t> block;
    if (chainReadable && extension_.musicNamesSize > 0) {
        chainReadable =
            file.seek(pos) && file.readBytes(static_cast<std::size_t>(extension_.musicNamesSize), block);
        if (chainReadable) {
            ScrambleBytes(block.data(), static_cast<long long>(block.size()));
            musicNames_ =
                SplitLines(std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
            musicNamesStored_ = static_cast<int>(musicNames_.size()) == MusicCount();
            pos += extension_.musicNamesSize;
        }
    }
    if (chainReadable && extension_.backgroundSize > 0) {
        // Read and decoded when first asked for (Background()): reading the
        // package needs only its place, which must lie in the file.
        chainReadable = pos + extension_.backgroundSize <= file.size();
        if (chainReadable) {
            backgroundLocation_ = {static_cast<int32_t>(pos - start), extension_.backgroundSize};
            pos += extension_.backgroundSize;
        }
    }
    if (static_cast<int>(musicNames_.size()) != MusicCount()) FillGeneratedMusicNames();
    gaps_.chainEnded = info_.formatLevel() >= 4 && !chainReadable;

    if (chainReadable && info_.formatLevel() >= 5) {
        int32_t word = 0;
        bool licenseRead = file.seek(pos) && file.readInt32(word);
        const int32_t length = ~word;
        if (licenseRead && length > 0) {
            licenseRead =
                length <= kMaxLicenseLength && file.readBytes(static_cast<std::size_t>(length), block);
            if (licenseRead) {
                ScrambleBytes(block.data(), static_cast<long long>(block.size()));
                licenseText_.assign(reinterpret_cast<const char*>(block.data()), block.size());
            }
        }
        gaps_.licenseUnreadable = !licenseRead || length < 0;
    }
    file.close();
    AdaptLayoutToScreen();
}

void PackageFile::FillGeneratedMusicNames() {
    musicNames_.clear();
    for (int n = 1; n <= MusicCount(); ++n)
        musicNames_.push_back("Music-" + std::to_string(n) +
                              musics_[static_cast<std::size_t>(n - 1)].music.extension());
}

void PackageFile::LoadResourceForm() {
    name_ = resources_->LoadString(1, kPackageNameSize - 1).value_or(std::string());
    auto info = resources_->FindRcData("SCRINFO");
    if (!info) return;
    ScrambleBytes(info->data(), static_cast<long long>(info->size()));
    std::size_t pos = 0;
    const auto take = [&](std::size_t count) -> const uint8_t* {
        if (count > info->size() - pos) return nullptr;
        const uint8_t* p = info->data() + pos;
        pos += count;
        return p;
    };
    bool complete = false;
    if (const uint8_t* record = take(ScreenSaverInfo::kSize)) {
        info_ = ScreenSaverInfo::Parse(record);
        complete = info_.signatureMatches();
    }
    if (complete && info_.hasAuthorInfo()) {
        const uint8_t* author = take(AuthorInfo::kSize);
        if (author) author_ = AuthorInfo::Parse(author);
        complete = author != nullptr;
    }
    for (int32_t i = 0; complete && i < info_.itemCount(); ++i) {
        const uint8_t* entry = take(kItemTableEntry);
        if (entry) items_.push_back({ShowItem::Parse(entry + ItemLocation::kSize), {}});
        complete = entry != nullptr;
    }
    for (int32_t i = 0; complete && i < info_.musicCount(); ++i) {
        const uint8_t* entry = take(MusicItem::kSize);
        if (entry) musics_.push_back({MusicItem::Parse(entry), {}, {}});
        complete = entry != nullptr;
    }
    if (!complete) {
        Clear();
        return;
    }
    if (auto stream = resources_->FindRcData("XLABELS")) {
        ScrambleBytes(stream->data(), static_cast<long long>(stream->size()));
        labels_.LoadLabelStream(*stream);
    }
    labels_.MatchGroupCount(ItemCount());
    AdaptLayoutToScreen();
}

TrailerBytes PackageFile::Trailer() const {
    TrailerBytes trailer{};
    const int32_t words[] = {fields_.packageSize, fields_.tableOffset, fields_.languageOffset,
                             fields_.dynamicTextSize, fields_.staticTextSize};
    for (std::size_t i = 0; i < std::size(words); ++i)
        WriteLE32(&trailer[i * 4], words[i]);
    info_.Serialize(trailer.data() + kInfoRecordOffset);
    return trailer;
}

// --- Items and tracks ---

ShowItem PackageFile::DefaultItem() const {
    ShowItem item;
    item.displaySeconds = info_.defaultDisplaySeconds();
    item.transitionStep = info_.defaultTransitionStep();
    item.transitionDelay = info_.defaultTransitionDelay();
    item.exitStep = info_.defaultExitStep();
    item.exitDelay = info_.defaultExitDelay();
    item.fixedPosition = info_.placementMode() == 0 ? 1 : 0;
    item.transitionEffect = info_.defaultTransitionEffect();
    item.exitEffect = info_.defaultExitEffect();
    return item;
}

ShowItem PackageFile::GetItem(int index) const {
    return index >= 0 && index < ItemCount() ? items_[static_cast<std::size_t>(index)].item : DefaultItem();
}

MusicItem PackageFile::GetMusic(int index) const {
    return index >= 0 && index < MusicCount() ? musics_[static_cast<std::size_t>(index)].music : MusicItem{};
}

ItemLocation PackageFile::GetItemLocation(int index) const {
    return index >= 0 && index < ItemCount() ? items_[static_cast<std::size_t>(index)].location
                                             : ItemLocation{};
}

ItemLocation PackageFile::GetMusicLocation(int index) const {
    return index >= 0 && index < MusicCount() ? musics_[static_cast<std::size_t>(index)].location
                                              : ItemLocation{};
}

std::string PackageFile::MusicName(int index) const {
    return index >= 0 && index < static_cast<int>(musicNames_.size())
               ? musicNames_[static_cast<std::size_t>(index)]
               : std::string();
}

std::string PackageFile::MusicNameUtf8(int index) const {
    return DecodeCodePage(MusicName(index));
}

int PackageFile::CountPinnedItems() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const ItemEntry& e) { return e.item.pinned != 0; }));
}

std::optional<std::vector<uint8_t>> PackageFile::ReadLocatedData(const ItemLocation& location) const {
    if (!isAppended_ || location.size <= 0) return std::nullopt;
    ReadOnlyFile file;
    if (!file.open(sourcePath_)) return std::nullopt;
    std::vector<uint8_t> data;
    if (!file.seek(PackageStart(file.size()) + location.offset) ||
        !file.readBytes(static_cast<std::size_t>(location.size), data))
        return std::nullopt;
    UnscrambleFirstEighth(data);
    return data;
}

std::optional<std::vector<uint8_t>> PackageFile::ReadItemData(int index) const {
    if (index < 0 || index >= ItemCount()) return std::nullopt;
    return ReadLocatedData(items_[static_cast<std::size_t>(index)].location);
}

std::vector<uint8_t> PackageFile::ReadBackgroundData() const {
    auto data = ReadLocatedData(backgroundLocation_);
    if (!data) return {};
    // The background is scrambled as a whole, not only its first eighth.
    ScrambleBytes(data->data() + data->size() / 8, static_cast<long long>(data->size() - data->size() / 8));
    return std::move(*data);
}

std::optional<std::vector<uint8_t>> PackageFile::ReadMusicData(int index) const {
    if (index < 0 || index >= MusicCount()) return std::nullopt;
    const MusicEntry& entry = musics_[static_cast<std::size_t>(index)];
    if (isAppended_) return ReadLocatedData(entry.location);
    if (!resources_) return std::nullopt;
    auto data = resources_->FindRcData(entry.music.resourceName());
    if (data) UnscrambleFirstEighth(*data);
    return data;
}

bool PackageFile::LoadPicture(Bitmap24& bitmap, int index, int scale, ShowItem* item) const {
    if (item) *item = GetItem(index);
    if (index < 0 || index >= ItemCount()) return false;
    const auto data = ReadItemData(index);
    return data && DecodeJpeg(*data, scale, bitmap, reading_.decode);
}

bool PackageFile::GetThumbnail(Bitmap24& bitmap, int index, int boxHeight, int boxWidth) const {
    const ShowItem item = GetItem(index);
    if (item.kind == ShowItem::Picture) {
        Bitmap24 scratch;
        if (!LoadPicture(scratch, index, JpegEighth)) return false;
        bitmap = std::move(scratch);
        const int w = bitmap.width(), h = bitmap.height();
        if (boxWidth > 0 && boxHeight > 0 && (w > boxWidth || h > boxHeight)) {
            const double r = std::max(static_cast<double>(w) / boxWidth, static_cast<double>(h) / boxHeight);
            // At least one pixel each way, so that a very long picture still shrinks.
            StretchBitmap(bitmap, std::max(1, TruncToInt32(w / r)), std::max(1, TruncToInt32(h / r)));
        }
        return true;
    }
    if (item.kind == ShowItem::Flash) {
        if (const auto placeholder = BuiltinResources().FindRcData("XJPEGXFLASH"))
            DecodeJpeg(*placeholder, JpegFull, bitmap);
    }
    return false;
}

std::optional<std::vector<uint8_t>> PackageFile::ReadMovie(int index) const {
    if (index < 0 || index >= ItemCount()) return std::nullopt;
    const ItemLocation& location = items_[static_cast<std::size_t>(index)].location;
    if (location.size > kMaxMovieBytes) return std::nullopt;
    auto data = ReadLocatedData(location);
    if (!data || data->empty()) return std::nullopt;
    return data;
}

Result<ExtractedTrack> PackageFile::ExtractMusic(int index) {
    const std::string track = "track " + std::to_string(index + 1);
    if (index < 0 || index >= MusicCount()) return Failure{"there is no " + track};
    MusicEntry& entry = musics_[static_cast<std::size_t>(index)];
    if (!IsOwnRegularFile(entry.file)) {
        const auto data = ReadMusicData(index);
        if (!data || data->empty()) return Failure{track + " cannot be read from the package"};
        const auto path = CreateNumberedFile(TemporaryDirectory(), "~S_",
                                             SafeTrackExtension(entry.music.extension()), *data);
        if (!path) return Failure{track + " cannot be written to the temporary folder"};
        entry.file = *path;
    }
    return ExtractedTrack{entry.file, entry.music};
}

bool PackageFile::ExportContent(bool savePictures, bool saveMusic, const std::string& directory,
                                const ExportProgress& progress) {
    std::error_code ec;
    if (directory.empty() || !std::filesystem::is_directory(directory, ec)) return false;
    const std::string dir = directory.back() == '/' ? directory : directory + "/";
    const int total =
        (savePictures ? (Background() ? 1 : 0) + ItemCount() : 0) + (saveMusic ? MusicCount() : 0);
    int done = 0;
    // Called before each file; false when the caller cancels.
    const auto next = [&] { return !progress || progress(done++, total); };
    if (savePictures) {
        if (Background() && (!next() || !SaveBitmapByExtension(*background_, dir + "Pic_bk.jpg", 80)))
            return false;
        for (int i = 0; i < ItemCount(); ++i) {
            if (!next()) return false;
            const std::string n = std::to_string(i + 1);
            const ShowItem item = GetItem(i);
            if (item.kind == ShowItem::Picture) {
                Bitmap24 picture;
                if (!LoadPicture(picture, i, JpegFull)) return false;
                if (item.width > 0 && item.height > 0) StretchBitmap(picture, item.width, item.height);
                if (!SaveBitmapByExtension(picture, dir + "Pic_" + n + ".jpg", 90)) return false;
            } else if (item.kind == ShowItem::Flash) {
                const auto movie = ReadMovie(i);
                if (!movie || !WriteFileReplacing(dir + "Flash_" + n + ".swf", *movie)) return false;
            }
        }
    }
    if (saveMusic) {
        for (int i = 0; i < MusicCount(); ++i) {
            if (!next()) return false;
            const Result<ExtractedTrack> track = ExtractMusic(i);
            if (!track) return false;
            const std::string name =
                "Music_" + std::to_string(i + 1) + SafeTrackExtension(track->music.extension());
            if (!CopyFileReplacing(track->path, dir + name)) return false;
        }
    }
    if (progress) progress(done, total);
    return true;
}

bool PackageFile::DeleteItem(int index) {
    if (index < 0 || index >= ItemCount()) return false;
    items_.erase(items_.begin() + index);
    labels_.DeleteGroup(index);
    return true;
}

bool PackageFile::DeleteMusic(int index) {
    if (index < 0 || index >= MusicCount()) return false;
    const auto at = musics_.begin() + index;
    if (IsOwnRegularFile(at->file)) ::unlink(at->file.c_str());
    musics_.erase(at);
    if (index < static_cast<int>(musicNames_.size())) musicNames_.erase(musicNames_.begin() + index);
    return true;
}

// --- Settings ---

std::string PackageFile::NameUtf8() const {
    return DecodeCodePage(name_);
}
std::string PackageFile::LicenseTextUtf8() const {
    return DecodeCodePage(licenseText_);
}

int PackageFile::DesignWidth() const {
    return info_.designWidth() > 0 ? info_.designWidth() : reading_.screen.width;
}

int PackageFile::DesignHeight() const {
    return extension_.designHeight > 0 ? extension_.designHeight : reading_.screen.height;
}

const Bitmap24* PackageFile::Background() const {
    if (!backgroundDecoded_) {
        backgroundDecoded_ = true;
        const std::vector<uint8_t> stored = ReadBackgroundData();
        auto picture = std::make_unique<Bitmap24>();
        if (!stored.empty() && DecodeJpeg(stored, JpegFull, *picture, reading_.decode))
            background_ = std::move(picture);
    }
    return background_.get();
}

void PackageFile::SetBackground(const Bitmap24* bitmap) {
    backgroundDecoded_ = true;
    background_ = bitmap ? std::make_unique<Bitmap24>(*bitmap) : nullptr;
}

std::vector<uint8_t> PackageFile::ReadLanguageTable(bool staticCaptions) const {
    const int32_t size = staticCaptions ? fields_.staticTextSize : fields_.dynamicTextSize;
    if (!isAppended_ || size <= 0) return {};
    ReadOnlyFile file;
    std::vector<uint8_t> table;
    const int64_t offset =
        static_cast<int64_t>(fields_.languageOffset) + (staticCaptions ? fields_.dynamicTextSize : 0);
    if (!file.open(sourcePath_) || !file.seek(PackageStart(file.size()) + offset) ||
        !file.readBytes(static_cast<std::size_t>(size), table))
        return {};
    ScrambleBytes(table.data(), static_cast<long long>(table.size()));
    return table;
}

// --- Layout ---

void PackageFile::AdaptLayoutToScreen() {
    if (const auto scale =
            ScaleForScreen(info_.formatLevel(), DesignWidth(), DesignHeight(), reading_.screen))
        ScaleLayout(scale->dx, scale->dy, scale->factor);
}

void PackageFile::FitLayout(int w, int h) {
    if (const auto scale = FittingScale(w, h, reading_.screen))
        ScaleLayout(scale->dx, scale->dy, scale->factor);
}

void PackageFile::ScaleLayout(int dx, int dy, double f) {
    const LayoutScale scale{dx, dy, f};
    for (auto& entry : items_)
        ApplyLayoutScale(entry.item, scale);
    labels_.ScaleLabels(dx, dy, f);
    const ScreenSize& screen = reading_.screen;
    if (screen.isKnown()) {
        info_.setDesignWidth(screen.width);
        extension_.designHeight = screen.height;
    }
}

} // namespace scr
