#include "package/ScreenSaverFileRecogniser.h"

#include "package/EmbeddedSwfScan.h"
#include "package/PackageTrailer.h"
#include "package/PackedPayload.h"
#include "package/PeResources.h"
#include "package/ProjectorTrailer.h"
#include "package/SwfCandidate.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <filesystem>

namespace scr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMacAppMovie = "Contents/Resources/movie.swf";

// The resource form of our package: a Windows program with the SCRINFO resource.
bool HoldsResourcePackage(const ByteSource& source) {
    const PeResourceReader pe(source);
    if (!pe.valid()) return false;
    std::optional<std::vector<uint8_t>> info = pe.FindRcData("SCRINFO");
    if (!info || info->size() < kSignatureFieldSize) return false;
    ScrambleBytes(info->data(), kSignatureFieldSize);
    return SignatureMatches(info->data());
}

RecognisedFile Found(ScreenSaverFileKind kind, const std::string& path, FoundMovie movie) {
    RecognisedFile file;
    file.kind = kind;
    file.path = path;
    file.movieFile = path;
    file.movie = std::move(movie);
    return file;
}

// The movie of a region that something in the file gives to it: the region
// is the movie as stored, so its bytes are the movie's, however far its own
// data reaches inside it.
Result<FoundMovie> RegionMovie(const ByteSource& source, int64_t start, int64_t size, std::string place,
                               MovieSearchBudget& budget) {
    Result<FoundMovie> movie = CheckSwfCandidate(source, start, start + size, budget);
    if (!movie) return movie;
    movie->size = size;
    movie->place = std::move(place);
    return movie;
}

// Movies stored as resources: the largest that parses, the others and the rejected.
std::optional<RecognisedFile> ResourceMovies(const ByteSource& source, const std::string& path,
                                             MovieSearchBudget& budget) {
    const PeResourceReader pe(source);
    if (!pe.valid()) return std::nullopt;
    RecognisedFile file;
    std::vector<FoundMovie> movies;
    for (const PeResourceEntry& entry : pe.ListResources().entries) {
        uint8_t signature[3];
        if (entry.fileOffset < 0 || entry.size < kSwfHeaderBytes ||
            !source.readAt(entry.fileOffset, signature, sizeof signature) || signature[1] != 'W' ||
            signature[2] != 'S')
            continue;
        const std::string place = "resource " + entry.type.Text(true) + "/" + entry.name.Text(false) +
                                  ", language " + std::to_string(entry.language);
        Result<FoundMovie> movie = RegionMovie(source, entry.fileOffset, entry.size, place, budget);
        if (movie)
            movies.push_back(std::move(*movie));
        else
            file.rejected.push_back({entry.fileOffset, place + ": " + movie.error()});
    }
    if (movies.empty()) {
        if (file.rejected.empty()) return std::nullopt;
        return file;
    }
    std::stable_sort(movies.begin(), movies.end(),
                     [](const FoundMovie& a, const FoundMovie& b) { return a.size > b.size; });
    file.kind = ScreenSaverFileKind::PeResource;
    file.path = path;
    file.movieFile = path;
    file.movie = std::move(movies.front());
    file.others.assign(std::make_move_iterator(movies.begin() + 1), std::make_move_iterator(movies.end()));
    return file;
}

std::string ScanSummary(const EmbeddedSwfScan& scan, bool othersExamined) {
    std::string summary;
    if (scan.rejectedCount == 0) {
        summary = std::string("it holds no ") + (othersExamined ? "other " : "") +
                  "Flash movie header (FWS, CWS or ZWS) with a plausible version and length";
    } else {
        summary = std::to_string(scan.rejectedCount) +
                  (scan.rejectedCount == 1 ? " candidate" : " candidates") +
                  " with a movie header, none of which parses (at byte " +
                  std::to_string(scan.rejected[0].offset) + ": " + scan.rejected[0].reason + ")";
    }
    if (!scan.cut.empty()) summary += "; " + scan.cut;
    return summary;
}

RecognisedFile NoMovie(const std::string& path, std::string reason) {
    RecognisedFile file;
    file.path = path;
    file.reason = std::move(reason);
    return file;
}

RecognisedFile RecogniseMacApp(const std::string& folder) {
    const std::string movieFile = MacAppMovieFile(folder);
    std::error_code ec;
    if (!fs::is_regular_file(movieFile, ec))
        return NoMovie(folder,
                       std::string("it is a folder without ") + kMacAppMovie + ", so not a Mac projector");
    // The movie must be the folder's own, not a link to something elsewhere.
    const fs::path realFolder = fs::canonical(folder, ec);
    const fs::path realMovie = fs::canonical(movieFile, ec);
    const auto relative = realMovie.lexically_relative(realFolder);
    if (ec || relative.empty() || *relative.begin() == "..")
        return NoMovie(folder, std::string("its ") + kMacAppMovie + " leads out of the folder");
    ReadOnlyFile file(movieFile);
    if (!file.isOpen()) return NoMovie(folder, std::string("its ") + kMacAppMovie + " cannot be read");
    const FileByteSource source(file);
    MovieSearchBudget budget;
    Result<FoundMovie> movie = RegionMovie(source, 0, source.size(), kMacAppMovie, budget);
    if (!movie)
        return NoMovie(folder,
                       std::string("its ") + kMacAppMovie + " is not a Flash movie: " + movie.error());
    RecognisedFile found = Found(ScreenSaverFileKind::MacApp, folder, std::move(*movie));
    found.movieFile = movieFile;
    return found;
}

} // namespace

std::string_view KindWord(ScreenSaverFileKind kind) {
    switch (kind) {
    case ScreenSaverFileKind::None:
        return "none";
    case ScreenSaverFileKind::Package:
        return "package";
    case ScreenSaverFileKind::WindowsProjector:
        return "windows-projector";
    case ScreenSaverFileKind::LinuxProjector32:
        return "linux-projector-32";
    case ScreenSaverFileKind::LinuxProjector64:
        return "linux-projector-64";
    case ScreenSaverFileKind::MacApp:
        return "mac-app";
    case ScreenSaverFileKind::PeResource:
        return "pe-resource";
    case ScreenSaverFileKind::EmbeddedSwf:
        return "embedded-swf";
    case ScreenSaverFileKind::Swf:
        return "swf";
    }
    return "none";
}

std::string MacAppMovieFile(const std::string& folder) {
    return (fs::path(folder) / kMacAppMovie).string();
}

bool IsMacAppFolder(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) return false;
    fs::path p(path);
    if (!p.has_filename()) p = p.parent_path();
    std::string extension = p.extension().string();
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return extension == ".app" || fs::is_directory(p / "Contents", ec);
}

RecognisedFile RecogniseScreenSaverSource(const ByteSource& source, const std::string& path) {
    if (HasValidTrailer(source) || HoldsResourcePackage(source)) {
        RecognisedFile file;
        file.kind = ScreenSaverFileKind::Package;
        file.path = path;
        file.movieFile = path;
        return file;
    }
    MovieSearchBudget budget;
    // What the file's own structures claimed and could not keep, most specific first.
    std::vector<std::string> reasons;
    std::vector<RejectedCandidate> rejected;
    std::vector<int64_t> examined; // movie starts checked before the scan

    for (const auto& find : {FindWindowsProjectorMovie, FindLinuxProjectorMovie}) {
        const std::optional<Result<ProjectorMovieRegion>> region = find(source);
        if (!region) continue;
        if (!*region) {
            reasons.push_back((*region).error());
            continue;
        }
        const ProjectorMovieRegion& r = **region;
        examined.push_back(r.start);
        Result<FoundMovie> movie = RegionMovie(source, r.start, r.size, r.place, budget);
        if (movie) return Found(r.kind, path, std::move(*movie));
        const std::string why = "the movie its projector trailer gives at byte " + std::to_string(r.start) +
                                " is not one: " + movie.error();
        reasons.push_back(why);
        rejected.push_back({r.start, why});
    }

    uint8_t start[3] = {};
    if (source.readAt(0, start, sizeof start) && start[1] == 'W' && start[2] == 'S') {
        examined.push_back(0);
        Result<FoundMovie> movie = RegionMovie(source, 0, source.size(), "the whole file", budget);
        if (movie) return Found(ScreenSaverFileKind::Swf, path, std::move(*movie));
        reasons.push_back("it starts like a Flash movie but is not one: " + movie.error());
    }

    if (std::optional<RecognisedFile> resources = ResourceMovies(source, path, budget)) {
        if (resources->HasMovie()) return std::move(*resources);
        rejected.insert(rejected.end(), resources->rejected.begin(), resources->rejected.end());
        for (const RejectedCandidate& candidate : resources->rejected)
            examined.push_back(candidate.offset);
        reasons.push_back("no movie resource parses (" + resources->rejected.front().reason + ")");
    }

    EmbeddedSwfScan scan = ScanForEmbeddedSwf(source, budget, examined);
    rejected.insert(rejected.end(), scan.rejected.begin(), scan.rejected.end());
    if (!scan.movies.empty()) {
        RecognisedFile file = Found(ScreenSaverFileKind::EmbeddedSwf, path, std::move(scan.movies.front()));
        file.others.assign(std::make_move_iterator(scan.movies.begin() + 1),
                           std::make_move_iterator(scan.movies.end()));
        file.rejected = std::move(rejected);
        return file;
    }

    if (std::optional<std::string> packed = PackedPayloadReason(source))
        reasons.insert(reasons.begin(), *packed);
    reasons.push_back(ScanSummary(scan, !examined.empty()));
    std::string reason;
    for (const std::string& part : reasons)
        reason += (reason.empty() ? "" : "; ") + part;
    RecognisedFile file = NoMovie(path, std::move(reason));
    file.rejected = std::move(rejected);
    return file;
}

RecognisedFile RecogniseScreenSaverFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        if (!IsMacAppFolder(path)) return NoMovie(path, "it is a folder, not a Mac projector (NAME.app)");
        return RecogniseMacApp(path);
    }
    if (!fs::is_regular_file(status)) return NoMovie(path, "it is not a readable file");
    ReadOnlyFile file(path);
    if (!file.isOpen()) return NoMovie(path, "it cannot be read");
    return RecogniseScreenSaverSource(FileByteSource(file), path);
}

std::string NoMovieMessage(const RecognisedFile& file) {
    return "no Flash movie found in " + file.path + ": " + file.reason;
}

std::optional<std::vector<uint8_t>> ReadFoundMovie(const RecognisedFile& file) {
    if (!file.movie || file.movie->size > static_cast<int64_t>(kMaxSwfBodyBytes)) return std::nullopt;
    ReadOnlyFile in(file.movieFile);
    std::vector<uint8_t> bytes;
    if (!in.isOpen() ||
        !FileByteSource(in).readBytes(file.movie->offset, static_cast<std::size_t>(file.movie->size), bytes))
        return std::nullopt;
    return bytes;
}

} // namespace scr
