#include "shell/frame.h"

#include <cmath>

#include <QPainter>

namespace ventora {

caption_frame::caption_frame(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {}

void caption_frame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetricsF metrics(font(), this);
    // The top line lies half an em down, whatever the face: where the window's children were
    // placed against it.
    const double em = font().pixelSize() > 0 ? font().pixelSize()
                                             : font().pointSizeF() * logicalDpiY() / 72.0;
    const int line = int(em / 2);
    const QRect box(0, line, width() - 2, height() - line - 2);

    // The caption interrupts the top line, one pixel clear of it on either side; the middle of
    // its ink lies on the line.
    QRectF caption;
    double baseline = 0;
    if (!title().isEmpty()) {
        const QRectF ink = metrics.tightBoundingRect(title());
        baseline = line - (ink.top() + ink.bottom()) / 2;
        caption = QRectF(std::floor(em * 2 / 3), 0, metrics.horizontalAdvance(title()), em);
    }

    auto etched = [&](const QRect& r, const QColor& colour) {
        painter.setPen(colour);
        if (caption.isNull()) {
            painter.drawLine(r.topLeft(), r.topRight());
        } else {
            painter.drawLine(r.topLeft(), QPoint(int(caption.left()) - 2, r.top()));
            painter.drawLine(QPoint(int(std::ceil(caption.right())) + 1, r.top()), r.topRight());
        }
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.drawLine(r.bottomRight(), r.bottomLeft());
        painter.drawLine(r.bottomLeft(), r.topLeft());
    };
    etched(box.translated(1, 1), palette().color(QPalette::Light));
    etched(box, palette().color(QPalette::Dark));

    if (!caption.isNull()) {
        const auto group = isEnabled() ? QPalette::Active : QPalette::Disabled;
        painter.setPen(palette().color(group, QPalette::WindowText));
        painter.drawText(QPointF(caption.left(), baseline), title());
    }
}

}  // namespace ventora
