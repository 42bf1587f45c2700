// Each calculation window's inputs captured as a form and restored into a window as it opens:
// the choices, the showing tab and every text come back exactly, and the controls are greyed
// as they were when chosen by hand.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "disc/disc_window.h"
#include "main_window.h"
#include "relief/relief_window.h"
#include "shell/workflow_state.h"
#include "ui_support.h"
#include "valve/valve_window.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

// "Text1(10)=50" types a text, "tab=0" shows a tab, anything else clicks that option.
void act(QMdiSubWindow* window, const QString& action) {
    const qsizetype at = action.indexOf('=');
    if (action.startsWith(QStringLiteral("tab="))) {
        find<QTabWidget>(window, "SSTab1")->setCurrentIndex(action.mid(at + 1).toInt());
    } else if (at > 0) {
        find<QLineEdit>(window, action.left(at))->setText(action.mid(at + 1));
    } else {
        auto* option = find<QRadioButton>(window, action);
        QVERIFY2(option->isEnabled(), qPrintable(action));
        click_option(option);
        QVERIFY2(option->isChecked(), qPrintable(action));
    }
}

// Which controls a person can use, by name.
QMap<QString, bool> enabled_states(QWidget* window) {
    QMap<QString, bool> states;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QLabel*>(w) ||
            qobject_cast<QGroupBox*>(w))
            states.insert(w->objectName(), w->isEnabled());
    }
    return states;
}

QMap<QString, QString> texts(QWidget* window) {
    QMap<QString, QString> out;
    for (auto* box : window->findChildren<QLineEdit*>()) out.insert(box->objectName(), box->text());
    return out;
}

}  // namespace

class window_form_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
    }
    void cleanup() { delete main; }

    void windows_as_they_open_capture_the_default_forms() {
        main->show_relief_window();
        main->show_valve_window();
        main->show_disc_window();
        QCOMPARE(relief()->capture_form(), forms::relief_form{});
        QCOMPARE(valve()->capture_form(), forms::valve_form{});
        QCOMPARE(disc()->capture_form(), forms::disc_form{});
        // The opening tabs, by their captions.
        QCOMPARE(find<QTabWidget>(relief(), "SSTab1")->tabText(
                     find<QTabWidget>(relief(), "SSTab1")->currentIndex()),
                 QStringLiteral("输入安全泄放量"));
        QCOMPARE(find<QTabWidget>(valve(), "SSTab1")->tabText(find<QTabWidget>(valve(), "SSTab1")->currentIndex()),
                 QStringLiteral("输入数据"));
    }

    void relief_round_trip_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("expected");  // what the captured form holds, checked by hand
        QTest::newRow("typed rate in full-width digits") << QStringList{"tab=2", "Text1=１２３"} << "typed_rate W_t=１２３";
        QTest::newRow("typed rate left empty") << QStringList{"tab=0", "Text1=5", "Text1=", "tab=2"} << "typed_rate";
        QTest::newRow("production capacity, not a number")
            << QStringList{"tab=0", "Option1", "Text2=abc", "Text3=7"} << "compressed_gas production_capacity G=abc rho=7";
        QTest::newRow("gas storage tank after production capacity")
            << QStringList{"tab=0", "Option1", "Option2", "Text3=1.2", "Text4=１２３", "Text5="}
            << "compressed_gas gas_storage_tank rho=1.2 d=１２３";
        QTest::newRow("liquefied, uninsulated, below ground, spherical")
            << QStringList{"tab=1", "Option3(0)", "Option3(6)", "Option3(3)", "Option3(12)", "Text6(0)=2", "Text6(3)=abc"}
            << "liquefied_gas fire_exposed uninsulated below_ground spherical D=2 q=abc";
        QTest::newRow("liquefied, insulated, elliptical heads")
            << QStringList{"tab=1", "Option3(1)", "Option3(7)", "Option3(9)", "Text6(4)=0.2", "Text6(6)="}
            << "liquefied_gas fire_free insulated elliptical_heads lambda=0.2 delta=";
        QTest::newRow("liquefied, a vessel form and no insulation")
            << QStringList{"tab=1", "Option3(11)", "Text6(1)=１０"} << "liquefied_gas vertical L=１０";
    }
    void relief_round_trip() {
        QFETCH(QStringList, actions);
        QFETCH(QString, expected);
        main->show_relief_window();
        for (const QString& a : actions) act(main->relief_window(), a);
        const forms::relief_form form = relief()->capture_form();
        QCOMPARE(describe(form), expected);
        const auto states = enabled_states(main->relief_window());
        const auto boxes = texts(main->relief_window());

        delete main->relief_window();
        main->show_relief_window();
        relief()->restore_form(form);
        QCOMPARE(relief()->capture_form(), form);
        QCOMPARE(texts(main->relief_window()), boxes);
        QCOMPARE(enabled_states(main->relief_window()), states);
    }

    void valve_round_trip_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::newRow("full lift, gas, texts of every kind")
            << QStringList{"Option1(0)", "Option3(0)", "Text1(10)=50", "Text1(0)=１２３", "Text1(2)=abc", "Text3="};
        QTest::newRow("micro-lift with ring, flat face, steam")
            << QStringList{"Option1(1)", "Option2(0)", "Option3(1)", "Text1(8)=60", "Text1(1)=1"};
        QTest::newRow("micro-lift plain, conical face, liquid, on the notes tab")
            << QStringList{"Option1(2)", "Option2(1)", "Option3(2)", "Text2=1000", "Text1(7)=45", "tab=0"};
        QTest::newRow("micro-lift and conical, then full lift")
            << QStringList{"Option1(1)", "Option2(1)", "Option1(0)", "Text1(11)=５"};
        QTest::newRow("nothing chosen, boxes emptied and spoilt") << QStringList{"Text1(1)=", "Text1(10)=abc"};
    }
    void valve_round_trip() {
        QFETCH(QStringList, actions);
        main->show_valve_window();
        for (const QString& a : actions) act(main->valve_window(), a);
        const forms::valve_form form = valve()->capture_form();
        QVERIFY(!(form == forms::valve_form{}));
        const auto states = enabled_states(main->valve_window());
        const auto boxes = texts(main->valve_window());
        const int tab = find<QTabWidget>(main->valve_window(), "SSTab1")->currentIndex();

        delete main->valve_window();
        main->show_valve_window();
        valve()->restore_form(form);
        QCOMPARE(valve()->capture_form(), form);
        QCOMPARE(texts(main->valve_window()), boxes);
        QCOMPARE(enabled_states(main->valve_window()), states);
        QCOMPARE(find<QTabWidget>(main->valve_window(), "SSTab1")->currentIndex(), tab);
    }

    void valve_form_names_its_choices() {
        main->show_valve_window();
        for (const char* a : {"Option1(2)", "Option2(1)", "Option3(2)", "tab=0"}) act(main->valve_window(), QString::fromLatin1(a));
        const forms::valve_form form = valve()->capture_form();
        QVERIFY(form.notes_tab);
        QVERIFY(form.type == valve::valve_type::micro_lift_plain);
        QVERIFY(form.face == valve::seal_face::conical);
        QVERIFY(form.medium == valve::valve_medium::liquid);
    }

    void disc_round_trip_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("gas, straight pipe, full-width and empty")
            << QStringList{"Option4", "Option1", "Text1=１２３", "Text5="} << "gas straight_pipe p_b=１２３ k=";
        QTest::newRow("liquid, not a number") << QStringList{"Option5", "Text7=abc"} << "liquid rho=abc";
        QTest::newRow("steam, bell mouth") << QStringList{"Option6", "Option3", "Text1=1"} << "saturated_steam bell_mouth p_b=1";
        QTest::newRow("a nozzle, then liquid greys it") << QStringList{"Option4", "Option2", "Option5"} << "liquid flush_pipe";
    }
    void disc_round_trip() {
        QFETCH(QStringList, actions);
        QFETCH(QString, expected);
        main->show_disc_window();
        for (const QString& a : actions) act(main->disc_window(), a);
        const forms::disc_form form = disc()->capture_form();
        QCOMPARE(describe(form), expected);
        const auto states = enabled_states(main->disc_window());
        const auto boxes = texts(main->disc_window());

        delete main->disc_window();
        main->show_disc_window();
        disc()->restore_form(form);
        QCOMPARE(disc()->capture_form(), form);
        QCOMPARE(texts(main->disc_window()), boxes);
        QCOMPARE(enabled_states(main->disc_window()), states);
    }

private:
    relief::relief_window* relief() { return qobject_cast<relief::relief_window*>(main->relief_window()); }
    valve::valve_window* valve() { return qobject_cast<valve::valve_window*>(main->valve_window()); }
    disc::disc_window* disc() { return qobject_cast<disc::disc_window*>(main->disc_window()); }

    // The form's tab, its choices and the texts that differ from a window as it opens.
    static QString describe(const forms::relief_form& f) {
        static const char* cases[] = {"compressed_gas", "liquefied_gas", "typed_rate"};
        static const char* kinds[] = {"production_capacity", "gas_storage_tank"};
        static const char* fires[] = {"fire_exposed", "fire_free"};
        static const char* insulations[] = {"uninsulated", "insulated"};
        static const char* installs[] = {"below_ground", "above_ground", "water_spray"};
        static const char* shapes[] = {"hemispherical_heads", "elliptical_heads", "vertical", "spherical"};
        QStringList out{cases[int(f.tab)]};
        if (f.compressed) out << kinds[int(*f.compressed)];
        if (f.fire) out << fires[int(*f.fire)];
        if (f.insulated) out << insulations[int(*f.insulated)];
        if (f.installed) out << installs[int(*f.installed)];
        if (f.form) out << shapes[int(*f.form)];
        const forms::relief_form d;
        const std::pair<const char*, QString forms::relief_form::*> boxes[] = {
            {"G", &forms::relief_form::G},         {"rho", &forms::relief_form::rho}, {"d", &forms::relief_form::d},
            {"v", &forms::relief_form::v},         {"D", &forms::relief_form::D},     {"L", &forms::relief_form::L},
            {"h", &forms::relief_form::h},         {"q", &forms::relief_form::q},     {"lambda", &forms::relief_form::lambda},
            {"t", &forms::relief_form::t},         {"delta", &forms::relief_form::delta}, {"W_t", &forms::relief_form::W_t}};
        for (const auto& [name, member] : boxes)
            if (f.*member != d.*member) out << QString::fromLatin1(name) + '=' + f.*member;
        return out.join(' ');
    }
    static QString describe(const forms::disc_form& f) {
        static const char* media[] = {"gas", "liquid", "saturated_steam"};
        static const char* nozzles[] = {"straight_pipe", "flush_pipe", "bell_mouth"};
        QStringList out{f.medium ? media[int(*f.medium)] : "-"};
        if (f.nozzle) out << nozzles[int(*f.nozzle)];
        const forms::disc_form d;
        const std::pair<const char*, QString forms::disc_form::*> boxes[] = {
            {"p_b", &forms::disc_form::p_b}, {"M", &forms::disc_form::M}, {"T", &forms::disc_form::T},
            {"Z", &forms::disc_form::Z},     {"k", &forms::disc_form::k}, {"p_o", &forms::disc_form::p_o},
            {"rho", &forms::disc_form::rho}};
        for (const auto& [name, member] : boxes)
            if (f.*member != d.*member) out << QString::fromLatin1(name) + '=' + f.*member;
        return out.join(' ');
    }

    main_window* main = nullptr;
};

QTEST_MAIN(window_form_test)
#include "window_form_test.moc"
