// Case files in the program: Ctrl+S and Ctrl+O from the main window and the calculation windows,
// a saved route opened in a new program pressing through to the same messages, refused files
// that change nothing, the question before unsaved inputs are replaced, and the case named on
// the command line opening after the splash.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "case_actions.h"
#include "main_window.h"
#include "media/media_dialog.h"
#include "relief/relief_window.h"
#include "shell/settings.h"
#include "shell/workflow_state.h"
#include "splash.h"
#include "shell/status_bar.h"
#include "ui_support.h"
#include "valve/valve_window.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

const QString relief_prompt = QStringLiteral("当前计算出的安全泄放量(kg/h)： ");
const QString unsaved_question_start = QStringLiteral("当前计算的输入尚未保存。");

const QStringList valve_gas{"Option1(0)", "Option3(0)", "Text1(10)=50", "Text1(0)=356", "Text1(1)=1",
                            "Text1(2)=29", "Text1(5)=300", "Text1(4)=1", "Text1(3)=1.4", "Text3=0.1"};
const QStringList disc_gas{"Option4", "Option1", "Text5=1.4", "Text1=1", "Text6=0.1", "Text2=29",
                           "Text3=300", "Text4=1"};

void act(QMdiSubWindow* window, const QString& action) {
    const qsizetype at = action.indexOf('=');
    if (action.startsWith(QStringLiteral("tab="))) {
        find<QTabWidget>(window, "SSTab1")->setCurrentIndex(action.mid(at + 1).toInt());
    } else if (at > 0) {
        find<QLineEdit>(window, action.left(at))->setText(action.mid(at + 1));
    } else {
        click_option(find<QRadioButton>(window, action));
    }
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write_all(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class case_test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        user_settings().clear();
        workflow() = workflow_state{};
        start_program();
        recorder = new message_recorder;
        app::set_case_file_chooser([this](QWidget*, bool saving, const QString& start) {
            chooser_calls << QStringLiteral("%1 %2").arg(saving ? "save" : "open", start);
            return chosen_file;
        });
    }
    void cleanup() {
        app::set_case_file_chooser({});
        set_question_answerer({});
        delete recorder;
        delete main;
        chooser_calls.clear();
        chosen_file.clear();
    }

    void save_and_open_act_from_every_window_and_its_right_click_menu() {
        QAction* save = main->findChild<QAction*>("tool_case_save");
        QAction* open = main->findChild<QAction*>("tool_case_open");
        QVERIFY(save && open);
        QCOMPARE(save->text(), QStringLiteral("保存算例..."));
        QCOMPARE(open->text(), QStringLiteral("打开算例..."));
        QCOMPARE(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QVERIFY(main->tool_actions().contains(save) && main->tool_actions().contains(open));
        // Not on the menu bar: the main menu stays as it is.
        for (QAction* item : main->menuBar()->actions()) QVERIFY(item != save && item != open);

        main->findChild<QAction*>("menu_cal_fa")->trigger();
        main->show_valve_window();
        main->show_disc_window();
        for (QMdiSubWindow* w : {main->relief_window(), main->valve_window(), main->disc_window()}) {
            QVERIFY(w->widget()->actions().contains(save));
            QVERIFY(w->widget()->actions().contains(open));
            QCOMPARE(w->widget()->contextMenuPolicy(), Qt::ActionsContextMenu);
            // Resting the pointer on the welcome text names the shortcuts; its words stay. (The
            // bursting-disc window has no status bar.)
            const auto* bar = w->widget()->findChild<clock_status_bar*>();
            if (w == main->disc_window()) continue;
            QVERIFY(bar);
            const QString hint = bar->welcome_panel()->toolTip();
            QVERIFY2(hint.contains("Ctrl+S 保存算例") && hint.contains("Ctrl+O 打开算例") &&
                         hint.contains("Ctrl+P 计算书") && hint.contains("F4 介质物性"),
                     qPrintable(hint));
        }
        // The empty workspace has the same right-click menu.
        QWidget* workspace = main->mdi_area()->viewport();
        QCOMPARE(workspace->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(workspace->actions(), main->tool_actions());

        // Ctrl+O typed in a box of the relief-rate window asks for a file.
        auto* box = find<QLineEdit>(main->relief_window(), "Text1");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(chooser_calls.size(), 1);
        QVERIFY(chooser_calls[0].startsWith("open "));
        // Ctrl+S from the main window itself asks where to save.
        save->trigger();
        QTRY_COMPARE(chooser_calls.size(), 2);
        QVERIFY(chooser_calls[1].startsWith("save "));
        QVERIFY(recorder->texts().isEmpty());
    }

    void a_saved_route_opens_in_a_new_program_to_the_same_messages_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("relief");
        QTest::addColumn<QStringList>("device");
        QTest::addColumn<QString>("golden");  // the example kept for ventora-calc, or none
        QTest::newRow("safety valve, gas") << "menu_cal_fa" << QStringList{"tab=2", "Text1=10000"} << valve_gas
                                           << "valve_gas";
        QTest::newRow("bursting disc, gas") << "menu_cal_pian" << QStringList{"tab=2", "Text1=10000"} << disc_gas
                                            << "disc_gas";
        QTest::newRow("safety valve short of the rate, notes tab showing")
            << "menu_cal_fa" << QStringList{"tab=2", "Text1=20000"} << (QStringList(valve_gas) << "tab=0") << "";
        QTest::newRow("liquefied gas, then a disc with texts left spoilt")
            << "menu_cal_pian"
            << QStringList{"tab=1", "Option3(0)", "Option3(6)", "Option3(4)", "Option3(12)", "Text6(0)=2",
                           "Text6(3)=300"}
            << QStringList{"Option5", "Text1=1", "Text6=abc", "Text7="} << "";
        QTest::newRow("compressed gas, production capacity, full-width digits")
            << "menu_cal_fa" << QStringList{"tab=0", "Option1", "Text2=１２３"} << QStringList{"Option1(0)"} << "";
    }
    void a_saved_route_opens_in_a_new_program_to_the_same_messages() {
        QFETCH(QString, menu);
        QFETCH(QStringList, relief);
        QFETCH(QStringList, device);
        QFETCH(QString, golden);

        main->findChild<QAction*>(menu)->trigger();
        for (const QString& a : relief) act(main->relief_window(), a);
        if (golden == "valve_gas") {
            workflow().book.project.project = "示例工程";
            workflow().book.project.equipment = "压缩空气储罐";
            workflow().book.project.tag = "V-101";
            workflow().book.project.designer = "张工";
            workflow().book.project.design_date = "2026-12-07";
        }
        const QStringList shown = press_through(device);
        QVERIFY(!shown.isEmpty());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("route.ventora"));
        QVERIFY(app::keeper_of(*main)->save_file(path));
        QVERIFY(!app::keeper_of(*main)->has_unsaved_inputs());
        if (!golden.isEmpty()) {
            const QString kept = QStringLiteral(VENTORA_CASE_EXAMPLES "/") + golden;
            QCOMPARE(read_all(path), read_all(kept + ".ventora"));
            QCOMPARE(shown.join('\n') + '\n', QString::fromUtf8(read_all(kept + ".messages")));
        }

        // The program ends; a new one starts with the file.
        delete main;
        workflow() = workflow_state{};
        start_program();
        recorder->clear();
        QVERIFY(app::keeper_of(*main)->open_file(path));
        QVERIFY(recorder->texts().isEmpty());
        QCOMPARE(main->mdi_area()->activeSubWindow(), main->relief_window());
        QVERIFY(workflow().cal_route ==
                (menu == "menu_cal_fa" ? route::device::safety_valve : route::device::bursting_disc));
        QVERIFY(main->valve_window() || main->disc_window());
        QCOMPARE(press_through({}), shown);
    }

    // The book of a reopened case names the same sources as before it was saved: the medium
    // and the state each window was filled for travel with the case.
    void a_reopened_case_names_the_same_sources() {
        main->findChild<QAction*>("menu_cal_fa")->trigger();
        for (const QString a : {"tab=1", "Option3(0)", "Option3(6)", "Option3(4)", "Option3(12)", "Text6(0)=2"})
            act(main->relief_window(), a);
        fill_from_library(main->relief_window(), "propane", "1.6");
        recorder->clear();
        click_button(find<QPushButton>(main->relief_window(), "Command1"));
        for (const QString a : {"Option1(0)", "Option3(0)", "Text1(10)=50", "Text1(1)=1.5", "Text1(5)=0", "Text3=0.1"})
            act(main->valve_window(), a);
        fill_from_library(main->valve_window(), "nitrogen", {});  // T 0: the saturation state
        const QStringList before = press_through({});
        const QStringList sources = book_sources();
        // q from propane; T, M, Z, k from nitrogen's saturation state; C from that k.
        QCOMPARE(sources.filter("丙烷").size(), 1);
        QCOMPARE(sources.filter("氮气").size(), 4);
        QCOMPARE(sources.filter(QRegularExpression("^C: 由填入的 k = 1.4000")).size(), 1);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sources.ventora"));
        QVERIFY(app::keeper_of(*main)->save_file(path));
        QVERIFY(!app::keeper_of(*main)->has_unsaved_inputs());
        const QByteArray line = read_all(path);
        QVERIFY2(line.contains(R"("relief":"propane","device":"nitrogen","relief_P":1.6,"device_P":1.75})"), line);

        delete main;
        workflow() = workflow_state{};
        start_program();
        QVERIFY(app::keeper_of(*main)->open_file(path));
        QVERIFY(!app::keeper_of(*main)->has_unsaved_inputs());
        QCOMPARE(press_through({}), before);
        QCOMPARE(book_sources(), sources);
    }

    void the_title_block_comes_back_with_the_case() {
        main->findChild<QAction*>("menu_cal_pian")->trigger();
        workflow().book.project.tag = "V-７";
        workflow().book.project.approve_date = "2026-12-08";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.ventora"));
        QVERIFY(app::keeper_of(*main)->save_file(path));
        workflow().book.project = {};
        QSignalSpy announced(&workflow_events(), &workflow_notifier::book_changed);
        QVERIFY(app::keeper_of(*main)->open_file(path));
        QCOMPARE(workflow().book.project.tag, std::string("V-７"));
        QCOMPARE(workflow().book.project.approve_date, std::string("2026-12-08"));
        QCOMPARE(announced.size(), 1);
    }

    void a_relief_rate_alone_is_saved_without_a_device() {
        main->findChild<QAction*>("menu_cal_pian")->trigger();
        act(main->relief_window(), "Text1=abc");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("alone.ventora"));
        QVERIFY(app::keeper_of(*main)->save_file(path));
        QVERIFY(read_all(path).endsWith(",\"W_t\":\"abc\"},\"device\":null}\n"));
        // Opened in a new program, the route chosen last stays (none yet: the safety valve).
        delete main;
        workflow() = workflow_state{};
        start_program();
        QVERIFY(app::keeper_of(*main)->open_file(path));
        QVERIFY(workflow().cal_route == route::device::safety_valve);
        QVERIFY(!main->valve_window() && !main->disc_window());
        QCOMPARE(find<QLineEdit>(main->relief_window(), "Text1")->text(), QStringLiteral("abc"));
    }

    void a_refused_file_changes_nothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fault");
        QTest::newRow("not JSON") << QByteArray("W_t = 10000\n") << "内容不是一行JSON";
        QTest::newRow("a newer version")
            << QByteArray("{\"format\":\"ventora-case\",\"version\":3,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\"}}")
            << "较新版本的程序保存（格式版本3）";
        QTest::newRow("an unknown field")
            << QByteArray("{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\",\"Ws\":\"1\"}}")
            << "未知字段“relief.Ws”";
        QTest::newRow("a device choice that does not exist, after a good relief part")
            << QByteArray("{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\",\"W_t\":\"5\"},"
                          "\"device\":{\"calc\":\"valve\",\"medium\":\"water\"}}")
            << "“device.medium”的值“water”不存在";
        QTest::newRow("a text too long")
            << (QByteArray("{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\",\"W_t\":\"") +
                QByteArray(1001, '9') + "\"}}")
            << "“relief.W_t”的文字超过1000个字符";
    }
    void a_refused_file_changes_nothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fault);
        main->findChild<QAction*>("menu_cal_fa")->trigger();
        act(main->relief_window(), "Text1=12000");
        click_button(find<QPushButton>(main->relief_window(), "Command1"));
        QMdiSubWindow* valve = main->valve_window();
        QMdiSubWindow* relief = main->relief_window();
        QVERIFY(valve);
        act(valve, "Option1(1)");
        act(valve, "Text1(10)=１２３");
        workflow().book.project.tag = "V-1";
        const cases::case_data before = app::keeper_of(*main)->capture();
        const float rate = workflow().vessel_ws;

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("damaged.ventora"));
        write_all(path, bytes);
        recorder->clear();
        QVERIFY(!app::keeper_of(*main)->open_file(path));
        QCOMPARE(recorder->texts().size(), 1);
        // The file as Windows users write it there ("C:\\…"), as typed elsewhere.
        QVERIFY(recorder->texts()[0].startsWith(
            QStringLiteral("无法打开算例文件“%1”：").arg(QDir::toNativeSeparators(path))));
        QVERIFY(recorder->texts()[0].endsWith(QStringLiteral("。")));
        QVERIFY2(recorder->texts()[0].contains(fault), qPrintable(recorder->texts()[0]));
        QCOMPARE(main->relief_window(), relief);
        QCOMPARE(main->valve_window(), valve);
        QVERIFY(app::keeper_of(*main)->capture() == before);
        QCOMPARE(workflow().vessel_ws, rate);
        QCOMPARE(workflow().book.project.tag, std::string("V-1"));
    }

    void a_missing_file_is_named() {
        recorder->clear();
        QVERIFY(!app::keeper_of(*main)->open_file(QStringLiteral("/no/such/case.ventora")));
        QCOMPARE(recorder->texts().size(), 1);
        QVERIFY(recorder->texts()[0].startsWith(
            QStringLiteral("无法打开算例文件“%1”：无法读取")
                .arg(QDir::toNativeSeparators(QStringLiteral("/no/such/case.ventora")))));
    }

    void replacing_a_route_asks_only_for_unsaved_inputs_data() {
        QTest::addColumn<QString>("before");  // how the open route came to be
        QTest::addColumn<bool>("asks");
        QTest::newRow("no route open") << "nothing" << false;
        QTest::newRow("a route from the menu, nothing typed") << "menu" << false;
        QTest::newRow("a route from the menu, a rate typed") << "menu typed" << true;
        QTest::newRow("a route from the menu, a device window untouched") << "menu device" << false;
        QTest::newRow("a route from the menu, a device option chosen") << "menu device chosen" << true;
        QTest::newRow("an opened case, untouched") << "opened" << false;
        QTest::newRow("an opened case, a box changed") << "opened changed" << true;
        QTest::newRow("an opened case, the title block changed") << "opened title" << true;
        QTest::newRow("an opened case, changed, then saved") << "opened changed saved" << false;
        QTest::newRow("an opened case, changed, then its route ended") << "opened changed ended" << false;
    }
    void replacing_a_route_asks_only_for_unsaved_inputs() {
        QFETCH(QString, before);
        QFETCH(bool, asks);
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.ventora"));
        const QString second = dir.filePath(QStringLiteral("second.ventora"));
        write_all(first, read_all(QStringLiteral(VENTORA_CASE_EXAMPLES "/valve_gas.ventora")));
        write_all(second, read_all(QStringLiteral(VENTORA_CASE_EXAMPLES "/disc_gas.ventora")));

        const QStringList steps = before.split(' ');
        if (steps.contains("menu")) main->findChild<QAction*>("menu_cal_fa")->trigger();
        if (steps.contains("opened")) QVERIFY(app::keeper_of(*main)->open_file(first));
        if (steps.contains("typed")) act(main->relief_window(), "Text1=1");
        if (steps.contains("device")) main->show_valve_window();
        if (steps.contains("chosen")) act(main->valve_window(), "Option3(2)");
        if (steps.contains("changed")) act(main->valve_window(), "Text1(10)=51");
        if (steps.contains("title")) workflow().book.project.checker = "李工";
        if (steps.contains("saved")) QVERIFY(app::keeper_of(*main)->save_file(dir.filePath("saved.ventora")));
        if (steps.contains("ended")) {
            click_button(find<QPushButton>(main->valve_window(), "Command2"));
            QTRY_VERIFY(!main->relief_window() && !main->valve_window());
            main->findChild<QAction*>("menu_cal_fa")->trigger();
        }
        QCOMPARE(app::keeper_of(*main)->has_unsaved_inputs(), asks);

        // Answered 否: nothing changes.
        const QPointer<QMdiSubWindow> relief = main->relief_window();
        set_question_answerer([](const QString&) { return false; });
        recorder->clear();
        QCOMPARE(app::keeper_of(*main)->open_file(second), !asks);
        if (asks) {
            QCOMPARE(recorder->texts().size(), 1);
            QVERIFY(recorder->texts()[0].startsWith(unsaved_question_start));
            QVERIFY(recorder->texts()[0].contains(QStringLiteral("“second.ventora”")));
            QCOMPARE(main->relief_window(), relief.data());
            QVERIFY(!main->disc_window());
            // Answered 是: the second case replaces the route.
            set_question_answerer([](const QString&) { return true; });
            QVERIFY(app::keeper_of(*main)->open_file(second));
        } else {
            QVERIFY(recorder->texts().isEmpty());
        }
        QVERIFY(relief.isNull() || !relief);
        QVERIFY(main->disc_window());
        QVERIFY(!main->valve_window());
        QVERIFY(workflow().cal_route == route::device::bursting_disc);
        QVERIFY(!app::keeper_of(*main)->has_unsaved_inputs());
    }

    void saving_asks_where_adds_the_extension_and_remembers_the_folder() {
        QTemporaryDir dir;
        main->findChild<QAction*>("menu_cal_fa")->trigger();
        act(main->relief_window(), "Text1=8000");
        chosen_file = dir.filePath(QStringLiteral("V-101"));
        app::keeper_of(*main)->save();
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("V-101.ventora"))));
        QCOMPARE(chooser_calls, QStringList{"save " + QDir::homePath() + "/算例.ventora"});

        // A new program starts from the folder used last.
        delete main;
        start_program();
        chooser_calls.clear();
        chosen_file.clear();  // cancelled
        app::keeper_of(*main)->open();
        QCOMPARE(chooser_calls, QStringList{"open " + dir.path()});
        QVERIFY(!main->relief_window());
        QVERIFY(recorder->texts().isEmpty());
    }

    void saving_without_a_route_or_with_an_overlong_text_is_explained() {
        recorder->clear();
        app::keeper_of(*main)->save();
        QCOMPARE(recorder->texts(), QStringList{"没有可保存的计算：请先从“数据计算”菜单开始计算。"});
        QVERIFY(chooser_calls.isEmpty());

        QTemporaryDir dir;
        main->findChild<QAction*>("menu_cal_fa")->trigger();
        act(main->relief_window(), "Text2=" + QString(1001, '1'));
        recorder->clear();
        QVERIFY(!app::keeper_of(*main)->save_file(dir.filePath("long.ventora")));
        QCOMPARE(recorder->texts(), QStringList{"无法保存算例：字段“relief.G”的文字超过1000个字符。"});
        QVERIFY(!QFile::exists(dir.filePath("long.ventora")));

        act(main->relief_window(), "Text2=" + QString(1000, '1'));
        recorder->clear();
        QVERIFY(!app::keeper_of(*main)->save_file(dir.filePath("no/folder/x.ventora")));
        QCOMPARE(recorder->texts().size(), 1);
        QVERIFY(recorder->texts()[0].startsWith(
            QStringLiteral("无法保存算例文件“%1”：无法写入")
                .arg(QDir::toNativeSeparators(dir.filePath("no/folder/x.ventora")))));
        QVERIFY(app::keeper_of(*main)->save_file(dir.filePath("x.ventora")));
    }

    void a_case_named_at_start_opens_after_the_splash() {
        delete main;
        main = nullptr;
        workflow() = workflow_state{};
        const QString path = QStringLiteral(VENTORA_CASE_EXAMPLES "/valve_gas.ventora");
        std::unique_ptr<main_window> started;
        app::splash_screen* splash = app::start_with_splash(started);
        app::open_case_after_splash(splash, started, path);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QVERIFY(!started);
        QTest::keyClick(splash, Qt::Key_A);
        QTRY_VERIFY(started && started->relief_window());
        QVERIFY(started->valve_window());
        QCOMPARE(find<QLineEdit>(started->valve_window(), "Text1(0)")->text(), QStringLiteral("356"));
        QCOMPARE(workflow().book.project.tag, std::string("V-101"));
        QVERIFY(recorder->texts().isEmpty());
        main = started.release();
    }

private:
    void start_program() {
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
    }

    // "下一步" in the relief-rate window, the actions in the device window it opens, and its
    // "下一步": every message shown.
    QStringList press_through(const QStringList& device_actions) {
        recorder->clear();
        click_button(find<QPushButton>(main->relief_window(), "Command1"));
        QMdiSubWindow* device = workflow().cal_route == route::device::safety_valve ? main->valve_window()
                                                                                    : main->disc_window();
        if (!device) return recorder->texts();
        for (const QString& a : device_actions) act(device, a);
        const bool valve = device == main->valve_window();
        click_button(find<QPushButton>(device, valve ? "Command1" : "Command2"));
        return recorder->texts();
    }

    // 填入 from the medium library, with the dialog's pressure typed where one is given.
    void fill_from_library(QMdiSubWindow* window, const char* medium, const QString& P) {
        media_ui::media_dialog dialog(window);
        QVERIFY(dialog.select_medium(medium));
        if (!P.isEmpty()) find<QLineEdit>(&dialog, "media_P")->setText(P);
        click_button(find<QPushButton>(&dialog, "media_fill"));
    }
    // Every source line of the book's inputs, as "symbol: source".
    static QStringList book_sources() {
        QStringList out;
        const auto& book = workflow().book;
        for (const auto* acc : {&book.relief, book.device ? &*book.device : nullptr})
            if (acc)
                for (const auto& in : acc->inputs)
                    if (!in.source.empty()) out << QString::fromStdString(in.symbol + ": " + in.source);
        return out;
    }

    main_window* main = nullptr;
    message_recorder* recorder = nullptr;
    QStringList chooser_calls;
    QString chosen_file;
};

QTEST_MAIN(case_test)
#include "case_test.moc"
