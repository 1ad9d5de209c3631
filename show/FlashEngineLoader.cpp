#include "show/FlashEngineLoader.h"

#include "platform/ExecutablePath.h"
#include "platform/InstallPrefixes.h"
#include "platform/TrustedPath.h"
#include "show/FlashEngineFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonObject>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <cstdio>

// Qt's setter of the application-wide OpenGL context (exported by Qt GUI;
// the web engine sets it the same way).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace scr {
namespace {

constexpr const char* kPluginFile = "scrplayer-flash.so";

struct PluginState {
    bool tried = false;
    FlashEngineFactory* factory = nullptr;
    QString error;
};

PluginState& State() {
    static PluginState state;
    return state;
}

QOpenGLContext* g_shareContext = nullptr;

void DeleteShareContext() {
    if (QOpenGLContext::globalShareContext() == g_shareContext) qt_gl_set_global_share_context(nullptr);
    delete g_shareContext;
    g_shareContext = nullptr;
}

// The engine (Qt WebEngine) expects the application-wide OpenGL context that
// it makes itself when it is linked into a program and starts before the
// application object. Loaded later, as a plugin, it finds one made here, as
// it would have made it (creating it may fail where there is no OpenGL; the
// engine then draws in software).
void ProvideShareContext() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || QOpenGLContext::globalShareContext())
        return;
    g_shareContext = new QOpenGLContext;
    g_shareContext->create();
    qt_gl_set_global_share_context(g_shareContext);
    qAddPostRoutine(&DeleteShareContext);
}

} // namespace

QStringList FlashEnginePluginCandidates() {
    if (QString env = qEnvironmentVariable("SCRPLAYER_FLASH_PLUGIN"); !env.isEmpty()) return {env};
    const QString exeFolder = QFileInfo(QString::fromStdString(ExecutablePath())).absolutePath();
    QStringList files{exeFolder + "/" + kPluginFile};
    for (const std::string& prefix : InstallPrefixes()) {
        const QString file = QString::fromStdString(prefix) + "/lib/scrplayer/" + kPluginFile;
        if (!files.contains(file)) files << file;
    }
    return files;
}

FlashEngineFactory* LoadFlashEnginePlugin(const QString& path, QString* error) {
    // The loader object may go: a loaded plugin stays loaded for the process.
    QPluginLoader loader(path);
    // The metadata is read without loading the library, so that nothing of
    // a file that is not our plugin runs.
    const QJsonObject metaData = loader.metaData();
    if (metaData.value(QLatin1String("IID")).toString() != QLatin1String(SCR_FLASH_ENGINE_FACTORY_IID)) {
        if (error)
            *error = metaData.isEmpty()
                         ? loader.errorString()
                         : path + QStringLiteral(" is not a Flash engine plugin of this program");
        return nullptr;
    }
    ProvideShareContext();
    auto* factory = qobject_cast<FlashEngineFactory*>(loader.instance());
    if (!factory && error) *error = loader.errorString();
    return factory;
}

FlashEngineFactory* LoadFirstFlashEnginePlugin(const QStringList& files, QString* error) {
    QStringList missing;
    QStringList failures;
    // A file that exists but does not load (built for another Qt, damaged)
    // does not stop the search, nor does one that others could have changed,
    // which is never loaded.
    for (const QString& name : files) {
        // Loaded by its absolute path: the loader looks up a relative name in
        // Qt's library paths, which would not be the file checked here.
        const QString file = QFileInfo(name).absoluteFilePath();
        if (!QFileInfo(file).isFile()) {
            missing << file;
            continue;
        }
        if (const std::string unsafe = UntrustedReason(file.toStdString()); !unsafe.empty()) {
            const QString skipped =
                QStringLiteral("skipped %1: %2").arg(file, QString::fromStdString(unsafe));
            std::fprintf(stderr, "scrplayer: Flash engine plugin %s\n", qPrintable(skipped));
            failures << skipped;
            continue;
        }
        QString failure;
        if (FlashEngineFactory* factory = LoadFlashEnginePlugin(file, &failure)) return factory;
        failures << failure;
    }
    if (error)
        *error = failures.isEmpty()
                     ? QStringLiteral("the Flash engine plugin was not found: ") + missing.join(", ")
                     : QStringLiteral("the Flash engine plugin could not be loaded: ") + failures.join("; ");
    return nullptr;
}

FlashEngineFactory* FlashEnginePlugin() {
    PluginState& state = State();
    if (state.tried) return state.factory;
    state.tried = true;
    state.factory = LoadFirstFlashEnginePlugin(FlashEnginePluginCandidates(), &state.error);
    if (!state.factory) std::fprintf(stderr, "scrplayer: %s\n", qPrintable(state.error));
    return state.factory;
}

QString FlashEnginePluginError() {
    FlashEnginePlugin();
    return State().error;
}

#ifdef SCR_HAVE_FLASH_ENGINE

QString FlashEngineUnavailableReason() {
    FlashEngineFactory* factory = FlashEnginePlugin();
    return factory ? factory->UnavailableReason() : FlashEnginePluginError();
}

#endif

} // namespace scr
