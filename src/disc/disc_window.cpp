#include "disc/disc_window.h"

#include "app/shell/window_host.h"

namespace ventora::disc {

disc_window::disc_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("Form_pian"));
    setWindowTitle(QStringLiteral("爆破片计算"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace ventora::disc
