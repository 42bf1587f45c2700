// 保存算例 and 打开算例: a route's windows kept in a case file and brought back from one.
#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>

#include "cases/case_file.h"

class QMdiSubWindow;
class QWidget;

namespace ventora {
class main_window;
}

namespace ventora::app {

class splash_screen;

// Keeps what was last saved or opened, to know whether the open windows hold inputs not yet
// saved. One lives beside each main window, as its child.
class case_keeper : public QObject {
    Q_OBJECT
public:
    explicit case_keeper(main_window& main);

    // Ctrl+S: asks where, then saves the relief-rate window and the route's open device window.
    void save();
    // Ctrl+O: asks which file, then opens it.
    void open();
    // Opens a case: refuses a bad file with one message and changes nothing; otherwise asks before
    // replacing unsaved inputs, then opens the route's windows filled as the case holds them.
    // Returns whether the case was opened.
    bool open_file(const QString& path);
    // Saves to a named file, without asking where. Returns whether it was saved.
    bool save_file(const QString& path);

    // The route's windows as they stand, as a case.
    cases::case_data capture() const;
    // Whether the open windows hold inputs that neither the last save nor the last open has.
    bool has_unsaved_inputs() const;

private:
    void remember_folder(const QString& path) const;
    QString start_folder() const;

    main_window& main_;
    // The last case saved or opened, and the relief-rate window it belongs to: once that window
    // has closed, a new route starts from windows as they open.
    cases::case_data baseline_;
    QPointer<QMdiSubWindow> baseline_window_;
    QString current_path_;
};

// The keeper of a main window (created by the main window's tools).
case_keeper* keeper_of(main_window& main);

// Opens a case once the splash has closed and the main window shows, as if chosen with 打开算例.
void open_case_after_splash(splash_screen* splash, std::unique_ptr<main_window>& main,
                            const QString& path);

// How the file to save to or to open is chosen; tests replace the file dialog. `start` is the
// suggested file or folder. An empty answer is a cancel.
using case_file_chooser = std::function<QString(QWidget* parent, bool saving, const QString& start)>;
case_file_chooser set_case_file_chooser(case_file_chooser chooser);

}  // namespace ventora::app
