#pragma once

class QWidget;

namespace ventora::app {

// "(&T)文件打印": asks the word processor to open the calculation report, titled and visible.
void open_report(QWidget* parent);

}  // namespace ventora::app
