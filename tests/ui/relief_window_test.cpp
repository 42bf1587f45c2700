// The relief-rate window as the engineer meets it: opened from the main menu, driven by clicks on
// its options and typing into its boxes, its results read from the message boxes.
#include "relief/relief_window.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "main_window.h"
#include "shell/status_bar.h"
#include "shell/twips.h"
#include "shell/window_host.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using ventora::relief::relief_window;
using ventora::testing::click_button;
using ventora::testing::click_option;
using ventora::testing::find;
using ventora::testing::message_recorder;

namespace {

const QString rate_prompt = QStringLiteral("当前计算出的安全泄放量(kg/h)： ");
const QString area_prompt = QStringLiteral("当前计算出的面积(m^2)： ");

// A main window stand-in of a chosen outer size, for the placement rule.
class sized_host : public window_host {
public:
    sized_host(double width, double height) : width_(width), height_(height) {}
    double width_twips() const override { return width_; }
    double height_twips() const override { return height_; }
    void show_relief_window() override {}
    void show_valve_window() override {}
    void show_disc_window() override {}
    void close_relief_window() override {}

private:
    double width_;
    double height_;
};

QString accessible_name(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

}  // namespace

class relief_window_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        workflow() = workflow_state{};
        main = new main_window;
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QApplication::setActiveWindow(main);
    }
    void cleanup() {
        delete main;
        main = nullptr;
    }

    void window_has_its_caption_fixed_border_and_size() {
        relief_window* w = open("menu_cal_fa");
        QCOMPARE(w->objectName(), QStringLiteral("form_fa"));
        QCOMPARE(w->windowTitle(), QStringLiteral("压力容器安全泄放量计算"));
        QCOMPARE(accessible_name(w), QStringLiteral("压力容器安全泄放量计算"));
        QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(w->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        // 9300 × 7380 twips, and no way to resize it.
        QCOMPARE(w->size(), QSize(620, 492));
        QCOMPARE(w->minimumSize(), QSize(620, 492));
        QCOMPARE(w->maximumSize(), QSize(620, 492));
        QCOMPARE(w->mdiArea(), main->mdi_area());
    }

    void window_is_placed_on_the_main_window_by_the_load_rule_data() {
        QTest::addColumn<double>("main_width");
        QTest::addColumn<double>("main_height");
        QTest::addColumn<QPoint>("top_left");  // pixels
        // left = (W − 9300) / 2, top = (H − 7380) / 2 − 350, in twips, 15 twips a pixel.
        QTest::newRow("15000 x 10000: 2850, 960") << 15000.0 << 10000.0 << QPoint(190, 64);
        QTest::newRow("19200 x 12000: 4950, 1960") << 19200.0 << 12000.0 << QPoint(330, 131);
        QTest::newRow("12000 x 9000: 1350, 460") << 12000.0 << 9000.0 << QPoint(90, 31);
        QTest::newRow("as large as the window: 0, -350") << 9300.0 << 7380.0 << QPoint(0, -23);
        QTest::newRow("smaller than the window: -150, -500")
            << 9000.0 << 7080.0 << QPoint(-10, -33);
    }
    void window_is_placed_on_the_main_window_by_the_load_rule() {
        QFETCH(double, main_width);
        QFETCH(double, main_height);
        QFETCH(QPoint, top_left);
        sized_host host(main_width, main_height);
        relief_window w(host);
        QCOMPARE(w.geometry(), QRect(top_left, QSize(620, 492)));
    }

    void window_opened_from_the_menu_keeps_its_load_position() {
        relief_window* w = open("menu_cal_pian");
        const float left = (float(main->width_twips()) - 9300.0F) / 2.0F;
        const float top = (float(main->height_twips()) - 7380.0F) / 2.0F - 350.0F;
        QCOMPARE(w->geometry(), twips_rect(left, top, 9300, 7380));
    }

    void tabs_in_order_with_the_typed_rate_current() {
        relief_window* w = open("menu_cal_fa");
        auto* tabs = find<QTabWidget>(w, "SSTab1");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("压缩气体（水蒸汽）"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("液化气体"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("输入安全泄放量"));
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(tabs->geometry(), twips_rect(0, 0, 9312, 6684));
        QCOMPARE(tabs->font().families().value(0), QStringLiteral("宋体"));
        QCOMPARE(tabs->font().pointSizeF(), 9.0);
        // One row: every tab starts at the same height.
        QCOMPARE(tabs->tabBar()->tabRect(2).top(), tabs->tabBar()->tabRect(0).top());
    }

    void controls_have_their_captions_and_places_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");  // left, top, width, height
        QTest::addColumn<bool>("enabled");

        auto row = [](const char* name, const char* container, const char* caption, int l, int t,
                      int w, int h, bool enabled = true) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(container)
                                << QString::fromUtf8(caption) << QRect(l, t, w, h) << enabled;
        };
        row("Command1", "form_fa_client", "下一步", 6960, 6000, 1215, 372);
        // Tab 0.
        row("Frame3", "SSTab1", "", 360, 720, 8655, 5865);
        row("Option1", "Frame3", "压缩机储气罐或者汽包", 480, 240, 2535, 375);
        row("Frame4", "Frame3", "", 480, 600, 8055, 1095);
        row("Label4", "Frame4",
            "对于压缩机储气罐和汽包等压力容器，其安全泄放量应取设备的最大生产能力（产气量）：", 240,
            240, 7200, 180, false);
        row("Label5", "Frame4", "最大生产能力：", 2160, 600, 1470, 210, false);
        row("Text2", "Frame4", "", 3840, 600, 1335, 270, false);
        row("Label6", "Frame4", "（kg/h）", 5280, 600, 960, 240, false);
        row("Option2", "Frame3", "气体储罐", 480, 1800, 2175, 375);
        row("Frame5", "Frame3", "", 480, 2160, 8055, 2055);
        row("Label7", "Frame5", "泄放压力下的气体密度（kg/立方米）：", 690, 480, 3150, 180, false);
        row("Text3", "Frame5", "", 3825, 360, 1335, 315, false);
        row("Label8", "Frame5", "压力容器进口管的内径（mm）：", 1320, 1020, 2520, 180, false);
        row("Text4", "Frame5", "", 3825, 960, 1335, 315, false);
        row("Label9", "Frame5", "压力容器进口管内气体的流速（m/秒）：", 600, 1560, 3240, 180,
            false);
        row("Text5", "Frame5", "", 3825, 1560, 1335, 315, false);
        // Tab 1.
        row("Frame2", "SSTab1", "", 360, 600, 8655, 5292);
        row("Frame6(0)", "Frame2", "介质类型选择", 360, 240, 7815, 735);
        row("Option3(0)", "Frame6(0)", "易燃液化气体,或者可能发生火灾环境下工作的非易燃液化气体",
            240, 240, 3135, 375);
        row("Option3(1)", "Frame6(0)", "非易燃液化气体,且工作在无火灾危险的环境下工作", 4080, 240,
            3135, 375);
        row("Frame6(3)", "Frame2", "保温方式 ", 360, 1080, 7815, 615);
        row("Option3(6)", "Frame6(3)", "无绝热材料保温层的压力容器", 240, 240, 2895, 255);
        row("Option3(7)", "Frame6(3)", "有绝热材料保温层的压力容器", 4080, 240, 3495, 255);
        row("Frame6(1)", "Frame2", "压力容器安装方式", 360, 1800, 7815, 615);
        row("Option3(2)", "Frame6(1)", "设置在大于10升/平方米·分喷淋装置下", 240, 240, 3495, 255);
        row("Option3(3)", "Frame6(1)", "装在地面以下,用沙土覆盖", 3840, 240, 2415, 255);
        row("Option3(4)", "Frame6(1)", "装在地面上", 6360, 240, 1215, 255);
        row("Frame7(0)", "Frame2", " 容器形式 ", 360, 2520, 3255, 1335);
        row("Option3(10)", "Frame7(0)", "半球形封头卧式容器", 240, 240, 1335, 375);
        row("Option3(11)", "Frame7(0)", "立式压力容器", 1680, 240, 1455, 375);
        row("Option3(9)", "Frame7(0)", "椭圆形封头卧式容器", 240, 720, 1335, 375);
        row("Option3(12)", "Frame7(0)", "球形压力容器", 1680, 720, 1455, 375);
        row("Frame7(1)", "Frame2", " 容器参数 ", 4920, 2520, 3255, 1335);
        row("Label10(0)", "Frame7(1)", "容器直径(m)", 240, 240, 1215, 255);
        row("Text6(0)", "Frame7(1)", "0", 1440, 240, 1575, 270);
        row("Label10(1)", "Frame7(1)", "容器长度(m)", 240, 600, 1215, 255);
        row("Text6(1)", "Frame7(1)", "0", 1440, 600, 1575, 270);
        row("Label10(2)", "Frame7(1)", "最高液位(m)", 240, 960, 1215, 255);
        row("Text6(2)", "Frame7(1)", "0", 1440, 960, 1575, 270);
        row("Frame8", "Frame2", "其他参数", 360, 3960, 7812, 1215);
        row("Label10(3)", "Frame8", "泄放压力下液化气体的气化潜热(kj/kg)", 120, 240, 2295, 375);
        row("Text6(3)", "Frame8", "0", 2520, 240, 1455, 270);
        row("Label10(4)", "Frame8", "常温下绝热材料的导热系数(kj/平方米·h·摄氏度）", 120, 720, 2175,
            375);
        row("Text6(4)", "Frame8", "0", 2520, 840, 1455, 270);
        row("Label10(5)", "Frame8", "泄放压力下饱和温度(摄氏度)", 4440, 240, 1332, 372);
        row("Text6(5)", "Frame8", "0", 6360, 240, 855, 270);
        row("Label10(6)", "Frame8", "保温层厚度(m)", 4440, 840, 1212, 252);
        row("Text6(6)", "Frame8", "0", 6360, 840, 855, 270);
        // Tab 2.
        row("Frame1", "SSTab1", "", 360, 600, 8295, 4935);
        row("Label1", "Frame1",
            "注: 由于化学反应使气体体积增大的容器,其安全泄放量,应根据压力容器内化学反应可能生成"
            "的最大气量以及反应时所需要的时间来决定。请自行输入计算后的压力容器安全泄放量：",
            720, 720, 6960, 675);
        row("Frame10", "Frame1", " 请自行输入： ", 600, 2040, 7695, 1575);
        row("Label2", "Frame10", "安全泄放量：", 1200, 720, 1995, 315);
        row("Text1", "Frame10", "", 3345, 720, 1575, 315);
        row("Label3", "Frame10", "kg/h", 5160, 720, 855, 495);
        // The banner strip.
        row("Image1", "Picture2", "", 0, 0, 4560, 360);
    }
    void controls_have_their_captions_and_places() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(bool, enabled);
        relief_window* w = open("menu_cal_fa");
        QWidget* control = find<QWidget>(w, name);
        QWidget* outer = find<QWidget>(w, container);
        QVERIFY(control && outer);
        QVERIFY(outer->isAncestorOf(control));

        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
        if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
        if (auto* box = qobject_cast<QLineEdit*>(control)) text = box->text();
        if (auto* frame = qobject_cast<QGroupBox*>(control)) text = frame->title();
        QCOMPARE(text, caption);

        const QRect px = twips_rect(twips.x(), twips.y(), twips.width(), twips.height());
        const QRect at(control->mapTo(outer, QPoint(0, 0)), control->size());
        if (qobject_cast<QLineEdit*>(control)) {
            // A box may grow about its middle, so that the installed face's digits keep clear of
            // its border; its left and width stay.
            QCOMPARE(at.x(), px.x());
            QCOMPARE(at.width(), px.width());
            QVERIFY(at.contains(px));
            QVERIFY(qAbs(at.center().y() - px.center().y()) <= 1);
        } else {
            QCOMPARE(at.topLeft(), px.topLeft());
            QCOMPARE(at.size(), px.size());
        }
        QCOMPARE(control->isEnabled(), enabled);
    }

    void controls_use_their_fonts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Text1") << "Text1" << 14.4 << false;
        for (const char* name : {"Text2", "Text3", "Text4", "Text5", "Label1", "Label5"})
            QTest::newRow(name) << name << 10.8 << false;
        QTest::newRow("Label6") << "Label6" << 12.0 << false;
        QTest::newRow("Label2") << "Label2" << 15.6 << true;
        QTest::newRow("Label3") << "Label3" << 15.0 << true;
        for (const char* name : {"Label4", "Label7", "Text6(3)", "Label10(3)", "Option3(0)",
                                 "Option1", "Frame6(0)", "Command1"})
            QTest::newRow(name) << name << 9.0 << false;
    }
    void controls_use_their_fonts() {
        QFETCH(QString, name);
        QFETCH(double, points);
        QFETCH(bool, bold);
        relief_window* w = open("menu_cal_fa");
        const QFont font = find<QWidget>(w, name)->font();
        QCOMPARE(font.families().value(0), QStringLiteral("宋体"));
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
    }

    void liquefied_gas_options_are_indices_0_to_12_without_5_and_8() {
        relief_window* w = open("menu_cal_fa");
        QStringList names;
        for (QRadioButton* option : w->findChildren<QRadioButton*>())
            if (option->objectName().startsWith(QStringLiteral("Option3(")))
                names << option->objectName();
        QCOMPARE(names.size(), 11);
        for (int i = 0; i <= 12; ++i)
            QCOMPARE(names.contains(QStringLiteral("Option3(%1)").arg(i)), i != 5 && i != 8);
        for (QRadioButton* option : w->findChildren<QRadioButton*>()) QVERIFY(!option->isChecked());
    }

    void status_bar_and_banner_strip() {
        relief_window* w = open("menu_cal_fa");
        auto* bar = find<clock_status_bar>(w, "StatusBar1");
        QCOMPARE(bar->welcome_panel()->text(),
                 QStringLiteral("     ---欢迎使用2000年版Ventora软件！"));
        // As designed, or wider where the longest time or date needs it.
        QCOMPARE(bar->time_panel()->width(), twips_to_px(1000));
        QVERIFY(bar->date_panel()->width() >= twips_to_px(1000));
        QWidget* client = bar->parentWidget();
        // Along the bottom edge, the whole width; the date panel shows whole.
        QCOMPARE(bar->geometry().bottom(), client->height() - 1);
        QCOMPARE(bar->width(), client->width());
        QCOMPARE(bar->height(), twips_to_px(372));
        QVERIFY(bar->date_panel()->geometry().right() < bar->width());

        // The strip lies in front of the text panel, 7 twips below the status bar's top, and
        // gives up what the text panel gives up: it ends before the time.
        auto* strip = find<QWidget>(w, "Picture2");
        QCOMPARE(strip->pos(),
                 QPoint(twips_to_px(40), bar->y() + twips_to_px(6655) - twips_to_px(6648)));
        QCOMPARE(strip->height(), twips_to_px(492));
        const int given_up = twips_to_px(7200) - bar->welcome_panel()->width();
        QCOMPARE(strip->width(), twips_to_px(7160) - given_up);
        QVERIFY(strip->geometry().right() < bar->mapTo(client, bar->time_panel()->pos()).x());
        QCOMPARE(client->children().indexOf(strip) > client->children().indexOf(bar), true);
        // Command1 in front of the tab control.
        QVERIFY(client->children().indexOf(find<QWidget>(w, "Command1")) >
                client->children().indexOf(find<QWidget>(w, "SSTab1")));
    }

    void banner_picture_is_blue_text_on_grey() {
        relief_window* w = open("menu_cal_fa");
        auto* image = find<QLabel>(w, "Image1");
        const QImage picture = image->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(380, 50));
        QCOMPARE(picture.pixelColor(0, 0), QColor(192, 192, 192));
        QCOMPARE(picture.pixelColor(379, 49), QColor(192, 192, 192));
        int blue = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) == QColor(0, 0, 255)) ++blue;
        QVERIFY2(blue > 500, qPrintable(QString::number(blue)));
        QVERIFY(image->hasScaledContents());
    }

    void banner_timer_ticks_every_100_ms() {
        relief_window* w = open("menu_cal_fa");
        QCOMPARE(w->banner_angle(), 0.0);
        QCOMPARE(w->banner_position(), 0.0);
        auto* timer = find<QTimer>(w, "Timer2");
        QCOMPARE(timer, w->banner_timer());
        QCOMPARE(timer->interval(), 100);
        QVERIFY(timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(w->banner_angle() > 0.1, 2000);
        timer->stop();
        // The last tick used the angle before its step.
        QVERIFY(std::abs(w->banner_position() - std::cos(w->banner_angle() - 0.08) * 6150) < 1e-6);
    }

    void banner_swings_by_the_cosine_rule_data() {
        QTest::addColumn<int>("tick");
        QTest::addColumn<double>("position");  // twips
        QTest::addColumn<int>("left");         // pixels
        // tick n: angle (n − 1) × 0.08, position 6150 cos(angle), below 20 → 100.
        QTest::newRow("1: cos 0") << 1 << 6150.0 << 410;
        QTest::newRow("2: cos 0.08") << 2 << 6130.3304937611 << 409;
        QTest::newRow("11: cos 0.8") << 11 << 4284.7462624851 << 286;
        QTest::newRow("20: cos 1.52, last above 20") << 20 << 312.2630823415 << 21;
        QTest::newRow("21: cos 1.6 < 0 rests at 100") << 21 << 100.0 << 7;
        QTest::newRow("59: cos 4.64 < 0 rests at 100") << 59 << 100.0 << 7;
        QTest::newRow("60: cos 4.72 = 0.0076, 46.8 >= 20") << 60 << 46.8073187250 << 3;
        QTest::newRow("80: cos 6.32, back at the right") << 80 << 6145.8328567406 << 410;
    }
    void banner_swings_by_the_cosine_rule() {
        QFETCH(int, tick);
        QFETCH(double, position);
        QFETCH(int, left);
        relief_window* w = open("menu_cal_fa");
        w->banner_timer()->stop();
        auto* image = find<QLabel>(w, "Image1");
        for (int i = 0; i < tick; ++i) w->move_banner();
        QVERIFY2(std::abs(w->banner_position() - position) < 1e-6,
                 qPrintable(QString::number(w->banner_position(), 'g', 17)));
        QVERIFY(std::abs(w->banner_angle() - tick * 0.08) < 1e-9);
        QCOMPARE(image->geometry(), QRect(left, 0, twips_to_px(4560), twips_to_px(360)));
    }

    void banner_over_a_full_swing() {
        relief_window* w = open("menu_cal_fa");
        w->banner_timer()->stop();
        auto* image = find<QLabel>(w, "Image1");
        int resting = 0;
        for (int n = 0; n < 158; ++n) {  // two swings of 2π / 0.08 ≈ 78.5 ticks
            w->move_banner();
            double expected = std::cos(n * 0.08) * 6150;
            if (expected < 20) {
                expected = 100;
                ++resting;
            }
            QVERIFY(std::abs(w->banner_position() - expected) < 1e-6);
            QCOMPARE(image->x(), int(std::lround(float(expected) / 15)));
            QCOMPARE(image->y(), 0);
        }
        QCOMPARE(resting, 2 * 39);  // ticks 21 to 59 of each swing
    }

    void production_and_inlet_inputs_follow_option1_and_option2_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("production");
        QTest::addColumn<bool>("inlet");
        QTest::newRow("none chosen") << QStringList{} << false << false;
        QTest::newRow("Option1") << QStringList{"Option1"} << true << false;
        QTest::newRow("Option2") << QStringList{"Option2"} << false << true;
        QTest::newRow("Option1 then Option2") << QStringList{"Option1", "Option2"} << false << true;
        QTest::newRow("Option2 then Option1") << QStringList{"Option2", "Option1"} << true << false;
        QTest::newRow("Option1 twice") << QStringList{"Option1", "Option1"} << true << false;
    }
    void production_and_inlet_inputs_follow_option1_and_option2() {
        QFETCH(QStringList, clicks);
        QFETCH(bool, production);
        QFETCH(bool, inlet);
        relief_window* w = open("menu_cal_fa");
        choose_tab(w, 0);
        for (const QString& name : clicks) click_option(find<QRadioButton>(w, name));
        for (const char* name : {"Label4", "Label5", "Label6", "Text2"})
            QVERIFY2(find<QWidget>(w, name)->isEnabled() == production, name);
        for (const char* name : {"Label7", "Label8", "Label9", "Text3", "Text4", "Text5"})
            QVERIFY2(find<QWidget>(w, name)->isEnabled() == inlet, name);
        if (!clicks.isEmpty()) {
            QVERIFY(find<QRadioButton>(w, clicks.last())->isChecked());
            const QString other = clicks.last() == "Option1" ? "Option2" : "Option1";
            QVERIFY(!find<QRadioButton>(w, other)->isChecked());
        }
    }

    void liquefied_gas_inputs_follow_the_choices_data() {
        QTest::addColumn<QList<int>>("clicks");      // Option3 indices, in order
        QTest::addColumn<QString>("boxes");          // Text6(0..6) and Label10(0..6) enabled
        QTest::addColumn<QString>("installations");  // Option3(2), (3), (4) enabled
        QTest::addColumn<QList<int>>("chosen");

        using L = QList<int>;
        QTest::newRow("nothing chosen") << L{} << "1111111"
                                        << "111" << L{};
        QTest::newRow("form before insulation changes nothing") << L{12} << "1111111"
                                                                << "111" << L{12};
        QTest::newRow("medium and installation before insulation") << L{0, 3} << "1111111"
                                                                   << "111" << L{0, 3};
        QTest::newRow("uninsulated greys the insulation inputs") << L{6} << "1111000"
                                                                 << "111" << L{6};
        QTest::newRow("uninsulated then spherical") << L{6, 12} << "1001000"
                                                    << "111" << L{6, 12};
        QTest::newRow("spherical then uninsulated") << L{12, 6} << "1001000"
                                                    << "111" << L{12, 6};
        QTest::newRow("vertical then uninsulated") << L{11, 6} << "1011000"
                                                   << "111" << L{11, 6};
        QTest::newRow("hemispherical then uninsulated") << L{10, 6} << "1101000"
                                                        << "111" << L{10, 6};
        QTest::newRow("elliptical then insulated") << L{9, 7} << "1101111"
                                                   << "000" << L{9, 7};
        QTest::newRow("insulated greys the installation") << L{7} << "1111111"
                                                          << "000" << L{7};
        QTest::newRow("insulated after an installation keeps the choice") << L{3, 7} << "1111111"
                                                                          << "000" << L{3, 7};
        QTest::newRow("uninsulated again enables the installation") << L{3, 7, 6} << "1111000"
                                                                    << "111" << L{3, 6};
        QTest::newRow("greyed installation cannot be chosen") << L{7, 4} << "1111111"
                                                              << "000" << L{7};
        QTest::newRow("spherical then hemispherical gives the length back")
            << L{6, 12, 10} << "1101000"
            << "111" << L{6, 10};
        QTest::newRow("insulated, spherical then vertical") << L{7, 12, 11} << "1011111"
                                                            << "000" << L{7, 11};
        QTest::newRow("medium click reapplies the rule") << L{6, 12, 1} << "1001000"
                                                         << "111" << L{6, 12, 1};
        QTest::newRow("vertical, uninsulated then insulated") << L{11, 6, 7} << "1011111"
                                                              << "000" << L{11, 7};
    }
    void liquefied_gas_inputs_follow_the_choices() {
        QFETCH(QList<int>, clicks);
        QFETCH(QString, boxes);
        QFETCH(QString, installations);
        QFETCH(QList<int>, chosen);
        relief_window* w = open("menu_cal_fa");
        choose_tab(w, 1);
        for (int index : clicks) click_option(option3(w, index));
        for (int i = 0; i < 7; ++i) {
            const bool enabled = boxes[i] == QLatin1Char('1');
            QVERIFY2(find<QLineEdit>(w, QStringLiteral("Text6(%1)").arg(i))->isEnabled() == enabled,
                     qPrintable(QStringLiteral("Text6(%1)").arg(i)));
            QVERIFY2(find<QLabel>(w, QStringLiteral("Label10(%1)").arg(i))->isEnabled() == enabled,
                     qPrintable(QStringLiteral("Label10(%1)").arg(i)));
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(option3(w, 2 + i)->isEnabled(), installations[i] == QLatin1Char('1'));
        for (int index : {0, 1, 2, 3, 4, 6, 7, 9, 10, 11, 12})
            QVERIFY2(option3(w, index)->isChecked() == chosen.contains(index),
                     qPrintable(QStringLiteral("Option3(%1)").arg(index)));
        // The frames and the other options stay usable.
        for (int index : {0, 1, 6, 7, 9, 10, 11, 12}) QVERIFY(option3(w, index)->isEnabled());
    }

    void greying_keeps_the_texts() {
        relief_window* w = open("menu_cal_fa");
        choose_tab(w, 1);
        type(w, "Text6(5)", "120");
        type(w, "Text6(1)", "7.5");
        click_option(option3(w, 6));
        click_option(option3(w, 12));
        QVERIFY(!find<QLineEdit>(w, "Text6(5)")->isEnabled());
        QCOMPARE(find<QLineEdit>(w, "Text6(5)")->text(), QStringLiteral("120"));
        QCOMPARE(find<QLineEdit>(w, "Text6(1)")->text(), QStringLiteral("7.5"));
        QCOMPARE(find<QLineEdit>(w, "Text6(4)")->text(), QStringLiteral("0"));
    }

    void next_step_outcomes_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("stored");

        auto accept = [](const char* name, QStringList steps, QStringList messages, float stored) {
            QTest::newRow(name) << steps << messages << true << stored;
        };
        auto refuse = [](const char* name, QStringList steps, const char* message) {
            QTest::newRow(name) << steps << QStringList{QString::fromUtf8(message)} << false
                                << 77.0F;
        };
        const QString rate = rate_prompt;
        const QString area = area_prompt;

        // Typed rate.
        accept("typed 800", {"type:Text1=800"}, {rate + "800"}, 800);
        accept("typed 1234.7 is kept whole", {"type:Text1=1234.7"}, {rate + "1234.7"}, 1234);
        refuse("typed empty", {}, "未正确输入数据");
        refuse("typed 0", {"type:Text1=0"}, "未正确输入数据");
        refuse("typed -5", {"type:Text1=-5"}, "未正确输入数据");
        refuse("typed text", {"type:Text1=abc"}, "未正确输入数据");

        // Compressed gas or steam.
        accept("production capacity 1500.7", {"tab:0", "click:Option1", "type:Text2=1500.7"},
               {rate + "1500.7"}, 1500);
        accept("storage tank 10, 100, 20",
               {"tab:0", "click:Option2", "type:Text3=10", "type:Text4=100", "type:Text5=20"},
               {rate + "5660"}, 5660);
        accept("storage tank 1.2, 50, 15 is 127.35",
               {"tab:0", "click:Option2", "type:Text3=1.2", "type:Text4=50", "type:Text5=15"},
               {rate + "127"}, 127);
        refuse("compressed with nothing chosen", {"tab:0"}, "参数输入错误!请重新输入");
        refuse("production capacity empty", {"tab:0", "click:Option1"}, "参数输入错误!请重新输入");
        refuse("production capacity 0", {"tab:0", "click:Option1", "type:Text2=0"},
               "参数输入错误!请重新输入");
        refuse("storage tank density empty",
               {"tab:0", "click:Option2", "type:Text4=100", "type:Text5=20"},
               "参数输入错误!请重新输入");
        refuse("storage tank with two negative factors",
               {"tab:0", "click:Option2", "type:Text3=-10", "type:Text4=100", "type:Text5=-20"},
               "参数输入错误!请重新输入");
        refuse("greyed capacity does not count for a storage tank",
               {"tab:0", "click:Option1", "type:Text2=1500.7", "click:Option2"},
               "参数输入错误!请重新输入");
        accept("storage inputs survive a detour through Option1",
               {"tab:0", "click:Option2", "type:Text3=10", "type:Text4=100", "type:Text5=20",
                "click:Option1", "click:Option2"},
               {rate + "5660"}, 5660);
        refuse("the case comes from the current tab", {"type:Text1=800", "tab:0"},
               "参数输入错误!请重新输入");

        // Liquefied gas.
        const QStringList sphere{"tab:1",
                                 "click:Option3(0)",
                                 "click:Option3(6)",
                                 "click:Option3(4)",
                                 "click:Option3(12)",
                                 "type:Text6(0)=2",
                                 "type:Text6(3)=300"};
        accept("spherical D 2, q 300", sphere, {area + "6.28", rate + "3834"}, 3834);
        accept("spherical, fire free", QStringList(sphere) << "click:Option3(1)",
               {area + "6.28", rate + "1150"}, 1150);
        accept("spherical reads no length: a greyed text does no harm",
               {"tab:1", "type:Text6(1)=abc", "click:Option3(0)", "click:Option3(6)",
                "click:Option3(4)", "click:Option3(12)", "type:Text6(0)=2", "type:Text6(3)=300"},
               {area + "6.28", rate + "3834"}, 3834);
        accept("hemispherical L 5 under water spray",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(2)",
                "click:Option3(10)", "type:Text6(0)=2", "type:Text6(1)=5", "type:Text6(3)=300"},
               {area + "31.4", rate + "8610"}, 8610);
        accept("elliptical D 2 L 5",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(9)", "type:Text6(0)=2", "type:Text6(1)=5", "type:Text6(3)=300"},
               {area + "35.168", rate + "15749"}, 15749);
        // A = 18.84; 2.55e5 × 18.84^0.82 / 300 = 9440.3
        accept("vertical D 2 h 3",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(11)", "type:Text6(0)=2", "type:Text6(2)=3", "type:Text6(3)=300"},
               {area + "18.84", rate + "9440"}, 9440);
        // A = 1.57 × 0.0225 = 0.035325; 2.55e5 × 0.035325^0.82 / 300 = 54.2
        accept("D 0.15 passes",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(12)", "type:Text6(0)=0.15", "type:Text6(3)=300"},
               {area + "0.035325", rate + "54"}, 54);
        // A = 3.14 × 0.31847134 rounds to 1 in single precision; C lies just below 255000.
        accept(
            "area 1 gives 254999",
            {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
             "click:Option3(10)", "type:Text6(0)=1", "type:Text6(1)=0.31847134", "type:Text6(3)=1"},
            {area + "1", rate + "254999"}, 254999);
        const QStringList insulated{
            "tab:1",           "click:Option3(0)", "click:Option3(7)",  "click:Option3(10)",
            "type:Text6(0)=2", "type:Text6(1)=5",  "type:Text6(3)=300", "type:Text6(4)=0.2",
            "type:Text6(5)=50"};
        // 2.61 × 600 × 0.2 × 31.4^0.82 / (0.05 × 300) = 352.6
        accept("insulated needs no installation", QStringList(insulated) << "type:Text6(6)=0.05",
               {area + "31.4", rate + "352"}, 352);
        accept("insulated after an installation ignores F",
               QStringList{"tab:1", "click:Option3(6)", "click:Option3(3)"} + insulated
                   << "type:Text6(6)=0.05",
               {area + "31.4", rate + "352"}, 352);
        accept("insulation 0.1 thick passes", QStringList(insulated) << "type:Text6(6)=0.1",
               {area + "31.4", rate + "176"}, 176);
        // 2.61 × 660 × 0.2 × 31.4^0.82 / 15 = 387.8
        accept("saturation at -10 passes",
               QStringList(insulated) << "type:Text6(6)=0.05"
                                      << "type:Text6(5)=-10",
               {area + "31.4", rate + "387"}, 387);
        refuse("liquefied with nothing chosen", {"tab:1"}, "介质类型未选择!");
        refuse("no insulation", {"tab:1", "click:Option3(0)"}, "保温类型未选择!");
        refuse("uninsulated without installation",
               {"tab:1", "click:Option3(0)", "click:Option3(6)"}, "容器安装形式未选择!");
        refuse("no vessel form",
               {"tab:1", "click:Option3(1)", "click:Option3(6)", "click:Option3(3)"},
               "容器形式未选择!");
        refuse("D 0.149", QStringList(sphere) << "type:Text6(0)=0.149", "容器参数未正确输入!");
        refuse("D and L empty",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(10)", "clear:Text6(0)", "clear:Text6(1)", "type:Text6(3)=300"},
               "容器参数未正确输入!");
        refuse("negative length",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(10)", "type:Text6(0)=2", "type:Text6(1)=-5", "type:Text6(3)=300"},
               "容器参数未正确输入!");
        refuse("insulated at saturation 0",
               QStringList(insulated) << "type:Text6(5)=0"
                                      << "type:Text6(6)=0.05",
               "相关参数未输入完整!");
        refuse("insulation 0.1001 thick", QStringList(insulated) << "type:Text6(6)=0.1001",
               "相关参数未输入完整!");
        refuse("saturation at 650",
               QStringList(insulated) << "type:Text6(6)=0.05"
                                      << "type:Text6(5)=650",
               "相关参数未输入完整!");
        refuse("latent heat left at 0",
               {"tab:1", "click:Option3(0)", "click:Option3(6)", "click:Option3(4)",
                "click:Option3(12)", "type:Text6(0)=2"},
               "气体汽化潜热参数未输入!");
    }
    void next_step_outcomes() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, messages);
        QFETCH(bool, accepted);
        QFETCH(float, stored);
        relief_window* w = open("menu_cal_fa");
        workflow().vessel_ws = 77.0F;
        run(w, steps);
        const int tab = find<QTabWidget>(w, "SSTab1")->currentIndex();

        message_recorder recorder;
        click_button(find<QPushButton>(w, "Command1"));
        QCOMPARE(recorder.texts(), messages);
        QCOMPARE(workflow().vessel_ws, stored);
        QCOMPARE(main->valve_window() != nullptr, accepted);
        QVERIFY(!main->disc_window());
        // The window stays open with its tab.
        QCOMPARE(main->relief_window(), static_cast<QMdiSubWindow*>(w));
        QCOMPARE(find<QTabWidget>(w, "SSTab1")->currentIndex(), tab);
    }

    void safety_valve_route_opens_the_valve_window() {
        relief_window* w = open("menu_cal_fa");
        run(w, {"type:Text1=800"});
        message_recorder recorder;
        click_button(find<QPushButton>(w, "Command1"));
        QVERIFY(main->valve_window());
        QVERIFY(!main->disc_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), main->valve_window());
        QVERIFY(main->valve_window()->isVisible());
        // form_fa stays open behind it, with its inputs.
        QVERIFY(w->isVisible());
        QCOMPARE(find<QLineEdit>(w, "Text1")->text(), QStringLiteral("800"));
    }

    void bursting_disc_route_opens_the_disc_window_and_reuses_it() {
        relief_window* w = open("menu_cal_pian");
        run(w, {"type:Text1=800"});
        message_recorder recorder;
        click_button(find<QPushButton>(w, "Command1"));
        QMdiSubWindow* disc = main->disc_window();
        QVERIFY(disc);
        QVERIFY(!main->valve_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), disc);
        QCOMPARE(workflow().vessel_ws, 800.0F);
        const auto windows = main->mdi_area()->subWindowList().size();

        // Back to form_fa, new inputs, a second press: the same disc window comes forward.
        main->mdi_area()->setActiveSubWindow(w);
        run(w, {"type:Text1=950.5"});
        click_button(find<QPushButton>(w, "Command1"));
        QCOMPARE(main->disc_window(), disc);
        QCOMPARE(main->mdi_area()->subWindowList().size(), windows);
        QCOMPARE(main->mdi_area()->activeSubWindow(), disc);
        QCOMPARE(workflow().vessel_ws, 950.0F);
        QCOMPARE(recorder.texts(), (QStringList{rate_prompt + "800", rate_prompt + "950.5"}));
    }

    void any_route_but_the_safety_valve_opens_the_disc_window_data() {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("before any route choice") << false;
        QTest::newRow("bursting disc") << true;
    }
    void any_route_but_the_safety_valve_opens_the_disc_window() {
        QFETCH(bool, chosen);
        relief_window* w = open("menu_cal_fa");
        workflow().cal_route = chosen ? std::optional(route::device::bursting_disc) : std::nullopt;
        run(w, {"type:Text1=800"});
        message_recorder recorder;
        click_button(find<QPushButton>(w, "Command1"));
        QVERIFY(main->disc_window());
        QVERIFY(!main->valve_window());
    }

    void other_route_while_open_opens_the_other_device_window() {
        relief_window* w = open("menu_cal_fa");
        run(w, {"type:Text1=800"});
        message_recorder recorder;
        click_button(find<QPushButton>(w, "Command1"));
        QVERIFY(main->valve_window());
        QCOMPARE(open("menu_cal_pian"), w);
        QCOMPARE(main->mdi_area()->activeSubWindow(), static_cast<QMdiSubWindow*>(w));
        click_button(find<QPushButton>(w, "Command1"));
        QVERIFY(main->disc_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), main->disc_window());
        QVERIFY(main->valve_window());  // stays open
    }

    void showing_again_keeps_tab_inputs_and_banner() {
        relief_window* w = open("menu_cal_fa");
        w->banner_timer()->stop();
        run(w, {"tab:0", "click:Option1", "type:Text2=1500.7"});
        for (int i = 0; i < 5; ++i) w->move_banner();
        const int banner_x = find<QLabel>(w, "Image1")->x();
        QCOMPARE(open("menu_cal_pian"), w);
        QCOMPARE(find<QTabWidget>(w, "SSTab1")->currentIndex(), 0);
        QVERIFY(find<QRadioButton>(w, "Option1")->isChecked());
        QVERIFY(find<QLineEdit>(w, "Text2")->isEnabled());
        QCOMPARE(find<QLineEdit>(w, "Text2")->text(), QStringLiteral("1500.7"));
        QVERIFY(std::abs(w->banner_angle() - 0.4) < 1e-12);
        QCOMPARE(find<QLabel>(w, "Image1")->x(), banner_x);
    }

    void closed_window_opens_afresh() {
        relief_window* w = open("menu_cal_fa");
        run(w, {"tab:1", "click:Option3(7)", "type:Text6(0)=3", "tab:0", "click:Option2"});
        w->move_banner();
        QPointer<QMdiSubWindow> first = w;
        main->close_relief_window();
        QTRY_VERIFY(first.isNull());
        relief_window* again = open("menu_cal_pian");
        QCOMPARE(find<QTabWidget>(again, "SSTab1")->currentIndex(), 2);
        for (QRadioButton* option : again->findChildren<QRadioButton*>())
            QVERIFY(!option->isChecked());
        QCOMPARE(find<QLineEdit>(again, "Text6(0)")->text(), QStringLiteral("0"));
        QVERIFY(!find<QLineEdit>(again, "Text3")->isEnabled());
        QVERIFY(option3(again, 2)->isEnabled());
        QCOMPARE(again->banner_angle(), 0.0);
    }

    void text_boxes_are_announced_by_their_labels_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::newRow("Text1") << "Text1"
                               << "Label2";
        QTest::newRow("Text2") << "Text2"
                               << "Label5";
        QTest::newRow("Text3") << "Text3"
                               << "Label7";
        QTest::newRow("Text4") << "Text4"
                               << "Label8";
        QTest::newRow("Text5") << "Text5"
                               << "Label9";
        for (int i = 0; i < 7; ++i)
            QTest::newRow(qPrintable(QStringLiteral("Text6(%1)").arg(i)))
                << QStringLiteral("Text6(%1)").arg(i) << QStringLiteral("Label10(%1)").arg(i);
    }
    void text_boxes_are_announced_by_their_labels() {
        QFETCH(QString, box);
        QFETCH(QString, label);
        relief_window* w = open("menu_cal_fa");
        auto* edit = find<QLineEdit>(w, box);
        auto* caption = find<QLabel>(w, label);
        QCOMPARE(caption->buddy(), static_cast<QWidget*>(edit));
        QVERIFY(!caption->text().isEmpty());
        QCOMPARE(accessible_name(edit), caption->text());
    }

    void buttons_and_frames_are_announced_by_their_captions() {
        relief_window* w = open("menu_cal_fa");
        int buttons = 0;
        for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
            const QString name = button->objectName();
            if (!name.startsWith(QStringLiteral("Option")) &&
                !name.startsWith(QStringLiteral("Command")))
                continue;  // the tab row's scroll arrows
            QCOMPARE(accessible_name(button), button->text());
            ++buttons;
        }
        QCOMPARE(buttons, 2 + 11 + 1);
        for (QGroupBox* frame : w->findChildren<QGroupBox*>())
            if (!frame->title().isEmpty()) QCOMPARE(accessible_name(frame), frame->title());
        QCOMPARE(accessible_name(find<QWidget>(w, "Command1")), QStringLiteral("下一步"));
    }

    void tab_order_reads_the_window_from_top_to_bottom() {
        relief_window* w = open("menu_cal_fa");
        auto* tabs = find<QTabWidget>(w, "SSTab1");
        QStringList expected{"SSTab1", "Option1", "Text2", "Option2", "Text3", "Text4", "Text5"};
        for (int i : {0, 1, 6, 7, 2, 3, 4, 10, 11, 9, 12})
            expected << QStringLiteral("Option3(%1)").arg(i);
        for (int i = 0; i < 7; ++i) expected << QStringLiteral("Text6(%1)").arg(i);
        expected << "Text1"
                 << "Command1";

        QStringList chain;
        QWidget* start = tabs->tabBar();
        QWidget* at = start;
        do {
            const QString name = at == tabs->tabBar() ? QStringLiteral("SSTab1") : at->objectName();
            if (expected.contains(name) && !chain.contains(name)) chain << name;
            at = at->nextInFocusChain();
        } while (at != start && chain.size() < expected.size());
        QCOMPARE(chain, expected);

        // On the open tab, Tab goes from the tab row to the rate box and on to "下一步".
        tabs->tabBar()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), find<QWidget>(w, "Text1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), find<QWidget>(w, "Command1"));
    }

private:
    relief_window* open(const char* route_action) {
        auto* action = main->findChild<QAction*>(QString::fromLatin1(route_action));
        if (!action) return nullptr;
        action->trigger();
        return qobject_cast<relief_window*>(main->relief_window());
    }

    static QRadioButton* option3(QWidget* w, int index) {
        return find<QRadioButton>(w, QStringLiteral("Option3(%1)").arg(index));
    }

    static void choose_tab(QWidget* w, int index) {
        QTabBar* bar = find<QTabWidget>(w, "SSTab1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QCOMPARE(bar->currentIndex(), index);
    }

    static void type(QWidget* w, const QString& name, const QString& text) {
        auto* box = find<QLineEdit>(w, name);
        QVERIFY2(box->isVisible() && box->isEnabled(), qPrintable(name));
        box->clear();
        QTest::keyClicks(box, text);
        QCOMPARE(box->text(), text);
    }

    // Steps: "tab:N", "click:Option", "type:Box=text", "clear:Box".
    static void run(QWidget* w, const QStringList& steps) {
        for (const QString& step : steps) {
            const QString what = step.section(QLatin1Char(':'), 0, 0);
            const QString rest = step.section(QLatin1Char(':'), 1);
            if (what == QStringLiteral("tab")) {
                choose_tab(w, rest.toInt());
            } else if (what == QStringLiteral("click")) {
                click_option(find<QRadioButton>(w, rest));
            } else if (what == QStringLiteral("type")) {
                type(w, rest.section(QLatin1Char('='), 0, 0), rest.section(QLatin1Char('='), 1));
            } else if (what == QStringLiteral("clear")) {
                find<QLineEdit>(w, rest)->clear();
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
            }
        }
    }

    main_window* main = nullptr;
};

QTEST_MAIN(relief_window_test)
#include "relief_window_test.moc"
