#pragma once

#include <QMdiSubWindow>

namespace ventora {
class window_host;
}

namespace ventora::disc {

// 爆破片计算 (`Form_pian`): a child window of the main window. Its constructor is the window's load.
class disc_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit disc_window(window_host& host, QWidget* parent = nullptr);

private:
    window_host& host_;
};

}  // namespace ventora::disc
