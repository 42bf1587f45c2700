// The book's one rule for digits, checked as a checker uses the book: every step of the worked
// routes, recomputed from its printed values, gives its printed result to the printed precision.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "book/book.h"
#include "book/book_numbers.h"
#include "media/properties.h"
#include "numbers/number.h"
#include "request/request.h"
#include "route/route_system.h"

namespace ventora::book {
namespace {

TEST(BookNumbers, NotationIsEvaluatedAsWorkedByHand) {
    EXPECT_DOUBLE_EQ(*evaluate("0.25·3.14·50^{2}"), 1962.5);
    EXPECT_DOUBLE_EQ(*evaluate("2.83×10^{-3}·10·20·100^{2}"), 5660.0);
    EXPECT_DOUBLE_EQ(*evaluate("1.1·1.5 + 0.1"), 1.75);
    EXPECT_DOUBLE_EQ(*evaluate("(190.6·12 − 6895)/(229.2·12 − 7315)"), -4607.8 / -4564.6);
    EXPECT_NEAR(*evaluate("(2/(1.4+1))^{1.4/(1.4−1)}"), 0.528281787717174, 1e-15);
    EXPECT_NEAR(*evaluate("√(29/(1·300))"), 0.310912635102961, 1e-15);
    EXPECT_NEAR(*evaluate("3.14·50·2.5·sin(45·3.14/180)"), 277.43, 0.01);
    // Symbols and words are not arithmetic: the book leaves them as written.
    EXPECT_FALSE(evaluate("P_{d}"));
    EXPECT_FALSE(evaluate("12873 ≥ 10000"));
    EXPECT_FALSE(evaluate("无法计算"));
    EXPECT_FALSE(evaluate("(1 + 2"));
}

TEST(BookNumbers, ValuesKeepAFewDigitsAndTheirWholePart) {
    EXPECT_EQ(rounded_text(96531.1371307402, 5), "96531");
    EXPECT_EQ(rounded_text(1962.5, 5), "1962.5");
    EXPECT_EQ(rounded_text(0.0666666666666667, 5), "0.066667");
    EXPECT_EQ(rounded_text(1195.41908816857, 5), "1195.4");
    EXPECT_EQ(rounded_text(164952.7, 5), "164953");
    EXPECT_EQ(rounded_text(1.5e-7, 5), "1.5E-07");
    EXPECT_EQ(shortened("d_{min} = 77.5172058155622 mm，W/W_{s} = 1.2873，API 520"),
              "d_{min} = 77.517 mm，W/W_{s} = 1.2873，API 520");
}

// A step's result where the regulation does not round it: printed at the places it was printed
// with, recomputed from the printed substitution.
int places(const std::string& printed) {
    const std::size_t point = printed.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(printed.size() - point - 1);
}

struct worked_route {
    const char* name;
    const char* line;
};

const worked_route worked_routes[] = {
    {"propane_fire_valve",
     R"({"calc":"route","relief":{"case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"hemispherical_heads","D":"2","L":"5","q":"292.89"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"100","C":"329","Ps":"1.5","M":"44.097","T":"320","Z":"0.7372","k":"1.119","Po":"0.1"}})"},
    {"tank_valve_subcritical",
     R"({"calc":"route","relief":{"case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":"1.2","d":"50","v":"15"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"20","C":356,"Ps":1,"M":28.014,"T":293.15,"Z":0.9981,"k":1.4,"Po":0.95}})"},
    {"insulated_fire_steam_valve",
     R"({"calc":"route","relief":{"case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"insulated","vessel_form":"hemispherical_heads","D":2,"L":5,"q":300,"t":50,"lambda":0.2,"delta":0.05},"device":{"calc":"valve","valve_type":"full_lift","medium":"saturated_steam","d1":7,"Ps":12}})"},
    {"liquid_valve",
     R"({"calc":"route","relief":{"case":"typed_rate","W_t":"7777.7"},"device":{"calc":"valve","valve_type":"micro_lift_ring","seal_face":"conical","medium":"liquid","d1":50,"h":2.5,"phi":45,"rho":998.2,"Ps":1,"Po":0.1}})"},
    {"disc_gas_critical",
     R"({"calc":"route","relief":{"case":"typed_rate","W_t":10000},"device":{"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":"1","p_o":0.1,"M":29,"T":300,"Z":1}})"},
    {"disc_gas_subcritical",
     R"({"calc":"route","relief":{"case":"typed_rate","W_t":10000},"device":{"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.31,"p_b":1,"p_o":0.8,"M":16.043,"T":310,"Z":0.97}})"},
    {"disc_steam_high_pressure",
     R"({"calc":"route","relief":{"case":"typed_rate","W_t":10000},"device":{"calc":"disc","medium":"saturated_steam","nozzle":"bell_mouth","p_b":10.0001}})"},
};

// Every step of `parts` recomputed from its printed values gives its printed result; returns how
// many steps were recomputed.
int recompute_printed_steps(const std::vector<const account::account*>& parts) {
    int recomputed = 0;
    for (const account::account* part : parts) {
        for (const account::step& s : part->steps) {
            SCOPED_TRACE(part->title + " / " + s.title + ": " + s.substituted);
            const printed_step p = printed(s);
            EXPECT_NE(p.digits, 0) << "printed as written: no precision reaches the result";
            EXPECT_LE(p.digits, 8);
            // The expression substituted is the text after the first " = " (or all of it), up to
            // the printed result.
            std::string expression = p.substituted;
            if (const std::size_t eq = expression.find(" = "); eq != std::string::npos &&
                !evaluate(expression.substr(0, eq)))
                expression = expression.substr(eq + 3);
            std::string result = p.value;
            if (const std::size_t eq = expression.rfind(" = "); eq != std::string::npos) {
                result = expression.substr(eq + 3);
                expression = expression.substr(0, eq);
            }
            const std::optional<double> x = evaluate(expression);
            const number shown = parse_number(result);
            if (!x || !shown) continue;  // a relation, a choice, a table letter
            ++recomputed;
            const double scale = std::pow(10.0, places(result));
            EXPECT_EQ(std::round(*x * scale) / scale, *shown)
                << "recomputed " << *x << " does not give the printed " << result;
            if (s.note.find("向下取整") != std::string::npos) {
                EXPECT_EQ(std::floor(*shown), *parse_number(p.value)) << "floored to " << p.value;
            }
        }
    }
    return recomputed;
}

class WorkedRoute : public testing::TestWithParam<worked_route> {};

TEST_P(WorkedRoute, EveryStepRecomputesFromItsPrintedValues) {
    const requests::decoded_route decoded = requests::decode_route_line(GetParam().line);
    ASSERT_EQ(decoded.error, "");
    account::route_account book;
    route::run_route(decoded.input, &book);
    ASSERT_TRUE(book.device && !book.device->refused());
    std::vector<const account::account*> parts = {&book.relief, &*book.device};
    if (book.sizing) parts.push_back(&*book.sizing);
    EXPECT_GE(recompute_printed_steps(parts), 2);
}

INSTANTIATE_TEST_SUITE_P(Routes, WorkedRoute, testing::ValuesIn(worked_routes),
                         [](const auto& info) { return std::string(info.param.name); });

// The relief-system checks of a gas route (π in the line's area, the isothermal line) and of a
// liquid one (ΔP = K·ρ·v²/2), with two valves, a disc, both lines and the reaction force: every
// step a checker can recompute gives its printed result.
TEST(BookNumbers, SystemChecksRecomputeFromTheirPrintedValues) {
    const char* lines[] = {
        R"({"calc":"route","relief":{"case":"typed_rate","W_t":"20000"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1},"system":{"n":2,"disc":"yes","inlet_D":80,"inlet_L":1.5,"inlet_K":2,"outlet_D":100,"outlet_L":3,"outlet_K":1.5,"mu":0.018,"discharge":"open"}})",
        R"({"calc":"route","relief":{"case":"typed_rate","W_t":"7777.7"},"device":{"calc":"valve","valve_type":"micro_lift_ring","seal_face":"conical","medium":"liquid","d1":50,"h":2.5,"phi":45,"rho":998.2,"Ps":1,"Po":0.1},"system":{"n":2,"inlet_D":50,"inlet_L":2,"inlet_K":1.5,"outlet_D":80,"outlet_L":10,"outlet_K":3,"mu":1.002,"valve_kind":"bellows"}})"};
    for (const char* line : lines) {
        const requests::decoded_request d = requests::decode_line(line);
        ASSERT_TRUE(d.req) << d.error;
        const auto& req = std::get<requests::route_request>(*d.req);
        ASSERT_TRUE(req.system);
        const route::route_result result = route::run_route(req.input);
        const auto section = route::system_section_of(*req.system, req.input, result);
        ASSERT_TRUE(section);
        std::vector<const account::account*> parts;
        for (const account::account& check : section->checks) {
            EXPECT_FALSE(check.refused()) << check.title << ": " << check.refusal.value_or("");
            parts.push_back(&check);
        }
        EXPECT_GE(parts.size(), 3u);
        EXPECT_GE(recompute_printed_steps(parts), 12);
    }
}

TEST(BookNumbers, ComparisonNearItsThresholdIsPrintedSoItStillHolds) {
    // At five digits both sides print 0.52828 and "r > r_c" would be false on the page: the print
    // takes the digits that keep it true.
    const account::step s{"流动状态", "r > r_{c}", "0.528282 > 0.528281787717174", "亚临界流动", "", ""};
    EXPECT_EQ(printed(s).substituted, "0.528282 > 0.5282818");
}

// The propane route as the checker reads it: titles set, each value once, sources cited.
TEST(BookText, PropaneRouteReadsAsWritten) {
    const requests::decoded_route decoded = requests::decode_route_line(worked_routes[0].line);
    ASSERT_EQ(decoded.error, "");
    chapter c;
    c.result = route::run_route(decoded.input, &c.route);
    for (account::input& in : c.route.relief.inputs) {
        if (in.symbol == "q")
            in.source = "丙烷，P = 1.6 MPa（绝压）；Perry's Chem. Eng. Handbook 8th ed. (McGraw-Hill 2008) "
                        "Table 2-150 (DIPPR eq.106); CalebBell/chemicals@82faef9:chemicals/Phase "
                        "Change/Table 2-150 Heats of Vaporization of Inorganic and Organic Liquids.tsv";
    }
    const QString html = book_html({c});
    EXPECT_FALSE(html.contains(QStringLiteral("_{"))) << "markup shown literally";
    EXPECT_FALSE(html.contains(QStringLiteral("^{")));
    EXPECT_TRUE(html.contains(QStringLiteral("API 520 所需面积（K<sub>d</sub> = K）")));
    EXPECT_TRUE(html.contains(QStringLiteral("来源：丙烷，P = 1.6 MPa（绝压）；DIPPR 106，数据引自 Perry")));
    EXPECT_FALSE(html.contains(QStringLiteral("CalebBell")));
    EXPECT_FALSE(html.contains(QStringLiteral("单精度")));
    EXPECT_EQ(html.count(QStringLiteral("A<sub>min</sub> = A·W<sub>s</sub>/W")), 1);
    EXPECT_EQ(html.count(QStringLiteral("公式：W/W<sub>s</sub>")), 1);
    // The margin 96531/14700 = 6.566734…, A_min = 7850·14700/96531 = 1195.419…
    EXPECT_TRUE(html.contains(QStringLiteral("<b>6.5667</b>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<b>1195.4</b>")));
    EXPECT_TRUE(html.contains(QStringLiteral("取值：K = <b>0.65</b>（全启式安全阀）")));
    EXPECT_TRUE(html.contains(QStringLiteral("C<sub>API</sub> = 0.03948")));
    EXPECT_FALSE(html.contains(QStringLiteral("气化潜热"))) << "the book's term is 汽化潜热";
}

TEST(BookNumbers, SourceIsCitedWithoutRepositoryFiles) {
    const std::string q_source =
        "Perry's Chem. Eng. Handbook 8th ed. (McGraw-Hill 2008) Table 2-150 (DIPPR eq.106); "
        "CalebBell/chemicals@82faef9:chemicals/Phase Change/Table 2-150 Heats of Vaporization of "
        "Inorganic and Organic Liquids.tsv";
    EXPECT_EQ(media::citation(q_source),
              "DIPPR 106，数据引自 Perry's Chem. Eng. Handbook 8th ed. (McGraw-Hill 2008) Table 2-150");
    EXPECT_EQ(media::citation("Perry's Chem. Eng. Handbook 8th ed. (McGraw-Hill 2008) Table 2-32 "
                              "(DIPPR eq.105), C1 scaled x1000 to mol/m3 by chemicals; "
                              "CalebBell/chemicals@82faef9:chemicals/Density/Perry Parameters 105.tsv"),
              "DIPPR 105，数据引自 Perry's Chem. Eng. Handbook 8th ed. (McGraw-Hill 2008) Table 2-32");
    EXPECT_EQ(media::citation("Peng & Robinson, Ind. Eng. Chem. Fundam. 15 (1976) 59; Tc, Pc, ω: "
                              "REFPROP/CoolProp reference-EOS constants (Huber et al., Ind. Eng. "
                              "Chem. Res. 61 (2022) 15449) as tabulated in "
                              "CalebBell/chemicals@82faef9:chemicals/Misc/heos_constants.tsv"),
              "Peng & Robinson, Ind. Eng. Chem. Fundam. 15 (1976) 59; Tc, Pc, ω: REFPROP/CoolProp "
              "reference-EOS constants (Huber et al., Ind. Eng. Chem. Res. 61 (2022) 15449)");
}

}  // namespace
}  // namespace ventora::book
