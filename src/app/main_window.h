// MDIForm1: the program's main window, a multiple-document frame in which the calculation windows
// open, with the menu that starts the two routes.
#pragma once

#include <functional>

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

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
    QMdiSubWindow* relief_window() const { return relief_; }
    QMdiSubWindow* valve_window() const { return valve_; }
    QMdiSubWindow* disc_window() const { return disc_; }

    // "介质物性" (F4): opens the medium-property dialog for the active calculation window. Not in
    // the menu; a tool action that a calculation window's context menu can show too.
    QAction* media_action() const { return media_action_; }

    // How "(&X)退出系统" ends the program; tests replace it.
    static void set_exit_handler(std::function<void()> handler);

    // How many times a main window's load has run in this process.
    static int load_count();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void build_menu();
    void build_media_action();
    void open_media_dialog();
    void choose_route(std::int16_t route);
    // Adds a newly created child to the frame, or brings an open one forward.
    void present(QMdiSubWindow* window);

    QMdiArea* mdi_;
    QPointer<QMdiSubWindow> relief_;
    QPointer<QMdiSubWindow> valve_;
    QPointer<QMdiSubWindow> disc_;
    QList<QAction*> shortcut_actions_;
    QAction* media_action_ = nullptr;
};

}  // namespace ventora
