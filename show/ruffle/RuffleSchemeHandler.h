#pragma once
// Serves everything a player page may load, under a URL scheme of the
// program's own ("scrflash://player/..."), so a page never touches file://:
//   /index.html          the player page (RufflePageSource)
//   /host.js             the page's own script
//   /ruffle/<name>       a .js or .wasm file of the Ruffle folder, by plain name
//   /movie/<generation>  the bytes of a movie handed over with SetMovie
//   /files/<generation>/<path>
//                        a file of the folder a movie was handed over with,
//                        or of a folder below it (FolderConfinedFile.h): the
//                        files a movie loads beside itself
// Anything else fails as not found. Requests with a method other than GET
// are refused.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace scr {

class RuffleSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    static constexpr const char* kScheme = "scrflash";
    static constexpr const char* kHost = "player";

    // Registers the scheme with the web engine: once, before its first profile.
    static void RegisterScheme();
    // The player page.
    static QUrl PageUrl();
    // The URL a page loads the movie of `generation` from.
    static QUrl MovieUrl(int generation);
    // The URL the movie of `generation` reads its folder's files under (ends with '/').
    static QUrl FolderUrl(int generation);

    RuffleSchemeHandler(const QString& ruffleFolder, QObject* parent);

    // Movies are served from memory while their engine keeps them, and the
    // files of their folder (none when `folder` is empty) as long.
    void SetMovie(int generation, QByteArray bytes, const QString& folder = {});
    void DropMovie(int generation);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // What a request for `path` (the URL's path) gets: the content type, and
    // the bytes, or the file to read for a Ruffle file. Empty type: not found.
    struct Reply {
        QByteArray contentType;
        QByteArray bytes;
        QString file;
    };
    Reply Resolve(const QString& path) const;

private:
    struct Movie {
        QByteArray bytes;
        QString folder;
    };
    QString ruffleFolder_;
    QHash<int, Movie> movies_;
};

} // namespace scr
