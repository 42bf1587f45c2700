#include "shell/controls.h"

#include <QLabel>

namespace ventora {

QString array_name(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void announce_by_label(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    box->setAccessibleName(label->text());
}

}  // namespace ventora
