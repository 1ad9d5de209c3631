#pragma once
// Keeps the Flash pages off the network: every request that does not read a
// local file or in-page data is blocked, whatever a movie asks for.

#include <QWebEngineUrlRequestInterceptor>

namespace scr {

class RuffleRequestBlocker : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    // True for the schemes a page may use: file, data, blob.
    static bool IsAllowed(const QUrl& url);
};

} // namespace scr
