#include "relief/relief_window.h"

#include "app/shell/window_host.h"

namespace ventora::relief {

relief_window::relief_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("form_fa"));
    setWindowTitle(QStringLiteral("压力容器安全泄放量计算"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace ventora::relief
