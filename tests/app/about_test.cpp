#include <memory>
#include <set>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "about.h"
#include "main_window.h"
#include "ui_support.h"

using namespace ventora;
using app::about_dialog;

namespace {

// Locations and start outcome given by the test; what was started is recorded.
class scripted_host : public app::sysinfo_host {
public:
    std::optional<QString> location_1;
    std::optional<QString> location_2;
    std::set<QString> plain_files;
    bool start_succeeds = true;
    QStringList* started = nullptr;

    std::optional<QString> tool_path() override { return location_1; }
    std::optional<QString> tool_folder() override { return location_2; }
    QString tool_in(const QString& folder) const override {
        return folder + QStringLiteral("/sysinfo");
    }
    bool is_plain_file(const QString& path) const override { return plain_files.count(path) > 0; }
    bool start(const QString& program) override {
        *started << program;
        return start_succeeds;
    }
};

// The locations of a scripted host, started for real.
class really_starting_host : public scripted_host {
public:
    bool start(const QString& program) override { return app::sysinfo_host::start(program); }
};

QList<about_dialog*> open_dialogs() {
    QList<about_dialog*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<about_dialog*>(w); dialog && dialog->isVisible())
            found << dialog;
    return found;
}

void write_script(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class about_test : public QObject {
    Q_OBJECT
private:
    QPointer<about_dialog> dialog;
    QStringList started;

    QPushButton* ok() { return testing::find<QPushButton>(dialog, QStringLiteral("cmdOK")); }
    QPushButton* sys_info() {
        return testing::find<QPushButton>(dialog, QStringLiteral("cmdSysInfo"));
    }
    scripted_host* use_scripted_host() {
        auto host = std::make_unique<scripted_host>();
        host->started = &started;
        scripted_host* raw = host.get();
        dialog->set_sysinfo_host(std::move(host));
        return raw;
    }

private slots:
    void init() {
        started.clear();
        app::show_about(nullptr);
        const QList<about_dialog*> dialogs = open_dialogs();
        QCOMPARE(dialogs.size(), 1);
        dialog = dialogs.first();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
    }
    void cleanup() { delete dialog; }

    void dialog_has_its_caption_and_version_line() {
        QCOMPARE(dialog->objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("关于 Ventora程序"));
        QCOMPARE(testing::find<QLabel>(dialog, QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("版本 1999.6.11"));
    }

    void dialog_is_a_fixed_white_non_modal_window() {
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->isModal());
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        const Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(dialog->size(), QSize(382, 237));  // 5724 x 3552 twips
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void controls_show_their_texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("lblTitle") << "lblTitle" << "Ventora程序";
        QTest::newRow("lblDescription")
            << "lblDescription"
            << "应用程序描述: 本程序根据1999年版《容规》对压力容器的安全装置 进行了计算，并直接输出统一格式的计算书。";
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << "";
    }
    void controls_show_their_texts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QLabel* label = testing::find<QLabel>(dialog, name);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
        // Every line of the text is inside the label.
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
    }

    void title_is_large_bold_blue_kaiti() {
        QLabel* title = testing::find<QLabel>(dialog, QStringLiteral("lblTitle"));
        QCOMPARE(title->font().families().value(0), QStringLiteral("楷体_GB2312"));
        QCOMPARE(title->font().pointSizeF(), 15.0);
        QVERIFY(title->font().bold());
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }

    void version_line_is_on_one_line() {
        QLabel* version = testing::find<QLabel>(dialog, QStringLiteral("lblVersion"));
        QCOMPARE(version->pos(), QPoint(158, 80));  // 2376, 1200 twips
        QVERIFY(version->width() >= version->fontMetrics().horizontalAdvance(version->text()));
        QVERIFY(version->height() < 2 * version->fontMetrics().lineSpacing());
    }

    void icon_and_etched_separator() {
        auto* icon = testing::find<QLabel>(dialog, QStringLiteral("picIcon"));
        QCOMPARE(icon->geometry(), QRect(24, 32, 26, 26));
        QVERIFY(!icon->pixmap().isNull());
        QWidget* grey = testing::find<QWidget>(dialog, QStringLiteral("Line1(1)"));
        QWidget* white = testing::find<QWidget>(dialog, QStringLiteral("Line1(0)"));
        QCOMPARE(grey->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(white->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(grey->height(), 1);
        QCOMPARE(white->height(), 2);
        QCOMPARE(white->y(), grey->y() + 1);
    }

    void buttons_have_their_captions_and_roles() {
        QCOMPARE(ok()->text(), QStringLiteral("确定"));
        QCOMPARE(sys_info()->text(), QStringLiteral("系统信息(&S)..."));
        QCOMPARE(ok()->geometry(), QRect(275, 175, 100, 23));
        QVERIFY(ok()->isDefault());
        QVERIFY(!sys_info()->isDefault());
        QCOMPARE(dialog->focusWidget(), ok());
        QCOMPARE(ok()->nextInFocusChain(), sys_info());
        // Announced by their captions, without the access key's marker.
        QCOMPARE(QAccessible::queryAccessibleInterface(ok())->text(QAccessible::Name),
                 QStringLiteral("确定"));
        QCOMPARE(QAccessible::queryAccessibleInterface(sys_info())->text(QAccessible::Name),
                 QStringLiteral("系统信息(S)..."));
    }

    void keys_press_the_right_button_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("looks_up");
        QTest::newRow("Enter on open") << "cmdOK" << int(Qt::Key_Return) << true << false;
        QTest::newRow("keypad Enter on open") << "cmdOK" << int(Qt::Key_Enter) << true << false;
        QTest::newRow("Esc on open") << "cmdOK" << int(Qt::Key_Escape) << true << false;
        QTest::newRow("space on OK") << "cmdOK" << int(Qt::Key_Space) << true << false;
        QTest::newRow("Enter on system information") << "cmdSysInfo" << int(Qt::Key_Return) << false << true;
        QTest::newRow("keypad Enter on system information") << "cmdSysInfo" << int(Qt::Key_Enter) << false << true;
        QTest::newRow("space on system information") << "cmdSysInfo" << int(Qt::Key_Space) << false << true;
        QTest::newRow("Esc on system information") << "cmdSysInfo" << int(Qt::Key_Escape) << true << false;
        QTest::newRow("access key S on open") << "cmdOK" << (Qt::Key_S | int(Qt::AltModifier)) << false << true;
    }
    void keys_press_the_right_button() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, closes);
        QFETCH(bool, looks_up);
        scripted_host* host = use_scripted_host();
        host->location_1 = QStringLiteral("/opt/info/hardinfo");
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* button = testing::find<QPushButton>(dialog, focus);
        button->setFocus();
        QCOMPARE(dialog->focusWidget(), button);
        // Through the window, as the keyboard delivers it: access keys are shortcuts.
        QTest::keyClick(dialog->windowHandle(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        // An access key presses its button with a short animation.
        QTRY_COMPARE(started, looks_up ? QStringList{"/opt/info/hardinfo"} : QStringList{});
        if (closes) {
            QTRY_VERIFY(dialog.isNull());
        } else {
            QCoreApplication::processEvents();
            QVERIFY(!dialog.isNull());
            QVERIFY(dialog->isVisible());
        }
    }

    void ok_click_unloads_the_dialog() {
        testing::click_button(ok());
        QTRY_VERIFY(dialog.isNull());
    }

    void one_dialog_comes_forward_again() {
        QLabel* version = testing::find<QLabel>(dialog, QStringLiteral("lblVersion"));
        sys_info()->setFocus();
        app::show_about(nullptr);
        QCOMPARE(open_dialogs().size(), 1);
        QCOMPARE(open_dialogs().first(), dialog.data());
        // Brought forward, not loaded again.
        QCOMPARE(testing::find<QLabel>(dialog, QStringLiteral("lblVersion")), version);
        QCOMPARE(dialog->focusWidget(), sys_info());
    }

    void closed_dialog_loads_afresh() {
        sys_info()->setFocus();
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
        app::show_about(nullptr);
        QCOMPARE(open_dialogs().size(), 1);
        dialog = open_dialogs().first();
        QCOMPARE(dialog->focusWidget(), ok());
    }

    void menu_item_opens_one_dialog_beside_the_main_window() {
        delete dialog;
        main_window window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* about = window.findChild<QAction*>(QStringLiteral("menu_about"));
        about->trigger();
        about->trigger();
        QCOMPARE(open_dialogs().size(), 1);
        dialog = open_dialogs().first();
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->isModal());
        QVERIFY(window.isEnabled());
        delete dialog;
    }

    void system_information_look_up_data() {
        QTest::addColumn<QString>("location_1");
        QTest::addColumn<QString>("location_2");
        QTest::addColumn<bool>("file_in_folder");
        QTest::addColumn<bool>("start_succeeds");
        QTest::addColumn<QStringList>("expected_started");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList unavailable{"此时系统信息无效"};
        QTest::newRow("location 1 started although location 2 is missing")
            << "/opt/info/hardinfo" << "" << false << true << QStringList{"/opt/info/hardinfo"} << none;
        QTest::newRow("location 1 missing, folder holds the tool")
            << "" << "/srv/tools" << true << true << QStringList{"/srv/tools/sysinfo"} << none;
        QTest::newRow("location 1 missing, folder without the tool")
            << "" << "/srv/tools" << false << true << none << unavailable;
        QTest::newRow("both locations missing") << "" << "" << false << true << none << unavailable;
        QTest::newRow("location 1 cannot be started")
            << "/opt/info/hardinfo" << "" << false << false << QStringList{"/opt/info/hardinfo"}
            << unavailable;
        QTest::newRow("tool in the folder cannot be started")
            << "" << "/srv/tools" << true << false << QStringList{"/srv/tools/sysinfo"} << unavailable;
    }
    void system_information_look_up() {
        QFETCH(QString, location_1);
        QFETCH(QString, location_2);
        QFETCH(bool, file_in_folder);
        QFETCH(bool, start_succeeds);
        QFETCH(QStringList, expected_started);
        QFETCH(QStringList, messages);
        scripted_host* host = use_scripted_host();
        if (!location_1.isEmpty()) host->location_1 = location_1;
        if (!location_2.isEmpty()) host->location_2 = location_2;
        if (file_in_folder) host->plain_files.insert(location_2 + QStringLiteral("/sysinfo"));
        host->start_succeeds = start_succeeds;
        testing::message_recorder recorder;
        testing::click_button(sys_info());
        QCOMPARE(started, expected_started);
        QCOMPARE(recorder.texts(), messages);
        QCoreApplication::processEvents();
        QVERIFY(!dialog.isNull());
        QVERIFY(dialog->isVisible());
    }

    void path_that_does_not_exist_fails_to_start() {
        auto host = std::make_unique<really_starting_host>();
        host->location_1 = QStringLiteral("/nonexistent/ventora-test/hardinfo");
        dialog->set_sysinfo_host(std::move(host));
        testing::message_recorder recorder;
        testing::click_button(sys_info());
        QCOMPARE(recorder.texts(), QStringList{"此时系统信息无效"});
        QVERIFY(dialog->isVisible());
    }

    void desktop_tool_on_path_is_started() {
#ifdef _WIN32
        QSKIP("a Linux desktop's tool is a shell script on PATH; Windows uses the registry's "
              "look-up (registry_windows_test)");
#endif
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString marker = dir.filePath(QStringLiteral("started"));
        write_script(dir.filePath(QStringLiteral("hardinfo")),
                     "#!/bin/sh\necho \"$#\" > '" + QFile::encodeName(marker) + "'\n");
        const QByteArray saved_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        dialog->set_sysinfo_host(std::make_unique<app::desktop_sysinfo_host>(
            app::desktop_sysinfo_host::default_programs(), dir.filePath(QStringLiteral("absent"))));
        testing::message_recorder recorder;
        testing::click_button(sys_info());
        qputenv("PATH", saved_path);
        QVERIFY(recorder.texts().isEmpty());
        QTRY_COMPARE(read_all(marker), QByteArray("0\n"));  // started with no arguments
    }

    void desktop_folder_tool_that_cannot_run_gives_the_message() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile tool(dir.filePath(QStringLiteral("sysinfo")));
        QVERIFY(tool.open(QIODevice::WriteOnly));  // a plain file, not executable
        tool.close();
        const QByteArray saved_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("empty"))));
        dialog->set_sysinfo_host(std::make_unique<app::desktop_sysinfo_host>(
            app::desktop_sysinfo_host::default_programs(), dir.path()));
        testing::message_recorder recorder;
        testing::click_button(sys_info());
        qputenv("PATH", saved_path);
        QCOMPARE(recorder.texts(), QStringList{"此时系统信息无效"});
    }
};

QTEST_MAIN(about_test)
#include "about_test.moc"
