#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "main_window.h"
#include "shell/twips.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

const QString prompt_area = QStringLiteral("当前计算出的爆破片所需的最小排放面积(mm^2)： ");
const QString no_medium = QStringLiteral("没有选择计算类型!请重新选择!");
const QString no_nozzle = QStringLiteral("没有选择接管类型!请重新选择!");
const QString bad_k = QStringLiteral("气体绝热系数错误!请重新选择!");
const QString bad_input = QStringLiteral("输入参数错误!请重新选择!");

// The controls whose Enabled state the medium options set, in the order they are set.
const QStringList medium_controls{"Text1",  "Text2",  "Text3",  "Text4",   "Text5",   "Text6",
                                  "Text7",  "Label1", "Label2", "Label3",  "Label4",  "Label5",
                                  "Label6", "Label7", "Option1", "Option2", "Option3"};

// The worked gas example: k = 1.4, p_b = 1, p_o = 0.1, M = 29, T = 300, Z = 1.
const QStringList worked_gas{"Text5=1.4", "Text1=1", "Text6=0.1", "Text2=29", "Text3=300", "Text4=1"};

}  // namespace

class disc_window_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        main->show_disc_window();
        window = main->disc_window();
        QVERIFY(window);
        recorder = new message_recorder;
    }
    void cleanup() {
        delete recorder;
        delete main;
    }

    void load_sizes_the_window_from_the_main_window() {
        QCOMPARE(window->objectName(), QStringLiteral("Form_pian"));
        QCOMPARE(window->windowTitle(), QStringLiteral("爆破片计算"));
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window->mdiArea(), main->mdi_area());
        // Width and Height are 0.65 of the main window's, in twips at 15 a pixel.
        const double main_width = main->frameGeometry().width() * 15.0;
        const double main_height = main->frameGeometry().height() * 15.0;
        QCOMPARE(window->width(), qRound(main_width * 0.65 / 15));
        QCOMPARE(window->height(), qRound(main_height * 0.65 / 15));
        // Against the main window's right-hand side, 100 twips from the top.
        QCOMPARE(window->x(), qRound((main_width - window->width() * 15.0) / 15));
        QCOMPARE(window->y(), 7);
        // Frame1: Height − 800 high, Width − 400 wide, (Width − its width) / 2 = 200 from the left.
        const double width = window->width() * 15.0;
        const double height = window->height() * 15.0;
        QCOMPARE(find<QGroupBox>(window, "Frame1")->geometry(), twips_rect(200, 0, width - 400, height - 800));
        QCOMPARE(window->widget()->palette().color(QPalette::Window), QColor(192, 192, 192));
    }

    void frame_is_a_sizable_tool_window() {
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(window->minimumSize() != window->maximumSize());
        const QSize before = window->size();
        window->resize(before - QSize(40, 30));
        QCOMPARE(window->size(), before - QSize(40, 30));
        // Its caption bar is thinner than an ordinary child window's.
        auto* ordinary = main->mdi_area()->addSubWindow(new QWidget);
        ordinary->show();
        QVERIFY(window->widget()->y() < ordinary->widget()->y());
        delete ordinary;
    }

    void controls_have_their_caption_place_font_and_container_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        auto row = [](const char* name, const char* container, const char* caption, QRect twips, double points,
                      bool bold = false) {
            QTest::newRow(name) << name << container << QString::fromUtf8(caption) << twips << points << bold;
        };
        row("Label1", "Frame1", "设计爆破压力(绝压MPa):", {1920, 720, 2412, 300}, 10.8);
        row("Text1", "Frame1", "0", {4500, 600, 1500, 400}, 14.4);
        row("Label6", "Frame1", "泄放侧压力(MPa):", {1920, 1200, 1812, 252}, 10.8);
        row("Text6", "Frame1", "0", {4500, 1080, 1500, 400}, 13.8, true);
        row("Label2", "Frame1", "气体摩尔质量（kg/kmol):", {1920, 1680, 2556, 300}, 10.8);
        row("Text2", "Frame1", "0", {4500, 1560, 1500, 400}, 14.4);
        row("Label3", "Frame1", "气体的绝对温度（K）：", {1920, 2160, 2292, 300}, 10.8);
        row("Text3", "Frame1", "0", {4500, 2076, 1500, 400}, 14.4);
        row("Label4", "Frame1", "气体的压缩系数（Z）：", {1920, 2640, 2292, 300}, 10.8);
        row("Text4", "Frame1", "0", {4500, 2580, 1500, 400}, 14.4);
        row("Label5", "Frame1", "气体绝热系数(k) ：", {1920, 3180, 1992, 300}, 10.8);
        row("Text5", "Frame1", "0", {4500, 3084, 1500, 400}, 14.4);
        row("Label7", "Frame1", "液体密度(kg/m^3)", {1920, 3600, 2292, 372}, 12);
        row("Text7", "Frame1", "0", {4500, 3600, 1500, 400}, 13.8, true);
        row("Frame3", "Frame1", "计算类型：", {240, 600, 1452, 3372}, 12);
        row("Option4", "Frame3", "气体", {240, 600, 852, 252}, 12);
        row("Option5", "Frame3", "液体", {240, 1440, 852, 372}, 12);
        row("Option6", "Frame3", "饱和蒸汽", {240, 2400, 852, 492}, 12);
        row("Frame2", "Frame1", "接管：", {6240, 480, 1332, 3492}, 12);
        row("Option1", "Frame2", "直管", {120, 600, 852, 252}, 12);
        row("Option2", "Frame2", "平直管", {120, 1800, 1092, 252}, 12);
        row("Option3", "Frame2", "喇叭管", {120, 2880, 1092, 252}, 12);
        row("Command1", "Frame1", "返回主控窗", {1440, 4320, 1500, 500}, 10.8);
        row("Command2", "Frame1", "下一步", {4560, 4320, 1500, 500}, 10.8);
    }
    void controls_have_their_caption_place_font_and_container() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QWidget* control = find<QWidget>(window, name);
        QCOMPARE(control->parentWidget()->objectName(), container);
        if (auto* frame = qobject_cast<QGroupBox*>(control)) QCOMPARE(frame->title(), caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), caption);
        else if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
        else if (auto* box = qobject_cast<QLineEdit*>(control)) QCOMPARE(box->text(), caption);
        else QFAIL("unexpected kind of control");
        // Left and width as laid out; a label or option may grow about its middle so that its
        // text shows whole in the stand-in face, never shrink.
        const QRect laid_out = twips_rect(twips.x(), twips.y(), twips.width(), twips.height());
        QCOMPARE(control->x(), laid_out.x());
        QCOMPARE(control->width(), laid_out.width());
        QVERIFY(control->geometry().contains(laid_out));
        QVERIFY(qAbs(control->geometry().center().y() - laid_out.center().y()) <= 1);
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), bold);
    }

    void frame1_caption_is_large() {
        auto* frame = find<QGroupBox>(window, "Frame1");
        QCOMPARE(frame->title(), QStringLiteral("选择爆破片计算参数："));
        QCOMPARE(frame->font().pointSizeF(), 14.4);
    }

    void boxes_are_announced_by_their_labels_data() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 7; ++n) QTest::newRow(qPrintable(QStringLiteral("Text%1").arg(n))) << n;
    }
    void boxes_are_announced_by_their_labels() {
        QFETCH(int, n);
        auto* box = find<QLineEdit>(window, QStringLiteral("Text%1").arg(n));
        auto* label = find<QLabel>(window, QStringLiteral("Label%1").arg(n));
        QCOMPARE(label->buddy(), box);
        QCOMPARE(box->accessibleName(), label->text());
        QVERIFY(label->geometry().right() < box->geometry().left());
    }

    void load_leaves_everything_enabled_and_unchosen() {
        for (QWidget* control : window->widget()->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) continue;
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        }
        const QList<QRadioButton*> options = window->findChildren<QRadioButton*>();
        QCOMPARE(options.size(), 6);
        for (QRadioButton* option : options) QVERIFY(!option->isChecked());
        const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
        QCOMPARE(boxes.size(), 7);
        for (QLineEdit* box : boxes) QCOMPARE(box->text(), QStringLiteral("0"));
    }

    void tab_order_follows_the_tab_indices() {
        QWidget* start = find<QLineEdit>(window, "Text1");
        QStringList order{start->objectName()};
        for (QWidget* current = start->nextInFocusChain(); current != start; current = current->nextInFocusChain()) {
            if (window->widget()->isAncestorOf(current) && (current->focusPolicy() & Qt::TabFocus))
                order << current->objectName();
        }
        QCOMPARE(order, (QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Text5", "Text6",
                                     "Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Text7"}));
    }

    void medium_options_set_the_inputs_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("enabled");  // '1' or '0' for each of medium_controls
        // Boxes 1-7, labels 1-7, then the nozzle options 1-3.
        const QString gas = QStringLiteral("1111110" "1111110" "111");
        const QString liquid = QStringLiteral("1000011" "1000011" "000");
        const QString steam = QStringLiteral("1000000" "1000000" "111");
        QTest::newRow("gas") << QStringList{"Option4"} << gas;
        QTest::newRow("liquid") << QStringList{"Option5"} << liquid;
        QTest::newRow("saturated steam") << QStringList{"Option6"} << steam;
        QTest::newRow("liquid then gas") << QStringList{"Option5", "Option4"} << gas;
        QTest::newRow("gas then steam") << QStringList{"Option4", "Option6"} << steam;
        QTest::newRow("steam then liquid") << QStringList{"Option6", "Option5"} << liquid;
        QTest::newRow("a nozzle choice changes nothing") << QStringList{"Option6", "Option2"} << steam;
    }
    void medium_options_set_the_inputs() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, enabled);
        for (const QString& name : clicks) click(name);
        QString states;
        for (const QString& name : medium_controls) states += find<QWidget>(window, name)->isEnabled() ? '1' : '0';
        QCOMPARE(states, enabled);
    }

    void liquid_greys_the_nozzles_keeping_the_choice() {
        click("Option2");
        click("Option5");
        auto* flush = find<QRadioButton>(window, "Option2");
        QVERIFY(!flush->isEnabled());
        QVERIFY(flush->isChecked());
        // Gas brings the nozzles back with the same choice.
        click("Option4");
        QVERIFY(flush->isEnabled());
        QVERIFY(flush->isChecked());
    }

    void option_groups_are_exclusive_in_their_frames() {
        click("Option1");
        click("Option4");
        click("Option3");
        QVERIFY(!find<QRadioButton>(window, "Option1")->isChecked());
        QVERIFY(find<QRadioButton>(window, "Option4")->isChecked());
        click("Option6");
        QVERIFY(!find<QRadioButton>(window, "Option4")->isChecked());
        QVERIFY(find<QRadioButton>(window, "Option3")->isChecked());
    }

    void next_step_shows_one_message_data() {
        QTest::addColumn<QStringList>("actions");  // clicks and "Box=text"
        QTest::addColumn<float>("vessel_ws");
        QTest::addColumn<QString>("message");

        QTest::newRow("nothing chosen") << QStringList{} << 10000.0F << no_medium;
        QTest::newRow("nozzle without a medium") << QStringList{"Option1"} << 10000.0F << no_medium;
        QTest::newRow("gas without a nozzle, whatever the texts")
            << (QStringList{"Option4"} + worked_gas) << 10000.0F << no_nozzle;
        QTest::newRow("steam without a nozzle") << QStringList{"Option6", "Text1=1"} << 10000.0F << no_nozzle;
        QTest::newRow("gas, k at its initial 0") << QStringList{"Option4", "Option1"} << 10000.0F << bad_k;
        QTest::newRow("gas, k emptied")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text5="}) << 10000.0F << bad_k;
        QTest::newRow("gas, k = 1")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text5=1"}) << 10000.0F << bad_k;
        // k = 1.0001: C = Int(520·√(k·(2/(k+1))^((k+1)/(k−1)))) = 315, critical flow,
        // A = Int(10000 / (0.076·0.68·315·1·√(29/300))) = Int(1975.6…).
        QTest::newRow("gas, k just above 1 is computed")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text5=1.0001"}) << 10000.0F
            << prompt_area + "1975";
        QTest::newRow("gas, k checked before the other inputs")
            << QStringList{"Option4", "Option1", "Text5=0.5", "Text1=abc", "Text2=-1"} << 10000.0F << bad_k;
        QTest::newRow("gas, T = 0")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text3=0"}) << 10000.0F << bad_input;
        QTest::newRow("gas, T and Z both negative")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text3=-300", "Text4=-1"}) << 10000.0F
            << bad_input;
        QTest::newRow("gas, p_o negative")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text6=-0.1"}) << 10000.0F << bad_input;
        QTest::newRow("gas, p_o equal to p_b")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text6=1"}) << 10000.0F << bad_input;
        QTest::newRow("gas, straight pipe, critical")
            << (QStringList{"Option4", "Option1"} + worked_gas) << 10000.0F << prompt_area + "1748";
        QTest::newRow("gas, p_o unset selects critical flow")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text6="}) << 10000.0F
            << prompt_area + "1748";
        QTest::newRow("gas, straight pipe, subcritical")
            << (QStringList{"Option4", "Option1"} + worked_gas + QStringList{"Text6=0.8"}) << 10000.0F
            << prompt_area + "2136";
        // W_s = 20000 with the same gas: twice the area, rounded down on its own.
        QTest::newRow("gas, twice the relief rate")
            << (QStringList{"Option4", "Option1"} + worked_gas) << 20000.0F << prompt_area + "3496";
        QTest::newRow("gas with no relief rate yet")
            << (QStringList{"Option4", "Option1"} + worked_gas) << 0.0F << prompt_area + "0";
        QTest::newRow("liquid with no nozzle")
            << QStringList{"Option5", "Text1=1", "Text6=0.1", "Text7=1000"} << 10000.0F << prompt_area + "105";
        QTest::newRow("liquid with a greyed nozzle chosen before")
            << QStringList{"Option3", "Option5", "Text1=1", "Text6=0.1", "Text7=1000"} << 10000.0F
            << prompt_area + "105";
        QTest::newRow("liquid, p_o at its initial 0")
            << QStringList{"Option5", "Text1=1", "Text7=1000"} << 10000.0F << bad_input;
        QTest::newRow("liquid, p_o unset")
            << QStringList{"Option5", "Text1=1", "Text6=", "Text7=1000"} << 10000.0F << bad_input;
        QTest::newRow("liquid, p_o equal to p_b")
            << QStringList{"Option5", "Text1=1", "Text6=1", "Text7=1000"} << 10000.0F << bad_input;
        QTest::newRow("steam, bell mouth, p_b 1")
            << QStringList{"Option6", "Option3", "Text1=1"} << 10000.0F << prompt_area + "2380";
        QTest::newRow("steam, bell mouth, p_b 10: first formula")
            << QStringList{"Option6", "Option3", "Text1=10"} << 10000.0F << prompt_area + "238";
        QTest::newRow("steam, bell mouth, p_b just above 10: corrected")
            << QStringList{"Option6", "Option3", "Text1=10.0001"} << 10000.0F << prompt_area + "239";
        QTest::newRow("steam, flush pipe, p_b 12")
            << QStringList{"Option6", "Option2", "Text1=12"} << 10000.0F << prompt_area + "215";
        // Above water's critical pressure the correction drove the area to −2, −2181 and −1.7·10⁶.
        QTest::newRow("steam, p_b 22.064 is still sized")
            << QStringList{"Option6", "Option3", "Text1=22.064"} << 10000.0F << prompt_area + "90";
        QTest::newRow("steam, p_b just above 22.064")
            << QStringList{"Option6", "Option3", "Text1=22.064000000000004"} << 10000.0F << bad_input;
        QTest::newRow("steam, p_b 32") << QStringList{"Option6", "Option1", "Text1=32"} << 10000.0F << bad_input;
        QTest::newRow("steam, p_b 36") << QStringList{"Option6", "Option1", "Text1=36"} << 10000.0F << bad_input;
        QTest::newRow("steam, p_b 36.175") << QStringList{"Option6", "Option1", "Text1=36.175"} << 10000.0F << bad_input;
        QTest::newRow("gas area beyond the number range")
            << QStringList{"Option4", "Option1", "Text1=1e-300", "Text5=1.4", "Text2=29", "Text3=300", "Text4=1"}
            << 3e38F << bad_input;
        QTest::newRow("steam, p_b at its initial 0")
            << QStringList{"Option6", "Option3"} << 10000.0F << bad_input;
        QTest::newRow("steam ignores text in greyed boxes")
            << QStringList{"Option6", "Option3", "Text1=1", "Text2=abc", "Text5=xyz"} << 10000.0F
            << prompt_area + "2380";
    }
    void next_step_shows_one_message() {
        QFETCH(QStringList, actions);
        QFETCH(float, vessel_ws);
        QFETCH(QString, message);
        for (const QString& action : actions) act(action);
        workflow().vessel_ws = vessel_ws;
        recorder->clear();
        click_button(find<QPushButton>(window, "Command2"));
        QCOMPARE(recorder->texts(), QStringList{message});
        // The window stays, with its inputs and choices.
        QVERIFY(main->disc_window());
        QMap<QString, QString> last_text;
        for (const QString& action : actions) {
            if (action.contains('=')) {
                const qsizetype at = action.indexOf('=');
                last_text[action.left(at)] = action.mid(at + 1);
            }
        }
        for (auto it = last_text.cbegin(); it != last_text.cend(); ++it)
            QCOMPARE(find<QLineEdit>(window, it.key())->text(), it.value());
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
            // The last choice in each frame stays chosen.
            QString last;
            for (const QString& action : actions) {
                if (!action.contains('=') && find<QRadioButton>(window, action)->parentWidget() == option->parentWidget())
                    last = action;
            }
            QCOMPARE(option->isChecked(), option->objectName() == last);
        }
        QCOMPARE(workflow().vessel_ws, vessel_ws);
    }

    void typed_inputs_are_read() {
        click("Option6");
        click("Option3");
        auto* burst = find<QLineEdit>(window, "Text1");
        burst->setFocus();
        burst->selectAll();
        QTest::keyClicks(burst, QStringLiteral("1.0"));
        workflow().vessel_ws = 10000.0F;
        QTest::keyClick(find<QPushButton>(window, "Command2"), Qt::Key_Space);
        QCOMPARE(recorder->texts(), QStringList{prompt_area + "2380"});
    }

    void a_new_relief_rate_applies_to_the_next_press() {
        for (const QString& action : QStringList{"Option6", "Option3", "Text1=1"}) act(action);
        workflow().vessel_ws = 10000.0F;
        click_button(find<QPushButton>(window, "Command2"));
        workflow().vessel_ws = 20000.0F;
        click_button(find<QPushButton>(window, "Command2"));
        QCOMPARE(recorder->texts(), (QStringList{prompt_area + "2380", prompt_area + "4761"}));
    }

    void return_closes_this_window_and_the_relief_window() {
        main->show_relief_window();
        main->show_disc_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        QPointer<QMdiSubWindow> disc = main->disc_window();
        workflow().vessel_ws = 4321.0F;
        click_button(find<QPushButton>(disc, "Command1"));
        QTRY_VERIFY(disc.isNull());
        QTRY_VERIFY(relief.isNull());
        QVERIFY(!main->disc_window());
        QVERIFY(!main->relief_window());
        QVERIFY(main->isVisible());
        QVERIFY(main->mdi_area()->subWindowList().isEmpty());
        QCOMPARE(workflow().vessel_ws, 4321.0F);
        QVERIFY(recorder->texts().isEmpty());
    }

    void close_box_closes_this_window_alone_then_return_still_works() {
        main->show_relief_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        QPointer<QMdiSubWindow> disc = main->disc_window();
        disc->close();
        QTRY_VERIFY(disc.isNull());
        QVERIFY(!main->disc_window());
        QVERIFY(relief);

        main->show_disc_window();
        QPointer<QMdiSubWindow> again = main->disc_window();
        QVERIFY(again);
        click_button(find<QPushButton>(again, "Command1"));
        QTRY_VERIFY(again.isNull());
        QTRY_VERIFY(relief.isNull());
    }

    void return_after_the_relief_window_has_gone() {
        main->show_relief_window();
        QPointer<QMdiSubWindow> relief = main->relief_window();
        relief->close();
        QTRY_VERIFY(relief.isNull());
        QPointer<QMdiSubWindow> disc = main->disc_window();
        click_button(find<QPushButton>(disc, "Command1"));
        QTRY_VERIFY(disc.isNull());
        QVERIFY(!main->disc_window());
        QVERIFY(main->isVisible());
    }

    void reopened_window_starts_afresh() {
        for (const QString& action : QStringList{"Option2", "Option5", "Text1=1", "Text7=1000"}) act(action);
        QPointer<QMdiSubWindow> first = main->disc_window();
        click_button(find<QPushButton>(first, "Command1"));
        QTRY_VERIFY(first.isNull());

        main->show_disc_window();
        window = main->disc_window();
        QVERIFY(window);
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
            QVERIFY(!option->isChecked());
            QVERIFY(option->isEnabled());
        }
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            QCOMPARE(box->text(), QStringLiteral("0"));
            QVERIFY(box->isEnabled());
        }
        click_button(find<QPushButton>(window, "Command2"));
        QCOMPARE(recorder->texts(), QStringList{no_medium});
    }

private:
    void click(const QString& name) {
        auto* option = find<QRadioButton>(window, name);
        QVERIFY2(option->isEnabled(), qPrintable(name + " is greyed"));
        click_option(option);
        QVERIFY2(option->isChecked(), qPrintable(name + " did not take the click"));
    }
    // "Option…" clicks an option, "Box=text" puts a text in a box.
    void act(const QString& action) {
        if (action.contains('=')) {
            const qsizetype at = action.indexOf('=');
            find<QLineEdit>(window, action.left(at))->setText(action.mid(at + 1));
        } else {
            click(action);
        }
    }

    main_window* main = nullptr;
    QMdiSubWindow* window = nullptr;
    message_recorder* recorder = nullptr;
};

QTEST_MAIN(disc_window_test)
#include "disc_window_test.moc"
