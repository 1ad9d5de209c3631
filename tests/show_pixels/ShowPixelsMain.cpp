// main() of the pixel-model test: the application object is made as the
// player makes it for a show, so the test sees the show's pixel model at
// whatever ratio the environment sets (QT_SCALE_FACTOR, the screens file).
#include "startup/RunContext.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string dir =
            (std::filesystem::temp_directory_path() / ("scrtest-runtime-" + std::to_string(getuid())))
                .string();
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    scr::RunContext run(argc, argv, std::string());
    run.Application(scr::WindowPixels::Device);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
