// Case files without any window: the line written for a known case, texts that come back as they
// were typed, the damages that refuse a file, and the safe write.
#include <chrono>
#include <future>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "cases/case_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace ventora;
using namespace ventora::cases;

namespace {

// A route of the relief rate alone, every window as it opens, no title block: written by hand.
const std::string fresh_relief_line =
    "{\"format\":\"ventora-case\",\"version\":2,\"calc\":\"route\",\"project\":{\"project\":\"\",\"equipment\":\"\","
    "\"tag\":\"\",\"drawing\":\"\",\"designer\":\"\",\"design_date\":\"\",\"checker\":\"\",\"check_date\":\"\","
    "\"approver\":\"\",\"approve_date\":\"\"},\"media\":{\"relief\":null,\"device\":null},\"relief\":{\"case\":\"typed_rate\",\"compressed_kind\":null,"
    "\"fire_exposure\":null,\"insulation\":null,\"installation\":null,\"vessel_form\":null,\"G\":\"\","
    "\"rho\":\"\",\"d\":\"\",\"v\":\"\",\"D\":\"0\",\"L\":\"0\",\"h\":\"0\",\"q\":\"0\",\"lambda\":\"0\",\"t\":\"0\",\"delta\":\"0\","
    "\"W_t\":\"\"},\"device\":null}"
    "\n";

// The smallest case: what the reader needs, every other field taking its box's initial text.
std::string minimal(const std::string& relief_extra = {}, const std::string& top_extra = {}) {
    return "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\"" +
           relief_extra + "}" + top_extra + "}";
}

// The same in version 2, which may hold a system part.
std::string v2(const std::string& relief_extra = {}, const std::string& top_extra = {}) {
    std::string line = minimal(relief_extra, top_extra);
    line.replace(line.find("\"version\":1"), 11, "\"version\":2");
    return line;
}

std::string repeated(const char* unit, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += unit;
    return out;
}

}  // namespace

class case_file_test : public QObject {
    Q_OBJECT
private slots:
    void a_fresh_relief_window_writes_the_hand_written_line() {
        QCOMPARE(write_case(case_data{}), fresh_relief_line);
    }

    void a_disc_route_with_a_title_block_writes_its_device_part() {
        case_data data;
        data.project.project = "乙烯装置";
        data.project.tag = "V-101";
        data.relief.tab = relief::relief_case::compressed_gas;
        data.relief.compressed = relief::compressed_kind::production_capacity;
        data.relief.G = QStringLiteral("１２３");
        forms::disc_form disc;
        disc.medium = disc::disc_medium::saturated_steam;
        disc.nozzle = disc::nozzle_type::bell_mouth;
        disc.p_b = QStringLiteral("1");
        disc.rho = QString();
        data.device = disc;
        const std::string line = write_case(data);
        QVERIFY(line.find("\"project\":\"乙烯装置\",\"equipment\":\"\",\"tag\":\"V-101\"") != std::string::npos);
        QVERIFY(line.find("\"relief\":{\"case\":\"compressed_gas\",\"compressed_kind\":\"production_capacity\","
                          "\"fire_exposure\":null") != std::string::npos);
        QVERIFY(line.find("\"G\":\"１２３\",\"rho\":\"\"") != std::string::npos);
        QVERIFY(line.ends_with("\"device\":{\"calc\":\"disc\",\"medium\":\"saturated_steam\",\"nozzle\":\"bell_mouth\","
                               "\"p_b\":\"1\",\"M\":\"0\",\"T\":\"0\",\"Z\":\"0\",\"k\":\"0\",\"p_o\":\"0\",\"rho\":\"\"}}"
                               "\n"));
        // One line: the only newline ends it.
        QCOMPARE(std::count(line.begin(), line.end(), '\n'), 1);
    }

    void the_media_library_choices_come_back() {
        case_data data;
        data.relief_medium = "propane";
        data.device_medium = "nitrogen";
        const std::string line = write_case(data);
        QVERIFY(line.find("\"media\":{\"relief\":\"propane\",\"device\":\"nitrogen\"}") != std::string::npos);
        const read_result r = read_case(line);
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(*r.data, data);
        // The states the windows were filled for come back to the last bit: 1.75 is the
        // discharge pressure 1.1·1.5 + 0.1 as a double, one ulp above the decimal.
        data.relief_state.P = 1.6;
        data.device_state = {300.0, 1.1 * 1.5 + 0.1};
        const std::string with_states = write_case(data);
        QVERIFY2(with_states.find(R"("relief_P":1.6,"device_T":300,"device_P":1.7500000000000002})") != std::string::npos,
                 with_states.c_str());
        const read_result again = read_case(with_states);
        QVERIFY2(again.data, qPrintable(again.error));
        QCOMPARE(*again.data, data);
    }

    // The 泄放系统校核 window's boxes come back as typed, and its choices, with the rule that a
    // line or the fire case is asked for by a box that holds text: an unasked line writes nothing
    // (a field given would ask for its check), an asked one all its boxes, empty ones included.
    void the_system_part_comes_back_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("nothing but the valves") << "none";
        QTest::newRow("an inlet line by its roughness alone") << "eps";
        QTest::newRow("every box and choice") << "all";
        QTest::newRow("the fire case by its drainage alone") << "drainage";
    }
    void the_system_part_comes_back() {
        QFETCH(QString, which);
        case_data data;
        data.device = forms::valve_form{};
        forms::system_form form;
        form.n = QStringLiteral("２");
        if (which == "eps") form.inlet_eps = QStringLiteral("0.1");
        if (which == "drainage") form.drainage = false;
        if (which == "all") {
            form.disc = form.bellows = form.open_discharge = true;
            form.drainage = true;
            int i = 0;
            for (QString* t : {&form.F_d, &form.inlet_D, &form.inlet_L, &form.inlet_K, &form.inlet_eps,
                               &form.outlet_D, &form.outlet_L, &form.outlet_K, &form.outlet_eps, &form.P_e,
                               &form.A_o, &form.P_2, &form.mu, &form.rho, &form.k, &form.T, &form.M,
                               &form.fire_A, &form.fire_F})
                *t = QStringLiteral(" %1 ").arg(++i);  // each its own, spaces kept
        }
        data.system = form;
        const std::string line = write_case(data);
        QVERIFY2(line.find(R"("system":{"disc":)") != std::string::npos, line.c_str());
        QCOMPARE(line.find("\"inlet_D\"") != std::string::npos, which == "eps" || which == "all");
        QCOMPARE(line.find("\"outlet_D\"") != std::string::npos, which == "all");
        QCOMPARE(line.find("\"fire_A\"") != std::string::npos, which == "drainage" || which == "all");
        const read_result r = read_case(line);
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(*r.data->system, form);
        QCOMPARE(*r.data, data);
        // The same file asks ventora-calc for the same checks: the route request reads it so.
        const requests::decoded_case d = requests::decode_case(line);
        QVERIFY(d.route && d.route->system);
        QCOMPARE(d.route->system->inlet.has_value(), form.inlet_asked());
        QCOMPARE(d.route->system->outlet.has_value(), form.outlet_asked());
        QCOMPARE(d.route->system->fire.has_value(), form.fire_asked());
        QCOMPARE(d.route->system->n, number(2.0));
    }

    void a_version_1_file_still_opens() {
        const read_result r = read_case(minimal(",\"W_t\":\"800\"", ",\"device\":{\"calc\":\"valve\",\"d1\":\"50\"}"));
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(r.data->relief.W_t, QStringLiteral("800"));
        QCOMPARE(std::get<forms::valve_form>(r.data->device).d1, QStringLiteral("50"));
        QVERIFY(!r.data->system);
    }

    void the_smallest_case_reads_with_the_boxes_initial_texts() {
        const read_result r = read_case(minimal());
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(*r.data, case_data{});
    }

    void texts_come_back_as_typed_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("full-width digits") << QStringLiteral("１２３");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a number") << QStringLiteral("abc");
        QTest::newRow("spaces kept") << QStringLiteral("  12 ");
        QTest::newRow("quote and backslash") << QStringLiteral("1\"2\\3");
        QTest::newRow("control characters") << QStringLiteral("1\t2\n3\x01");
        QTest::newRow("exactly 1000 characters") << QString(1000, QChar(u'中'));
    }
    void texts_come_back_as_typed() {
        QFETCH(QString, text);
        case_data data;
        data.relief.W_t = text;
        data.relief.lambda = text;
        data.project.checker = text.toStdString();
        forms::valve_form valve;
        valve.Po = text;
        valve.notes_tab = true;
        valve.type = valve::valve_type::micro_lift_plain;
        data.device = valve;
        const std::string line = write_case(data);
        const read_result r = read_case(line);
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(*r.data, data);
        QCOMPARE(std::get<forms::valve_form>(r.data->device).Po, text);
    }

    void every_choice_comes_back() {
        // The last value of every table, so a writer that drops to the first value is caught.
        case_data data;
        data.relief.tab = relief::relief_case::liquefied_gas;
        data.relief.compressed = relief::compressed_kind::gas_storage_tank;
        data.relief.fire = relief::fire_exposure::fire_free;
        data.relief.insulated = relief::insulation::insulated;
        data.relief.installed = relief::installation::water_spray;
        data.relief.form = relief::vessel_form::spherical;
        forms::disc_form disc;
        disc.medium = disc::disc_medium::liquid;
        disc.nozzle = disc::nozzle_type::flush_pipe;
        data.device = disc;
        const read_result r = read_case(write_case(data));
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(*r.data, data);
    }

    void damaged_files_are_refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");  // a part of the sentence that says what is wrong
        auto row = [](const char* name, const std::string& bytes, const char* error) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << QString::fromUtf8(error);
        };
        row("empty file", "", "不是一行JSON");
        // A byte order mark is taken at the very start only (where Notepad writes it).
        row("a byte order mark after a blank", " \xEF\xBB\xBF" + minimal(), "不是一行JSON");
        row("two byte order marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + minimal(), "不是一行JSON");
        row("not JSON", "W_t=10000", "不是一行JSON");
        row("cut short", fresh_relief_line.substr(0, 120), "不是一行JSON");
        row("two cases in one file", minimal() + "\n" + minimal(), "不是一行JSON");
        row("not UTF-8", minimal(",\"W_t\":\"1" "\xff" "\""), "UTF-8");
        row("a list", "[" + minimal() + "]", "不是JSON对象");
        row("a route request without format",
            "{\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\"}}", "不是Ventora算例文件");
        row("another format", "{\"format\":\"ventora-book\",\"version\":1}", "不是Ventora算例文件");
        row("no version", "{\"format\":\"ventora-case\",\"calc\":\"route\"}", "缺少格式版本");
        row("version as text", "{\"format\":\"ventora-case\",\"version\":\"1\"}", "应为整数");
        row("version 1.0", "{\"format\":\"ventora-case\",\"version\":1.0}", "应为整数");
        row("a newer version, just outside",
            "{\"format\":\"ventora-case\",\"version\":3,\"calc\":\"route\",\"relief\":{\"case\":\"typed_rate\"}}",
            "较新版本的程序保存（格式版本3）");
        // Version 1 had no system part: a file that says version 1 and holds one is refused.
        row("a system part in version 1", minimal("", ",\"device\":{\"calc\":\"valve\"},\"system\":{\"n\":\"2\"}"),
            "未知字段“system”");
        row("a system part beside a disc", v2("", ",\"device\":{\"calc\":\"disc\"},\"system\":{\"n\":\"2\"}"),
            "只能与安全阀部分");
        row("a system part without a device", v2("", ",\"system\":{}"), "只能与安全阀部分");
        row("a system box as a number", v2("", ",\"device\":{\"calc\":\"valve\"},\"system\":{\"inlet_D\":80}"),
            "“system.inlet_D”应为字符串");
        row("an unknown system field", v2("", ",\"device\":{\"calc\":\"valve\"},\"system\":{\"DN\":\"80\"}"),
            "未知字段“system.DN”");
        row("a system choice that does not exist",
            v2("", ",\"device\":{\"calc\":\"valve\"},\"system\":{\"disc\":\"maybe\"}"),
            "“system.disc”的值“maybe”不存在");
        row("a huge version", "{\"format\":\"ventora-case\",\"version\":18446744073709551615}",
            "较新版本");
        row("version 0", "{\"format\":\"ventora-case\",\"version\":0}", "格式版本0不存在");
        row("not a route", "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"relief\"}", "“calc”应为");
        row("unknown top-level field", minimal("", ",\"medium_library\":{}"), "未知字段“medium_library”");
        row("unknown relief field", minimal(",\"W_s\":\"1\""), "未知字段“relief.W_s”");
        row("a field twice", minimal(",\"W_t\":\"1\",\"W_t\":\"2\""), "字段“relief.W_t”出现了两次");
        row("no relief part", "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\"}", "缺少安全泄放量部分");
        row("no relief case", "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{}}",
            "缺少字段“relief.case”");
        row("a box as a number", minimal(",\"W_t\":10000"), "“relief.W_t”应为字符串");
        row("a box as null", minimal(",\"W_t\":null"), "“relief.W_t”应为字符串");
        row("a choice as a number", minimal(",\"insulation\":1"), "“relief.insulation”应为字符串或null");
        row("the relief case as null", "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":null}}",
            "“relief.case”应为字符串（可选");
        row("a choice that does not exist", minimal(",\"vessel_form\":\"conical\""),
            "“relief.vessel_form”的值“conical”不存在");
        row("a relief case that does not exist",
            "{\"format\":\"ventora-case\",\"version\":1,\"calc\":\"route\",\"relief\":{\"case\":\"steam\"}}",
            "“relief.case”的值“steam”不存在");
        row("a text of 1001 characters, just outside", minimal(",\"G\":\"" + repeated("中", 1001) + "\""),
            "“relief.G”的文字超过1000个字符");
        row("a title-block field of 1001 characters",
            minimal("", ",\"project\":{\"tag\":\"" + repeated("a", 1001) + "\"}"),
            "“project.tag”的文字超过1000个字符");
        row("a title-block field as a number", minimal("", ",\"project\":{\"tag\":101}"), "“project.tag”应为字符串");
        row("unknown title-block field", minimal("", ",\"project\":{\"client\":\"x\"}"), "未知字段“project.client”");
        row("a device of another kind", minimal("", ",\"device\":{\"calc\":\"pump\"}"), "“device.calc”应为");
        row("a device without its kind", minimal("", ",\"device\":{\"medium\":\"gas\"}"), "“device.calc”应为");
        row("a device as a list", minimal("", ",\"device\":[]"), "“device”应为JSON对象或null");
        row("the batch tool's vessel_ws in the device", minimal("", ",\"device\":{\"calc\":\"valve\",\"vessel_ws\":10000}"),
            "未知字段“device.vessel_ws”");
        row("a disc field in a valve", minimal("", ",\"device\":{\"calc\":\"valve\",\"nozzle\":\"bell_mouth\"}"),
            "未知字段“device.nozzle”");
        row("a valve medium that a disc lacks", minimal("", ",\"device\":{\"calc\":\"disc\",\"medium\":\"steam\"}"),
            "“device.medium”的值“steam”不存在");
        row("a medium the library lacks", minimal("", ",\"media\":{\"relief\":\"unobtainium\"}"),
            "“media.relief”应为介质库中介质的标识");
        row("a medium by its Chinese name", minimal("", ",\"media\":{\"device\":\"丙烷\"}"),
            "“media.device”应为介质库中介质的标识");
        row("a third window in media", minimal("", ",\"media\":{\"book\":null}"), "未知字段“media.book”");
        row("a state that is not a pressure", minimal("", ",\"media\":{\"device_P\":0}"), "“media.device_P”应为正数或null");
        row("a state as text", minimal("", ",\"media\":{\"relief_T\":\"300\"}"), "“media.relief_T”应为正数或null");
        row("the valve tab as null", minimal("", ",\"device\":{\"calc\":\"valve\",\"tab\":null}"),
            "“device.tab”应为字符串");
    }
    void damaged_files_are_refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const read_result r = read_case(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        QVERIFY(!r.data);
        QVERIFY2(r.error.contains(error), qPrintable(r.error));
    }

    void a_byte_order_mark_at_the_start_is_taken() {
        const read_result r = read_case("\xEF\xBB\xBF" + minimal(",\"W_t\":\"800\""));
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(r.data->relief.W_t, QStringLiteral("800"));
    }

    void absent_and_null_fields_take_the_window_as_it_opens() {
        const read_result r = read_case(minimal(",\"insulation\":null", ",\"device\":{\"calc\":\"valve\"}"));
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(std::get<forms::valve_form>(r.data->device), forms::valve_form{});
        const read_result no_device = read_case(minimal("", ",\"device\":null"));
        QVERIFY2(no_device.data, qPrintable(no_device.error));
        QVERIFY(std::holds_alternative<std::monostate>(no_device.data->device));
    }

    void overlong_texts_are_named_before_saving_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("field");
        QTest::newRow("999: inside") << 999 << QString();
        QTest::newRow("1000: at the limit") << 1000 << QString();
        QTest::newRow("1001: just outside") << 1001 << QStringLiteral("“device.rho”");
    }
    void overlong_texts_are_named_before_saving() {
        QFETCH(int, length);
        QFETCH(QString, field);
        case_data data;
        forms::disc_form disc;
        // Characters, not bytes: three bytes each in UTF-8.
        disc.rho = QString(length, QChar(u'中'));
        data.device = disc;
        QCOMPARE(overlong_field(data), field);
        // What passes here, the reader takes back.
        QCOMPARE(read_case(write_case(data)).data.has_value(), field.isEmpty());
    }

    void saving_replaces_the_file_whole_and_leaves_nothing_beside_it() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("V-101.ventora"));
        case_data first;
        first.relief.W_t = QStringLiteral("10000");
        QCOMPARE(save_case_file(path, first), QString());
        case_data second;
        second.relief.W_t = QStringLiteral("２００００");
        QCOMPARE(save_case_file(path, second), QString());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), write_case(second));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"V-101.ventora"});
        const read_result r = load_case_file(path);
        QVERIFY2(r.data, qPrintable(r.error));
        QCOMPARE(r.data->relief.W_t, QStringLiteral("２００００"));
    }

    void a_target_that_cannot_be_written_is_named_and_the_old_file_kept() {
        QTemporaryDir dir;
        // A folder where the file should be: nothing can replace it.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("busy.ventora")));
        QVERIFY(!save_case_file(dir.filePath(QStringLiteral("busy.ventora")), case_data{}).isEmpty());
        QVERIFY(!save_case_file(dir.filePath(QStringLiteral("no/such/folder/a.ventora")), case_data{}).isEmpty());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("busy.ventora"))).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void unreadable_and_oversized_files_are_refused() {
        QTemporaryDir dir;
        QVERIFY(load_case_file(dir.filePath(QStringLiteral("missing.ventora"))).error.startsWith("无法读取"));
        // Just over the limit, though it begins like a case.
        QFile big(dir.filePath(QStringLiteral("big.ventora")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(max_file_bytes + 1, ' '));
        big.close();
        QCOMPARE(load_case_file(big.fileName()).error, QStringLiteral("文件过大，不是算例"));
    }

    // What is not a regular file is refused before it is opened: opening a named pipe would wait
    // for a writer, with no window and no message.
    void a_pipe_or_a_folder_is_refused_unopened() {
        QTemporaryDir dir;
        QCOMPARE(load_case_file(dir.path()).error, QStringLiteral("不是普通文件"));
#ifdef _WIN32
        QSKIP("named pipes in the file system are POSIX; the folder above is checked");
#else
        const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("pipe.ventora")));
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        auto loading = std::async(std::launch::async, [&] { return load_case_file(QFile::decodeName(pipe)); });
        if (loading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // A writer that comes and goes ends the waiting open, so the test fails, not hangs.
            const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
            loading.wait();
            QFAIL("opening the named pipe waited for a writer");
        }
        QCOMPARE(loading.get().error, QStringLiteral("不是普通文件"));
#endif
    }
};

QTEST_MAIN(case_file_test)
#include "case_file_test.moc"
