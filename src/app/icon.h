// The program's icon: a pressure vessel with its safety valve discharging. The same drawing is
// installed in the desktop's icon theme.
#pragma once

#include <QIcon>

namespace ventora::app {

// The icon at 16, 32, 48, 64, 128 and 256 pixels; each size is read when first drawn.
QIcon program_icon();

}  // namespace ventora::app
