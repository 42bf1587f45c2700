// The program's icon: a pressure vessel with its safety valve discharging. The same drawing is
// installed in the desktop's icon theme, at 16, 32, 48, 64, 128 and 256 pixels.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ventora::app {

// The window icon: 16, 32 and 48 pixels, the sizes title bars and task lists draw; larger views
// take the installed theme icon through the desktop entry. Every window hands all of its sizes to
// the window system, so only these are read.
QIcon program_icon();

// The icon drawn `size` pixels large, as an icon holding all six drawings would draw it: the
// smallest drawing at least that large (else the largest), scaled down smoothly to fit. Only
// that one drawing is read.
QPixmap program_pixmap(QSize size);

}  // namespace ventora::app
