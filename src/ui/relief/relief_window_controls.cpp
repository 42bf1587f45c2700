#include "relief/relief_window_controls.h"

#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTextLayout>

#include "shell/fonts.h"

namespace ventora::relief {
namespace {

// The em of a font in pixels, which is also the line pitch of the GB2312 faces.
double em_pixels(const QFont& font, const QPaintDevice* device) {
    if (font.pixelSize() > 0) return font.pixelSize();
    return font.pointSizeF() * device->logicalDpiY() / 72.0;
}

QColor text_colour(const QWidget* widget) {
    const auto group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
    return widget->palette().color(group, QPalette::WindowText);
}

}  // namespace


QRect draw_wrapped_text(QPainter& painter, const QRect& rect, const QString& text,
                        Qt::Alignment vertical) {
    const QFont font = painter.font();
    const double em = em_pixels(font, painter.device());
    QTextLayout layout(text, font, painter.device());
    QTextOption option;
    // A box one line high shows its one line, however long, rather than a first line broken
    // off.
    const bool room_for_two_lines = rect.height() >= 2 * em - 1;
    option.setWrapMode(room_for_two_lines ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                          : QTextOption::NoWrap);
    layout.setTextOption(option);

    layout.beginLayout();
    double width_used = 0;
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        width_used = std::max(width_used, line.naturalTextWidth());
        ++lines;
    }
    layout.endLayout();

    const double block = lines * em;
    double top = rect.top();
    if (vertical & Qt::AlignVCenter) top += (rect.height() - block) / 2;
    // The ink of a Chinese glyph sits in the em above the baseline's share of the descent.
    const double ascent_share = 0.86;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        const double baseline = top + i * em + ascent_share * em;
        line.setPosition(QPointF(0, baseline - line.ascent()));
        line.draw(&painter, QPointF(rect.left(), 0));
    }
    return QRectF(rect.left(), top, width_used, block).toAlignedRect();
}

wrapped_label::wrapped_label(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void wrapped_label::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(text_colour(this));
    draw_wrapped_text(painter, contentsRect(), text(), Qt::AlignTop);
}

wrapped_option::wrapped_option(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

void wrapped_option::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    indicator.moveTop((height() - indicator.height()) / 2);
    QStyleOptionButton indicator_option = option;
    indicator_option.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator_option);

    const int gap = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
    const QRect caption(indicator.right() + 1 + gap, 0, width() - indicator.right() - 1 - gap,
                        height());
    painter.setFont(font());
    painter.setPen(text_colour(this));
    const QRect used = draw_wrapped_text(painter, caption, text(), Qt::AlignVCenter);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = used.adjusted(-1, 0, 1, 0).intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool wrapped_option::hitButton(const QPoint& pos) const { return rect().contains(pos); }

QSize equal_tab_bar::tabSizeHint(int index) const {
    QSize natural = QTabBar::tabSizeHint(index);
    const QWidget* control = parentWidget();
    if (control && count() > 0) natural.setWidth((control->width() - 4) / count());
    return natural;
}

tab_control::tab_control(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new equal_tab_bar(this));
}

void tab_control::anchor(QWidget* frame, QPoint top_left) {
    anchored_.push_back({frame, top_left});
    place_anchored();
}

void tab_control::place_anchored() {
    for (const anchored& a : anchored_) {
        const QWidget* page = a.frame->parentWidget();
        // The page's origin in the tab control: the page stack's place below the tab row.
        const QPoint origin = page->mapTo(this, QPoint(0, 0));
        a.frame->move(a.top_left - origin);
    }
}

void tab_control::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    place_anchored();
}

void tab_control::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    place_anchored();
}

void tab_control::changeEvent(QEvent* event) {
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        place_anchored();
}

client_area::client_area(std::function<void(QWidget*)> on_resize)
    : on_resize_(std::move(on_resize)) {}

void client_area::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (on_resize_) on_resize_(this);
}

}  // namespace ventora::relief
