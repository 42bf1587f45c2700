#include "app/about.h"

namespace ventora::app {

void show_about(QWidget*) {}

}  // namespace ventora::app
