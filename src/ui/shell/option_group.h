// Choosing within a group of option buttons from code, as a fill from a saved form does.
#pragma once

#include <initializer_list>

class QRadioButton;

namespace ventora {

// Leaves `chosen` the only checked button of `group` (none when it is null). Checking emits
// toggled as a click does; unchecking is possible here although a person cannot do it.
void choose_option(std::initializer_list<QRadioButton*> group, QRadioButton* chosen);

}  // namespace ventora
