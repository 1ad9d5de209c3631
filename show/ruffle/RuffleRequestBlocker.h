#pragma once
// Keeps the Flash pages to themselves: every request that does not go to the
// program's own scheme or to in-page data is blocked (network, file://, any
// other scheme), whatever a movie asks for.

#include <QWebEngineUrlRequestInterceptor>

namespace scr {

class RuffleRequestBlocker : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    // True for the schemes a page may use: the program's own, data, blob.
    static bool IsAllowed(const QUrl& url);
};

} // namespace scr
