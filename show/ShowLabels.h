#pragma once
// The text labels of the current item on the show window: one label control
// per label, named "xlabel_<index in its group>", reused by name for the next
// item and removed when that item has fewer labels.

#include "package/LabelData.h"

#include <QPoint>

class QWidget;

namespace scr {

// Puts the group's labels on the window, scaled by `factor` (window height
// over screen height): font size, centre point and the measured text size.
// Each label is centred on its point, counted from `origin` on the window;
// '&' is shown as it is.
void ShowLabels(QWidget* window, const LabelGroup* group, double factor, QPoint origin = {});

// Destroys the window's label controls whose index is `keep` or more; all of
// them when keep is 0 or less.
void RemoveLabels(QWidget* window, int keep);

} // namespace scr
