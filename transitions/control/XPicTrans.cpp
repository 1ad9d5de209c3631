// The control classes are declared in headers only; this unit gives the
// folder's library its object file and the classes their meta-object code.
#include "transitions/control/XPicTrans.h"
