// Both routes end to end, as an engineer takes them: the menu, the relief-rate window's typed rate,
// then the device window's verdict or area, and back to the main window.
#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "main_window.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

const QString relief_prompt = QStringLiteral("当前计算出的安全泄放量(kg/h)： ");
const QString valve_area = QStringLiteral("当前计算出的安全阀最小排气截面积(mm^2)： ");
const QString valve_capacity = QStringLiteral("当前计算出的安全阀排放能力(kg/h)： ");
const QString warning = QStringLiteral("警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！");
const QString passed = QStringLiteral("安全阀排放能力校验合格！");
const QString disc_area = QStringLiteral("当前计算出的爆破片所需的最小排放面积(mm^2)： ");

}  // namespace

class route_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        recorder = new message_recorder;
    }
    void cleanup() {
        delete recorder;
        delete main;
    }

    void safety_valve_route_data() {
        QTest::addColumn<QString>("rate");        // typed on the relief-rate window's tab 2
        QTest::addColumn<QStringList>("actions");  // in the safety-valve window
        QTest::addColumn<QStringList>("messages");  // of the valve window
        QTest::addColumn<double>("capacity");
        const QStringList gas{"Option1(0)",   "Option3(0)", "Text1(10)=50", "Text1(0)=356", "Text1(1)=1",
                              "Text1(2)=29",  "Text1(5)=300", "Text1(4)=1", "Text1(3)=1.4", "Text3=0.1"};
        QTest::newRow("gas passes")
            << "10000" << gas << QStringList{valve_area + "1962", valve_capacity + "12873", passed} << 12873.0;
        QTest::newRow("gas short of a larger rate")
            << "20000" << gas << QStringList{valve_area + "1962", valve_capacity + "12873", warning} << 12873.0;
        // The stored rate is the whole-number part: 12873.9 keeps 12873, which the capacity equals.
        QTest::newRow("gas equal to the whole part of the rate")
            << "12873.9" << gas << QStringList{valve_area + "1962", valve_capacity + "12873", passed} << 12873.0;
        QTest::newRow("gas one short")
            << "12874" << gas << QStringList{valve_area + "1962", valve_capacity + "12873", warning} << 12873.0;
        QTest::newRow("saturated steam")
            << "10000" << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=1"}
            << QStringList{valve_area + "1962", valve_capacity + "7565", warning} << 7565.0;
        QTest::newRow("liquid")
            << "10000"
            << QStringList{"Option1(0)", "Option3(2)", "Text1(10)=50", "Text2=1000", "Text1(1)=1", "Text3=0.1"}
            << QStringList{valve_area + "1962", valve_capacity + "225306", passed} << 225306.0;
    }
    void safety_valve_route() {
        QFETCH(QString, rate);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, messages);
        QFETCH(double, capacity);

        choose_route("menu_cal_fa");
        QVERIFY(workflow().cal_route == route::device::safety_valve);
        type_rate_and_go_on(rate);
        QCOMPARE(recorder->texts(), QStringList{relief_prompt + rate});
        QCOMPARE(workflow().vessel_ws, std::floor(rate.toFloat()));

        QMdiSubWindow* valve = main->valve_window();
        QVERIFY(valve);
        QVERIFY(!main->disc_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), valve);
        QVERIFY(main->relief_window());  // stays open behind it

        recorder->clear();
        for (const QString& action : actions) act(valve, action);
        click_button(find<QPushButton>(valve, "Command1"));
        QCOMPARE(recorder->texts(), messages);
        QVERIFY(workflow().valve_capacity.has_value());
        QCOMPARE(*workflow().valve_capacity, capacity);

        return_to_main(valve, "Command2");
    }

    void bursting_disc_route_data() {
        QTest::addColumn<QStringList>("actions");  // in the bursting-disc window
        QTest::addColumn<QString>("message");
        QTest::newRow("gas, straight pipe")
            << QStringList{"Option4", "Option1", "Text5=1.4", "Text1=1", "Text6=0.1", "Text2=29", "Text3=300",
                           "Text4=1"}
            << disc_area + "1748";
        QTest::newRow("liquid, no nozzle")
            << QStringList{"Option5", "Text1=1", "Text6=0.1", "Text7=1000"} << disc_area + "105";
        QTest::newRow("saturated steam, bell mouth")
            << QStringList{"Option6", "Option3", "Text1=1"} << disc_area + "2380";
        QTest::newRow("nothing chosen") << QStringList{} << QStringLiteral("没有选择计算类型!请重新选择!");
    }
    void bursting_disc_route() {
        QFETCH(QStringList, actions);
        QFETCH(QString, message);

        choose_route("menu_cal_pian");
        QVERIFY(workflow().cal_route == route::device::bursting_disc);
        type_rate_and_go_on("10000");
        QCOMPARE(workflow().vessel_ws, 10000.0F);

        QMdiSubWindow* disc = main->disc_window();
        QVERIFY(disc);
        QVERIFY(!main->valve_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), disc);

        recorder->clear();
        for (const QString& action : actions) act(disc, action);
        click_button(find<QPushButton>(disc, "Command2"));
        QCOMPARE(recorder->texts(), QStringList{message});

        return_to_main(disc, "Command1");
    }

    void changing_route_while_the_relief_window_is_open() {
        choose_route("menu_cal_fa");
        choose_route("menu_cal_pian");
        type_rate_and_go_on("10000");
        QVERIFY(main->disc_window());
        QVERIFY(!main->valve_window());
    }

    void second_press_brings_the_same_device_window_with_the_new_rate() {
        choose_route("menu_cal_fa");
        type_rate_and_go_on("20000");
        QMdiSubWindow* valve = main->valve_window();
        for (const QString& action : QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=1"})
            act(valve, action);
        // Back in the relief-rate window, a smaller rate: the open valve window checks against it.
        main->show_relief_window();
        type_rate_and_go_on("7565");
        QCOMPARE(main->valve_window(), valve);
        QCOMPARE(find<QLineEdit>(valve, "Text1(10)")->text(), QStringLiteral("50"));
        recorder->clear();
        click_button(find<QPushButton>(valve, "Command1"));
        QCOMPARE(recorder->texts(), (QStringList{valve_area + "1962", valve_capacity + "7565", passed}));
    }

    void device_window_closed_by_its_close_box_then_the_route_again() {
        choose_route("menu_cal_fa");
        type_rate_and_go_on("10000");
        QPointer<QMdiSubWindow> valve = main->valve_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        valve->close();
        QTRY_VERIFY(valve.isNull());
        QVERIFY(relief);
        // The relief-rate window is still there: a new press opens a fresh valve window.
        type_rate_and_go_on("10000");
        QVERIFY(main->valve_window());
        QVERIFY(!find<QRadioButton>(main->valve_window(), "Option1(0)")->isChecked());
        return_to_main(main->valve_window(), "Command2");
        QVERIFY(relief.isNull());
    }

private:
    void choose_route(const char* action) {
        QAction* item = main->findChild<QAction*>(action);
        QVERIFY(item);
        item->trigger();
        QVERIFY(main->relief_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), main->relief_window());
    }
    // On the relief-rate window's tab "输入安全泄放量": types the rate and presses "下一步".
    void type_rate_and_go_on(const QString& rate) {
        QMdiSubWindow* relief = main->relief_window();
        auto* tabs = find<QTabWidget>(relief, "SSTab1");
        QCOMPARE(tabs->tabText(2), QStringLiteral("输入安全泄放量"));
        tabs->setCurrentIndex(2);
        auto* box = find<QLineEdit>(relief, "Text1");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, rate);
        QCOMPARE(box->text(), rate);
        recorder->clear();
        click_button(find<QPushButton>(relief, "Command1"));
    }
    void act(QMdiSubWindow* window, const QString& action) {
        if (action.contains('=')) {
            const qsizetype at = action.indexOf('=');
            find<QLineEdit>(window, action.left(at))->setText(action.mid(at + 1));
            return;
        }
        auto* option = find<QRadioButton>(window, action);
        click_option(option);
        QVERIFY2(option->isChecked(), qPrintable(action));
    }
    // "返回主控窗" leaves the main window alone; the next route starts with fresh windows.
    void return_to_main(QMdiSubWindow* device, const char* button) {
        QPointer<QMdiSubWindow> closing = device;
        QPointer<QMdiSubWindow> relief = main->relief_window();
        const float rate = workflow().vessel_ws;
        click_button(find<QPushButton>(device, button));
        QTRY_VERIFY(closing.isNull());
        QTRY_VERIFY(relief.isNull());
        QVERIFY(main->mdi_area()->subWindowList().isEmpty());
        QCOMPARE(workflow().vessel_ws, rate);

        choose_route("menu_cal_pian");
        QCOMPARE(find<QTabWidget>(main->relief_window(), "SSTab1")->currentIndex(), 2);
        QCOMPARE(find<QLineEdit>(main->relief_window(), "Text1")->text(), QString());
    }

    main_window* main = nullptr;
    message_recorder* recorder = nullptr;
};

QTEST_MAIN(route_test)
#include "route_test.moc"
