#include "shell/status_bar.h"

#include <QDateTime>
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
}  // namespace

clock_status_bar::clock_status_bar(const QString& welcome, double welcome_twips, double time_twips,
                                   double date_twips, QWidget* parent)
    : QStatusBar(parent) {
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
    refresh();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &clock_status_bar::refresh);
    timer->start(1000);
}

void clock_status_bar::refresh() {
    const QDateTime now = QDateTime::currentDateTime();
    // 24-hour time and an ISO-like date without leading zeros, as the panels were designed
    // ("21:28", "2004-7-12").
    time_->setText(now.toString(QStringLiteral("H:mm")));
    date_->setText(now.toString(QStringLiteral("yyyy-M-d")));
    time_->setAccessibleName(time_->text());
    date_->setAccessibleName(date_->text());
}

}  // namespace ventora
