#pragma once
// Where the configuration dialog's preview shows a picture: as the show
// window would place it on the design screen, scaled down to the preview
// panel.

#include "package/PackageRecords.h"

#include <QRect>
#include <QSize>

namespace scr {

// The item's Width x Height (the decoded picture's size when either is below
// 1), scaled by s = panel width / designWidth and truncated. A fixed item
// goes to (Left * s, Top * s); any other is centred in the panel (at 0 on an
// axis where it does not fit).
QRect PreviewPlacement(const ShowItem& item, QSize pictureSize, QSize panelSize, int designWidth);

} // namespace scr
