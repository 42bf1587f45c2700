// frmSplash: the first window the program shows. It gives way to the main window on the fourth
// tick of its one-second timer, on a key that yields a character, or on a click on most of its
// surface, whichever comes first.
#pragma once

#include <memory>

#include <QSet>
#include <QWidget>

class QLabel;
class QTimer;

namespace ventora {

class main_window;

namespace app {

class splash_screen : public QWidget {
    Q_OBJECT
public:
    explicit splash_screen(QWidget* parent = nullptr);

    // Timer1's ticks so far.
    int ticks() const { return counter_; }

signals:
    // The splash has unloaded itself (emitted once): time to show the main window.
    void closed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QLabel* add_label(const char* name, const QString& text, QRect design, bool auto_size,
                      Qt::Alignment alignment, bool closes);
    void on_tick();
    // Unloads the splash, stopping Timer1, then announces closed(). Runs at most once.
    void close_splash();
    // A key that yields a character closes the splash.
    bool key_closes(const QEvent* event);

    QWidget* frame_ = nullptr;
    QTimer* timer_ = nullptr;
    int counter_ = 0;
    bool closing_ = false;
    QSet<const QObject*> sensitive_;
    const QObject* pressed_ = nullptr;
};

// Program start: shows frmSplash. When it closes, `main` receives a new main window, MDIForm1
// (built and reset then), and shows it.
splash_screen* start_with_splash(std::unique_ptr<main_window>& main);

}  // namespace app
}  // namespace ventora
