#include "shell/option_group.h"

#include <QRadioButton>

namespace ventora {

void choose_option(std::initializer_list<QRadioButton*> group, QRadioButton* chosen) {
    for (QRadioButton* option : group) {
        if (option == chosen || !option->isChecked()) continue;
        // An exclusive button refuses to be unchecked directly.
        const bool exclusive = option->autoExclusive();
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(exclusive);
    }
    if (chosen) chosen->setChecked(true);
}

}  // namespace ventora
