#include "show/FlashEngineLoader.h"

#include "show/FlashEngineFactory.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdlib>
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
