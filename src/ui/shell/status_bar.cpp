#include "shell/status_bar.h"

#include <algorithm>

#include <QDateTime>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "shell/twips.h"

namespace ventora {
namespace {
QLabel* make_panel(const QString& text, double width_twips, const QString& name, QWidget* parent) {
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFixedWidth(twips_to_px(width_twips));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAccessibleName(text);
    return panel;
}

// The width a panel needs to show text_px of text whole, with a character's width to spare so
// that the text never meets the sunken border.
int panel_px(const QLabel* panel, int text_px) {
    const QMargins m = panel->contentsMargins();
    return text_px + m.left() + m.right() + 2 * panel->margin() +
           panel->fontMetrics().averageCharWidth();
}
}  // namespace

int widest_text_px(const QString& format, const QFontMetrics& metrics) {
    QChar widest = QLatin1Char('0');
    for (char digit = '0'; digit <= '9'; ++digit)
        if (metrics.horizontalAdvance(QLatin1Char(digit)) > metrics.horizontalAdvance(widest))
            widest = QLatin1Char(digit);
    QString text;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (!c.isLetter()) {
            text += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c) ++run;
        // A one-letter field drops its leading zero, so it still runs to two digits.
        text += QString(std::max<qsizetype>(run, 2), widest);
        i += run;
    }
    return metrics.horizontalAdvance(text);
}

clock_status_bar::clock_status_bar(const QString& welcome, double welcome_twips, double time_twips,
                                   double date_twips, QWidget* parent)
    : QStatusBar(parent),
      welcome_px_(twips_to_px(welcome_twips)),
      time_px_(twips_to_px(time_twips)),
      date_px_(twips_to_px(date_twips)) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    welcome_ = make_panel(welcome, welcome_twips, QStringLiteral("Panel1"), this);
    time_ = make_panel(QString(), time_twips, QStringLiteral("Panel2"), this);
    date_ = make_panel(QString(), date_twips, QStringLiteral("Panel3"), this);
    time_->setAlignment(Qt::AlignCenter);
    date_->setAlignment(Qt::AlignCenter);
    addWidget(welcome_);
    addWidget(time_);
    addWidget(date_);
    layout_px_ = minimumSizeHint().width() - welcome_px_ - time_px_ - date_px_;
    fit_panels();
    refresh();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &clock_status_bar::refresh);
    timer->start(1000);
}

void clock_status_bar::fit_panels() {
    if (!date_) return;
    time_->setFixedWidth(
        std::max(time_px_, panel_px(time_, widest_text_px(time_format(), time_->fontMetrics()))));
    date_->setFixedWidth(
        std::max(date_px_, panel_px(date_, widest_text_px(date_format(), date_->fontMetrics()))));
    // The text panel gives up what the bar lacks: the time and the date stay whole.
    const int needed = welcome_px_ + time_->width() + date_->width() + layout_px_;
    const int overflow = width() > 0 ? needed - width() : 0;
    welcome_->setFixedWidth(std::max(0, welcome_px_ - std::max(0, overflow)));
}

void clock_status_bar::resizeEvent(QResizeEvent* event) {
    fit_panels();
    QStatusBar::resizeEvent(event);
}

void clock_status_bar::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) fit_panels();
}

void clock_status_bar::refresh() {
    const QDateTime now = QDateTime::currentDateTime();
    // As the panels were designed: "21:28", "2004-7-12".
    time_->setText(now.toString(time_format()));
    date_->setText(now.toString(date_format()));
    time_->setAccessibleName(time_->text());
    date_->setAccessibleName(date_->text());
}

}  // namespace ventora
