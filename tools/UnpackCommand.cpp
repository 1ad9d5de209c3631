// scrtool unpack FILE DIR [--force]: turns a packed screen saver back into a
// folder that `scrtool pack` builds again: every item's and track's data, the
// background, licence and language tables as files, and manifest.json with
// every setting as stored. What cannot be read, or would not come back the
// same from the manifest, is named, and the exit status is then 1.
// A Flash movie file (a projector, another maker's wrapper, a bare movie)
// gives its movie byte for byte as stored and a manifest of a package
// holding it (MoviePackage.h).

#include "package/DescriptionDifferences.h"
#include "package/ManifestWriter.h"
#include "package/MoviePackage.h"
#include "package/PackageContents.h"
#include "package/PackageFile.h"
#include "package/PackageManifest.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/ReadOnlyFile.h"
#include "tools/CommandArguments.h"
#include "tools/EnglishLanguageTables.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace scr {
namespace {

namespace fs = std::filesystem;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "scrtool unpack: %s\n", message.c_str());
    return status;
}

// Makes DIR ready: created when missing, refused when it holds anything and
// `force` is not given. Empty on success, else the reason.
std::string PrepareFolder(const std::string& dir, bool force) {
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) return dir + " exists and is not a folder";
        if (!force && !fs::is_empty(dir, ec))
            return dir +
                   " is not empty; give --force to write into it (files of the same names are replaced)";
        if (ec) return "cannot read the folder " + dir + ": " + ec.message();
        return {};
    }
    fs::create_directories(dir, ec);
    if (ec) return "cannot create the folder " + dir + ": " + ec.message();
    return {};
}

// Reads the manifest back as `scrtool pack` would and names what it would
// not store as it was read from the package.
std::vector<std::string> CheckRoundTrip(const PackageDescription& expected, const std::string& manifest) {
    const Result<PackageDescription> packed = LoadPackageManifest(manifest);
    if (!packed)
        return {"the manifest cannot be packed as written (" + packed.error() +
                "); change that value before packing"};
    std::vector<std::string> notes;
    for (const std::string& part : DescriptionDifferences(expected, *packed))
        notes.push_back(part + " cannot be expressed in the manifest and would be packed differently");
    return notes;
}

// The movie of a movie file and a manifest of a package that holds it.
int UnpackMovie(const RecognisedFile& file, const std::string& dir, bool force) {
    const std::optional<std::vector<uint8_t>> movie = ReadFoundMovie(file);
    if (!movie) return Fail(1, "cannot read the movie of " + file.path);
    if (const std::string problem = PrepareFolder(dir, force); !problem.empty()) return Fail(1, problem);
    PackageDescription description = MoviePackageDescription(file, *movie);
    // Packed again, its dialogs get the program's own texts.
    const LanguageTableTexts tables = EnglishLanguageTables();
    description.dynamicTexts = tables.dynamicTexts;
    description.staticCaptions = tables.staticCaptions;
    if (const Result<void> written = WriteManifestFolder(description, dir); !written)
        return Fail(1, written.error());
    const std::string manifest = (fs::path(dir) / kManifestFileName).string();
    const std::vector<std::string> notes = CheckRoundTrip(description, manifest);
    std::printf("%s: the movie of %s (%s), %lld bytes from offset %lld\n", manifest.c_str(),
                file.path.c_str(), std::string(KindWord(file.kind)).c_str(),
                static_cast<long long>(file.movie->size), static_cast<long long>(file.movie->offset));
    for (const std::string& note : notes)
        std::fprintf(stderr, "scrtool unpack: %s\n", note.c_str());
    return notes.empty() ? 0 : 1;
}

} // namespace

int RunUnpackCommand(int argc, char** argv) {
    CommandArguments args({"--force"}, {});
    if (!args.parse(argc, argv, 2, 2)) {
        std::fprintf(stderr, "scrtool unpack: %s\nusage: scrtool unpack FILE DIR [--force]\n",
                     args.error().c_str());
        return 2;
    }
    const std::string file = args.positional()[0], dir = args.positional()[1];
    std::error_code ec;
    const RecognisedFile recognised = RecogniseScreenSaverFile(file);
    if (recognised.HasMovie()) return UnpackMovie(recognised, dir, args.flag("--force"));
    if (IsMacAppFolder(file)) return Fail(1, NoMovieMessage(recognised));
    if (!fs::is_regular_file(file, ec) || !ReadOnlyFile(file).isOpen()) return Fail(2, "cannot read " + file);

    // No screen size is known here, so the layout stays as stored.
    PackageFile package(file);
    if (!package.Info().signatureMatches())
        return Fail(1, file + " carries no package, and " + NoMovieMessage(recognised));
    if (const std::string problem = PrepareFolder(dir, args.flag("--force")); !problem.empty())
        return Fail(1, problem);

    const PackageContents contents = ReadPackageContents(package);
    if (const Result<void> written = WriteManifestFolder(contents.description, dir); !written)
        return Fail(1, written.error());

    std::vector<std::string> notes = contents.skipped;
    for (std::string& note : notes)
        note = "skipped: " + note;
    const std::string manifest = (fs::path(dir) / kManifestFileName).string();
    for (const std::string& note : CheckRoundTrip(contents.description, manifest))
        notes.push_back(note);

    const PackageDescription& d = contents.description;
    std::printf("%s: %zu items, %zu tracks%s%s%s\n", manifest.c_str(), d.items.size(), d.tracks.size(),
                d.background.empty() ? "" : ", background", d.licenseText.empty() ? "" : ", licence",
                d.dynamicTexts.empty() && d.staticCaptions.empty() ? "" : ", language tables");
    for (const std::string& note : notes)
        std::fprintf(stderr, "scrtool unpack: %s\n", note.c_str());
    return notes.empty() ? 0 : 1;
}

} // namespace scr
