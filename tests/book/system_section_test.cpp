// The book's section "泄放系统校核": each check of a route's "system" part as a sub-section after
// the device's sections, the verdict line that names the failing checks, the summary's verdict,
// and ventora-report's figures against ventora-calc --steps for the same line.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "../cli/json_tree.h"
#include "batch.h"
#include "book/book.h"
#include "book/book_numbers.h"
#include "book/report_core.h"
#include "book_samples.h"

namespace ventora::book {
namespace {

// Two full-lift valves of d1 = 50 (12873 kg/h each) on a typed 20000 kg/h, a disc under each,
// an inlet DN80 × 1.5 m with two elbows and an outlet DN100 × 3 m to the atmosphere: the valves
// and the disc pass, the inlet loses 4.4 % and the outlet builds up 18 % of the set pressure.
std::string route_line(const char* W_t, const char* system) {
    return std::string(R"({"calc":"route","relief":{"case":"typed_rate","W_t":")") + W_t +
           R"("},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,)"
           R"("C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1},"system":{)" + system + "}}";
}
const std::string issue_route =
    route_line("20000", R"("n":2,"disc":"yes","inlet_D":80,"inlet_L":1.5,"inlet_K":2,)"
                        R"("outlet_D":100,"outlet_L":3,"outlet_K":1.5,"mu":0.018)");
// One valve on 12000 kg/h: the valve passes, the disc's 0.9·12873 = 11585.7 does not, and the
// inlet has no viscosity.
const std::string disc_fails_inlet_unmade =
    route_line("12000", R"("disc":"yes","inlet_D":80,"inlet_L":1.5,"inlet_K":2)");

QString html_of(const std::string& line) { return book_html({chapter_of_line(line, 1)}); }

TEST(SystemSection, FollowsTheDeviceWithEveryCheckAndAVerdictNamingTheFailingOnes) {
    const QString html = html_of(issue_route);
    const qsizetype section = html.indexOf(QStringLiteral("<h2>四、泄放系统校核</h2>"));
    ASSERT_GT(section, html.indexOf(QStringLiteral("三、选型与复核（参考）")));
    qsizetype at = section;
    for (const char* title : {"（一）多台安全阀", "（二）安全阀前设爆破片", "（三）进口管线压力损失",
                              "（四）出口管线背压"}) {
        const qsizetype next = html.indexOf(QString::fromUtf8(title));
        EXPECT_GT(next, at) << title;
        at = next;
    }
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<b>校核结论：泄放系统校核不合格：进口管线压力损失、出口管线背压</b>")));
    // The route's closing line carries the system's verdict after the valve's.
    const qsizetype conclusion = html.indexOf(QStringLiteral("<b>结论：</b>"));
    ASSERT_GT(conclusion, at);
    EXPECT_TRUE(html.mid(conclusion).contains(
        QStringLiteral("不合格；泄放系统校核不合格：进口管线压力损失、出口管线背压")));
}

TEST(SystemSection, ACheckNotMadeShowsItsReasonAndNoResult) {
    const QString html = html_of(disc_fails_inlet_unmade);
    const qsizetype inlet = html.indexOf(QStringLiteral("（三）进口管线压力损失"));
    const qsizetype verdict = html.indexOf(QStringLiteral("校核结论："));
    ASSERT_GT(inlet, 0);
    ASSERT_GT(verdict, inlet);
    const QString part = html.mid(inlet, verdict - inlet);
    EXPECT_TRUE(part.contains(QStringLiteral("<b>未校核</b>（缺少输入）：缺少或无效 μ（黏度）")));
    EXPECT_FALSE(part.contains(QStringLiteral("合格")));
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<b>校核结论：泄放系统校核不合格：安全阀前设爆破片；未校核 进口管线压力损失</b>")));
}

TEST(SystemSection, TakesTheNextNumberWhenTheSizingSectionIsAbsent) {
    chapter c = chapter_of_line(issue_route, 1);
    ASSERT_TRUE(c.route.sizing && c.route.system);
    c.route.sizing.reset();
    const QString html = book_html({c});
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>三、泄放系统校核</h2>")));
    EXPECT_FALSE(html.contains(QStringLiteral("四、")));
}

TEST(SystemSection, SummaryNeverSaysPassWhileASystemCheckFailedOrWasNotMade) {
    const std::vector<chapter> chapters = {
        chapter_of_line(issue_route, 1), chapter_of_line(disc_fails_inlet_unmade, 2),
        chapter_of_line(route_line("10000", R"("disc":"yes")"), 3),
        chapter_of_line(route_line("10000", R"("inlet_D":80,"inlet_L":1.5,"inlet_K":2)"), 4)};
    const QString html = book_html(chapters);
    const auto verdict = [&html](int route) { return samples::summary_verdict(html, route); };
    EXPECT_EQ(verdict(1), "不合格；系统校核不合格");
    EXPECT_EQ(verdict(2), "合格；系统校核不合格");
    EXPECT_EQ(verdict(3), "合格");  // 0.9·12873 = 11585.7 ≥ 10000
    EXPECT_EQ(verdict(4), "合格；系统校核未完成");
}

// ventora-report's chapter of a line holds the accounts ventora-calc --steps gives for it, and
// prints each step's result.
TEST(SystemSection, ReportGivesTheFiguresOfVentoraCalcSteps) {
    for (const std::string& line : {issue_route, disc_fails_inlet_unmade}) {
        SCOPED_TRACE(line);
        std::string out;
        ASSERT_TRUE(cli::answer_line(line, line.size(), 1, out, cli::options{true}));
        const auto parsed = cli::testing_json::parse(out);
        ASSERT_TRUE(parsed.parsed) << parsed.error;
        const auto* calc = parsed.parsed->find("system");
        ASSERT_TRUE(calc);
        const chapter c = chapter_of_line(line, 1);
        ASSERT_TRUE(c.route.system);
        const QString html = book_html({c});
        const auto& checks = c.route.system->checks;
        ASSERT_EQ(checks.size(), calc->keys.size());
        for (std::size_t i = 0; i < checks.size(); ++i) {
            SCOPED_TRACE(calc->keys[i]);
            const auto& steps = *calc->items[i].find("steps");
            ASSERT_EQ(checks[i].steps.size(), steps.items.size());
            for (std::size_t j = 0; j < steps.items.size(); ++j) {
                const account::step& s = checks[i].steps[j];
                EXPECT_EQ(s.substituted, steps.items[j].find("substituted")->text);
                EXPECT_EQ(s.value, steps.items[j].find("value")->text);
                if (!s.value.empty()) {
                    EXPECT_TRUE(html.contains(formula_html(printed(s).value))) << s.value;
                }
            }
            // These checks all have a verdict: one not made is one the book shows refused.
            EXPECT_EQ(checks[i].refused(), calc->items[i].find("outcome")->text == "not_made");
        }
    }
}

}  // namespace
}  // namespace ventora::book
