#include "show/ruffle/RuffleRequestBlocker.h"

#include "show/ruffle/RuffleSchemeHandler.h"

#include <QUrl>

namespace scr {

bool RuffleRequestBlocker::IsAllowed(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String(RuffleSchemeHandler::kScheme) || scheme == QLatin1String("data") ||
           scheme == QLatin1String("blob");
}

void RuffleRequestBlocker::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!IsAllowed(info.requestUrl())) info.block(true);
}

} // namespace scr
