#pragma once

#include <QMdiSubWindow>

namespace ventora {
class window_host;
}

namespace ventora::relief {

// 压力容器安全泄放量计算 (`form_fa`): a child window of the main window. Its constructor is the window's load.
class relief_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit relief_window(window_host& host, QWidget* parent = nullptr);

private:
    window_host& host_;
};

}  // namespace ventora::relief
