// Every calculation window as a careful engineer looks at it, drawn in the faces the program
// installs: each frame's caption sits on its top line, no caption runs into its box, digits keep
// clear of a box's border, the clock panels hold their longest texts, every close box shows a
// cross, and the safety-valve window is one grey throughout. The checks read the drawn pixels,
// not the coordinates the windows were given.
#include <functional>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "main_window.h"
#include "shell/status_bar.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;
using ventora::testing::find;

namespace {

// The least room between a caption's ink and its box: what the narrowest label of the windows
// was laid out with in the GB2312 faces (气体摩尔质量 in the bursting-disc window, 6.4 px).
constexpr int least_label_gap = 6;
// Digits keep at least this many pixels clear between their ink and a box's frame, all round:
// what the 9-point boxes show (the 14.4-point typed rate had 2 below its digits).
constexpr int least_digit_clearance = 3;

// Renders widget alone (no background, no children) twice, with its text colours black and then
// red, and returns the rectangle of the pixels that differ: the ink of its text. Empty when it
// draws no text.
QRect text_ink(QWidget* widget) {
    const QPalette saved = widget->palette();
    auto render = [&](const QColor& ink) {
        QPalette palette = saved;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(group, role, ink);
        widget->setPalette(palette);
        QImage image(widget->size(), QImage::Format_RGB32);
        image.fill(saved.color(QPalette::Window));
        widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return image;
    };
    const QImage black = render(Qt::black);
    const QImage red = render(Qt::red);
    widget->setPalette(saved);
    QRect ink;
    for (int y = 0; y < black.height(); ++y)
        for (int x = 0; x < black.width(); ++x) {
            const QColor a = black.pixelColor(x, y);
            const QColor b = red.pixelColor(x, y);
            // Faint anti-aliasing at the edge of a stroke is not ink a person sees.
            if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 60)
                ink |= QRect(x, y, 1, 1);
        }
    return ink;
}

QString describe(const QRect& r) {
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

class window_look_test : public QObject {
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

    void every_frame_caption_sits_on_its_line_data() { windows(); }
    void every_frame_caption_sits_on_its_line() {
        QMdiSubWindow* window = open();
        int captions = 0;
        on_every_page(window, [&] {
            for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
                if (!frame->isVisible() || frame->title().isEmpty()) continue;
                ++captions;
                // The top line: the first row drawn in the column just inside the right-hand side,
                // well away from the caption.
                QImage plain(frame->size(), QImage::Format_RGB32);
                const QColor ground = frame->palette().color(QPalette::Window);
                plain.fill(ground);
                frame->render(&plain, QPoint(), QRegion(), QWidget::RenderFlags());
                int line = -1;
                for (int y = 0; y < plain.height() && line < 0; ++y)
                    if (plain.pixelColor(plain.width() - 6, y) != ground) line = y;
                const QRect ink = text_ink(frame);
                const QString where = frame->objectName() + QStringLiteral(": line at ") +
                                      QString::number(line) + QStringLiteral(", caption ink ") +
                                      describe(ink);
                QVERIFY2(line >= 0 && !ink.isEmpty(), qPrintable(where));
                // On the line: through the middle half of the caption's ink.
                const int quarter = ink.height() / 4;
                QVERIFY2(ink.top() + quarter <= line && line <= ink.bottom() - quarter,
                         qPrintable(where));
            }
        });
        QVERIFY(captions > 0);
    }

    void no_caption_runs_into_its_box_data() { windows(); }
    void no_caption_runs_into_its_box() {
        QMdiSubWindow* window = open();
        int pairs = 0;
        on_every_page(window, [&] {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                auto* box = qobject_cast<QLineEdit*>(label->buddy());
                if (!box || !label->isVisible() || label->parentWidget() != box->parentWidget())
                    continue;
                ++pairs;
                const QRect ink = text_ink(label).translated(label->pos());
                const QRect keep_clear =
                    box->geometry().adjusted(-least_label_gap, 0, least_label_gap, 0);
                QVERIFY2(!ink.isEmpty() && !ink.intersects(keep_clear),
                         qPrintable(label->objectName() + QStringLiteral(" ink ") + describe(ink) +
                                    QStringLiteral(", ") + box->objectName() + QStringLiteral(" ") +
                                    describe(box->geometry())));
            }
        });
        QVERIFY(pairs > 0);
    }

    void digits_keep_clear_of_a_box_border_data() { windows(); }
    void digits_keep_clear_of_a_box_border() {
        QMdiSubWindow* window = open();
        int boxes = 0;
        on_every_page(window, [&] {
            for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
                if (!box->isVisible()) continue;
                ++boxes;
                box->setText(QStringLiteral("0.8"));
                const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
                const QRect inside =
                    box->rect().adjusted(frame + least_digit_clearance, frame + least_digit_clearance,
                                         -frame - least_digit_clearance,
                                         -frame - least_digit_clearance);
                const QRect ink = text_ink(box);
                QVERIFY2(!ink.isEmpty() && inside.contains(ink),
                         qPrintable(box->objectName() + QStringLiteral(" ink ") + describe(ink) +
                                    QStringLiteral(" in ") + describe(box->rect())));
            }
        });
        QVERIFY(boxes > 0);
    }

    void clock_panels_hold_their_longest_texts_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("date");
        QTest::addColumn<QString>("text");
        for (int which : {relief, valve}) {
            const QString name = which == relief ? QStringLiteral("form_fa") : QStringLiteral("form_anquanfa");
            auto row = [&](const char* what, bool date, const char* text) {
                QTest::newRow(qPrintable(name + QStringLiteral(": ") + QLatin1String(what)))
                    << which << date << QString::fromLatin1(text);
            };
            row("the date that did not fit, 2026-12-17", true, "2026-12-17");
            row("two two-digit fields, 2026-11-28", true, "2026-11-28");
            row("the year 2000 with 10 and 10", true, "2000-10-10");
            row("the shortest date, 2027-1-1", true, "2027-1-1");
            row("the last minute, 23:59", false, "23:59");
            row("midnight, 0:00", false, "0:00");
        }
    }
    void clock_panels_hold_their_longest_texts() {
        QFETCH(int, which);
        QFETCH(bool, date);
        QFETCH(QString, text);
        QMdiSubWindow* window = which == relief ? (main->show_relief_window(), main->relief_window())
                                                : (main->show_valve_window(), main->valve_window());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        auto* bar = find<clock_status_bar>(window, "StatusBar1");
        QLabel* panel = date ? bar->date_panel() : bar->time_panel();
        panel->setText(text);
        // The text's ink inside the sunken border with a pixel to spare on either side.
        const QRect ink = text_ink(panel);
        QVERIFY2(panel->contentsRect().adjusted(1, 0, -1, 0).contains(ink),
                 qPrintable(describe(ink) + QStringLiteral(" in ") + describe(panel->rect())));
        // The panels follow one another, the last one whole inside the bar, the bar across the
        // window's client area.
        QVERIFY(bar->welcome_panel()->geometry().right() < bar->time_panel()->x());
        QVERIFY(bar->time_panel()->geometry().right() < bar->date_panel()->x());
        QVERIFY(bar->date_panel()->geometry().right() < bar->width());
        QVERIFY(bar->x() >= 0 && bar->geometry().right() < bar->parentWidget()->width());
        // Nothing in front of the time and the date: the banner strip ends before them.
        for (QWidget* sibling : bar->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == bar || !sibling->isVisible()) continue;
            if (bar->parentWidget()->children().indexOf(sibling) < bar->parentWidget()->children().indexOf(bar))
                continue;
            const QRect clock(bar->mapToParent(bar->time_panel()->pos()),
                              bar->mapToParent(bar->date_panel()->geometry().bottomRight()));
            QVERIFY2(!sibling->geometry().intersects(clock), qPrintable(sibling->objectName()));
        }
    }

    void every_close_box_shows_a_cross_data() { windows(); }
    void every_close_box_shows_a_cross() {
        QMdiSubWindow* window = open();
        main->mdi_area()->setActiveSubWindow(window);
        QTRY_VERIFY(main->mdi_area()->activeSubWindow() == window);
        const QImage shot = window->grab().toImage();
        // The close box is the last square of the caption bar, drawn white on the active blue.
        const int bar = window->widget()->mapTo(window, QPoint(0, 0)).y();
        QVERIFY(bar > 0);
        // Inside the window's frame, whose lit edge is white too.
        QRect cross;
        for (int y = 4; y < bar - 1; ++y)
            for (int x = shot.width() - bar - 4; x < shot.width() - 4; ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (c.red() >= 230 && c.green() >= 230 && c.blue() >= 230) cross |= QRect(x, y, 1, 1);
            }
        // A dot is 2 × 2; a cross a person can aim at is at least 5 × 5, and both its strokes
        // reach the corners: white at the corners of the square, white at the centre.
        QVERIFY2(cross.width() >= 5 && cross.height() >= 5, qPrintable(describe(cross)));
        auto white = [&](QPoint p) {
            const QColor c = shot.pixelColor(p);
            return c.red() >= 230 && c.green() >= 230 && c.blue() >= 230;
        };
        QVERIFY(white(cross.topLeft()) && white(cross.topRight()));
        QVERIFY(white(cross.bottomLeft()) && white(cross.bottomRight()));
        QVERIFY(white(cross.center()));
        // Between the strokes, at the middle of each side, the caption bar shows through.
        QVERIFY(!white(QPoint(cross.center().x(), cross.top())));
        QVERIFY(!white(QPoint(cross.left(), cross.center().y())));
    }

    void safety_valve_window_is_one_grey_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("where");
        for (int tab : {0, 1})
            for (const char* where : {"page", "tab row beside the tabs", "status bar"})
                QTest::newRow(qPrintable(QStringLiteral("%1 tab: %2").arg(tab == 0 ? "说明" : "输入数据", where)))
                    << tab << QString::fromLatin1(where);
    }
    void safety_valve_window_is_one_grey() {
        QFETCH(int, tab);
        QFETCH(QString, where);
        main->show_valve_window();
        QMdiSubWindow* window = main->valve_window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        auto* tabs = find<QTabWidget>(window, "SSTab1");
        tabs->setCurrentIndex(tab);
        QWidget* client = window->widget();
        const QImage shot = client->grab().toImage();
        QPoint at;
        if (where == QLatin1String("page")) {
            // Left of the page's frame, halfway down.
            QWidget* page = tabs->currentWidget();
            at = page->mapTo(client, QPoint(4, page->height() / 2));
        } else if (where == QLatin1String("tab row beside the tabs")) {
            at = tabs->mapTo(client, QPoint(tabs->width() - 10, tabs->tabBar()->height() / 2));
        } else {
            QLabel* welcome = find<clock_status_bar>(window, "StatusBar1")->welcome_panel();
            at = welcome->mapTo(client, QPoint(3, welcome->height() / 2));
        }
        QCOMPARE(shot.pixelColor(at), QColor(192, 192, 192));
    }

private:
    enum { relief, valve, disc };

    static void windows() {
        QTest::addColumn<int>("which");
        QTest::newRow("form_fa (relief rate)") << int(relief);
        QTest::newRow("form_anquanfa (safety valve)") << int(valve);
        QTest::newRow("Form_pian (bursting disc)") << int(disc);
    }

    QMdiSubWindow* open() {
        QFETCH(int, which);
        QMdiSubWindow* window = nullptr;
        if (which == relief) {
            main->show_relief_window();
            window = main->relief_window();
        } else if (which == valve) {
            main->show_valve_window();
            window = main->valve_window();
        } else {
            main->show_disc_window();
            window = main->disc_window();
        }
        if (!window || !QTest::qWaitForWindowExposed(window)) QTest::qFail("window not shown", __FILE__, __LINE__);
        // What the window's show has asked for (its status bar's layout) is done before a person
        // sees it.
        QApplication::processEvents();
        return window;
    }

    // Runs check with each page of each tab control current in turn, as a person looks at them.
    static void on_every_page(QMdiSubWindow* window, const std::function<void()>& check) {
        const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
        if (tabs.isEmpty()) {
            check();
            return;
        }
        for (QTabWidget* control : tabs)
            for (int i = 0; i < control->count(); ++i) {
                control->setCurrentIndex(i);
                QApplication::processEvents();
                check();
                if (QTest::currentTestFailed()) return;
            }
    }

    main_window* main = nullptr;
};

QTEST_MAIN(window_look_test)
#include "window_look_test.moc"
