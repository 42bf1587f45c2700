// MDIForm1: the program's main window, a multiple-document frame in which the calculation windows
// open, with the menu that starts the two routes.
#pragma once

#include <functional>

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include "route/route.h"
#include "shell/window_host.h"

class QAction;
class QMdiArea;
class QMenu;

namespace ventora {

class main_window : public QMainWindow, public window_host {
    Q_OBJECT
public:
    explicit main_window(QWidget* parent = nullptr);
    ~main_window() override;

    // window_host
    double width_twips() const override;
    double height_twips() const override;
    void show_relief_window() override;
    void show_valve_window() override;
    void show_disc_window() override;
    void close_relief_window() override;

    QMdiArea* mdi_area() const { return mdi_; }
    // The program's tools beyond the menu (the calculation book, case files, the medium library):
    // each acts by its shortcut anywhere in this window and sits in the right-click menu of every
    // calculation window. The menu bar does not show them.
    const QList<QAction*>& tool_actions() const { return tool_actions_; }
    // The tools' shortcuts in a line, as the workspace and the status bars' tooltips name them.
    QString shortcut_hint() const;
    // "介质物性" (F4): the medium-property dialog for the active calculation window.
    QAction* media_action() const { return media_action_; }
    QMdiSubWindow* relief_window() const { return relief_; }
    QMdiSubWindow* valve_window() const { return valve_; }
    QMdiSubWindow* disc_window() const { return disc_; }
    QMdiSubWindow* book_window() const { return book_; }
    QMdiSubWindow* system_window() const { return system_; }

    // The calculation book (Ctrl+P): created when not open, brought forward when open.
    void show_book_window();
    // 泄放系统校核 (F5): the relief-system checks of the route's valve, as the book.
    void show_system_window();

signals:
    // "(&X)退出系统": the program ends at once, with no confirmation and no window's close
    // processing. The program's start-up connects it to the event loop's exit.
    void exit_requested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void build_menu();
    void build_tools();
    QAction* add_tool(const char* name, const QString& caption, const QKeySequence& keys,
                      std::function<void()> run);
    void choose_route(route::device device);
    void open_media_dialog();
    // Adds a newly created child to the frame, or brings an open one forward.
    void present(QMdiSubWindow* window);

    QMdiArea* mdi_;
    QPointer<QMdiSubWindow> relief_;
    QPointer<QMdiSubWindow> valve_;
    QPointer<QMdiSubWindow> disc_;
    QPointer<QMdiSubWindow> book_;
    QPointer<QMdiSubWindow> system_;
    QList<QAction*> shortcut_actions_;
    QList<QAction*> tool_actions_;
    QAction* media_action_ = nullptr;
};

}  // namespace ventora
