// scrtool pack MANIFEST.json -o OUT [--stub PROGRAM]: builds a packed screen
// saver from a manifest: the program (by default the player beside scrtool)
// followed by the package.

#include "package/PackageManifest.h"
#include "platform/ExecutablePath.h"
#include "tools/CommandArguments.h"
#include "tools/EnglishLanguageTables.h"

#include <cstdio>
#include <filesystem>

namespace scr {

int RunPackCommand(int argc, char** argv) {
    CommandArguments args({}, {"-o", "--stub"});
    if (!args.parse(argc, argv, 1, 1) || !args.option("-o")) {
        std::fprintf(stderr, "scrtool pack: %s\nusage: scrtool pack MANIFEST.json -o OUT [--stub PROGRAM]\n",
                     args.error().empty() ? "missing -o OUT" : args.error().c_str());
        return 2;
    }
    const std::string stub = args.option("--stub").value_or(
        (std::filesystem::path(ExecutablePath()).parent_path() / "scrplayer").string());

    std::vector<std::string> warnings;
    const Result<PackageDescription> loaded =
        LoadPackageManifest(args.positional()[0], &warnings, EnglishLanguageTables());
    if (!loaded) {
        std::fprintf(stderr, "scrtool pack: %s\n", loaded.error().c_str());
        return 1;
    }
    const PackageDescription& description = *loaded;
    // Unusual values are packed as given; the user hears of each.
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "scrtool pack: warning: %s\n", warning.c_str());
    const Result<std::vector<uint8_t>> program = ReadProgramImage(stub);
    if (!program) {
        std::fprintf(stderr, "scrtool pack: the program to pack onto: %s\n", program.error().c_str());
        return 1;
    }
    const std::string out = *args.option("-o");
    if (const Result<void> written = WritePackedFile(out, *program, description); !written) {
        std::fprintf(stderr, "scrtool pack: %s\n", written.error().c_str());
        return 1;
    }
    std::printf("%s: %zu items, %zu tracks\n", out.c_str(), description.items.size(),
                description.tracks.size());
    return 0;
}

} // namespace scr
