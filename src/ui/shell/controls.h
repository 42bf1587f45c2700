// Small conventions every window follows when it builds its controls.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace ventora {

// The name of a member of a control array: array_name("Text6", 2) is "Text6(2)".
QString array_name(const char* name, int index);

// A text box is announced by the caption of the label beside it, and the label's access key
// moves to it.
void announce_by_label(QLabel* label, QWidget* box);

}  // namespace ventora
