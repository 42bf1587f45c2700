#include "shell/controls.h"

#include <QLabel>
#include <QLineEdit>

namespace ventora {

QString array_name(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void announce_by_label(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    box->setAccessibleName(label->text());
}

number read_box(const QLineEdit* box) { return parse_number(box->text().toStdString()); }

void attach_texts(account::account& acc,
                  std::initializer_list<std::pair<std::string_view, const QLineEdit*>> boxes) {
    for (account::input& input : acc.inputs) {
        for (const auto& [symbol, box] : boxes) {
            if (input.symbol == symbol) input.text = box->text().toStdString();
        }
    }
}

}  // namespace ventora
