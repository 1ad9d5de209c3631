#include "show/ruffle/RuffleFileCheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace scr {
namespace {

// ruffle.js is about half a megabyte; a much larger file is not one.
constexpr qint64 kMaxLoaderBytes = 16 << 20;

// The files ruffle.js loads later, by name.
QStringList FilesNamedBy(const QString& text) {
    QStringList wanted;
    // The WebAssembly modules: "<hash>.wasm".
    static const QRegularExpression wasm(QStringLiteral("\"([0-9a-f]{8,64}\\.wasm)\""));
    for (const QRegularExpressionMatch& m : wasm.globalMatch(text))
        wanted << m.captured(1);
    // The chunks: "core.ruffle."+{<id>:"<hash>",...}[id]+".js".
    static const QRegularExpression chunkMap(QStringLiteral("\"core\\.ruffle\\.\"\\+\\{([^}]{1,4096})\\}"));
    static const QRegularExpression chunkHash(QStringLiteral("\"([0-9a-f]{8,64})\""));
    if (QRegularExpressionMatch map = chunkMap.match(text); map.hasMatch())
        for (const QRegularExpressionMatch& m : chunkHash.globalMatch(map.captured(1)))
            wanted << QStringLiteral("core.ruffle.%1.js").arg(m.captured(1));
    return wanted;
}

} // namespace

QStringList MissingRuffleFiles(const QString& folder) {
    const QDir dir(folder);
    const QFileInfo loaderInfo(dir.filePath(QStringLiteral("ruffle.js")));
    // Every movie asks; ruffle.js is read again only when it changed.
    static QString lastKey;
    static QStringList lastWanted;
    const QString key = loaderInfo.absoluteFilePath() + u'|' + QString::number(loaderInfo.size()) + u'|' +
                        QString::number(loaderInfo.lastModified().toMSecsSinceEpoch());
    if (key != lastKey) {
        QFile loader(loaderInfo.absoluteFilePath());
        if (!loader.open(QIODevice::ReadOnly) || loader.size() > kMaxLoaderBytes)
            return {QStringLiteral("ruffle.js")};
        lastWanted = FilesNamedBy(QString::fromUtf8(loader.read(kMaxLoaderBytes)));
        lastKey = key;
    }
    const QStringList& wanted = lastWanted;
    QStringList missing;
    for (const QString& name : wanted)
        if (!QFileInfo(dir.filePath(name)).isFile() && !missing.contains(name)) missing << name;
    return missing;
}

} // namespace scr
