#pragma once
// The transition control as the show places it: TPic_Trans under its
// component name, with no fields or behaviour of its own.

#include "transitions/control/TPic_Trans.h"

namespace scr {

class XPicTrans : public TPic_Trans {
    Q_OBJECT

public:
    using TPic_Trans::TPic_Trans;
};

} // namespace scr
