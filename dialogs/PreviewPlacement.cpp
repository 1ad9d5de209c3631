#include "dialogs/PreviewPlacement.h"

namespace scr {

QRect PreviewPlacement(const ShowItem& item, QSize pictureSize, QSize panelSize, int designWidth) {
    int width = item.width;
    int height = item.height;
    if (width < 1 || height < 1) {
        width = pictureSize.width();
        height = pictureSize.height();
    }
    // A design width of 0 cannot happen for a loaded package (it answers the
    // screen width then); guard the division all the same.
    const double s = designWidth > 0 ? static_cast<double>(panelSize.width()) / designWidth : 1.0;
    const int targetWidth = static_cast<int>(width * s);
    const int targetHeight = static_cast<int>(height * s);
    int left = 0;
    int top = 0;
    if (item.fixedPosition != 0) {
        left = static_cast<int>(item.left * s);
        top = static_cast<int>(item.top * s);
    } else {
        const int dx = panelSize.width() - targetWidth;
        const int dy = panelSize.height() - targetHeight;
        left = dx < 1 ? 0 : dx / 2;
        top = dy < 1 ? 0 : dy / 2;
    }
    return QRect(left, top, targetWidth, targetHeight);
}

} // namespace scr
