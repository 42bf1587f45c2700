// The 计算书 window as a person meets it: Ctrl+P from the main window and from a calculation
// window, "nothing yet" before any calculation, the book after one, the title-block fields kept
// in the workflow and the settings, and export with its failure message.
#include "book/book_window.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "book_samples.h"
#include "main_window.h"
#include "shell/settings.h"
#include "shell/workflow_state.h"
#include "host_tool.h"
#include "ui_support.h"

using namespace ventora;
using namespace ventora::testing;

namespace {

QString pdf_text(const QString& path) {
    return run_host_tool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})
        .remove(QRegularExpression(QStringLiteral("\\s")));
}

// The route of the worked values as the windows leave it in the workflow after "下一步".
void compute_worked_route() {
    const account::project_info title_block = workflow().book.project;
    workflow().book = book::samples::valve_route().route;
    workflow().book.project = title_block;
    emit workflow_events().book_changed();
}

// Types as a Chinese input method does: the text arrives committed in one event.
void type_text(QLineEdit* box, const QString& text) {
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

}  // namespace

class book_window_test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The settings go to a test folder, cleared before each test.
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() {
        user_settings().clear();
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

    void ctrl_p_opens_one_book_window() {
        QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
        QMdiSubWindow* book = main->book_window();
        QVERIFY(book);
        QCOMPARE(book->windowTitle(), QStringLiteral("计算书"));
        QCOMPARE(book->mdiArea(), main->mdi_area());
        QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(main->book_window(), book);
        QCOMPARE(main->mdi_area()->subWindowList().size(), 1);
    }

    void ctrl_p_and_right_click_menu_work_from_a_calculation_window() {
        main->show_valve_window();
        QWidget* client = main->valve_window()->widget();
        QCOMPARE(client->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction* tool = nullptr;
        for (QAction* a : client->actions()) {
            if (a->objectName() == QLatin1String("tool_book")) tool = a;
        }
        QVERIFY(tool);
        QCOMPARE(tool->text(), QStringLiteral("计算书"));
        auto* box = find<QLineEdit>(client, QStringLiteral("Text1(10)"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(main->book_window());
        QCOMPARE(main->mdi_area()->activeSubWindow(), main->book_window());
    }

    void says_nothing_yet_then_shows_the_book() {
        main->show_book_window();
        QWidget* book = main->book_window();
        auto* pages = find<QStackedWidget>(book, QStringLiteral("book_pages"));
        auto* empty = find<QLabel>(book, QStringLiteral("label_empty"));
        QCOMPARE(pages->currentWidget(), empty);
        QVERIFY(empty->text().startsWith(QStringLiteral("尚无计算结果")));
        QVERIFY(!find<QPushButton>(book, QStringLiteral("button_pdf"))->isEnabled());
        QVERIFY(!find<QPushButton>(book, QStringLiteral("button_print"))->isEnabled());

        compute_worked_route();
        auto* preview = find<QPrintPreviewWidget>(book, QStringLiteral("book_preview"));
        QCOMPARE(pages->currentWidget(), preview);
        QVERIFY(find<QPushButton>(book, QStringLiteral("button_pdf"))->isEnabled());
        QTRY_VERIFY(preview->pageCount() >= 2);
        QVERIFY(recorder->texts().isEmpty());
    }

    void title_fields_fill_the_workflow_and_are_remembered() {
        main->show_book_window();
        auto* project = find<QLineEdit>(main->book_window(), QStringLiteral("text_project"));
        auto* tag = find<QLineEdit>(main->book_window(), QStringLiteral("text_tag"));
        type_text(project, QStringLiteral("储运工程"));
        type_text(tag, QStringLiteral("V-1203"));
        QCOMPARE(workflow().book.project.project, std::string("储运工程"));
        QCOMPARE(workflow().book.project.tag, std::string("V-1203"));
        // The next run: a fresh workflow and a fresh window read the settings.
        main->book_window()->close();
        QTRY_VERIFY(!main->book_window());
        workflow() = workflow_state{};
        main->show_book_window();
        QCOMPARE(find<QLineEdit>(main->book_window(), QStringLiteral("text_project"))->text(),
                 QStringLiteral("储运工程"));
        QCOMPARE(workflow().book.project.tag, std::string("V-1203"));
    }

    void exported_pdf_holds_the_title_block_and_the_verdict() {
        main->show_book_window();
        auto* window = qobject_cast<book::book_window*>(main->book_window());
        QVERIFY(window);
        type_text(find<QLineEdit>(window, QStringLiteral("text_equipment")),
                  QStringLiteral("压缩空气储罐"));
        compute_worked_route();
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("book"));  // the suffix is added
        window->set_path_chooser([&](QWidget*, const QString&, const QString&) { return chosen; });
        click_button(find<QPushButton>(window, QStringLiteral("button_pdf")));
        QVERIFY(recorder->texts().isEmpty());
        const QString text = pdf_text(chosen + QStringLiteral(".pdf"));
        for (const QString& expected :
             {QStringLiteral("压力容器安全泄放装置计算书"), QStringLiteral("压缩空气储罐"),
              QStringLiteral("1962"), QStringLiteral("12873"), QStringLiteral("合格")}) {
            QVERIFY2(text.contains(expected), qPrintable(expected));
        }
    }

    void failed_export_is_one_message_and_opens_nothing() {
        QStringList opened;
        auto* window = new book::book_window([&](const QString& path) { opened.append(path); });
        main->mdi_area()->addSubWindow(window);
        window->show();
        compute_worked_route();
        QTemporaryDir dir;
        QString chosen = dir.filePath(QStringLiteral("missing/book.odt"));
        window->set_path_chooser([&](QWidget*, const QString&, const QString&) { return chosen; });
        click_button(find<QPushButton>(window, QStringLiteral("button_odt")));
        QCOMPARE(recorder->texts().size(), 1);
        QVERIFY(recorder->texts().first().startsWith(QStringLiteral("无法写入文件")));
        QVERIFY(opened.isEmpty());

        chosen = dir.filePath(QStringLiteral("book.odt"));
        click_button(find<QPushButton>(window, QStringLiteral("button_odt")));
        QCOMPARE(opened, QStringList{chosen});
        QVERIFY(QFileInfo(chosen).size() > 0);
        QCOMPARE(recorder->texts().size(), 1);
    }

private:
    main_window* main = nullptr;
    message_recorder* recorder = nullptr;
};

QTEST_MAIN(book_window_test)
#include "book_window_test.moc"
