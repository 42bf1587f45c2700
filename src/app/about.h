#pragma once

class QWidget;

namespace ventora::app {

// "(&A)关于...": shows frmAbout as a separate non-modal window, or brings the open one forward,
// and gives it the focus.
void show_about(QWidget* main_window);

}  // namespace ventora::app
