// scrtool diff A B: compares the contents of two packed screen savers, as
// stored (the layout as designed, not fitted to a screen): every setting,
// item, label, track, text and block. Each difference is named by its
// manifest key. Exit status 0 when both hold the same package, 1 when they
// differ or one of them is damaged, 2 on wrong arguments or an unreadable
// file.

#include "package/DescriptionDifferences.h"
#include "package/PackageContents.h"
#include "package/PackageFile.h"
#include "platform/ReadOnlyFile.h"
#include "tools/CommandArguments.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace scr {

int RunDiffCommand(int argc, char** argv) {
    CommandArguments args({}, {});
    if (!args.parse(argc, argv, 2, 2)) {
        std::fprintf(stderr, "scrtool diff: %s\nusage: scrtool diff A B\n", args.error().c_str());
        return 2;
    }
    std::vector<PackageContents> contents;
    std::vector<bool> carriesPackage;
    for (const std::string& file : args.positional()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec) || !ReadOnlyFile(file).isOpen()) {
            std::fprintf(stderr, "scrtool diff: cannot read %s\n", file.c_str());
            return 2;
        }
        const PackageFile package(file);
        carriesPackage.push_back(package.Info().signatureMatches());
        contents.push_back(ReadPackageContents(package));
    }

    // What could not be read makes the comparison incomplete: that counts as a difference.
    bool different = carriesPackage[0] != carriesPackage[1];
    for (std::size_t i = 0; i < contents.size(); ++i)
        if (different && !carriesPackage[i])
            std::printf("%s: carries no package\n", args.positional()[i].c_str());
    for (std::size_t i = 0; i < contents.size(); ++i) {
        for (const std::string& part : contents[i].skipped) {
            std::printf("%s: damaged: %s\n", args.positional()[i].c_str(), part.c_str());
            different = true;
        }
    }
    for (const std::string& difference :
         DescriptionDifferences(contents[0].description, contents[1].description)) {
        std::printf("%s\n", difference.c_str());
        different = true;
    }
    return different ? 1 : 0;
}

} // namespace scr
