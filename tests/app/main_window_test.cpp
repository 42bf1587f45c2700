#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "main_window.h"
#include "shell/message.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;

class main_window_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        window = new main_window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    void load_resets_the_results_and_opens_maximized() {
        workflow().vessel_ws = 123;
        workflow().valve_capacity = 5.0;
        workflow().cal_route = route::device::bursting_disc;
        main_window second;
        QCOMPARE(workflow().vessel_ws, 0.0F);
        QVERIFY(workflow().valve_capacity.has_value());
        QCOMPARE(*workflow().valve_capacity, 0.0);
        QVERIFY(workflow().cal_route == route::device::bursting_disc);  // the load never touches the route
        QVERIFY(second.windowState() & Qt::WindowMaximized);
    }

    void main_window_has_its_caption_and_grey_client_area() {
        QCOMPARE(window->objectName(), QStringLiteral("MDIForm1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Ventora"));
        QCOMPARE(window->mdi_area()->background().color(), QColor(224, 224, 224));
    }

    void menu_has_exactly_two_entries_and_four_items() {
        const QList<QAction*> top = window->menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QStringLiteral("(&F)数据计算"));
        QVERIFY(top[0]->menu());
        QCOMPARE(top[1]->text(), QStringLiteral("(&A)关于..."));
        QCOMPARE(top[1]->objectName(), QStringLiteral("menu_about"));
        QVERIFY(!top[1]->menu());

        const QList<QAction*> items = top[0]->menu()->actions();
        QCOMPARE(items.size(), 4);
        const QStringList names{"menu_cal_fa", "menu_cal_pian", "menu_cal_dayin", "menu_cal_exit"};
        const QStringList captions{"(&D)安全阀计算", "(&P)爆破片计算", "(&T)文件打印", "(&X)退出系统"};
        const QStringList keys{"Ctrl+A", "Ctrl+B", "Ctrl+T", "Ctrl+X"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(items[i]->objectName(), names[i]);
            QCOMPARE(items[i]->text(), captions[i]);
            QCOMPARE(items[i]->shortcut().toString(QKeySequence::PortableText), keys[i]);
        }
    }

    void route_items_set_the_route_and_reuse_the_open_relief_window() {
        QAction* fa = window->findChild<QAction*>("menu_cal_fa");
        QAction* pian = window->findChild<QAction*>("menu_cal_pian");
        fa->trigger();
        QVERIFY(workflow().cal_route == route::device::safety_valve);
        QMdiSubWindow* first = window->relief_window();
        QVERIFY(first);
        QCOMPARE(first->objectName(), QStringLiteral("form_fa"));
        QCOMPARE(first->windowTitle(), QStringLiteral("压力容器安全泄放量计算"));
        QVERIFY(first->isVisible());

        pian->trigger();
        QVERIFY(workflow().cal_route == route::device::bursting_disc);
        QCOMPARE(window->relief_window(), first);
        QCOMPARE(window->mdi_area()->subWindowList().size(), 1);
        QCOMPARE(window->mdi_area()->activeSubWindow(), first);
    }

    void closed_relief_window_is_created_afresh() {
        window->findChild<QAction*>("menu_cal_fa")->trigger();
        QPointer<QMdiSubWindow> first = window->relief_window();
        window->close_relief_window();
        QTRY_VERIFY(first.isNull());
        window->close_relief_window();  // nothing open: nothing happens
        window->findChild<QAction*>("menu_cal_pian")->trigger();
        QVERIFY(window->relief_window());
        QCOMPARE(window->mdi_area()->subWindowList().size(), 1);
    }

    void shortcuts_choose_routes_even_from_a_text_box() {
        window->findChild<QAction*>("menu_cal_fa")->trigger();
        auto* box = new QLineEdit(window->relief_window());
        box->show();
        box->setFocus();
        QApplication::setActiveWindow(window);
        QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(workflow().cal_route == route::device::bursting_disc);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(workflow().cal_route == route::device::safety_valve);
        QCOMPARE(box->selectedText(), QString());
    }

    void exit_item_ends_at_once() {
        QSignalSpy exits(window, &main_window::exit_requested);
        window->findChild<QAction*>("menu_cal_pian")->trigger();
        QTest::keyClick(window, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(exits.count(), 1);
    }

    void message_box_is_plain_titled_and_speaks_chinese() {
        QVERIFY(install_qt_translations());
        QString title, text, ok_text;
        int buttons = 0;
        bool icon = true;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            buttons = box->buttons().size();
            ok_text = box->button(QMessageBox::Ok)->text();
            icon = !box->button(QMessageBox::Ok)->icon().isNull() || box->icon() != QMessageBox::NoIcon;
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        show_message(window, QStringLiteral("未正确输入数据"));
        QCOMPARE(title, QStringLiteral("Ventora程序"));
        QCOMPARE(text, QStringLiteral("未正确输入数据"));
        QCOMPARE(buttons, 1);
        QCOMPARE(ok_text, QStringLiteral("确定"));
        QVERIFY(!icon);
        QVERIFY(modal);
    }

private:
    main_window* window = nullptr;
};

QTEST_MAIN(main_window_test)
#include "main_window_test.moc"
