#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "main_window.h"
#include "shell/status_bar.h"
#include "shell/twips.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

// The controls whose Enabled state the option handlers set, in a fixed order.
const QStringList dimension_controls{"Frame4",    "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)",
                                     "Text1(8)",  "Label1(8)",  "Text1(11)",  "Label1(11)", "Text1(7)",
                                     "Label1(7)"};
const QStringList medium_controls{"Frame3",    "Text1(0)", "Label1(0)", "Text1(1)", "Label1(1)",
                                  "Text1(2)",  "Label1(2)", "Text1(5)", "Label1(3)", "Text1(4)",
                                  "Label1(4)", "Text1(3)",  "Label3",   "Text2",    "Label4",
                                  "Text3",     "Label1(5)"};

const QString prompt_area = QStringLiteral("当前计算出的安全阀最小排气截面积(mm^2)： ");
const QString prompt_capacity = QStringLiteral("当前计算出的安全阀排放能力(kg/h)： ");
const QString warning = QStringLiteral("警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！");
const QString passed = QStringLiteral("安全阀排放能力校验合格！");
const QString bad_area = QStringLiteral("参数输入不正确！请重新输入！");

// The gas data of the worked full-lift example.
const QStringList worked_gas{"Text1(10)=50", "Text1(0)=356", "Text1(1)=1",   "Text1(2)=29",
                             "Text1(5)=300", "Text1(4)=1",   "Text1(3)=1.4", "Text3=0.1"};

}  // namespace

class valve_window_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        main->show_valve_window();
        window = main->valve_window();
        QVERIFY(window);
        recorder = new message_recorder;
    }
    void cleanup() {
        delete recorder;
        delete main;
    }

    void window_loads_at_its_fixed_size_against_the_right_side() {
        QCOMPARE(window->objectName(), QStringLiteral("form_anquanfa"));
        QCOMPARE(window->windowTitle(), QStringLiteral("安全阀计算"));
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window->mdiArea(), main->mdi_area());
        // Client area 9432 × 6996 twips at 15 twips a pixel.
        QCOMPARE(window->widget()->size(), QSize(629, 466));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        // Left = main width − own width − 50 twips, top = 100 twips.
        const double left = main->frameGeometry().width() * 15.0 - window->width() * 15.0 - 50;
        QCOMPARE(window->x(), qRound(left / 15));
        QCOMPARE(window->y(), 7);
        QCOMPARE(window->widget()->palette().color(QPalette::Window), QColor(192, 192, 192));
    }

    void tabs_open_on_the_input_tab() {
        auto* tabs = find<QTabWidget>(window, "SSTab1");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("说明"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("输入数据"));
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(tabs->geometry(), twips_rect(0, 0, 9576, 6732));
        // The notes tab holds Frame5 and its labels, the input tab Frame1 with the four frames.
        QVERIFY(tabs->widget(0)->isAncestorOf(find<QGroupBox>(window, "Frame5")));
        QVERIFY(tabs->widget(1)->isAncestorOf(find<QGroupBox>(window, "Frame1")));
        for (const char* frame : {"Frame2", "Frame3", "Frame4", "Frame6"})
            QCOMPARE(find<QGroupBox>(window, frame)->parentWidget(), find<QGroupBox>(window, "Frame1"));
        QCOMPARE(find<QPushButton>(window, "Command2")->parentWidget(), find<QGroupBox>(window, "Frame1"));
        QVERIFY(!tabs->isAncestorOf(find<QPushButton>(window, "Command1")));
    }

    void captions_are_exact_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QList<std::pair<const char*, const char*>> rows{
            {"Frame1", ""},
            {"Frame2", " 安全阀类型 "},
            {"Frame4", " 安全阀参数输入 "},
            {"Frame6", "介质类型"},
            {"Frame3", " 介质参数输入 "},
            {"Frame5", ""},
            {"Option1(0)", "全启式安全阀"},
            {"Option1(1)", "带调节圈的微启式安全阀"},
            {"Option1(2)", "无调节圈的微启式安全阀"},
            {"Option2(0)", "平面型密封面"},
            {"Option2(1)", "锥形密封面"},
            {"Option3(0)", "气体"},
            {"Option3(1)", "饱和蒸气"},
            {"Option3(2)", "液体"},
            {"Command1", "下一步"},
            {"Command2", "返回主控窗"},
            {"Label6", "Corvalent"},
            {"Label5", "不提供计算书的保存、打印功能！"},
            {"Label2(0)", ""},
        };
        for (const auto& [name, caption] : rows) QTest::newRow(name) << name << QString::fromUtf8(caption);
    }
    void captions_are_exact() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget* control = find<QWidget>(window, name);
        if (auto* frame = qobject_cast<QGroupBox*>(control)) QCOMPARE(frame->title(), caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), caption);
        else if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
        else QFAIL("unexpected kind of control");
    }

    void web_address_labels_hold_placeholders() {
        for (const char* name : {"Label7", "Label8"}) {
            const QString text = find<QLabel>(window, name)->text();
            QVERIFY2(text.endsWith(QStringLiteral(".example")), qPrintable(text));
        }
    }

    void geometry_follows_the_layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");  // left, top, width, height in the container
        QTest::newRow("Command1") << "Command1" << QRect(6720, 6120, 1215, 495);
        QTest::newRow("Command2") << "Command2" << QRect(1080, 5760, 1215, 495);
        QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 6624, 9432, 372);
        QTest::newRow("Frame2") << "Frame2" << QRect(240, 240, 8415, 735);
        QTest::newRow("Frame4") << "Frame4" << QRect(240, 1080, 8415, 1515);
        QTest::newRow("Frame6") << "Frame6" << QRect(240, 2640, 8412, 612);
        QTest::newRow("Frame3") << "Frame3" << QRect(240, 3360, 8415, 2292);
        QTest::newRow("d1") << "Text1(10)" << QRect(2640, 360, 800, 270);
        QTest::newRow("D") << "Text1(8)" << QRect(7080, 360, 800, 270);
        QTest::newRow("h") << "Text1(11)" << QRect(2640, 720, 800, 270);
        QTest::newRow("phi") << "Text1(7)" << QRect(7080, 720, 800, 270);
        QTest::newRow("T") << "Text1(5)" << QRect(2640, 360, 800, 270);
        QTest::newRow("M") << "Text1(2)" << QRect(7080, 360, 800, 270);
        QTest::newRow("k") << "Text1(3)" << QRect(2640, 840, 800, 270);
        QTest::newRow("Ps") << "Text1(1)" << QRect(7080, 840, 800, 270);
        QTest::newRow("Z") << "Text1(4)" << QRect(2640, 1320, 800, 270);
        QTest::newRow("Po") << "Text3" << QRect(7080, 1320, 800, 270);
        QTest::newRow("C") << "Text1(0)" << QRect(2640, 1800, 800, 270);
        QTest::newRow("rho") << "Text2" << QRect(7080, 1800, 800, 270);
    }
    void geometry_follows_the_layout() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QCOMPARE(find<QWidget>(window, name)->geometry(),
                 twips_rect(twips.x(), twips.y(), twips.width(), twips.height()));
    }

    void seal_face_options_sit_in_their_row() {
        QCOMPARE(find<QRadioButton>(window, "Option2(0)")->pos(), twips_rect(2280, 1110, 0, 0).topLeft());
        QCOMPARE(find<QRadioButton>(window, "Option2(1)")->pos(), twips_rect(4560, 1110, 0, 0).topLeft());
    }

    void status_bar_has_its_three_panels() {
        auto* bar = find<clock_status_bar>(window, "StatusBar1");
        QCOMPARE(bar->welcome_panel()->text(),
                 QStringLiteral("            ----欢迎使用2000年版Ventora软件！"));
        // As designed, except that the date panel is wide enough for the longest date and the
        // text panel gives up what the bar then lacks.
        QVERIFY(bar->welcome_panel()->width() <= twips_to_px(7400));
        QCOMPARE(bar->time_panel()->width(), twips_to_px(1000));
        QVERIFY(bar->date_panel()->width() >= twips_to_px(1000));
        QApplication::processEvents();
        QVERIFY(bar->welcome_panel()->geometry().right() < bar->time_panel()->x());
        QVERIFY(bar->date_panel()->geometry().right() < bar->width());
        QVERIFY(!bar->time_panel()->text().isEmpty());
        QVERIFY(!bar->date_panel()->text().isEmpty());
    }

    void boxes_start_at_zero_beside_their_labels_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("d1") << "Text1(10)" << "Label1(10)" << "安全阀阀座喉径d1(mm)";
        QTest::newRow("h") << "Text1(11)" << "Label1(11)" << "安全阀开启高度h(mm)";
        QTest::newRow("D") << "Text1(8)" << "Label1(8)" << "安全阀阀座口径D(mm)";
        QTest::newRow("phi") << "Text1(7)" << "Label1(7)" << "锥形密封面半锥角φ";
        QTest::newRow("T, crossed") << "Text1(5)" << "Label1(3)" << "气体的温度T(K)";
        QTest::newRow("k, crossed") << "Text1(3)" << "Label3" << "气体绝热系数k（Cp/Cv)";
        QTest::newRow("Z") << "Text1(4)" << "Label1(4)" << "气体压缩系数Z";
        QTest::newRow("C") << "Text1(0)" << "Label1(0)" << "气体特性系数C";
        QTest::newRow("M") << "Text1(2)" << "Label1(2)" << "气体的摩尔质量M(kg/kmol)";
        QTest::newRow("Ps") << "Text1(1)" << "Label1(1)" << "安全阀的整定压力Ps(Mpa)";
        QTest::newRow("Po") << "Text3" << "Label1(5)" << "安全阀的出口侧压力Po(绝压Mpa)";
        QTest::newRow("rho") << "Text2" << "Label4" << "阀门入口侧温度下液体密度（kg/m3)";
    }
    void boxes_start_at_zero_beside_their_labels() {
        QFETCH(QString, box);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        auto* edit = find<QLineEdit>(window, box);
        auto* text = find<QLabel>(window, label);
        QCOMPARE(edit->text(), QStringLiteral("0"));
        QCOMPARE(text->text(), caption);
        QCOMPARE(text->buddy(), edit);
        QCOMPARE(edit->accessibleName(), caption);
        QCOMPARE(text->parentWidget(), edit->parentWidget());
        QVERIFY(text->geometry().right() < edit->geometry().left());
        QCOMPARE(text->y(), edit->y());
    }

    void load_sets_the_initial_enabled_state_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("itself");  // its own Enabled property
        QTest::addColumn<bool>("usable");  // enabled together with every container
        for (const char* name : {"Frame2", "Frame6", "Option1(0)", "Option1(1)", "Option1(2)", "Option3(0)",
                                 "Option3(1)", "Option3(2)", "Command1", "Command2"})
            QTest::newRow(name) << name << true << true;
        for (const char* name : {"Frame4", "Frame3", "Option2(0)", "Option2(1)", "Label1(0)", "Label1(1)",
                                 "Label1(2)", "Label1(3)", "Label1(4)", "Label1(5)", "Label1(7)", "Label1(8)",
                                 "Label1(10)", "Label1(11)", "Label3", "Label4", "Text1(0)", "Text1(1)",
                                 "Text1(2)", "Text1(3)", "Text1(4)", "Text1(5)", "Text2", "Text3"})
            QTest::newRow(name) << name << false << false;
        for (const char* name : {"Text1(7)", "Text1(8)", "Text1(10)", "Text1(11)"})
            QTest::newRow(name) << name << true << false;
    }
    void load_sets_the_initial_enabled_state() {
        QFETCH(QString, name);
        QFETCH(bool, itself);
        QFETCH(bool, usable);
        QWidget* control = find<QWidget>(window, name);
        QCOMPARE(!control->testAttribute(Qt::WA_ForceDisabled), itself);
        QCOMPARE(control->isEnabled(), usable);
        if (auto* option = qobject_cast<QRadioButton*>(control)) QVERIFY(!option->isChecked());
    }

    void valve_type_and_seal_face_set_the_dimensions_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("enabled");  // of dimension_controls; the rest disabled
        QTest::newRow("full lift: d1 only")
            << QStringList{"Option1(0)"} << QStringList{"Frame4", "Text1(10)", "Label1(10)"};
        QTest::newRow("micro-lift, no seal face: boxes keep their load state")
            << QStringList{"Option1(1)"}
            << QStringList{"Frame4", "Option2(0)", "Option2(1)", "Text1(8)", "Text1(11)", "Text1(7)"};
        QTest::newRow("micro-lift flat: D and d1")
            << QStringList{"Option1(2)", "Option2(0)"}
            << QStringList{"Frame4", "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)", "Text1(8)", "Label1(8)"};
        QTest::newRow("micro-lift conical: d1, h and phi")
            << QStringList{"Option1(1)", "Option2(1)"}
            << QStringList{"Frame4",     "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)",
                           "Text1(11)",  "Label1(11)", "Text1(7)",   "Label1(7)"};
        QTest::newRow("conical then flat")
            << QStringList{"Option1(1)", "Option2(1)", "Option2(0)"}
            << QStringList{"Frame4", "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)", "Text1(8)", "Label1(8)"};
        QTest::newRow("micro-lift conical then full lift")
            << QStringList{"Option1(1)", "Option2(1)", "Option1(0)"}
            << QStringList{"Frame4", "Text1(10)", "Label1(10)"};
        QTest::newRow("full lift then back to micro-lift re-applies conical")
            << QStringList{"Option1(1)", "Option2(1)", "Option1(0)", "Option1(2)"}
            << QStringList{"Frame4",     "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)",
                           "Text1(11)",  "Label1(11)", "Text1(7)",   "Label1(7)"};
        QTest::newRow("full lift then back to micro-lift re-applies flat")
            << QStringList{"Option1(2)", "Option2(0)", "Option1(0)", "Option1(1)"}
            << QStringList{"Frame4", "Option2(0)", "Option2(1)", "Text1(10)", "Label1(10)", "Text1(8)", "Label1(8)"};
        QTest::newRow("full lift then micro-lift, no seal face: d1 greyed, the rest unchanged")
            << QStringList{"Option1(0)", "Option1(1)"} << QStringList{"Frame4", "Option2(0)", "Option2(1)"};
    }
    void valve_type_and_seal_face_set_the_dimensions() {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, enabled);
        for (const QString& name : clicks) click(name);
        QCOMPARE(enabled_of(dimension_controls), enabled);
    }

    void full_lift_keeps_the_seal_face_selection() {
        click("Option1(1)");
        click("Option2(1)");
        click("Option1(0)");
        auto* conical = find<QRadioButton>(window, "Option2(1)");
        QVERIFY(!conical->isEnabled());
        QVERIFY(conical->isChecked());
    }

    void medium_sets_its_inputs_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("enabled");  // of medium_controls; the rest disabled
        const QStringList gas{"Frame3",    "Text1(0)", "Label1(0)", "Text1(1)", "Label1(1)", "Text1(2)",
                              "Label1(2)", "Text1(5)", "Label1(3)", "Text1(4)", "Label1(4)", "Text1(3)",
                              "Label3",    "Text3",    "Label1(5)"};
        const QStringList steam{"Frame3", "Text1(1)", "Label1(1)"};
        const QStringList liquid{"Frame3", "Text1(1)", "Label1(1)", "Text2", "Label4", "Text3", "Label1(5)"};
        QTest::newRow("gas") << QStringList{"Option3(0)"} << gas;
        QTest::newRow("saturated steam") << QStringList{"Option3(1)"} << steam;
        QTest::newRow("liquid") << QStringList{"Option3(2)"} << liquid;
        QTest::newRow("liquid then gas") << QStringList{"Option3(2)", "Option3(0)"} << gas;
        QTest::newRow("gas then steam") << QStringList{"Option3(0)", "Option3(1)"} << steam;
        QTest::newRow("steam then liquid") << QStringList{"Option3(1)", "Option3(2)"} << liquid;
    }
    void medium_sets_its_inputs() {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, enabled);
        for (const QString& name : clicks) click(name);
        QCOMPARE(enabled_of(medium_controls), enabled);
    }

    void medium_and_valve_tables_control_disjoint_boxes() {
        click("Option1(1)");
        click("Option2(1)");
        const QStringList dimensions = enabled_of(dimension_controls);
        const QStringList medium_before = enabled_of(medium_controls);
        click("Option3(2)");
        QCOMPARE(enabled_of(dimension_controls), dimensions);
        click("Option3(0)");
        QCOMPARE(enabled_of(dimension_controls), dimensions);
        QVERIFY(enabled_of(medium_controls) != medium_before);

        const QStringList medium = enabled_of(medium_controls);
        click("Option1(0)");
        QCOMPARE(enabled_of(medium_controls), medium);
        click("Option1(2)");
        click("Option2(0)");
        QCOMPARE(enabled_of(medium_controls), medium);
    }

    void options_are_exclusive_in_their_frame() {
        click("Option1(0)");
        click("Option1(2)");
        QVERIFY(!find<QRadioButton>(window, "Option1(0)")->isChecked());
        click("Option3(1)");
        // A choice in another frame leaves this one alone.
        QVERIFY(find<QRadioButton>(window, "Option1(2)")->isChecked());
        click("Option2(0)");
        click("Option2(1)");
        QVERIFY(!find<QRadioButton>(window, "Option2(0)")->isChecked());
        QVERIFY(find<QRadioButton>(window, "Option3(1)")->isChecked());
    }

    void arrow_key_choice_runs_the_handler() {
        auto* full = find<QRadioButton>(window, "Option1(0)");
        click("Option1(0)");
        full->setFocus();
        QTest::keyClick(full, Qt::Key_Right);
        QVERIFY(find<QRadioButton>(window, "Option1(1)")->isChecked());
        // The micro-lift handler ran: the seal faces are usable and d1 is greyed.
        QVERIFY(find<QRadioButton>(window, "Option2(0)")->isEnabled());
        QVERIFY(!find<QLineEdit>(window, "Text1(10)")->isEnabled());
    }

    void next_step_shows_the_messages_in_order_data() {
        QTest::addColumn<QStringList>("actions");  // clicks, "box=text", "tab:n"
        QTest::addColumn<float>("vessel_ws");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("capacity");  // "kept", "unset" or the stored value

        QTest::newRow("nothing chosen: only the valve-type message")
            << QStringList{} << 10000.0F << QStringList{"没有选择安全阀的形式!请重新选择!"} << "kept";
        QTest::newRow("medium without a valve type")
            << QStringList{"Option3(0)"} << 10000.0F << QStringList{"没有选择安全阀的形式!请重新选择!"} << "kept";
        QTest::newRow("valve type without a medium")
            << QStringList{"Option1(0)"} << 10000.0F << QStringList{"没有选择介质类型!请重新选择!"} << "kept";
        QTest::newRow("micro-lift without a seal face, before any area")
            << (QStringList{"Option1(1)", "Option3(0)"} + worked_gas) << 10000.0F
            << QStringList{"没有选择安全阀密封面的形式!请进行选择!"} << "kept";
        QTest::newRow("defaults, full lift, gas: area 0 refused")
            << QStringList{"Option1(0)", "Option3(0)"} << 10000.0F << QStringList{prompt_area + "0", bad_area}
            << "kept";
        QTest::newRow("d1 not a number counts as 0")
            << QStringList{"Option1(0)", "Option3(2)", "Text1(10)=abc"} << 10000.0F
            << QStringList{prompt_area + "0", bad_area} << "kept";
        QTest::newRow("d1 empty counts as 0")
            << QStringList{"Option1(0)", "Option3(2)", "Text1(10)="} << 10000.0F
            << QStringList{prompt_area + "0", bad_area} << "kept";
        QTest::newRow("negative area rounds down and is refused")
            << QStringList{"Option1(1)", "Option2(0)", "Option3(0)", "Text1(8)=-1", "Text1(10)=0.001"} << 10000.0F
            << QStringList{prompt_area + "-1", bad_area} << "kept";
        QTest::newRow("full lift gas, critical: passes 10000")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas) << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "12873", passed} << "12873";
        QTest::newRow("full lift gas, critical: short of 20000")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas) << 20000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "12873", warning} << "12873";
        QTest::newRow("capacity equal to the relief rate passes")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas) << 12873.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "12873", passed} << "12873";
        QTest::newRow("one above the capacity fails")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas) << 12874.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "12873", warning} << "12873";
        QTest::newRow("full lift gas, subcritical")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas + QStringList{"Text3=0.8"}) << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "10533.2059624493", passed} << "10533.2059624493";
        QTest::newRow("full lift saturated steam")
            << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=1"} << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "7565", warning} << "7565";
        QTest::newRow("full lift saturated steam, high pressure")
            << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=12"} << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "84563.3769465515", passed} << "84563.3769465515";
        // Pd = 1.03·Ps + 0.1: exactly 22.064 (water's critical pressure) is sized; the next double
        // above and 30 MPa are refused after the area, with no capacity kept and no verdict.
        QTest::newRow("steam at water's critical pressure is sized")
            << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=21.324271844660192"} << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "175967.007480122", passed} << "175967.007480122";
        QTest::newRow("steam just above water's critical pressure is refused")
            << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=21.324271844660196"} << 10000.0F
            << QStringList{prompt_area + "1962", bad_area} << "kept";
        QTest::newRow("steam at 30 MPa is refused")
            << QStringList{"Option1(0)", "Option3(1)", "Text1(10)=50", "Text1(1)=29"} << 10000.0F
            << QStringList{prompt_area + "1962", bad_area} << "kept";
        QTest::newRow("full lift liquid")
            << QStringList{"Option1(0)", "Option3(2)", "Text1(10)=50", "Text2=1000", "Text1(1)=1", "Text3=0.1"}
            << 10000.0F << QStringList{prompt_area + "1962", prompt_capacity + "225306", passed} << "225306";
        QTest::newRow("liquid with Po beyond the discharge pressure: no capacity")
            << QStringList{"Option1(0)", "Option3(2)", "Text1(10)=50", "Text2=1000", "Text1(1)=1", "Text3=2"}
            << 10000.0F << QStringList{prompt_area + "1962", prompt_capacity, warning} << "unset";
        QTest::newRow("ring micro-lift, flat face, gas")
            << (QStringList{"Option1(1)", "Option2(0)", "Option3(0)", "Text1(8)=60"} + worked_gas) << 1000.0F
            << QStringList{prompt_area + "376", prompt_capacity + "1707", passed} << "1707";
        QTest::newRow("plain micro-lift, conical face, liquid")
            << QStringList{"Option1(2)", "Option2(1)", "Option3(2)", "Text1(10)=50", "Text1(11)=2.5",
                           "Text1(7)=45",  "Text2=1000", "Text1(1)=1", "Text3=0.1"}
            << 10000.0F << QStringList{prompt_area + "277", prompt_capacity + "14681", passed} << "14681";
        QTest::newRow("full lift ignores a chosen seal face")
            << (QStringList{"Option1(1)", "Option2(1)", "Option1(0)", "Option3(0)"} + worked_gas) << 10000.0F
            << QStringList{prompt_area + "1962", prompt_capacity + "12873", passed} << "12873";
        QTest::newRow("notes tab: empty capacity, then the warning")
            << QStringList{"tab:0"} << 10000.0F << QStringList{prompt_capacity, warning} << "unset";
        QTest::newRow("notes tab with no relief rate: still the warning")
            << QStringList{"tab:0"} << 0.0F << QStringList{prompt_capacity, warning} << "unset";
        QTest::newRow("notes tab ignores the worked inputs")
            << (QStringList{"Option1(0)", "Option3(0)"} + worked_gas + QStringList{"tab:0"}) << 10000.0F
            << QStringList{prompt_capacity, warning} << "unset";
    }
    void next_step_shows_the_messages_in_order() {
        QFETCH(QStringList, actions);
        QFETCH(float, vessel_ws);
        QFETCH(QStringList, messages);
        QFETCH(QString, capacity);
        for (const QString& action : actions) act(action);
        workflow().vessel_ws = vessel_ws;
        workflow().valve_capacity = 777.0;
        recorder->clear();
        click_button(find<QPushButton>(window, "Command1"));
        QCOMPARE(recorder->texts(), messages);
        if (capacity == "kept") {
            QVERIFY(workflow().valve_capacity == std::optional<double>(777.0));
        } else if (capacity == "unset") {
            QVERIFY(!workflow().valve_capacity.has_value());
        } else {
            QVERIFY(workflow().valve_capacity.has_value());
            QCOMPARE(*workflow().valve_capacity, capacity.toDouble());
        }
        // The press changes nothing in the window.
        QVERIFY(main->valve_window());
        QCOMPARE(workflow().vessel_ws, vessel_ws);
    }

    void typed_full_width_digits_count() {
        click("Option1(0)");
        click("Option3(1)");
        auto* d1 = find<QLineEdit>(window, "Text1(10)");
        d1->setFocus();
        d1->selectAll();
        // What a Chinese input method hands over when it commits full-width digits.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("５０"));
        QApplication::sendEvent(d1, &commit);
        QCOMPARE(d1->text(), QStringLiteral("５０"));
        auto* ps = find<QLineEdit>(window, "Text1(1)");
        ps->selectAll();
        QTest::keyClicks(ps, QStringLiteral("1"));
        click_button(find<QPushButton>(window, "Command1"));
        QCOMPARE(recorder->texts(), (QStringList{prompt_area + "1962", prompt_capacity + "7565", passed}));
    }

    void a_new_relief_rate_applies_to_the_next_press() {
        for (const QString& action : QStringList{"Option1(0)", "Option3(0)"} + worked_gas) act(action);
        workflow().vessel_ws = 10000.0F;
        click_button(find<QPushButton>(window, "Command1"));
        workflow().vessel_ws = 13000.0F;
        click_button(find<QPushButton>(window, "Command1"));
        QCOMPARE(recorder->texts().size(), 6);
        QCOMPARE(recorder->texts()[2], passed);
        QCOMPARE(recorder->texts()[5], warning);
    }

    void return_closes_this_window_and_the_relief_window() {
        main->show_relief_window();
        main->show_valve_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        QPointer<QMdiSubWindow> valve = main->valve_window();
        workflow().vessel_ws = 4321.0F;
        click_button(find<QPushButton>(valve, "Command2"));
        QTRY_VERIFY(valve.isNull());
        QTRY_VERIFY(relief.isNull());
        QVERIFY(!main->valve_window());
        QVERIFY(!main->relief_window());
        QVERIFY(main->isVisible());
        QVERIFY(main->mdi_area()->subWindowList().isEmpty());
        QCOMPARE(workflow().vessel_ws, 4321.0F);
        QVERIFY(recorder->texts().isEmpty());
    }

    void close_box_closes_this_window_alone_then_return_still_works() {
        main->show_relief_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        QPointer<QMdiSubWindow> valve = main->valve_window();
        valve->close();
        QTRY_VERIFY(valve.isNull());
        QVERIFY(!main->valve_window());
        QVERIFY(relief);

        main->show_valve_window();
        QPointer<QMdiSubWindow> again = main->valve_window();
        QVERIFY(again);
        click_button(find<QPushButton>(again, "Command2"));
        QTRY_VERIFY(again.isNull());
        QTRY_VERIFY(relief.isNull());
    }

    void return_after_the_relief_window_has_gone() {
        main->show_relief_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        relief->close();
        QTRY_VERIFY(relief.isNull());
        QPointer<QMdiSubWindow> valve = main->valve_window();
        click_button(find<QPushButton>(valve, "Command2"));
        QTRY_VERIFY(valve.isNull());
        QVERIFY(!main->valve_window());
        QVERIFY(main->isVisible());
    }

    void reopened_window_starts_afresh() {
        act("Option1(1)");
        act("Option2(1)");
        act("Option3(2)");
        act("Text1(10)=50");
        act("tab:0");
        QPointer<QMdiSubWindow> first = main->valve_window();
        click_button(find<QPushButton>(first, "Command1"));
        first->close();
        QTRY_VERIFY(first.isNull());
        const std::optional<double> capacity = workflow().valve_capacity;

        main->show_valve_window();
        window = main->valve_window();
        QVERIFY(window);
        QCOMPARE(find<QTabWidget>(window, "SSTab1")->currentIndex(), 1);
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) QVERIFY(!option->isChecked());
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!find<QGroupBox>(window, "Frame4")->isEnabled());
        QVERIFY(!find<QGroupBox>(window, "Frame3")->isEnabled());
        // The last capacity outlives the window.
        QVERIFY(workflow().valve_capacity == capacity);
    }

    void showing_an_open_window_keeps_its_contents() {
        act("Option1(0)");
        act("Text1(10)=50");
        QMdiSubWindow* before = main->valve_window();
        main->show_valve_window();
        QCOMPARE(main->valve_window(), before);
        QCOMPARE(find<QLineEdit>(before, "Text1(10)")->text(), QStringLiteral("50"));
        QVERIFY(find<QRadioButton>(before, "Option1(0)")->isChecked());
    }

    void every_input_is_reachable_by_tab() {
        QStringList reached;
        QWidget* start = find<QTabWidget>(window, "SSTab1")->tabBar();
        start->setFocus();
        QWidget* current = start;
        for (int i = 0; i < 60; ++i) {
            current = current->nextInFocusChain();
            if (current == start) break;
            if (window->isAncestorOf(current) && (current->focusPolicy() & Qt::TabFocus))
                reached << current->objectName();
        }
        for (const char* name : {"Option1(0)", "Option1(1)", "Option1(2)", "Text1(10)", "Text1(8)", "Text1(11)",
                                 "Text1(7)", "Option2(0)", "Option2(1)", "Option3(0)", "Option3(1)", "Option3(2)",
                                 "Text1(5)", "Text1(2)", "Text1(3)", "Text1(1)", "Text1(4)", "Text3", "Text1(0)",
                                 "Text2", "Command2", "Command1"})
            QVERIFY2(reached.contains(QString::fromLatin1(name)), name);
        // Row by row: d1 before D before h before φ, the medium data after the medium.
        QVERIFY(reached.indexOf("Text1(10)") < reached.indexOf("Text1(8)"));
        QVERIFY(reached.indexOf("Text1(8)") < reached.indexOf("Text1(11)"));
        QVERIFY(reached.indexOf("Option3(2)") < reached.indexOf("Text1(5)"));
        QVERIFY(reached.indexOf("Command2") < reached.indexOf("Command1"));
    }

private:
    void click(const QString& name) {
        auto* option = find<QRadioButton>(window, name);
        QVERIFY2(option->isEnabled(), qPrintable(name + " is greyed"));
        click_option(option);
        QVERIFY2(option->isChecked(), qPrintable(name + " did not take the click"));
    }
    // "Option…" clicks an option, "tab:n" shows a tab, "Box=text" puts a text in a box.
    void act(const QString& action) {
        if (action.startsWith("tab:")) {
            find<QTabWidget>(window, "SSTab1")->setCurrentIndex(action.mid(4).toInt());
        } else if (action.contains('=')) {
            const qsizetype at = action.indexOf('=');
            find<QLineEdit>(window, action.left(at))->setText(action.mid(at + 1));
        } else {
            click(action);
        }
    }
    QStringList enabled_of(const QStringList& names) const {
        QStringList on;
        for (const QString& name : names) {
            // The control's own Enabled property, whatever its frame's.
            if (!find<QWidget>(window, name)->testAttribute(Qt::WA_ForceDisabled)) on << name;
        }
        return on;
    }

    main_window* main = nullptr;
    QMdiSubWindow* window = nullptr;
    message_recorder* recorder = nullptr;
};

QTEST_MAIN(valve_window_test)
#include "valve_window_test.moc"
