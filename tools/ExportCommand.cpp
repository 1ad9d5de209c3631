// scrtool export FILE DIR [--no-pictures] [--no-music] [--screen WxH]: saves
// the background, pictures, movies and music tracks of a packed screen saver
// into DIR under the names the configuration dialog's export uses. A Flash
// movie file (a projector, another maker's wrapper, a bare movie) gives its
// movie, as Flash_1.swf.

#include "package/PackageFile.h"
#include "package/ScreenSaverFileRecogniser.h"
#include "platform/ExecutablePath.h"
#include "platform/ReadOnlyFile.h"
#include "platform/SafeFile.h"
#include "tools/CommandArguments.h"
#include "tools/PackageScreen.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace scr {
namespace {

// One file the export writes, in the order it writes them.
struct ExportOutput {
    std::string fileName;
    std::string what;
};

std::vector<ExportOutput> ExpectedOutputs(PackageFile& package, bool pictures, bool music) {
    std::vector<ExportOutput> outputs;
    if (pictures) {
        if (package.Background()) outputs.push_back({"Pic_bk.jpg", "the background picture"});
        for (int i = 0; i < package.ItemCount(); ++i) {
            const std::string n = std::to_string(i + 1);
            const int kind = package.GetItem(i).kind;
            if (kind == ShowItem::Picture)
                outputs.push_back(
                    {"Pic_" + n + ".jpg", "item " + n + ", a picture that could not be decoded or saved"});
            else if (kind == ShowItem::Flash)
                outputs.push_back(
                    {"Flash_" + n + ".swf", "item " + n + ", a movie that could not be read or copied"});
        }
    }
    if (music) {
        for (int i = 0; i < package.MusicCount(); ++i) {
            const std::string n = std::to_string(i + 1);
            outputs.push_back({"Music_" + n + SafeTrackExtension(package.GetMusic(i).extension()),
                               "track " + n + ", which could not be read or copied"});
        }
    }
    return outputs;
}

// What a file looked like, to tell afterwards whether the export wrote it.
struct FileState {
    bool exists = false;
    ino_t inode = 0;
    int64_t modified = 0;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, st.st_ino, static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The movie of a movie file, written as the export names a package's first movie.
int ExportMovie(const RecognisedFile& file, const std::string& dir, bool pictures) {
    if (!pictures) {
        std::printf("0 files written to %s\n", dir.c_str());
        return 0;
    }
    const std::optional<std::vector<uint8_t>> movie = ReadFoundMovie(file);
    const std::string out = dir + "Flash_1.swf";
    if (!movie || !WriteFileReplacing(out, *movie)) {
        std::fprintf(stderr, "scrtool export: %s failed: the movie of %s could not be read or written\n",
                     out.c_str(), file.path.c_str());
        return 1;
    }
    std::printf("1 file written to %s\n", dir.c_str());
    return 0;
}

} // namespace

int RunExportCommand(int argc, char** argv) {
    CommandArguments args({"--no-pictures", "--no-music"}, {"--screen"});
    if (!args.parse(argc, argv, 2, 2)) {
        std::fprintf(stderr,
                     "scrtool export: %s\nusage: scrtool export FILE DIR [--no-pictures] [--no-music] "
                     "[--screen WxH]\n",
                     args.error().c_str());
        return 2;
    }
    const std::string file = args.positional()[0];
    std::string dir = args.positional()[1];
    const RecognisedFile recognised = RecogniseScreenSaverFile(file);
    if (!ReadOnlyFile(file).isOpen() && !IsMacAppFolder(file)) {
        std::fprintf(stderr, "scrtool export: cannot read %s\n", file.c_str());
        return 2;
    }
    PackageScreen screen;
    if (!screen.choose(args.option("--screen"))) {
        std::fprintf(stderr, "scrtool export: %s\n", screen.error().c_str());
        return 2;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        std::fprintf(stderr, "scrtool export: %s is not a folder\n", dir.c_str());
        return 1;
    }
    if (dir.back() != '/') dir += '/';
    if (recognised.HasMovie()) return ExportMovie(recognised, dir, !args.flag("--no-pictures"));
    if (IsMacAppFolder(file)) {
        std::fprintf(stderr, "scrtool export: %s\n", NoMovieMessage(recognised).c_str());
        return 1;
    }

    PackageFile package(file, screen.reading());
    const bool pictures = !args.flag("--no-pictures"), music = !args.flag("--no-music");
    const std::vector<ExportOutput> outputs = ExpectedOutputs(package, pictures, music);
    std::vector<FileState> before;
    for (const ExportOutput& output : outputs)
        before.push_back(StateOf(dir + output.fileName));

    if (!package.ExportContent(pictures, music, dir)) {
        // The export stops at its first failure: the first file it did not write names it.
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            const FileState after = StateOf(dir + outputs[i].fileName);
            if (!after.exists || after == before[i]) {
                std::fprintf(stderr, "scrtool export: %s%s failed: %s\n", dir.c_str(),
                             outputs[i].fileName.c_str(), outputs[i].what.c_str());
                return 1;
            }
        }
        std::fprintf(stderr, "scrtool export: exporting into %s failed\n", dir.c_str());
        return 1;
    }
    std::printf("%zu files written to %s\n", outputs.size(), dir.c_str());
    return 0;
}

} // namespace scr
