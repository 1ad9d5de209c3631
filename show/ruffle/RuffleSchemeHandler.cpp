#include "show/ruffle/RuffleSchemeHandler.h"

#include "platform/FolderConfinedFile.h"
#include "show/ruffle/RufflePageSource.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace scr {
namespace {

const QString kRufflePrefix = QStringLiteral("/ruffle/");
const QString kMoviePrefix = QStringLiteral("/movie/");
const QString kFilesPrefix = QStringLiteral("/files/");
// A movie's neighbour larger than this is not served.
constexpr qint64 kMaxFolderFileBytes = qint64{256} << 20;

// A Ruffle file is named plainly: no folders, no hidden files.
bool IsPlainFileName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]*$"));
    return plain.match(name).hasMatch();
}

QByteArray ContentTypeOf(const QString& name) {
    if (name.endsWith(QLatin1String(".js"))) return "text/javascript";
    if (name.endsWith(QLatin1String(".wasm"))) return "application/wasm";
    return {};
}

// The type a movie's neighbour is served as; the player looks at the bytes, not the type.
QByteArray FolderFileType(const QString& name) {
    const QString lower = name.toLower();
    if (lower.endsWith(QLatin1String(".swf"))) return "application/x-shockwave-flash";
    if (lower.endsWith(QLatin1String(".xml"))) return "text/xml";
    if (lower.endsWith(QLatin1String(".txt"))) return "text/plain";
    if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg"))) return "image/jpeg";
    if (lower.endsWith(QLatin1String(".png"))) return "image/png";
    if (lower.endsWith(QLatin1String(".gif"))) return "image/gif";
    if (lower.endsWith(QLatin1String(".mp3"))) return "audio/mpeg";
    return "application/octet-stream";
}

} // namespace

void RuffleSchemeHandler::RegisterScheme() {
    static bool done = false;
    if (done) return;
    done = true;
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure, so the page is a secure context as the player's audio needs;
    // neither local nor allowed to reach local files.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl RuffleSchemeHandler::PageUrl() {
    return QUrl(QStringLiteral("%1://%2/index.html").arg(QLatin1String(kScheme), QLatin1String(kHost)));
}

QUrl RuffleSchemeHandler::MovieUrl(int generation) {
    return QUrl(
        QStringLiteral("%1://%2/movie/%3").arg(QLatin1String(kScheme), QLatin1String(kHost)).arg(generation));
}

QUrl RuffleSchemeHandler::FolderUrl(int generation) {
    return QUrl(QStringLiteral("%1://%2/files/%3/")
                    .arg(QLatin1String(kScheme), QLatin1String(kHost))
                    .arg(generation));
}

RuffleSchemeHandler::RuffleSchemeHandler(const QString& ruffleFolder, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), ruffleFolder_(ruffleFolder) {}

void RuffleSchemeHandler::SetMovie(int generation, QByteArray bytes, const QString& folder) {
    movies_.insert(generation, {std::move(bytes), folder});
}

void RuffleSchemeHandler::DropMovie(int generation) {
    movies_.remove(generation);
}

RuffleSchemeHandler::Reply RuffleSchemeHandler::Resolve(const QString& path) const {
    if (path == QLatin1String("/index.html")) return {"text/html", RufflePageHtml(), {}};
    if (path == QLatin1String("/host.js")) return {"text/javascript", RufflePageScript(), {}};
    if (path.startsWith(kMoviePrefix)) {
        bool ok = false;
        int generation = path.mid(kMoviePrefix.size()).toInt(&ok);
        auto movie = movies_.constFind(generation);
        if (!ok || movie == movies_.constEnd()) return {};
        return {"application/x-shockwave-flash", movie->bytes, {}};
    }
    if (path.startsWith(kFilesPrefix)) {
        const qsizetype slash = path.indexOf(u'/', kFilesPrefix.size());
        bool ok = false;
        const int generation =
            slash < 0 ? 0 : path.mid(kFilesPrefix.size(), slash - kFilesPrefix.size()).toInt(&ok);
        auto movie = movies_.constFind(generation);
        if (!ok || movie == movies_.constEnd() || movie->folder.isEmpty()) return {};
        const auto file = FolderConfinedFile(movie->folder.toStdString(), path.mid(slash + 1).toStdString());
        if (!file || QFileInfo(QString::fromStdString(*file)).size() > kMaxFolderFileBytes) return {};
        return {FolderFileType(QString::fromStdString(*file)), {}, QString::fromStdString(*file)};
    }
    if (path.startsWith(kRufflePrefix)) {
        const QString name = path.mid(kRufflePrefix.size());
        const QByteArray type = ContentTypeOf(name);
        if (type.isEmpty() || !IsPlainFileName(name) || ruffleFolder_.isEmpty()) return {};
        const QFileInfo file(QDir(ruffleFolder_).filePath(name));
        if (!file.isFile()) return {};
        return {type, {}, file.absoluteFilePath()};
    }
    return {};
}

void RuffleSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    if (url.host() != QLatin1String(kHost)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const Reply reply = Resolve(url.path(QUrl::FullyDecoded));
    if (reply.contentType.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    if (!reply.file.isEmpty()) {
        auto* file = new QFile(reply.file, job); // goes with the job
        if (!file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->reply(reply.contentType, file);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(reply.bytes);
    buffer->open(QIODevice::ReadOnly);
    job->reply(reply.contentType, buffer);
}

} // namespace scr
