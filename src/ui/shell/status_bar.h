// The status bar of the calculation windows: a welcome text panel, then the time and the date,
// kept current by a one-second timer.
#pragma once

#include <QStatusBar>

class QLabel;

namespace ventora {

class clock_status_bar : public QStatusBar {
    Q_OBJECT
public:
    // Panel widths in twips, as designed. The time and date panels are never narrower than the
    // longest time and date their formats can show, in the bar's font; when the bar is too
    // narrow for all three, the welcome panel gives up the difference.
    clock_status_bar(const QString& welcome, double welcome_twips, double time_twips,
                     double date_twips, QWidget* parent = nullptr);

    // Sizes the panels for the bar's font and width. Runs on every resize; a window that places
    // things against the panels calls it after setting the bar's geometry.
    void fit_panels();

    QLabel* welcome_panel() const { return welcome_; }
    QLabel* time_panel() const { return time_; }
    QLabel* date_panel() const { return date_; }

    // The formats the panels show: 24-hour time and an ISO-like date without leading zeros.
    static QString time_format() { return QStringLiteral("H:mm"); }
    static QString date_format() { return QStringLiteral("yyyy-M-d"); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    QLabel* welcome_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* date_ = nullptr;
    int welcome_px_;
    int time_px_;
    int date_px_;
    // What the bar's layout adds around the panels, in pixels.
    int layout_px_ = 0;
};

// The widest text a date or time format can produce in metrics: every field at its most digits
// ("H" up to 2, "yyyy" 4), each digit the face's widest.
int widest_text_px(const QString& format, const QFontMetrics& metrics);

}  // namespace ventora
