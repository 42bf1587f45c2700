// The calculation book as a reader gets it: the PDF's text through pdftotext (poppler-utils),
// the ODT's content.xml through unzip, the HTML as written; and the safe replacement of an
// older book when writing fails.
#include "book/book.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "book_samples.h"
#include "host_tool.h"

namespace ventora::book {
namespace {

QString run(const QString& program, const QStringList& args) {
    return testing::run_host_tool(program, args);
}

// The PDF's text, page by page (pdftotext ends each page with a form feed).
QStringList pdf_pages(const QString& path) {
    QStringList pages =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
            .split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    // pdftotext spaces Chinese text as it likes; the blanks carry nothing.
    for (QString& page : pages) page.remove(QRegularExpression(QStringLiteral("[ \\t]")));
    return pages;
}

int pdfinfo_pages(const QString& path) {
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split('\n')) {
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    }
    return -1;
}

class Book : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

struct notation_row {
    const char* name;
    const char* notation;
    const char* html;
};

void PrintTo(const notation_row& row, std::ostream* os) { *os << row.name; }

class FormulaNotation : public ::testing::TestWithParam<notation_row> {};

TEST_P(FormulaNotation, IsSetAsHtml) {
    EXPECT_EQ(formula_html(GetParam().notation).toStdString(), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaNotation,
    ::testing::Values(
        notation_row{"Subscript", "W_{s}", "W<sub>s</sub>"},
        notation_row{"SuperscriptAfterSubscript", "d_{1}^{2}", "d<sub>1</sub><sup>2</sup>"},
        notation_row{"NegativeExponent", "2.83×10^{-3}", "2.83×10<sup>-3</sup>"},
        notation_row{"NestedSubscriptInsideSuperscript", "e^{x_{1}}", "e<sup>x<sub>1</sub></sup>"},
        notation_row{"RootAndGreekKeptAsWritten", "√(M/(Z·T))·ρ", "√(M/(Z·T))·ρ"},
        notation_row{"MarkupCharactersEscaped", "W < W_{s} & A>0",
                     "W &lt; W<sub>s</sub> &amp; A&gt;0"},
        notation_row{"UnclosedBraceKeptAsText", "A_{min", "A_{min"},
        notation_row{"UnderscoreWithoutBraceKeptAsText", "a_b", "a_b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Book, PdfOfValveRouteHoldsTitleBlockResultsAndVerdictOnNumberedPages) {
    const QString pdf = path(QStringLiteral("book.pdf"));
    ASSERT_EQ(write_book(pdf, {samples::valve_route()}).toStdString(), "");
    const QStringList pages = pdf_pages(pdf);
    const int count = pdfinfo_pages(pdf);
    ASSERT_GE(count, 1);
    ASSERT_EQ(pages.size(), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(pages[i].contains(book_basis));
        EXPECT_TRUE(pages[i].contains(book_title));
        EXPECT_TRUE(pages[i].contains(QStringLiteral("第%1页共%2页").arg(i + 1).arg(count)));
    }
    const QString text = pages.join(QString());
    for (const char* expected :
         {"滨海石化储运工程", "压缩空气储罐", "V-1203", "VT-2026-017", "王工", "2026-12-01", "李工",
          "赵工", "2026-12-03", "5660", "1962.5", "1962", "12873", "合格", "未输入",
          "选型与复核（参考）", "1524.2", "向下取整"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("不合格")));
}

struct refused_row {
    const char* name;
    chapter (*make)(std::uint64_t);
    const char* message;
};

void PrintTo(const refused_row& row, std::ostream* os) { *os << row.name; }

class RefusedRoute : public ::testing::TestWithParam<refused_row> {
protected:
    QTemporaryDir dir;
};

TEST_P(RefusedRoute, CarriesItsRefusalAndNoVerdict) {
    const QString pdf = dir.filePath(QStringLiteral("refused.pdf"));
    ASSERT_EQ(write_book(pdf, {GetParam().make(0)}).toStdString(), "");
    const QString text = pdf_pages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().message)));
    EXPECT_TRUE(text.contains(QStringLiteral("计算被拒绝")));
    EXPECT_FALSE(text.contains(QStringLiteral("合格")));
    EXPECT_TRUE(text.contains(QStringLiteral("本路线无计算结论")));
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedRoute,
                         ::testing::Values(refused_row{"ReliefRate", &samples::refused_route,
                                                       relief::msg_compressed_bad},
                                           refused_row{"ValveWithoutType",
                                                       &samples::valve_refused_route,
                                                       valve::msg_no_valve_type}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Book, BatchHasSummaryAndOneChapterPerRouteWithLinesInError) {
    const QString pdf = path(QStringLiteral("batch.pdf"));
    const std::vector<chapter> chapters = {samples::valve_route(true, 1), samples::refused_route(2),
                                           samples::error_line(7, "unknown field \"rho2\""),
                                           samples::valve_route(false, 9)};
    ASSERT_EQ(write_book(pdf, chapters).toStdString(), "");
    const QStringList pages = pdf_pages(pdf);
    ASSERT_EQ(pages.size(), pdfinfo_pages(pdf));
    // The summary sits in front: the first page holds every route's row.
    EXPECT_TRUE(pages[0].contains(QStringLiteral("汇总")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("泄放量拒算")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("unknownfield\"rho2\"")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("不合格")));
    // Each summary row's verdict, the whole cell.
    const QString html = book_html(chapters);
    const auto verdict = [&html](int route) { return samples::summary_verdict(html, route); };
    EXPECT_EQ(verdict(1), "合格");
    EXPECT_EQ(verdict(2), "泄放量拒算");
    EXPECT_EQ(verdict(4), "不合格");
    // Each chapter starts a page of its own, in order.
    int previous = 0;
    for (const QString& heading :
         {QStringLiteral("路线1（第1行）"), QStringLiteral("路线2（第2行）"),
          QStringLiteral("路线3（第7行）"), QStringLiteral("路线4（第9行）")}) {
        int found = -1;
        for (int i = 0; i < pages.size(); ++i) {
            if (pages[i].contains(heading)) found = i;
        }
        EXPECT_GT(found, previous) << heading.toStdString();
        previous = found;
    }
    EXPECT_TRUE(pages.join(QString()).contains(QStringLiteral("输入错误（第7行）")));
}

// A batch of a few hundred routes on a small page at a fine resolution: set as one column the
// book would be taller than the layout's fixed-point coordinates reach (about 33.5 million
// device pixels), the fault that once wrote one blank page. Every page must be there, numbered,
// with every line once: none lost at a page foot, none painted twice.
TEST_F(Book, LongBatchOnSmallPagesKeepsEveryPageAndEveryLineOnce) {
    std::vector<chapter> chapters;
    int valves = 0, errors = 0;
    for (std::uint64_t i = 1; i <= 200; ++i) {
        if (i % 10 == 3) {
            chapters.push_back(samples::refused_route(i));
        } else if (i % 10 == 7) {
            chapters.push_back(samples::error_line(i, "unknown field \"x\""));
            ++errors;
        } else {
            chapters.push_back(samples::valve_route(i % 10 != 9, i));
            ++valves;
        }
    }
    const QString pdf = path(QStringLiteral("long.pdf"));
    int painted = 0;
    double page_height = 0;  // device pixels
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A6));
        writer.setPageMargins(QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter);
        writer.setResolution(12000);
        page_height = writer.height();
        painted = paint_book(writer, chapters);
    }
    const QStringList pages = pdf_pages(pdf);
    ASSERT_GT(painted * page_height, 40e6);
    ASSERT_EQ(pdfinfo_pages(pdf), painted);
    ASSERT_EQ(pages.size(), painted);

    int unnumbered = 0, continued_without_header = 0, heading_at_foot = 0;
    int summary_page = -1, first_chapter_page = -1;
    const QRegularExpression step_heading(QStringLiteral("^\\d+\\.\\S+$"));
    const QRegularExpression step_line(QStringLiteral("^(公式|代入|结果|说明)："));
    int step_split = 0;
    for (int i = 0; i < pages.size(); ++i) {
        const QString footer = QStringLiteral("第%1页共%2页").arg(i + 1).arg(painted);
        if (!pages[i].contains(footer)) ++unnumbered;
        if (summary_page < 0 && pages[i].contains(QStringLiteral("汇总"))) summary_page = i;
        if (first_chapter_page < 0 && pages[i].contains(QStringLiteral("路线1（第1行）")))
            first_chapter_page = i;
        QStringList lines = pages[i].split('\n', Qt::SkipEmptyParts);
        while (!lines.isEmpty() &&
               (lines.last().contains(footer) || lines.last().trimmed().isEmpty()))
            lines.removeLast();
        // The summary goes on under its header row; a step's heading has its lines under it.
        if (summary_page >= 0 && summary_page < i && first_chapter_page < 0 &&
            (lines.size() < 2 || !lines[1].startsWith(QStringLiteral("路线行号"))))
            ++continued_without_header;
        // A step fits a page here, so none is split: no page opens inside one.
        if (lines.size() > 1 && step_line.match(lines[1]).hasMatch()) {
            ++step_split;
            ADD_FAILURE() << "page " << i + 1 << " opens with " << lines[1].toStdString();
        }
        if (!lines.isEmpty() && step_heading.match(lines.last()).hasMatch()) {
            ++heading_at_foot;
            ADD_FAILURE() << "page " << i + 1 << " ends with " << lines.last().toStdString();
        }
    }
    EXPECT_EQ(unnumbered, 0);
    EXPECT_GT(first_chapter_page, summary_page + 1);  // the summary fills more than one page
    EXPECT_EQ(continued_without_header, 0);
    EXPECT_EQ(heading_at_foot, 0);
    EXPECT_EQ(step_split, 0);

    // Each route once, in order, and each line of its account once.
    const QString text = pages.join(QString()).remove('\n');
    int previous = -1;
    for (std::size_t n = 1; n <= chapters.size(); ++n) {
        const QString heading = QStringLiteral("路线%1（第%1行）").arg(n);
        const qsizetype at = text.indexOf(heading);
        ASSERT_GT(at, previous) << heading.toStdString();
        ASSERT_EQ(text.indexOf(heading, at + 1), -1) << heading.toStdString();
        previous = static_cast<int>(at);
    }
    const int refused = 200 - valves - errors;
    EXPECT_EQ(text.count(QStringLiteral("结论：")), valves + refused);
    EXPECT_EQ(text.count(QStringLiteral("本路线无计算结论")), refused);
    EXPECT_EQ(text.count(QStringLiteral("1.排放面积")), valves);
    EXPECT_EQ(text.count(QStringLiteral("选型与复核（参考）")), valves);
    EXPECT_EQ(text.count(QStringLiteral("输入错误（第")), errors);
}

TEST_F(Book, OdtOpensWithTheSameText) {
    const QString odt = path(QStringLiteral("book.odt"));
    ASSERT_EQ(write_book(odt, {samples::valve_route()}).toStdString(), "");
    const QString content =
        run(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, QStringLiteral("content.xml")});
    for (const char* expected : {"压力容器安全泄放装置计算书", "依据：1999年版《容规》",
                                 "滨海石化储运工程", "V-1203", "5660", "1962", "12873", "合格"}) {
        EXPECT_TRUE(content.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(run(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, QStringLiteral("mimetype")}),
              QStringLiteral("application/vnd.oasis.opendocument.text"));
}

// Writer takes the ODT's page from styles.xml: without it the book opens as an endless stream in
// a Latin face with no header or page numbers.
TEST_F(Book, OdtIsAWriterDocumentWithThePdfsPage) {
    const QString odt = path(QStringLiteral("book.odt"));
    ASSERT_EQ(write_book(odt, {samples::valve_route()}).toStdString(), "");
    // OpenDocument: the mimetype is the first entry, stored, so its bytes are at a fixed offset.
    QFile file(odt);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(38 + 30).mid(30), QByteArray("mimetypeapplication/vnd.oasis.opendocument.text").left(38));
    auto part = [&](const char* name) {
        return run(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, QString::fromLatin1(name)});
    };
    const QString styles = part("styles.xml");
    for (const QString& expected :
         {QStringLiteral("fo:page-width=\"21cm\" fo:page-height=\"29.7cm\""),
          QStringLiteral("fo:margin-left=\"2cm\""),
          QStringLiteral("style:font-name-asian=\"%1\"").arg(book_face), book_basis,
          QStringLiteral("第 <text:page-number text:select-page=\"current\">1</text:page-number> 页 共 "
                         "<text:page-count>1</text:page-count> 页")}) {
        EXPECT_TRUE(styles.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(part("meta.xml").contains(QStringLiteral("<dc:title>%1</dc:title>").arg(book_title)));
    const QString manifest = part("META-INF/manifest.xml");
    for (const char* entry : {"content.xml", "styles.xml", "meta.xml"})
        EXPECT_TRUE(manifest.contains(QString::fromLatin1(entry))) << entry;
    const QString content = part("content.xml");
    EXPECT_TRUE(content.contains(QStringLiteral("fo:border=\"0.5pt solid #000000\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("<table:table-header-rows>")));
    EXPECT_FALSE(content.contains(QStringLiteral("\"Sans\"")));
}

TEST_F(Book, UnknownExtensionIsRefusedAndWritesNothing) {
    const QString doc = path(QStringLiteral("book.docx"));
    EXPECT_TRUE(
        write_book(doc, {samples::valve_route()}).contains(QStringLiteral("不支持的文件类型")));
    EXPECT_FALSE(QFile::exists(doc));
}

TEST_F(Book, UnwritablePathIsNamedInTheMessage) {
    const QString pdf = path(QStringLiteral("no/such/folder/book.pdf"));
    const QString failure = write_book(pdf, {samples::valve_route()});
    EXPECT_TRUE(failure.startsWith(QStringLiteral("无法写入文件"))) << failure.toStdString();
    EXPECT_TRUE(failure.contains(pdf));
}

#ifndef _WIN32
// Windows has no file-size limit of a process to fail a write with.
// A file-size limit makes every write past it fail as a full disk does (EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

TEST_F(Book, FailedWriteLeavesTheOlderBookIntactAndNoTemporaryFile) {
    const QString pdf = path(QStringLiteral("book.pdf"));
    {
        QFile older(pdf);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("the older book");
    }
    QString failure;
    {
        FileSizeLimit limit(4096);  // the book is far larger
        failure = write_book(pdf, {samples::valve_route()});
    }
    EXPECT_TRUE(failure.startsWith(QStringLiteral("无法写入文件"))) << failure.toStdString();
    QFile older(pdf);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("the older book"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("book.pdf")});
}

#endif  // _WIN32

}  // namespace
}  // namespace ventora::book

int main(int argc, char** argv) {
    // Headless everywhere, test discovery included.
#ifdef _WIN32
    // Windows: its own platform shows nothing unless asked and has the system's fonts; Qt's
    // offscreen one there has none, and the pages would lose their text.
    qputenv("QT_QPA_PLATFORM", "windows");
#else
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
