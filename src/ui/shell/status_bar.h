// The status bar of the calculation windows: a welcome text panel, then the time and the date,
// kept current by a one-second timer.
#pragma once

#include <QStatusBar>

class QLabel;

namespace ventora {

class clock_status_bar : public QStatusBar {
    Q_OBJECT
public:
    // Panel widths in twips.
    clock_status_bar(const QString& welcome, double welcome_twips, double time_twips,
                     double date_twips, QWidget* parent = nullptr);

    QLabel* welcome_panel() const { return welcome_; }
    QLabel* time_panel() const { return time_; }
    QLabel* date_panel() const { return date_; }

private:
    void refresh();
    QLabel* welcome_;
    QLabel* time_;
    QLabel* date_;
};

}  // namespace ventora
