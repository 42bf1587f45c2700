#pragma once

#include <QMdiSubWindow>

namespace ventora {
class window_host;
}

namespace ventora::valve {

// 安全阀计算 (`form_anquanfa`): a child window of the main window. Its constructor is the window's load.
class valve_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit valve_window(window_host& host, QWidget* parent = nullptr);

private:
    window_host& host_;
};

}  // namespace ventora::valve
