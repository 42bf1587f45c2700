// ventora-calc --steps (the accounts and the sizing aid in the responses), the properties request
// and --list-substances.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "batch.h"
#include "request/json.h"
#include "json_tree.h"

using namespace ventora::cli;

namespace {

const options with_steps{.steps = true};

testing_json::value answer(const std::string& line, const options& opts = {}) {
    std::string out;
    answer_line(line, line.size(), 1, out, opts);
    const testing_json::parse_result r = testing_json::parse(out);
    EXPECT_TRUE(r.parsed) << out << ": " << r.error;
    return r.parsed ? *r.parsed : testing_json::value{};
}

std::string answer_text(const std::string& line, const options& opts = {}) {
    std::string out;
    answer_line(line, line.size(), 1, out, opts);
    return out;
}

// A number as the double it reads back to; NAN when null or absent.
double number_at(const testing_json::value* v, const char* key) {
    const testing_json::value* n = v ? v->find(key) : nullptr;
    if (!n || n->type != json::kind::number) return std::nan("");
    return std::strtod(n->text.c_str(), nullptr);
}
bool is_null(const testing_json::value* v, const char* key) {
    const testing_json::value* n = v ? v->find(key) : nullptr;
    return n && n->type == json::kind::null;
}

// The input of that symbol in an account's "inputs"; null when there is none.
const testing_json::value* input_of(const testing_json::value& part, const std::string& symbol) {
    const testing_json::value* inputs = part.find("inputs");
    if (!inputs) return nullptr;
    for (const auto& in : inputs->items) {
        const testing_json::value* s = in.find("symbol");
        if (s && s->text == symbol) return &in;
    }
    return nullptr;
}

// The README's gas valve: full lift, d1 = 50 (A = Int(0.785·2500) = 1962), C = 356, Ps = 1,
// M = 29, T = 300, Z = 1, k = 1.4, Po = 0.1: W = 12873.
const std::string gas_valve =
    R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1)";

struct sizing_case {
    const char* name;
    std::string line;
    double A_min, d1_min, margin;  // NAN: null
    double area;                   // API's own K_d; NAN: null
    const char* orifice;           // nullptr: null
    const char* reason;            // nullptr: null
};
void PrintTo(const sizing_case& c, std::ostream* os) { *os << c.name; }

class ValveSizing : public testing::TestWithParam<sizing_case> {};
TEST_P(ValveSizing, FollowsTheCheckedPress) {
    const sizing_case& c = GetParam();
    const testing_json::value v = answer(c.line, with_steps);
    const testing_json::value* s = v.find("sizing");
    ASSERT_NE(s, nullptr);
    auto expect = [&](const testing_json::value* where, const char* key, double want) {
        if (std::isnan(want)) EXPECT_TRUE(is_null(where, key)) << key;
        else EXPECT_NEAR(number_at(where, key), want, 1e-9 * want) << key;
    };
    expect(s, "A_min", c.A_min);
    expect(s, "d1_min", c.d1_min);
    expect(s, "margin", c.margin);
    const testing_json::value* api = s->find("api520");
    ASSERT_NE(api, nullptr);
    if (std::isnan(c.area)) EXPECT_TRUE(is_null(api, "area"));
    else EXPECT_NEAR(number_at(api, "area"), c.area, 0.01);
    if (c.orifice) EXPECT_EQ(api->find("orifice")->text, c.orifice);
    else EXPECT_TRUE(is_null(api, "orifice"));
    if (c.reason) EXPECT_EQ(api->find("reason")->text, c.reason);
    else EXPECT_TRUE(is_null(api, "reason"));
}
INSTANTIATE_TEST_SUITE_P(
    Presses, ValveSizing,
    testing::Values(
        // A_min = A·W_s/W, d1_min = √(A_min/0.785), margin = W/W_s. API: C = 0.02703,
        // A = 10000/(C·0.975·1200)·√(300/29) = 1016.90 mm², the K orifice (830.3 < A ≤ 1185.8).
        sizing_case{"ReadmeExample", gas_valve + R"(,"vessel_ws":10000})", 1962.0 * 10000 / 12873,
                    std::sqrt(1962.0 * 10000 / 12873 / 0.785), 12873.0 / 10000, 1016.90, "K", nullptr},
        // The API area reaches T's 16774 mm² at W_s = 164952.27: 164952 is still a T.
        sizing_case{"JustInsideT", gas_valve + R"(,"vessel_ws":164952})", 1962.0 * 164952 / 12873,
                    std::sqrt(1962.0 * 164952 / 12873 / 0.785), 12873.0 / 164952, 16773.97, "T", nullptr},
        sizing_case{"JustBeyondT", gas_valve + R"(,"vessel_ws":164953})", 1962.0 * 164953 / 12873,
                    std::sqrt(1962.0 * 164953 / 12873 / 0.785), 12873.0 / 164953, 16774.07, nullptr,
                    "beyond_T"},
        // No relief rate: no figure at all, and why.
        sizing_case{"NoReliefRate", gas_valve + "}", NAN, NAN, NAN, NAN, nullptr, "Ws_not_positive"},
        // Micro lift: A = 326, W = 987; no throat for a valve that is not full lift.
        sizing_case{"MicroLiftHasNoThroat",
                    R"({"calc":"valve","valve_type":"micro_lift_plain","seal_face":"flat","medium":"gas","d1":50,"h":2,"D":52,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1,"vessel_ws":1000})",
                    326.0 * 1000 / 987, NAN, 987.0 / 1000, 101.69, "E", nullptr},
        // Liquid through a micro-lift valve, K = 0.45 apart from API's K_d = 0.65: A = Int(3.14·60·50/25)
        // = 376, W = Int(5.1·0.45·376·√(1000·(1.3 − 0.1))) = 29892. API: P1 = 1300, P2 = 100 kPa,
        // Q = 36000/1000·1000/60 = 600 L/min, A = 11.78·600/0.65·√(1/1200) = 313.90 mm², the G
        // orifice (198.1 < A ≤ 324.5); with K_d = K it would be 453.41, an H.
        sizing_case{"LiquidTakesApisOwnKd",
                    R"({"calc":"valve","valve_type":"micro_lift_ring","seal_face":"flat","medium":"liquid","d1":50,"D":60,"rho":1000,"Ps":1,"Po":0.1,"vessel_ws":36000})",
                    376.0 * 36000 / 29892, NAN, 29892.0 / 36000, 313.90, "G", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValveSizing, NoneBeforeThePressReachedACapacity) {
    // No medium chosen: the press stops before a capacity, so there is nothing to size.
    const testing_json::value v =
        answer(R"({"calc":"valve","valve_type":"full_lift","d1":50,"vessel_ws":10000})", with_steps);
    EXPECT_EQ(v.find("sizing"), nullptr);
    EXPECT_EQ(v.find("refused_by")->text, "未选择介质类型");
    EXPECT_EQ(v.find("refusal")->text, "没有选择介质类型!请重新选择!");
    ASSERT_NE(v.find("steps"), nullptr);
    EXPECT_TRUE(v.find("steps")->items.empty());
}

struct bore_case {
    const char* name;
    std::string vessel_ws;
    double d_min;  // NAN: no "sizing"
};
void PrintTo(const bore_case& c, std::ostream* os) { *os << c.name; }

class DiscBore : public testing::TestWithParam<bore_case> {};
TEST_P(DiscBore, OnlyForAnAreaAboveZero) {
    const testing_json::value v = answer(
        R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":0.1,"M":29,"T":300,"Z":1,"vessel_ws":)" +
            GetParam().vessel_ws + "}",
        with_steps);
    const testing_json::value* s = v.find("sizing");
    if (std::isnan(GetParam().d_min)) {
        EXPECT_EQ(s, nullptr);
        return;
    }
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(number_at(s, "d_min"), GetParam().d_min, 1e-9);
}
INSTANTIATE_TEST_SUITE_P(
    Areas, DiscBore,
    testing::Values(
        // A = Int(10000/(0.076·0.68·356·1·√(29/300))) = 1748: d = √(1748/0.785).
        bore_case{"Area1748", "10000", std::sqrt(1748 / 0.785)},
        // W_s = 6 gives A = Int(1.0489) = 1, the smallest area with a bore: √(1/0.785).
        bore_case{"AreaOne", "6", std::sqrt(1 / 0.785)},
        // W_s = 5 gives A = Int(0.874) = 0: no bore.
        bore_case{"AreaZero", "5", NAN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Steps, TheTextOfABoxGivenAsAStringGoesToItsInput) {
    const testing_json::value v = answer(
        R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"５０","C":356,"Ps":"1.0","M":29,"T":300,"Z":1,"k":1.4,"Po":0.1,"vessel_ws":10000})",
        with_steps);
    const testing_json::value* d1 = input_of(v, "d_{1}");
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(d1->find("text")->text, "５０");
    EXPECT_EQ(number_at(d1, "value"), 50.0);
    EXPECT_TRUE(is_null(d1, "choice"));
    EXPECT_EQ(input_of(v, "P_{s}")->find("text")->text, "1.0");
    // A JSON number is no text, nor is the program's W_s.
    EXPECT_TRUE(is_null(input_of(v, "C"), "text"));
    EXPECT_TRUE(is_null(input_of(v, "W_{s}"), "text"));
}

TEST(Steps, ARoutesTextsStayInTheirPart) {
    // W_s is a symbol of both parts: the relief's typed rate and the device's kept rate.
    const testing_json::value v = answer(
        R"({"calc":"route","relief":{"case":"typed_rate","W_t":"12873"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"50","C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1}})",
        with_steps);
    const testing_json::value* relief = v.find("relief");
    const testing_json::value* device = v.find("device");
    ASSERT_TRUE(relief && device);
    EXPECT_EQ(input_of(*relief, "W_{s}")->find("text")->text, "12873");
    EXPECT_TRUE(is_null(input_of(*device, "W_{s}"), "text"));
    EXPECT_EQ(number_at(input_of(*device, "W_{s}"), "value"), 12873.0);
    EXPECT_EQ(input_of(*device, "d_{1}")->find("text")->text, "50");
    // The kept rate equals W: A_min is A itself and the margin 1.
    EXPECT_EQ(number_at(device->find("sizing"), "A_min"), 1962.0);
    EXPECT_EQ(number_at(device->find("sizing"), "margin"), 1.0);
}

struct plain_case {
    const char* name;
    std::string line;
};
void PrintTo(const plain_case& c, std::ostream* os) { *os << c.name; }

// --steps only adds members at the end of a calculation's answer: every script reading the plain
// answer reads the long one the same way.
class StepsOnlyAdd : public testing::TestWithParam<plain_case> {};
TEST_P(StepsOnlyAdd, ToThePlainAnswer) {
    const std::string plain = answer_text(GetParam().line);
    const std::string longer = answer_text(GetParam().line, with_steps);
    ASSERT_GT(longer.size(), plain.size());
    EXPECT_EQ(longer.substr(0, plain.size() - 1), plain.substr(0, plain.size() - 1));
    EXPECT_EQ(plain.find("\"steps\""), std::string::npos);
    EXPECT_EQ(plain.find("\"sizing\""), std::string::npos);
    EXPECT_NE(longer.find("\"steps\":[{\"title\":"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, StepsOnlyAdd,
    testing::Values(plain_case{"Relief", R"({"calc":"relief","case":"typed_rate","W_t":800})"},
                    plain_case{"Valve", gas_valve + R"(,"vessel_ws":10000})"},
                    plain_case{"Disc", R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":0.1,"M":29,"T":300,"Z":1,"vessel_ws":10000})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Steps, AnErrorLineIsTheSame) {
    const std::string line = R"({"calc":"disc","medium":"steam"})";
    EXPECT_EQ(answer_text(line, with_steps), answer_text(line));
}

TEST(Steps, ARefusalIsNamedOnlyWhenRefused) {
    const testing_json::value ok = answer(R"({"calc":"relief","case":"typed_rate","W_t":800})", with_steps);
    EXPECT_EQ(ok.find("refused_by"), nullptr);
    EXPECT_EQ(ok.find("refusal"), nullptr);
    const testing_json::value refused = answer(R"({"calc":"relief","case":"typed_rate","W_t":0})", with_steps);
    EXPECT_EQ(refused.find("refused_by")->text, "W_{s} 未输入或不大于 0");
    EXPECT_EQ(refused.find("refusal")->text, "未正确输入数据");
}

// The properties request.
struct state_case {
    const char* name;
    std::string line;
    double T_sat, P_sat;  // NAN: null
    double tolerance;
};
void PrintTo(const state_case& c, std::ostream* os) { *os << c.name; }

class Properties : public testing::TestWithParam<state_case> {};
TEST_P(Properties, GiveTheSaturationState) {
    const state_case& c = GetParam();
    const testing_json::value v = answer(c.line);
    ASSERT_NE(v.find("calc"), nullptr);
    EXPECT_EQ(v.find("calc")->text, "properties");
    if (std::isnan(c.T_sat)) EXPECT_TRUE(is_null(&v, "T_sat"));
    else EXPECT_NEAR(number_at(&v, "T_sat"), c.T_sat, c.tolerance);
    if (std::isnan(c.P_sat)) EXPECT_TRUE(is_null(&v, "P_sat"));
    else EXPECT_NEAR(number_at(&v, "P_sat"), c.P_sat, c.tolerance);
}
INSTANTIATE_TEST_SUITE_P(
    States, Properties,
    testing::Values(
        // IAPWS-IF97: 453.0356 K at 1 MPa; DIPPR 101 with the table's constants: 453.1265.
        state_case{"WaterAtOneMegapascal", R"({"calc":"properties","substance":"water","P":1.0})", 453.1265, NAN, 1e-3},
        // Propane boils at 231.04 K at one atmosphere.
        state_case{"PropaneAtOneAtmosphere", R"({"calc":"properties","substance":"丙烷","P":0.101325})", 231.08, NAN, 0.01},
        // 453.0356 K is the IAPWS T_sat of 1 MPa: DIPPR 101 gives 0.99791 MPa back.
        state_case{"WaterVapourPressure", R"({"calc":"properties","substance":"water","T":453.0356})", NAN, 0.99791, 1e-5},
        // Below the triple point (273.16 K) the vapour-pressure fit has no value.
        state_case{"WaterBelowItsRange", R"({"calc":"properties","substance":"water","T":273.15})", NAN, NAN, 0},
        state_case{"NoState", R"({"calc":"properties","substance":"air","T":null})", NAN, NAN, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Properties, NameTheSubstanceAndTheSourceOfEachValueGiven) {
    const testing_json::value v = answer(R"({"calc":"properties","substance":" Propane ","T":323.15,"P":1.0})");
    const std::vector<std::string> keys = {"line", "calc", "id", "name_zh", "name_en", "M", "k", "Z",
                                           "T_sat", "P_sat", "q", "rho_liquid", "warnings", "sources"};
    EXPECT_EQ(v.keys, keys);
    EXPECT_EQ(v.find("id")->text, "propane");
    EXPECT_EQ(v.find("name_zh")->text, "丙烷");
    // C3H8: 3·12.011 + 8·1.008.
    EXPECT_NEAR(number_at(&v, "M"), 3 * 12.011 + 8 * 1.008, 1e-9);
    EXPECT_TRUE(v.find("warnings")->items.empty());
    const std::vector<std::string> sources = {"M", "k", "Z", "T_sat", "P_sat", "q", "rho_liquid"};
    EXPECT_EQ(v.find("sources")->keys, sources);
}

TEST(Properties, AValueRefusedIsNullWithAWarning) {
    // No state at all: only M.
    const testing_json::value v = answer(R"({"calc":"properties","substance":"nitrogen"})");
    EXPECT_NEAR(number_at(&v, "M"), 28.014, 1e-9);
    for (const char* key : {"k", "Z", "T_sat", "P_sat", "q", "rho_liquid"}) EXPECT_TRUE(is_null(&v, key)) << key;
    EXPECT_EQ(v.find("warnings")->items.size(), 4U);
    EXPECT_EQ(v.find("sources")->keys, std::vector<std::string>{"M"});
}

TEST(ListSubstances, OneLineOfFiveFieldsPerMedium) {
    std::istringstream list(substance_list());
    std::vector<std::string> lines;
    for (std::string line; std::getline(list, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 25U);
    EXPECT_EQ(lines.front(), "air\t空气\tair (dry)\tN2/O2/Ar\t132259-10-0");
    bool water = false;
    for (const std::string& line : lines) {
        std::size_t tabs = 0;
        for (char c : line) tabs += c == '\t';
        EXPECT_EQ(tabs, 4U) << line;
        water = water || line == "water\t水/水蒸气\twater / steam\tH2O\t7732-18-5";
    }
    EXPECT_TRUE(water);
    EXPECT_EQ(substance_list().back(), '\n');
}

}  // namespace
