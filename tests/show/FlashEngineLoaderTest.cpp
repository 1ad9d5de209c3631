#include "show/FlashEngineLoader.h"

#include "show/FlashEngineFactory.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

TEST(FlashEngineLoader, LooksBesideTheProgramFirstUnlessTheVariableNamesTheFile) {
    unsetenv("SCRPLAYER_FLASH_PLUGIN");
    const QStringList files = FlashEnginePluginCandidates();
    ASSERT_GE(files.size(), 2);
    EXPECT_EQ(files[0], QCoreApplication::applicationDirPath() + "/scrplayer-flash.so");
    EXPECT_TRUE(files[1].endsWith("/lib/scrplayer/scrplayer-flash.so")) << files[1].toStdString();

    setenv("SCRPLAYER_FLASH_PLUGIN", "/nowhere/engine.so", 1);
    EXPECT_EQ(FlashEnginePluginCandidates(), QStringList{"/nowhere/engine.so"});
    unsetenv("SCRPLAYER_FLASH_PLUGIN");
}

TEST(FlashEngineLoader, FindsPerUserAndSystemInstallsFromAnyCopyOfTheProgram) {
    unsetenv("SCRPLAYER_FLASH_PLUGIN");
    test::ScopedEnv path("PATH", "");
    test::ScopedEnv home("HOME", "/home/someone");
    test::ScopedEnv dataHome("XDG_DATA_HOME", "");
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", "");
    const QStringList files = FlashEnginePluginCandidates();
    // Beside the program first; the user's own install before the system's.
    EXPECT_EQ(files.value(0), QCoreApplication::applicationDirPath() + "/scrplayer-flash.so");
    const qsizetype user = files.indexOf("/home/someone/.local/lib/scrplayer/scrplayer-flash.so");
    const qsizetype local = files.indexOf("/usr/local/lib/scrplayer/scrplayer-flash.so");
    const qsizetype system = files.indexOf("/usr/lib/scrplayer/scrplayer-flash.so");
    EXPECT_GT(user, 0) << files.join(", ").toStdString();
    EXPECT_GT(local, user) << files.join(", ").toStdString();
    EXPECT_GT(system, user) << files.join(", ").toStdString();
}

TEST(FlashEngineLoader, APluginOthersCanWriteIsSkippedUnopened) {
    test::TempDir dir;
    const std::string folder = dir.file("shared");
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(folder, std::filesystem::perms(0775));
    const std::string plugin = folder + "/scrplayer-flash.so";
    test::WriteFile(plugin, {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    QString error;
    EXPECT_EQ(LoadFirstFlashEnginePlugin({QString::fromStdString(plugin)}, &error), nullptr);
    // Refused for where it lies, before the loader looked at it.
    EXPECT_EQ(error, QString::fromStdString("the Flash engine plugin could not be loaded: skipped " + plugin +
                                            ": " + folder + " is writable by its group"));
}

TEST(FlashEngineLoader, AFileThatIsNoPluginIsRefusedWithAReason) {
    test::TempDir dir;
    const std::string fake = dir.file("scrplayer-flash.so");
    test::WriteFile(fake, {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    // A Qt plugin of another kind (an image format) is refused by its metadata.
    const QString otherPlugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/imageformats/libqico.so";
    for (const QString& path :
         {QString::fromStdString(fake), QStringLiteral("/nowhere/scrplayer-flash.so"), otherPlugin}) {
        if (!QFileInfo(path).exists() && path == otherPlugin) continue;
        QString error;
        EXPECT_EQ(LoadFlashEnginePlugin(path, &error), nullptr) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        if (path == otherPlugin) {
            EXPECT_TRUE(error.contains("not a Flash engine plugin")) << error.toStdString();
        }
    }
}

#ifdef SCR_HAVE_FLASH_ENGINE
TEST(FlashEngineLoader, ThePluginBuiltBesideTheProgramLoads) {
    const QString path = QCoreApplication::applicationDirPath() + "/scrplayer-flash.so";
    ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    QString error;
    FlashEngineFactory* factory = LoadFlashEnginePlugin(path, &error);
    ASSERT_NE(factory, nullptr) << error.toStdString();
    // The same library as the process's own plugin: one pool of pages.
    EXPECT_EQ(factory, FlashEnginePlugin());
}
#endif

} // namespace
} // namespace scr
