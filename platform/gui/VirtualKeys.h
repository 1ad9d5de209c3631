#pragma once
// Virtual-key codes for Qt's key numbers.

namespace scr {

// The virtual-key code of a Qt::Key value. Letters and digits map to their
// upper-case character codes, function and navigation keys to their VK_
// codes; a key without a counterpart gives 0xFF, which no handler names, so
// it still counts as "some other key".
int VirtualKeyFromQtKey(int qtKey);

} // namespace scr
