// A real message box, as the engineer meets it after a calculation: its text can be selected with
// the mouse and the keyboard, and Ctrl+C puts it on the clipboard for a report. Nothing else about
// the box changes.
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "shell/message.h"

using namespace ventora;

namespace {

const QString area = QStringLiteral("当前计算出的爆破片所需的最小排放面积(mm^2)： 1234.57");

// Shows a real box with text, runs act on it while it is up, then closes it with its OK button.
void with_box(QWidget* parent, const QString& text, const std::function<void(QMessageBox*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTest::qFail("no message box is up", __FILE__, __LINE__);
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            return;
        }
        // As a person meets it: the box is the active window.
        [&] {
            QVERIFY(QTest::qWaitForWindowExposed(box));
            box->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(box));
            act(box);
        }();
        box->button(QMessageBox::Ok)->click();
    });
    show_message(parent, text);
}

QLabel* text_label(QMessageBox* box, const QString& text) {
    for (QLabel* label : box->findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

}  // namespace

class message_box_test : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("before")); }

    void ctrl_c_copies_the_text_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("copied");
        QTest::newRow("nothing selected, focus on 确定: the whole text") << "button" << area;
        QTest::newRow("nothing selected, focus on the text: the whole text") << "text" << area;
        QTest::newRow("first six characters chosen with Shift+Right") << "keyboard" << area.left(6);
        QTest::newRow("the whole text chosen with Shift+End") << "keyboard to end" << area;
        QTest::newRow("the number dragged over with the mouse") << "mouse" << QStringLiteral("1234.57");
    }
    void ctrl_c_copies_the_text() {
        QFETCH(QString, how);
        QFETCH(QString, copied);
        QWidget parent;
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        with_box(&parent, area, [&](QMessageBox* box) {
            QLabel* label = text_label(box, area);
            QVERIFY(label);
            QWidget* target = box->button(QMessageBox::Ok);
            if (how != QLatin1String("button")) {
                label->setFocus(Qt::TabFocusReason);
                target = label;
            }
            if (how == QLatin1String("keyboard")) {
                QTest::keyClick(label, Qt::Key_Home);
                for (int i = 0; i < 6; ++i) QTest::keyClick(label, Qt::Key_Right, Qt::ShiftModifier);
            } else if (how == QLatin1String("keyboard to end")) {
                QTest::keyClick(label, Qt::Key_Home);
                QTest::keyClick(label, Qt::Key_End, Qt::ShiftModifier);
            } else if (how == QLatin1String("mouse")) {
                // From just before the number to past the end of the line.
                const QFontMetrics metrics = label->fontMetrics();
                const int start = label->contentsRect().left() +
                                  metrics.horizontalAdvance(area.left(area.size() - 7)) + 1;
                const int y = label->contentsRect().top() + metrics.height() / 2;
                QTest::mousePress(label, Qt::LeftButton, {}, QPoint(start, y));
                QTest::mouseMove(label, QPoint(label->width() - 1, y));
                QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() - 1, y));
            }
            QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        });
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }

    void ctrl_c_with_nothing_to_copy_leaves_no_other_text() {
        // Another box's text never lingers: each box copies its own.
        QWidget parent;
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QString capacity = QStringLiteral("当前计算出的安全阀排放能力(kg/h)： 5678.9");
        with_box(&parent, area, [](QMessageBox* box) {
            QTest::keyClick(box->button(QMessageBox::Ok), Qt::Key_C, Qt::ControlModifier);
        });
        with_box(&parent, capacity, [](QMessageBox* box) {
            QTest::keyClick(box->button(QMessageBox::Ok), Qt::Key_C, Qt::ControlModifier);
        });
        QCOMPARE(QGuiApplication::clipboard()->text(), capacity);
    }

    void box_is_otherwise_unchanged() {
        QWidget parent;
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        with_box(&parent, area, [](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), app_title);
            QCOMPARE(box->text(), area);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(box->button(QMessageBox::Ok)->icon().isNull());
            QCOMPARE(box->windowModality(), Qt::ApplicationModal);
            // The text is plain, so that what is copied is what is read.
            QVERIFY(text_label(box, area));
            QCOMPARE(text_label(box, area)->textFormat() == Qt::RichText, false);
        });
    }
};

QTEST_MAIN(message_box_test)
#include "message_box_test.moc"
