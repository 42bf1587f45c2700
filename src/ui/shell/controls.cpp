#include "shell/controls.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace ventora {

QString array_name(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void announce_by_label(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    box->setAccessibleName(label->text());
    fit_label_and_box(label, box);
}

void fit_label_and_box(QLabel* label, QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        const int frame = line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, line);
        const int needed = line->fontMetrics().height() + 2 * frame;
        if (line->height() < needed) {
            QRect geometry = line->geometry();
            geometry.adjust(0, -(needed - geometry.height()) / 2, 0, 0);
            geometry.setHeight(needed);
            line->setGeometry(geometry);
        }
    }

    // Only a one-line caption on the box's left, in the same container. A label that wraps puts
    // its lines an em apart: below two ems high it shows one line.
    const QRect box_at = box->geometry();
    const QRect label_at = label->geometry();
    const bool beside = label_at.top() <= box_at.bottom() && box_at.top() <= label_at.bottom();
    const bool one_line =
        !label->wordWrap() || label_at.height() < 2 * QFontInfo(label->font()).pixelSize() - 1;
    if (!one_line || label->parentWidget() != box->parentWidget() || !beside ||
        label_at.left() >= box_at.left())
        return;
    const QString text = label->text();
    const QRect contents = label->contentsRect();
    const int room = std::min(contents.width(), box_at.left() - label_gap_px - label_at.left() -
                                                    contents.left());
    const int needed = label->fontMetrics().horizontalAdvance(text);
    if (needed <= room || text.isEmpty()) return;
    // In tenths of a pixel, enough to bring the caption within its room.
    const double tighter = std::ceil(10.0 * (needed - room) / double(text.size())) / 10.0;
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, -std::min(1.0, tighter));
    label->setFont(font);
}

}  // namespace ventora
