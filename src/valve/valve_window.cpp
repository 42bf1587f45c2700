#include "valve/valve_window.h"

#include "app/shell/window_host.h"

namespace ventora::valve {

valve_window::valve_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("form_anquanfa"));
    setWindowTitle(QStringLiteral("安全阀计算"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace ventora::valve
