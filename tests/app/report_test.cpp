#include <QAction>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window.h"
#include "report.h"
#include "shell/workflow_state.h"
#include "ui_support.h"

using namespace ventora;

// The word processor is a stand-in script on a PATH of the test's own; the user's documents
// folder is a Chinese-named folder in a home of the test's own.
class report_test : public QObject {
    Q_OBJECT
private:
    QTemporaryDir root;
    QString bin;
    QString documents;
    QString record;  // where the stand-in writes its arguments, one per line

    QString document() const { return documents + QStringLiteral("/安全阀计算书.doc"); }

    void add_word_processor(const QString& name, const QByteArray& interpreter = "/bin/sh") {
        QFile script(bin + QLatin1Char('/') + name);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!" + interpreter + "\nprintf '%s\\n' \"$0\" \"$@\" >> '" +
                     QFile::encodeName(record) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void add_document() {
        QFile file(document());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("report");
    }
    QStringList recorded_lines() {
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Gives a detached process time to write, so that "nothing was started" means something.
    QStringList lines_after_a_while() {
        QTest::qWait(300);
        return recorded_lines();
    }

private slots:
    void initTestCase() {
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        bin = dir.filePath(QStringLiteral("bin"));
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString config = dir.filePath(QStringLiteral("config"));
        documents = home + QStringLiteral("/文档");
        record = dir.filePath(QStringLiteral("arguments.txt"));
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(QDir().mkpath(config));
        QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n");
        dirs.close();
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("PATH", QFile::encodeName(bin));
    }
    void init() {
        QDir(bin).removeRecursively();
        QVERIFY(QDir().mkpath(bin));
        QFile::remove(record);
        QFile::remove(document());
        workflow() = workflow_state{};
    }

    void document_is_looked_for_in_the_documents_folder() {
        QCOMPARE(app::report_document_path(), document());
        QCOMPARE(app::report_caption, QStringLiteral("安全阀计算书"));
    }

    void first_word_processor_on_path_opens_the_document_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("started");
        QTest::newRow("soffice") << QStringList{"soffice"} << "soffice";
        QTest::newRow("libreoffice") << QStringList{"libreoffice"} << "libreoffice";
        QTest::newRow("lowriter") << QStringList{"lowriter"} << "lowriter";
        QTest::newRow("soffice before the others")
            << QStringList{"lowriter", "libreoffice", "soffice"} << "soffice";
        QTest::newRow("libreoffice before lowriter")
            << QStringList{"lowriter", "libreoffice"} << "libreoffice";
    }
    void first_word_processor_on_path_opens_the_document() {
        QFETCH(QStringList, installed);
        QFETCH(QString, started);
        for (const QString& name : installed) add_word_processor(name);
        add_document();
        testing::message_recorder recorder;
        app::open_report(nullptr);
        QVERIFY(recorder.texts().isEmpty());
        QTRY_COMPARE(recorded_lines().size(), 3);
        QCOMPARE(recorded_lines(), (QStringList{bin + QLatin1Char('/') + started,
                                                QStringLiteral("--writer"), document()}));
    }

    void menu_item_opens_the_document_and_keeps_the_state() {
        add_word_processor(QStringLiteral("soffice"));
        add_document();
        main_window window;
        workflow().cal_route = route::device::bursting_disc;
        workflow().vessel_ws = 8610.0F;
        testing::message_recorder recorder;
        window.findChild<QAction*>(QStringLiteral("menu_cal_dayin"))->trigger();
        QVERIFY(recorder.texts().isEmpty());
        QTRY_COMPARE(recorded_lines().size(), 3);
        QCOMPARE(recorded_lines().at(2), document());
        QVERIFY(workflow().cal_route == route::device::bursting_disc);
        QCOMPARE(workflow().vessel_ws, 8610.0F);
    }

    void two_uses_open_the_document_twice() {
        add_word_processor(QStringLiteral("soffice"));
        add_document();
        app::open_report(nullptr);
        app::open_report(nullptr);
        QTRY_COMPARE(recorded_lines().size(), 6);
        QCOMPARE(recorded_lines().count(document()), 2);
    }

    void failures_are_reported_once_and_change_nothing_data() {
        QTest::addColumn<QString>("word_processor");  // empty: none installed
        QTest::addColumn<QByteArray>("interpreter");
        QTest::addColumn<bool>("document_present");
        QTest::addColumn<QString>("message");
        QTest::newRow("no word processor")
            << "" << QByteArray("/bin/sh") << true
            << "无法打开计算书：找不到文字处理程序（LibreOffice Writer）";
        QTest::newRow("no word processor and no document")
            << "" << QByteArray("/bin/sh") << false
            << "无法打开计算书：找不到文字处理程序（LibreOffice Writer）";
        QTest::newRow("missing document") << "soffice" << QByteArray("/bin/sh") << false
                                          << "无法打开计算书：找不到计算书文件 %1";
        QTest::newRow("word processor cannot start")
            << "soffice" << QByteArray("/nonexistent/ventora-test/sh") << true
            << "无法打开计算书：文字处理程序无法启动";
    }
    void failures_are_reported_once_and_change_nothing() {
        QFETCH(QString, word_processor);
        QFETCH(QByteArray, interpreter);
        QFETCH(bool, document_present);
        QFETCH(QString, message);
        if (!word_processor.isEmpty()) add_word_processor(word_processor, interpreter);
        if (document_present) add_document();
        workflow().cal_route = route::device::safety_valve;
        workflow().vessel_ws = 1500.0F;
        workflow().valve_capacity = 1234.5;

        testing::message_recorder recorder;
        app::open_report(nullptr);
        QCOMPARE(recorder.texts(), QStringList{message.contains(QStringLiteral("%1"))
                                                   ? message.arg(document())
                                                   : message});
        QVERIFY(lines_after_a_while().isEmpty());
        QVERIFY(workflow().cal_route == route::device::safety_valve);
        QCOMPARE(workflow().vessel_ws, 1500.0F);
        QCOMPARE(workflow().valve_capacity, number(1234.5));
        QVERIFY(!QFile::exists(document()) || document_present);
    }

    void failure_texts_name_what_failed_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << int(app::report_failure::none) << "";
        QTest::newRow("no word processor") << int(app::report_failure::no_word_processor)
                                           << "无法打开计算书：找不到文字处理程序（LibreOffice Writer）";
        QTest::newRow("missing document") << int(app::report_failure::missing_document)
                                          << "无法打开计算书：找不到计算书文件 /home/王工/文档/安全阀计算书.doc";
        QTest::newRow("start refused") << int(app::report_failure::start_refused)
                                       << "无法打开计算书：文字处理程序无法启动";
    }
    void failure_texts_name_what_failed() {
        QFETCH(int, failure);
        QFETCH(QString, text);
        QCOMPARE(app::report_failure_text(app::report_failure(failure),
                                          QStringLiteral("/home/王工/文档/安全阀计算书.doc")),
                 text);
    }
};

QTEST_MAIN(report_test)
#include "report_test.moc"
