#include "shell/controls.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>

namespace ventora {
namespace {

void fit_box(QLineEdit* box) {
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    const int needed = box->fontMetrics().height() + 2 * frame;
    if (box->height() >= needed) return;
    QRect geometry = box->geometry();
    geometry.adjust(0, -(needed - geometry.height()) / 2, 0, 0);
    geometry.setHeight(needed);
    box->setGeometry(geometry);
}

void fit_caption(QLabel* label, const QWidget* box) {
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
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    const QRect contents = label->contentsRect();
    const int room = std::min(contents.width(), box_at.left() - label_gap_px - label_at.left() -
                                                    contents.left());
    const int needed = QFontMetrics(font, label).horizontalAdvance(text);
    if (needed > room && !text.isEmpty()) {
        // In tenths of a pixel, enough to bring the caption within its room.
        const double tighter = std::ceil(10.0 * (needed - room) / double(text.size())) / 10.0;
        font.setLetterSpacing(QFont::AbsoluteSpacing, -std::min(1.0, tighter));
    }
    if (font.letterSpacing() != label->font().letterSpacing()) label->setFont(font);
}

// Fits a label and its box each time the label is shown: only then are both in their window,
// with the fonts they inherit from it.
class label_box_fitter : public QObject {
public:
    label_box_fitter(QLabel* label, QWidget* box) : QObject(label), label_(label), box_(box) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Show && box_) {
            if (auto* line = qobject_cast<QLineEdit*>(box_.data())) fit_box(line);
            fit_caption(label_, box_);
        }
        return false;
    }

private:
    QLabel* label_;
    QPointer<QWidget> box_;
};

}  // namespace

QString array_name(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void announce_by_label(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    box->setAccessibleName(label->text());
    fit_label_and_box(label, box);
}

void fit_label_and_box(QLabel* label, QWidget* box) {
    new label_box_fitter(label, box);
    if (label->isVisible()) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) fit_box(line);
        fit_caption(label, box);
    }
}

number read_box(const QLineEdit* box) { return parse_number(box->text().toStdString()); }

void attach_texts(account::account& acc,
                  std::initializer_list<std::pair<std::string_view, const QLineEdit*>> boxes) {
    for (account::input& input : acc.inputs) {
        for (const auto& [symbol, box] : boxes) {
            if (input.symbol != symbol) continue;
            input.text = box->text().toStdString();
            const QVariant source = box->property(source_property);
            if (source.isValid() && box->property(source_text_property).toString() == box->text())
                input.source = source.toString().toStdString();
        }
    }
}

}  // namespace ventora
