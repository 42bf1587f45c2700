// The 介质物性 dialog: opened with F4 for the active calculation window, prefilled from that
// window's boxes, and "填入" writing exactly the boxes that take the values, nothing else.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "main_window.h"
#include "media/media_dialog.h"
#include "shell/controls.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using namespace ventora::testing;
using ventora::media_ui::media_dialog;
using ventora::media_ui::media_fill;

namespace {

// Every text box of a window with its text.
QMap<QString, QString> box_texts(QWidget* window) {
    QMap<QString, QString> texts;
    for (const QLineEdit* box : window->findChildren<QLineEdit*>()) texts[box->objectName()] = box->text();
    return texts;
}

// The boxes whose text differs, with their new text.
QMap<QString, QString> changed(const QMap<QString, QString>& before, const QMap<QString, QString>& after) {
    QMap<QString, QString> out;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (before.value(it.key()) != it.value()) out[it.key()] = it.value();
    return out;
}

double number_in(const QMap<QString, QString>& texts, const QString& box) {
    bool ok = false;
    const double v = texts.value(box).toDouble(&ok);
    return ok ? v : -1.0;
}

}  // namespace

class media_dialog_test : public QObject {
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

    void f4_opens_the_dialog_for_the_active_window_and_leaves_the_menu() {
        const int menu_actions = main->menuBar()->actions().size();
        main->show_valve_window();
        QTest::keyClick(find<QLineEdit>(main->valve_window(), "Text1(5)"), Qt::Key_F4);
        auto* dialog = main->findChild<media_dialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("介质物性"));
        QCOMPARE(main->menuBar()->actions().size(), menu_actions);
        QCOMPARE(main->media_action()->shortcut(), QKeySequence(Qt::Key_F4));
        // A second F4 replaces the dialog instead of opening another.
        main->media_action()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(main->findChildren<media_dialog*>().size(), 1);
    }

    void search_narrows_the_list_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("formula") << "C3H8" << QStringList{"propane"};
        QTest::newRow("chinese") << "丙" << QStringList{"propane", "propylene"};
        QTest::newRow("cas") << "7664-41-7" << QStringList{"ammonia"};
        QTest::newRow("english any case") << "BUTANE" << QStringList{"n_butane", "isobutane"};
        QTest::newRow("nothing") << "xyz" << QStringList{};
    }
    void search_narrows_the_list() {
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        media_dialog dialog(nullptr);
        find<QLineEdit>(&dialog, "media_search")->setText(text);
        auto* list = find<QListWidget>(&dialog, "media_list");
        QStringList visible;
        for (int i = 0; i < list->count(); ++i)
            if (!list->item(i)->isHidden()) visible << list->item(i)->data(Qt::UserRole).toString();
        QCOMPARE(visible, shown);
    }

    // The relief-rate window: q always, t only for the insulated vessel; the relief pressure is
    // asked for and the saturation temperature found.
    void relief_window_takes_q_and_t_data() {
        QTest::addColumn<QString>("insulation");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("insulated") << "Option3(7)" << QStringList{"Text6(3)", "Text6(5)"};
        QTest::newRow("not insulated") << "Option3(6)" << QStringList{"Text6(3)"};
    }
    void relief_window_takes_q_and_t() {
        QFETCH(QString, insulation);
        QFETCH(QStringList, boxes);
        main->show_relief_window();
        QMdiSubWindow* window = main->relief_window();
        find<QRadioButton>(window, insulation)->setChecked(true);
        const auto before = box_texts(window);

        media_dialog dialog(window);
        QVERIFY(!find<QLineEdit>(&dialog, "media_T")->isEnabled());
        QVERIFY(dialog.select_medium("丙烷"));
        find<QLineEdit>(&dialog, "media_P")->setText("1.6");
        QSignalSpy spy(&dialog, &media_dialog::filled);
        click_button(find<QPushButton>(&dialog, "media_fill"));

        const auto now = changed(before, box_texts(window));
        QCOMPARE(now.keys(), boxes);
        // Propane boils at 319.98 K = 46.83 °C at 1.6 MPa (DIPPR 101); q there is the library's,
        // to one decimal.
        const auto& propane = *media::find_substance("propane");
        const double q = *media::latent_heat(propane, *media::saturation_temperature(propane, 1.6).value).value;
        QCOMPARE(now.value("Text6(3)"), QString::number(q, 'f', 1));
        if (boxes.contains("Text6(5)")) QCOMPARE(now.value("Text6(5)"), QStringLiteral("46.8"));
        QCOMPARE(spy.size(), 1);
        const auto fill = spy.at(0).at(0).value<media_fill>();
        QCOMPARE(fill.medium_id, QStringLiteral("propane"));
        QCOMPARE(fill.medium_name, QStringLiteral("丙烷"));
        QVERIFY(fill.P && *fill.P == 1.6);
        QVERIFY(fill.T && qAbs(*fill.T - 319.98) < 0.01);
        QCOMPARE(fill.boxes.size(), boxes.size());
        QVERIFY(fill.boxes[0].source.contains("Table 2-150"));  // q: DIPPR 106
        if (boxes.size() == 2) QVERIFY(fill.boxes[1].source.contains("Table 2-8"));  // t: DIPPR 101
    }

    void relief_window_gets_nothing_above_the_critical_pressure() {
        main->show_relief_window();
        QMdiSubWindow* window = main->relief_window();
        find<QRadioButton>(window, "Option3(7)")->setChecked(true);
        const auto before = box_texts(window);
        media_dialog dialog(window);
        dialog.select_medium("propane");
        find<QLineEdit>(&dialog, "media_P")->setText("5");  // above Pc = 4.25 MPa
        QVERIFY(!find<QPushButton>(&dialog, "media_fill")->isEnabled());
        click_button(find<QPushButton>(&dialog, "media_fill"));
        QVERIFY(changed(before, box_texts(window)).isEmpty());
    }

    // The safety-valve window: M, k, Z for a gas, ρ for a liquid, nothing for saturated steam;
    // T and the discharge pressure from Ps prefilled.
    void valve_window_takes_what_its_medium_uses_data() {
        QTest::addColumn<QString>("medium_option");
        QTest::addColumn<QString>("substance");
        QTest::addColumn<QString>("prefilled_P");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("gas") << "Option3(0)" << "氮气" << "1.2"
                             << QStringList{"Text1(0)", "Text1(2)", "Text1(3)", "Text1(4)"};
        QTest::newRow("liquid") << "Option3(2)" << "水/水蒸气" << "1.3" << QStringList{"Text2"};
        QTest::newRow("steam") << "Option3(1)" << "water" << "1.13" << QStringList{};
    }
    void valve_window_takes_what_its_medium_uses() {
        QFETCH(QString, medium_option);
        QFETCH(QString, substance);
        QFETCH(QString, prefilled_P);
        QFETCH(QStringList, boxes);
        main->show_valve_window();
        QMdiSubWindow* window = main->valve_window();
        click_option(find<QRadioButton>(window, medium_option));
        find<QLineEdit>(window, "Text1(5)")->setText("300");
        find<QLineEdit>(window, "Text1(1)")->setText("1");  // Ps, gauge
        const auto before = box_texts(window);

        media_dialog dialog(window);
        QCOMPARE(find<QLineEdit>(&dialog, "media_T")->text(), QStringLiteral("300"));
        QCOMPARE(find<QLineEdit>(&dialog, "media_P")->text(), prefilled_P);
        QVERIFY(dialog.select_medium(substance));
        QCOMPARE(find<QPushButton>(&dialog, "media_fill")->isEnabled(), !boxes.isEmpty());
        click_button(find<QPushButton>(&dialog, "media_fill"));

        const auto now = changed(before, box_texts(window));
        QCOMPARE(now.keys(), boxes);
        if (boxes.contains("Text1(2)")) {
            QCOMPARE(now.value("Text1(2)"), QStringLiteral("28.014"));
            // NIST-JANAF Cp(300 K) = 29.125 J/(mol·K): k = 1.39949.
            QVERIFY(qAbs(number_in(now, "Text1(3)") - 1.3995) < 0.001);
            // C goes with k: 520·√(1.3995·(2/2.3995)^(2.3995/0.3995)) = 356.4…
            QCOMPARE(now.value("Text1(0)"), QStringLiteral("356"));
            // Nitrogen at 300 K and 1.2 MPa is a nearly ideal gas, just below 1.
            const double Z = number_in(now, "Text1(4)");
            QVERIFY2(Z > 0.99 && Z < 1.0, qPrintable(now.value("Text1(4)")));
        }
        if (boxes.contains("Text2")) {
            // IAPWS-IF97: liquid water at 300 K, 996.56 kg/m³.
            QVERIFY(qAbs(number_in(now, "Text2") - 996.56) < 0.003 * 996.56);
        }
    }

    // The bursting-disc window: M, k, Z for a gas, ρ for a liquid; T and p_b prefilled.
    void disc_window_takes_what_its_medium_uses_data() {
        QTest::addColumn<QString>("medium_option");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("gas") << "Option4" << QStringList{"Text2", "Text4", "Text5"};
        QTest::newRow("liquid") << "Option5" << QStringList{"Text7"};
        QTest::newRow("steam") << "Option6" << QStringList{};
    }
    void disc_window_takes_what_its_medium_uses() {
        QFETCH(QString, medium_option);
        QFETCH(QStringList, boxes);
        main->show_disc_window();
        QMdiSubWindow* window = main->disc_window();
        find<QRadioButton>(window, medium_option)->setChecked(true);
        find<QLineEdit>(window, "Text1")->setText("1.5");  // p_b, absolute
        find<QLineEdit>(window, "Text3")->setText("350");
        const auto before = box_texts(window);

        media_dialog dialog(window);
        QCOMPARE(find<QLineEdit>(&dialog, "media_T")->text(), QStringLiteral("350"));
        QCOMPARE(find<QLineEdit>(&dialog, "media_P")->text(), QStringLiteral("1.5"));
        QVERIFY(dialog.select_medium("ammonia"));
        click_button(find<QPushButton>(&dialog, "media_fill"));

        const auto now = changed(before, box_texts(window));
        QCOMPARE(now.keys(), boxes);
        if (boxes.contains("Text2")) {
            QCOMPARE(now.value("Text2"), QStringLiteral("17.031"));
            // Ammonia at 350 K, 1.5 MPa: Z = 0.9099 (Tillner-Roth et al. 1993), within 1 %; the
            // ideal-gas k about 1.30 (TRC Cp).
            QVERIFY(qAbs(number_in(now, "Text4") - 0.9099) < 0.01);
            QVERIFY(qAbs(number_in(now, "Text5") - 1.30) < 0.02);
        }
    }

    // The book names the medium, the state and the source of a filled value, as long as the box
    // still holds what was written.
    void the_book_names_the_source_of_a_filled_box() {
        main->show_disc_window();
        QMdiSubWindow* window = main->disc_window();
        find<QRadioButton>(window, "Option4")->setChecked(true);
        find<QLineEdit>(window, "Text3")->setText("300");
        find<QLineEdit>(window, "Text1")->setText("1");
        {
            media_dialog dialog(window);
            dialog.select_medium("nitrogen");
            click_button(find<QPushButton>(&dialog, "media_fill"));
        }
        auto* M = find<QLineEdit>(window, "Text2");
        auto* k = find<QLineEdit>(window, "Text5");
        k->setText("1.41");  // typed over: no longer the library's value
        account::account acc;
        acc.inputs = {{"M", "气体摩尔质量", "kg/kmol", std::nullopt, std::nullopt},
                      {"k", "气体绝热指数", "", std::nullopt, std::nullopt}};
        attach_texts(acc, {{"M", M}, {"k", k}});
        QVERIFY(acc.inputs[0].source.find("氮气") != std::string::npos);
        QVERIFY(acc.inputs[0].source.find("T = 300 K") != std::string::npos);
        QVERIFY(acc.inputs[1].source.empty());
    }

    void the_window_keeps_the_latest_fill_of_each_box() {
        main->show_disc_window();
        QMdiSubWindow* window = main->disc_window();
        find<QRadioButton>(window, "Option4")->setChecked(true);
        find<QLineEdit>(window, "Text3")->setText("300");
        find<QLineEdit>(window, "Text1")->setText("1");
        {
            media_dialog first(window);
            first.select_medium("nitrogen");
            click_button(find<QPushButton>(&first, "media_fill"));
        }
        find<QRadioButton>(window, "Option5")->setChecked(true);
        {
            media_dialog second(window);
            second.select_medium("water");
            click_button(find<QPushButton>(&second, "media_fill"));
        }
        const auto kept = window->property(media_ui::fill_property).value<QList<media_fill>>();
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept[0].medium_id, QStringLiteral("nitrogen"));
        QCOMPARE(kept[0].boxes.size(), 3);
        QCOMPARE(kept[1].medium_id, QStringLiteral("water"));
        QCOMPARE(kept[1].boxes.size(), 1);
        QCOMPARE(kept[1].boxes[0].object_name, QStringLiteral("Text7"));
        QVERIFY(kept[1].boxes[0].source.contains("VDI"));
        // The next dialog for this window starts at the medium it was last filled from.
        media_dialog third(window);
        QCOMPARE(third.answer().medium->id, std::string_view("water"));
        media_dialog elsewhere(nullptr);
        QCOMPARE(elsewhere.answer().medium->id, std::string_view("air"));
    }

    // Which boxes 填入 writes when the dialog's state is not the window's: T goes with k and Z
    // where the window did not hold the T used, and Z only at the window's own pressure.
    void gas_data_belongs_to_the_state_the_window_holds_data() {
        QTest::addColumn<QString>("window_kind");
        QTest::addColumn<QString>("window_T");
        QTest::addColumn<QString>("window_pressure");
        QTest::addColumn<QString>("dialog_T");  // "keep": as prefilled
        QTest::addColumn<QString>("dialog_P");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("why");  // a reason the note must give, or empty
        // The valve window: T Text1(5), C Text1(0), M Text1(2), k Text1(3), Z Text1(4).
        QTest::newRow("valve, T 0: the saturation T goes with Z")
            << "valve" << "0" << "1.5" << "keep" << "keep"
            << QStringList{"Text1(0)", "Text1(2)", "Text1(3)", "Text1(4)", "Text1(5)"} << "";
        QTest::newRow("valve, T typed here: it goes with Z")
            << "valve" << "" << "1.5" << "300" << "keep"
            << QStringList{"Text1(0)", "Text1(2)", "Text1(3)", "Text1(4)", "Text1(5)"} << "";
        QTest::newRow("valve, T as the window's: T left alone")
            << "valve" << "300" << "1.5" << "keep" << "keep"
            << QStringList{"Text1(0)", "Text1(2)", "Text1(3)", "Text1(4)"} << "";
        QTest::newRow("valve, no Ps: no Z")
            << "valve" << "300" << "" << "keep" << "1.75"
            << QStringList{"Text1(0)", "Text1(2)", "Text1(3)"} << "未输入整定压力";
        QTest::newRow("valve, another pressure typed here: no Z")
            << "valve" << "300" << "1.5" << "keep" << "3"
            << QStringList{"Text1(0)", "Text1(2)", "Text1(3)"} << "P = 1.75 MPa";
        // The disc window: T Text3, M Text2, Z Text4, k Text5; no C box.
        QTest::newRow("disc, T 0: the saturation T goes with Z")
            << "disc" << "0" << "1.5" << "keep" << "keep" << QStringList{"Text2", "Text3", "Text4", "Text5"} << "";
        QTest::newRow("disc, another pressure typed here: no Z")
            << "disc" << "300" << "1.5" << "keep" << "1.6" << QStringList{"Text2", "Text5"} << "P = 1.5 MPa";
    }
    void gas_data_belongs_to_the_state_the_window_holds() {
        QFETCH(QString, window_kind);
        QFETCH(QString, window_T);
        QFETCH(QString, window_pressure);
        QFETCH(QString, dialog_T);
        QFETCH(QString, dialog_P);
        QFETCH(QStringList, boxes);
        QFETCH(QString, why);
        const bool valve = window_kind == "valve";
        if (valve) main->show_valve_window();
        else main->show_disc_window();
        QMdiSubWindow* window = valve ? main->valve_window() : main->disc_window();
        if (valve) click_option(find<QRadioButton>(window, "Option3(0)"));
        else find<QRadioButton>(window, "Option4")->setChecked(true);
        find<QLineEdit>(window, valve ? "Text1(5)" : "Text3")->setText(window_T);
        find<QLineEdit>(window, valve ? "Text1(1)" : "Text1")->setText(window_pressure);
        const auto before = box_texts(window);

        media_dialog dialog(window);
        QVERIFY(dialog.select_medium("nitrogen"));
        if (dialog_T != "keep") find<QLineEdit>(&dialog, "media_T")->setText(dialog_T);
        if (dialog_P != "keep") find<QLineEdit>(&dialog, "media_P")->setText(dialog_P);
        const QString note = find<QLabel>(&dialog, "media_fill_note")->text();
        click_button(find<QPushButton>(&dialog, "media_fill"));

        const auto now = changed(before, box_texts(window));
        QCOMPARE(now.keys(), boxes);
        if (!why.isEmpty()) QVERIFY2(note.contains(why), qPrintable(note));
        // Whatever was written, k and Z are the library's at the T the window now holds (the
        // saturation state where that T is the saturation temperature written).
        const double T = box_texts(window).value(valve ? "Text1(5)" : "Text3").toDouble();
        const bool saturation = window_T == "0" && dialog_T == "keep";
        media::properties_query at{"nitrogen", saturation ? std::nullopt : std::optional<double>(T), std::nullopt};
        if (now.contains(valve ? "Text1(4)" : "Text4") || saturation) at.P = valve ? 1.75 : 1.5;
        const media::properties_answer a = media::properties(at);
        QVERIFY(a.k);
        if (saturation) QVERIFY(a.T_sat && qAbs(*a.T_sat - T) < 1e-6);
        QCOMPARE(now.value(valve ? "Text1(3)" : "Text5"), QString::number(*a.k, 'f', 4));
        if (now.contains(valve ? "Text1(4)" : "Text4")) {
            QVERIFY(a.Z);
            QCOMPARE(now.value(valve ? "Text1(4)" : "Text4"), QString::number(*a.Z, 'f', 4));
        }
    }

    // The path a new user takes: gas, Ps 1.5 and T still 0, F4 → 氮气 → 填入, then T = 300 typed,
    // then 下一步. The Z of the saturated vapour at 113 K must not reach the capacity at 300 K.
    void a_typed_T_after_a_fill_takes_k_and_Z_with_it() {
        main->show_valve_window();
        QMdiSubWindow* window = main->valve_window();
        click_option(find<QRadioButton>(window, "Option1(0)"));  // full lift
        click_option(find<QRadioButton>(window, "Option3(0)"));  // gas
        find<QLineEdit>(window, "Text1(10)")->setText("50");    // d1
        find<QLineEdit>(window, "Text1(1)")->setText("1.5");    // Ps
        find<QLineEdit>(window, "Text1(5)")->setText("0");      // T
        find<QLineEdit>(window, "Text3")->setText("0.1");       // Po
        {
            media_dialog dialog(window);
            QVERIFY(dialog.select_medium("nitrogen"));
            // Ps = 1.5 → P_d = 1.1·1.5 + 0.1 = 1.75 MPa; nitrogen boils there at 113.1 K.
            const QString state = find<QLabel>(&dialog, "media_state_note")->text();
            QVERIFY2(state.contains("T = 113.108 K（该压力下的饱和温度）"), qPrintable(state));
            QVERIFY2(state.contains("P = 1.75 MPa 绝压（取自窗口）"), qPrintable(state));
            click_button(find<QPushButton>(&dialog, "media_fill"));
        }
        auto* T = find<QLineEdit>(window, "Text1(5)");
        auto* Z = find<QLineEdit>(window, "Text1(4)");
        QVERIFY2(T->text().startsWith("113.10"), qPrintable(T->text()));
        QCOMPARE(Z->text(), QStringLiteral("0.6626"));  // the saturated vapour

        T->setText("300");
        // Peng–Robinson at 300 K and 1.75 MPa: nitrogen is nearly ideal.
        const double Z_300 = Z->text().toDouble();
        QVERIFY2(Z_300 > 0.99 && Z_300 < 1.0, qPrintable(Z->text()));
        QCOMPARE(find<QLineEdit>(window, "Text1(0)")->text(), QStringLiteral("356"));

        workflow().vessel_ws = 10000.0F;
        recorder->clear();
        click_button(find<QPushButton>(window, "Command1"));
        // W = 0.076·0.65·356·1.75·1962·√(28.014/(Z·300)) with Z ≈ 0.997 is about 18,500 kg/h;
        // the Z of 113 K would have given 22,700.
        QVERIFY(workflow().valve_capacity);
        QVERIFY2(*workflow().valve_capacity > 18400 && *workflow().valve_capacity < 18600,
                 qPrintable(QString::number(*workflow().valve_capacity)));
        // The book names, for Z, the state the window holds.
        const auto& device = workflow().book.device;
        QVERIFY(device);
        const auto Z_input = std::find_if(device->inputs.begin(), device->inputs.end(),
                                          [](const account::input& i) { return i.symbol == "Z"; });
        QVERIFY(Z_input != device->inputs.end());
        QVERIFY2(Z_input->source.find("T = 300 K") != std::string::npos, Z_input->source.c_str());
        QVERIFY2(Z_input->source.find("P = 1.75 MPa") != std::string::npos, Z_input->source.c_str());
    }

    // A box the engineer typed over is theirs: the follower leaves it; C follows a typed k while
    // it still holds what was written, and goes empty at a k not above 1.
    void typed_values_are_kept_and_C_follows_k() {
        main->show_valve_window();
        QMdiSubWindow* window = main->valve_window();
        click_option(find<QRadioButton>(window, "Option3(0)"));
        find<QLineEdit>(window, "Text1(5)")->setText("300");
        find<QLineEdit>(window, "Text1(1)")->setText("1");
        {
            media_dialog dialog(window);
            dialog.select_medium("nitrogen");
            click_button(find<QPushButton>(&dialog, "media_fill"));
        }
        auto* k = find<QLineEdit>(window, "Text1(3)");
        auto* C = find<QLineEdit>(window, "Text1(0)");
        auto* Z = find<QLineEdit>(window, "Text1(4)");
        Z->setText("0.95");
        // 520·√(1.3·(2/2.3)^(2.3/0.3)) = 346.97…
        k->setText("1.3");
        QCOMPARE(C->text(), QStringLiteral("346"));
        k->setText("1");
        QCOMPARE(C->text(), QString());
        find<QLineEdit>(window, "Text1(5)")->setText("350");
        QCOMPARE(Z->text(), QStringLiteral("0.95"));
        QCOMPARE(k->text(), QStringLiteral("1"));
    }

    void opened_without_a_calculation_window_it_only_shows() {
        media_dialog dialog(nullptr);
        dialog.select_medium("propane");
        find<QLineEdit>(&dialog, "media_T")->setText("300");
        QVERIFY(dialog.answer().k);
        QVERIFY(!find<QPushButton>(&dialog, "media_fill")->isEnabled());
    }

private:
    main_window* main = nullptr;
    message_recorder* recorder = nullptr;
};

QTEST_MAIN(media_dialog_test)
#include "media_dialog_test.moc"
