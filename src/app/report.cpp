#include "app/report.h"

namespace ventora::app {

void open_report(QWidget*) {}

}  // namespace ventora::app
