// frmAbout: the About dialog. A separate, non-modal window with the title, the version, a short
// description, "确定" and "系统信息(&S)...", which starts the system-information tool.
#pragma once

#include <memory>

#include <QDialog>

#include "sysinfo.h"

class QPushButton;

namespace ventora::app {

class about_dialog : public QDialog {
    Q_OBJECT
public:
    explicit about_dialog(QWidget* parent = nullptr);
    ~about_dialog() override;

    // Where "系统信息(&S)..." looks for the tool; the platform's locations unless replaced.
    void set_sysinfo_host(std::unique_ptr<sysinfo_host> host);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void load();
    // StartSysInfo: starts the tool, or says that system information is unavailable.
    void start_sys_info();

    QPushButton* ok_ = nullptr;
    QPushButton* sys_info_ = nullptr;
    std::unique_ptr<sysinfo_host> host_;
};

// "(&A)关于...": shows frmAbout as a separate non-modal window, or brings the open one forward,
// and gives it the focus.
void show_about(QWidget* main_window);

}  // namespace ventora::app
