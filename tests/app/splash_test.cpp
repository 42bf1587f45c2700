#include <memory>

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "main_window.h"
#include "splash.h"
#include "ui_support.h"

using namespace ventora;
using app::splash_screen;

class splash_test : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<main_window> main;
    QPointer<splash_screen> splash;
    // The main windows that exist: the splash must hand over to exactly one.
    static int main_windows() {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<main_window*>(w)) ++count;
        return count;
    }

    QTimer* timer() { return splash->findChild<QTimer*>(QStringLiteral("Timer1")); }
    void tick() {
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection));
    }
    // The splash has unloaded itself and exactly one main window has loaded and is showing. The
    // short wait keeps Timer1's own fourth tick (4 s after opening) from passing for a close.
    void verify_handed_over() {
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 300);
        QVERIFY(main);
        QVERIFY(main->isVisible());
        QCOMPARE(main_windows(), 1);
    }
    void verify_still_showing() {
        QCoreApplication::processEvents();
        QVERIFY(!splash.isNull());
        QVERIFY(splash->isVisible());
        QVERIFY(!main);
        QCOMPARE(main_windows(), 0);
    }

private slots:
    void init() {
        splash = app::start_with_splash(main);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
    }
    void cleanup() {
        delete splash;
        main.reset();
    }

    void splash_is_a_frameless_fixed_grey_window() {
        QCOMPARE(splash->objectName(), QStringLiteral("frmSplash"));
        QVERIFY(splash->isWindow());
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        // A splash screen window type keeps it out of the task bar.
        QCOMPARE(splash->windowType(), Qt::SplashScreen);
        QCOMPARE(splash->size(), QSize(492, 283));  // 7380 x 4248 twips
        QCOMPARE(splash->minimumSize(), splash->maximumSize());
        QCOMPARE(splash->palette().color(QPalette::Window), QColor(192, 192, 192));
        QVERIFY(splash->windowTitle().isEmpty());

        auto* frame = testing::find<QFrame>(splash, QStringLiteral("Frame1"));
        QCOMPARE(frame->geometry(), QRect(8, 8, 472, 270));  // 120, 120, 7080, 4050 twips
        QCOMPARE(frame->palette().color(QPalette::Window), QColor(192, 192, 192));
    }

    void splash_opens_centred_on_the_screen() {
        const QRect screen = splash->screen()->geometry();
        QVERIFY(qAbs(splash->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(splash->frameGeometry().center().y() - screen.center().y()) <= 1);
    }

    void labels_have_their_text_font_and_colour_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("colour");
        const QColor red(255, 0, 0), blue(0, 0, 255), magenta(255, 0, 255), black(Qt::black);
        QTest::newRow("lblCompanyProduct") << "lblCompanyProduct" << "欢迎您使用2000年版" << "隶书" << 18.0
                                           << false << blue;
        QTest::newRow("lblProductName") << "lblProductName" << "Ventora软件" << "黑体" << 18.0 << true
                                        << red;
        QTest::newRow("lblPlatform") << "lblPlatform" << "For Windows9X " << "宋体" << 13.8 << true
                                     << magenta;
        QTest::newRow("Label1") << "Label1" << "Win2000 WinXP" << "宋体" << 13.8 << true << magenta;
        QTest::newRow("lblVersion") << "lblVersion" << "2000版本" << "宋体" << 9.0 << false << black;
        QTest::newRow("lblCompany") << "lblCompany" << "编制：   " << "宋体" << 9.0 << false << black;
        QTest::newRow("Label2") << "Label2" << "Corvalent" << "宋体" << 9.0 << false << black;
        QTest::newRow("lblCopyright") << "lblCopyright" << "    " << "宋体" << 9.0 << false << black;
    }
    void labels_have_their_text_font_and_colour() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(QColor, colour);
        auto* label = testing::find<QLabel>(splash, name);
        QCOMPARE(label->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().families().value(0), face);
        QCOMPARE(label->font().pointSizeF(), points);
        QCOMPARE(label->font().bold(), bold);
        QCOMPARE(label->palette().color(QPalette::WindowText), colour);
        // Nothing is cut off: every label is at least as large as its text.
        QVERIFY(label->height() >= label->fontMetrics().height());
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(text.trimmed()));
    }

    void labels_sit_where_designed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("anchor");  // top-left, or top-right for right-aligned labels
        QTest::addColumn<bool>("right_aligned");
        QTest::newRow("lblCompanyProduct") << "lblCompanyProduct" << QPoint(40, 40) << false;
        QTest::newRow("lblProductName") << "lblProductName" << QPoint(136, 88) << false;
        QTest::newRow("lblPlatform") << "lblPlatform" << QPoint(362, 128) << true;  // 3240 + 2196
        QTest::newRow("Label1") << "Label1" << QPoint(296, 152) << false;
        QTest::newRow("lblVersion") << "lblVersion" << QPoint(382, 184) << true;  // 3720 + 2004
        QTest::newRow("lblCompany") << "lblCompany" << QPoint(216, 208) << false;
        QTest::newRow("Label2") << "Label2" << QPoint(256, 208) << false;
        QTest::newRow("lblCopyright") << "lblCopyright" << QPoint(272, 232) << false;
        QTest::newRow("imgLogo") << "imgLogo" << QPoint(16, 128) << false;
    }
    void labels_sit_where_designed() {
        QFETCH(QString, name);
        QFETCH(QPoint, anchor);
        QFETCH(bool, right_aligned);
        auto* control = testing::find<QLabel>(splash, name);
        const QRect box = control->geometry();
        QCOMPARE(right_aligned ? QPoint(box.right() + 1, box.top()) : box.topLeft(), anchor);
    }

    void logo_shows_the_program_icon_stretched() {
        auto* logo = testing::find<QLabel>(splash, QStringLiteral("imgLogo"));
        QCOMPARE(logo->size(), QSize(105, 109));  // 1572 x 1632 twips
        QVERIFY(logo->hasScaledContents());
        QVERIFY(!logo->pixmap().isNull());
        QVERIFY(!logo->accessibleName().isEmpty());
    }

    void timer_ticks_every_second() {
        QCOMPARE(timer()->interval(), 1000);
        QVERIFY(timer()->isActive());
        QCOMPARE(splash->ticks(), 0);
    }

    void fourth_tick_closes_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("closes");
        QTest::newRow("one tick keeps it") << 1 << false;
        QTest::newRow("two ticks keep it") << 2 << false;
        QTest::newRow("three ticks keep it") << 3 << false;
        QTest::newRow("the fourth tick closes it") << 4 << true;
    }
    void fourth_tick_closes() {
        QFETCH(int, ticks);
        QFETCH(bool, closes);
        for (int i = 0; i < ticks; ++i) tick();
        if (closes) {
            verify_handed_over();
        } else {
            QCOMPARE(splash->ticks(), ticks);
            verify_still_showing();
        }
    }

    void closing_stops_the_timer() {
        QPointer<QTimer> timer1 = timer();
        for (int i = 0; i < 4; ++i) tick();
        QVERIFY(timer1.isNull() || !timer1->isActive());
        verify_handed_over();
    }

    void character_keys_close_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Enter") << "frmSplash" << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << "frmSplash" << int(Qt::Key_Enter) << true;
        QTest::newRow("Esc") << "frmSplash" << int(Qt::Key_Escape) << true;
        QTest::newRow("Backspace") << "frmSplash" << int(Qt::Key_Backspace) << true;
        QTest::newRow("letter") << "frmSplash" << int(Qt::Key_A) << true;
        QTest::newRow("digit") << "frmSplash" << int(Qt::Key_7) << true;
        QTest::newRow("space") << "frmSplash" << int(Qt::Key_Space) << true;
        QTest::newRow("Tab") << "frmSplash" << int(Qt::Key_Tab) << true;
        QTest::newRow("Esc on Label1") << "Label1" << int(Qt::Key_Escape) << true;
        QTest::newRow("letter on the frame") << "Frame1" << int(Qt::Key_Q) << true;
        QTest::newRow("Enter on the logo") << "imgLogo" << int(Qt::Key_Return) << true;
        QTest::newRow("left arrow") << "frmSplash" << int(Qt::Key_Left) << false;
        QTest::newRow("down arrow") << "frmSplash" << int(Qt::Key_Down) << false;
        QTest::newRow("F1") << "frmSplash" << int(Qt::Key_F1) << false;
        QTest::newRow("F5") << "frmSplash" << int(Qt::Key_F5) << false;
        QTest::newRow("Shift alone") << "frmSplash" << int(Qt::Key_Shift) << false;
        QTest::newRow("Ctrl alone") << "frmSplash" << int(Qt::Key_Control) << false;
        QTest::newRow("Home") << "frmSplash" << int(Qt::Key_Home) << false;
        QTest::newRow("arrow on Label2") << "Label2" << int(Qt::Key_Right) << false;
    }
    void character_keys_close() {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(bool, closes);
        QWidget* receiver = target == splash->objectName() ? splash.data()
                                                           : testing::find<QWidget>(splash, target);
        QTest::keyClick(receiver, Qt::Key(key));
        if (closes)
            verify_handed_over();
        else
            verify_still_showing();
    }

    void clicks_close_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Frame1, empty area") << "Frame1" << true;
        QTest::newRow("imgLogo") << "imgLogo" << true;
        QTest::newRow("lblCompanyProduct") << "lblCompanyProduct" << true;
        QTest::newRow("lblProductName") << "lblProductName" << true;
        QTest::newRow("lblPlatform") << "lblPlatform" << true;
        QTest::newRow("lblVersion") << "lblVersion" << true;
        QTest::newRow("lblCompany") << "lblCompany" << true;
        QTest::newRow("lblCopyright") << "lblCopyright" << true;
        QTest::newRow("Label1 does nothing") << "Label1" << false;
        QTest::newRow("Label2 does nothing") << "Label2" << false;
        QTest::newRow("margin outside Frame1 does nothing") << "frmSplash" << false;
    }
    void clicks_close() {
        QFETCH(QString, target);
        QFETCH(bool, closes);
        QWidget* widget;
        QPoint at;
        if (target == QStringLiteral("frmSplash")) {
            widget = splash;
            at = QPoint(3, splash->height() / 2);  // the 8-pixel margin left of the frame
        } else if (target == QStringLiteral("Frame1")) {
            widget = testing::find<QWidget>(splash, target);
            at = QPoint(widget->width() - 12, widget->height() - 12);
            QCOMPARE(widget->childAt(at), nullptr);
        } else {
            widget = testing::find<QWidget>(splash, target);
            at = widget->rect().center();
        }
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        if (closes)
            verify_handed_over();
        else
            verify_still_showing();
    }

    void right_click_does_nothing() {
        QTest::mouseClick(testing::find<QWidget>(splash, QStringLiteral("lblProductName")),
                          Qt::RightButton);
        verify_still_showing();
    }

    void key_and_fourth_tick_in_one_pass_load_the_main_window_once() {
        for (int i = 0; i < 3; ++i) tick();
        QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape,
                                                          Qt::NoModifier, QStringLiteral("\x1b")));
        QMetaObject::invokeMethod(timer(), "timeout", Qt::QueuedConnection);
        QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, Qt::Key_A,
                                                          Qt::NoModifier, QStringLiteral("a")));
        main_window* first = nullptr;
        QTRY_VERIFY((first = main.get()) != nullptr);
        QCoreApplication::processEvents();
        QCOMPARE(main.get(), first);
        verify_handed_over();
    }

    void click_after_a_key_loads_the_main_window_once() {
        QWidget* logo = testing::find<QWidget>(splash, QStringLiteral("imgLogo"));
        QTest::keyClick(splash, Qt::Key_Return);
        if (!splash.isNull()) QTest::mouseClick(logo, Qt::LeftButton);
        verify_handed_over();
    }

    void closes_by_itself_about_four_seconds_after_opening() {
        QTest::qWait(3300);
        verify_still_showing();
        QTRY_VERIFY_WITH_TIMEOUT(main != nullptr, 2000);
        QTRY_VERIFY(splash.isNull());
        QCOMPARE(main_windows(), 1);
    }

    void main_window_is_built_only_when_the_splash_closes() {
        QCOMPARE(main_windows(), 0);
        QVERIFY(QApplication::topLevelWidgets().size() >= 1);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QStringLiteral("MDIForm1"));
    }
};

QTEST_MAIN(splash_test)
#include "splash_test.moc"
