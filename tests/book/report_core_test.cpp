// ventora-report's reusable part: its command line, the exit status the chapters give, the
// problems it names and the progress it shows on a terminal only.
#include "book/report_core.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "book_samples.h"

namespace ventora::book {
namespace {

struct args_row {
    const char* name;
    QStringList args;
    QString output;
    QStringList inputs;
    bool error;
};

void PrintTo(const args_row& row, std::ostream* os) { *os << row.name; }

class ReportArgs : public ::testing::TestWithParam<args_row> {};

TEST_P(ReportArgs, AreRead) {
    const report_args a = parse_report_args(GetParam().args);
    EXPECT_EQ(!a.error.isEmpty(), GetParam().error) << a.error.toStdString();
    if (GetParam().error) return;
    EXPECT_EQ(a.output, GetParam().output);
    EXPECT_EQ(a.inputs, GetParam().inputs);
}

const QString pdf = QStringLiteral("b.pdf");
const QString r1 = QStringLiteral("r1.jsonl");
const QString r2 = QStringLiteral("r2.jsonl");
const QString dash = QStringLiteral("-");

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportArgs,
    ::testing::Values(
        args_row{"BookThenInputs", {pdf, r1, r2}, pdf, {r1, r2}, false},
        args_row{"BookAloneReadsStandardInput", {pdf}, pdf, {}, false},
        args_row{"OutputOptionAnywhere", {r1, QStringLiteral("-o"), pdf}, pdf, {r1}, false},
        args_row{"LongOutputOption", {QStringLiteral("--output"), pdf, dash}, pdf, {dash}, false},
        args_row{"DashIsAnInput", {pdf, dash}, pdf, {dash}, false},
        args_row{"DoubleDashEndsOptions",
                 {pdf, QStringLiteral("--"), QStringLiteral("-o")},
                 pdf,
                 {QStringLiteral("-o")},
                 false},
        args_row{"NothingNamed", {}, {}, {}, true},
        args_row{"OutputOptionWithoutName", {QStringLiteral("-o")}, {}, {}, true},
        args_row{"TwoOutputOptions",
                 {QStringLiteral("-o"), pdf, QStringLiteral("-o"), pdf},
                 {},
                 {},
                 true},
        args_row{"UnknownOption", {QStringLiteral("-x"), pdf}, {}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportArgs, HelpNeedsNoBook) {
    const report_args a = parse_report_args({QStringLiteral("--help")});
    EXPECT_TRUE(a.help);
    EXPECT_TRUE(a.error.isEmpty());
}

struct status_row {
    const char* name;
    std::vector<chapter> chapters;
    int status;
};

void PrintTo(const status_row& row, std::ostream* os) { *os << row.name; }

class ReportStatus : public ::testing::TestWithParam<status_row> {};

TEST_P(ReportStatus, FollowsTheChapters) {
    EXPECT_EQ(report_exit_status(GetParam().chapters), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportStatus,
    ::testing::Values(
        status_row{"EveryRoutePasses",
                   {samples::valve_route(true, 1), samples::valve_route(true, 2)},
                   exit_ok},
        status_row{"FailedCheckIsAResultNotARefusal", {samples::valve_route(false, 1)}, exit_ok},
        status_row{"ReliefRefused",
                   {samples::valve_route(true, 1), samples::refused_route(2)},
                   exit_route_problem},
        status_row{"ValveRefused", {samples::valve_refused_route(1)}, exit_route_problem},
        status_row{"LineInError",
                   {samples::valve_route(true, 1), samples::error_line(2, "bad")},
                   exit_route_problem}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportProblems, NameEachLineInErrorAndRefusedRouteInOrder) {
    const QStringList problems = chapter_problems({samples::valve_route(true, 1),
                                                   samples::error_line(4, "unknown field \"x\""),
                                                   samples::refused_route(6)});
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0], QStringLiteral("第 4 行：输入错误：unknown field \"x\""));
    EXPECT_EQ(problems[1],
              QStringLiteral("第 6 行：安全泄放量计算被拒绝：参数输入错误!请重新输入"));
}

std::string captured(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string out;
    for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) out.push_back(static_cast<char>(c));
    return out;
}

TEST(ReportProgress, ShownOnATerminalForLongBooksOnly) {
    std::FILE* terminal = std::tmpfile();
    std::FILE* pipe = std::tmpfile();
    {
        terminal_progress on(terminal, true), off(pipe, false);
        for (std::size_t i = 1; i <= 40; ++i) {
            on(stage::setting, i, 40);
            off(stage::setting, i, 40);
        }
        on.finish();
        off.finish();
    }
    const std::string shown = captured(terminal);
    EXPECT_NE(shown.find("排版 40/40 (100%)"), std::string::npos);
    EXPECT_EQ(shown.back(), '\n');
    EXPECT_EQ(captured(pipe), "");

    std::FILE* short_book = std::tmpfile();
    terminal_progress few(short_book, true);
    for (std::size_t i = 1; i <= 19; ++i) few(stage::painting, i, 19);
    few.finish();
    EXPECT_EQ(captured(short_book), "");
    std::fclose(terminal);
    std::fclose(pipe);
    std::fclose(short_book);
}

TEST(WriteReport, UnwritableBookIsStatusTwoAndNamed) {
    QTemporaryDir dir;
    std::FILE* err = std::tmpfile();
    const QString book = dir.filePath(QStringLiteral("missing/book.pdf"));
    EXPECT_EQ(write_report(book, {samples::valve_route(true, 1)}, err, false), exit_failure);
    EXPECT_NE(captured(err).find("missing/book.pdf"), std::string::npos);
    std::fclose(err);
}

TEST(WriteReport, RefusedRouteIsStatusOneAndTheBookIsWritten) {
    QTemporaryDir dir;
    std::FILE* err = std::tmpfile();
    const QString book = dir.filePath(QStringLiteral("book.html"));
    EXPECT_EQ(
        write_report(book, {samples::valve_route(true, 1), samples::refused_route(2)}, err, false),
        exit_route_problem);
    EXPECT_TRUE(QFile::exists(book));
    EXPECT_NE(captured(err).find("第 2 行：安全泄放量计算被拒绝"), std::string::npos);
    std::fclose(err);
}

}  // namespace
}  // namespace ventora::book
