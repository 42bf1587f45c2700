#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "valve/valve_calc.h"

using namespace ventora::valve;
using ventora::number;

namespace {

struct area_case {
    const char* name;
    valve_type type;
    std::optional<seal_face> face;
    number d1, D, h, phi;
    double K;
    number A;
};
void PrintTo(const area_case& c, std::ostream* os) { *os << c.name; }


class FlowArea : public testing::TestWithParam<area_case> {};

TEST_P(FlowArea, RoundsTheAreaDown) {
    const auto& c = GetParam();
    const area_result r = valve_flow_area(c.type, c.face, c.d1, c.D, c.h, c.phi);
    EXPECT_EQ(r.K, c.K);
    EXPECT_EQ(r.A, c.A);
    EXPECT_FALSE(r.no_seal_face);
}

const area_case area_cases[] = {
    {"FullLift", valve_type::full_lift, std::nullopt, 50.0, {}, {}, {}, 0.65, 1962.0},
    {"FullLiftIgnoresSealFace", valve_type::full_lift, seal_face::conical, 50.0, 60.0, 2.5, 45.0, 0.65, 1962.0},
    {"FullLiftDefaults", valve_type::full_lift, std::nullopt, 0.0, 0.0, 0.0, 0.0, 0.65, 0.0},
    {"FlatFace", valve_type::micro_lift_ring, seal_face::flat, 50.0, 60.0, {}, {}, 0.45, 376.0},
    {"FlatFacePlain", valve_type::micro_lift_plain, seal_face::flat, 50.0, 60.0, 99.0, 99.0, 0.3, 376.0},
    {"ConicalFace", valve_type::micro_lift_ring, seal_face::conical, 50.0, 999.0, 2.5, 45.0, 0.45, 277.0},
    // 3.14 × 1 × 1 / 25 = 0.1256 → 0; −0.2 → −1: Int rounds toward minus infinity.
    {"FlatSmall", valve_type::micro_lift_plain, seal_face::flat, 1.0, 1.0, {}, {}, 0.3, 0.0},
    // sin(90·3.14/180) = 0.99999968…, so 3.14·100·10·sin(…) = 3139.999: the regulation's 3.14
    // inside the sine, not π, which would give exactly 3140.
    {"ConicalUsesThreePointOneFourInTheSine", valve_type::micro_lift_ring, seal_face::conical, 100.0, {}, 10.0, 90.0, 0.45, 3139.0},
    {"NegativeAreaRoundsDown", valve_type::micro_lift_plain, seal_face::flat, 1.0, -1.5923566878980893, {}, {}, 0.3, -1.0},
};

INSTANTIATE_TEST_SUITE_P(Worked, FlowArea, testing::ValuesIn(area_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FlowArea, MicroLiftWithoutSealFaceHasNoArea) {
    const area_result r = valve_flow_area(valve_type::micro_lift_ring, std::nullopt, 50.0, 60.0, 2.5, 45.0);
    EXPECT_TRUE(r.no_seal_face);
    EXPECT_FALSE(r.A.has_value());
    EXPECT_EQ(r.K, 0.45);
}

capacity_inputs gas(number Po) {
    capacity_inputs in;
    in.C = 356.0;
    in.Ps = 1.0;
    in.M = 29.0;
    in.T = 300.0;
    in.Z = 1.0;
    in.k = 1.4;
    in.Po = Po;
    return in;
}

capacity_inputs pressure(number Ps) {
    capacity_inputs in;
    in.Ps = Ps;
    return in;
}

struct capacity_case {
    const char* name;
    valve_medium medium;
    capacity_inputs in;
    number W;
};
void PrintTo(const capacity_case& c, std::ostream* os) { *os << c.name; }


class DischargeCapacity : public testing::TestWithParam<capacity_case> {};

TEST_P(DischargeCapacity, MatchesTheWorkedValue) {
    const auto& c = GetParam();
    const number W = valve_discharge_capacity(c.medium, 0.65, 1962.0, c.in);
    ASSERT_EQ(W.has_value(), c.W.has_value());
    if (W) {
        EXPECT_DOUBLE_EQ(*W, *c.W);
    }
}

capacity_inputs liquid(number rho, number Ps, number Po) {
    capacity_inputs in;
    in.rho = rho;
    in.Ps = Ps;
    in.Po = Po;
    return in;
}

const capacity_case capacity_cases[] = {
    {"GasCritical", valve_medium::gas, gas(0.1), 12873.0},
    // W1 = 26569, ψ = 0.39644721… in single precision; W = W1 × ψ is not rounded.
    {"GasSubcritical", valve_medium::gas, gas(0.8), 26569.0 * static_cast<double>(0.39644721F)},
    {"GasZeroTemperatureLeavesNothing", valve_medium::gas,
     [] { auto in = gas(0.1); in.T = 0.0; return in; }(), std::nullopt},
    {"SteamLowPressure", valve_medium::saturated_steam, pressure(1.0), 7565.0},
    // X = 83423 (single), F = (190.6·12.46 − 6895) / (229.2·12.46 − 7315).
    {"SteamHighPressure", valve_medium::saturated_steam, pressure(12.0),
     83423.0 * ((190.6 * (1.03 * 12.0 + 0.1) - 6895) / (229.2 * (1.03 * 12.0 + 0.1) - 7315))},
    {"Liquid", valve_medium::liquid, liquid(1000.0, 1.0, 0.1), 225306.0},
    // Ps = 9.611650485436893 makes Pd = 1.03·Ps + 0.1 exactly 10: not corrected,
    // Int(5.25·0.65·1962·10) = Int(66953.25). Corrected it would be 66499.80…
    {"SteamAtExactlyTenMegapascalIsNotCorrected", valve_medium::saturated_steam,
     pressure(9.611650485436893), 66953.0},
    // Pd = 22.064 exactly (water's critical pressure) is still sized: X = 147725 (single),
    // F = (190.6·22.064 − 6895)/(229.2·22.064 − 7315) = 1.19117960724401.
    {"SteamAtWaterCriticalPressureIsSized", valve_medium::saturated_steam,
     pressure(21.324271844660192), 175967.00748012163},
    {"LiquidBackPressureAboveDischargeLeavesNothing", valve_medium::liquid, liquid(1000.0, 1.0, 1.31),
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Worked, DischargeCapacity, testing::ValuesIn(capacity_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DischargeCapacity, SteamKeepsTheUncorrectedCapacityInSinglePrecision) {
    // d1 = 2000: A = 3140000, Pd = 12.46, X = Int(5.25·0.65·3140000·12.46) = 133512014, which
    // single precision keeps as 133512016 (steps of 8 above 2²⁴). W = 133512016·F.
    const number W = valve_discharge_capacity(valve_medium::saturated_steam, 0.65, 3140000.0, pressure(12.0));
    EXPECT_EQ(ventora::format_double(W), "135337100.510675");
}

TEST(DischargePressure, FormedFromTheSetPressurePerMedium) {
    // Ps = 1 MPa gauge: gas 1.1 + 0.1, steam 1.03 + 0.1, liquid 1.2 + 0.1 (absolute).
    EXPECT_DOUBLE_EQ(*discharge_pressure(valve_medium::gas, 1.0), 1.2);
    EXPECT_DOUBLE_EQ(*discharge_pressure(valve_medium::saturated_steam, 1.0), 1.13);
    EXPECT_DOUBLE_EQ(*discharge_pressure(valve_medium::liquid, 1.0), 1.3);
    EXPECT_DOUBLE_EQ(*discharge_pressure(valve_medium::gas, 0.0), 0.1);
}

TEST(DischargeCapacity, SubcriticalToFifteenDigits) {
    const number W = valve_discharge_capacity(valve_medium::gas, 0.65, 1962.0, gas(0.8));
    EXPECT_EQ(ventora::format_double(W), "10533.2059624493");
    const number steam = valve_discharge_capacity(valve_medium::saturated_steam, 0.65, 1962.0, pressure(12.0));
    EXPECT_EQ(ventora::format_double(steam), "84563.3769465515");
}

TEST(DischargeCapacity, RatioExactlyCriticalIsCriticalFlow) {
    // k = 2: (2/3)^2 = 0.4444…; with Ps = 1 the ratio equals it exactly.
    capacity_inputs in = gas(std::pow(2.0 / 3.0, 2.0));
    in.k = 2.0;
    const number W = valve_discharge_capacity(valve_medium::gas, 0.65, 1962.0, in);
    const double critical = std::floor(0.076 * 0.65 * 356.0 * 1.2 * 1962.0 * std::sqrt(29.0 / 300.0));
    EXPECT_EQ(W, critical);
}

TEST(DischargeCapacity, SteamSwitchesFormulaAboveTenMegapascal) {
    // Pd = 1.03·Ps + 0.1 ≤ 10 up to Ps ≈ 9.6117.
    const number low = valve_discharge_capacity(valve_medium::saturated_steam, 0.65, 1962.0, pressure(9.61));
    EXPECT_EQ(low, std::floor(5.25 * 0.65 * 1962.0 * (1.03 * 9.61 + 0.1)));
    const number high = valve_discharge_capacity(valve_medium::saturated_steam, 0.65, 1962.0, pressure(9.62));
    const double Pd = 1.03 * 9.62 + 0.1;
    const double X = static_cast<float>(std::floor(5.25 * 0.65 * 1962.0 * Pd));
    EXPECT_DOUBLE_EQ(*high, X * ((190.6 * Pd - 6895) / (229.2 * Pd - 7315)));
    EXPECT_LT(*high, X);  // F is below 1 until Pd ≈ 10.88
}

struct check_case {
    const char* name;
    number W;
    float vessel_ws;
    verdict expected;
};
void PrintTo(const check_case& c, std::ostream* os) { *os << c.name; }


class CapacityCheck : public testing::TestWithParam<check_case> {};

TEST_P(CapacityCheck, ComparesWithTheVesselRate) {
    const auto& c = GetParam();
    const check_result r = capacity_check(c.W, c.vessel_ws);
    EXPECT_EQ(r.outcome, c.expected);
    EXPECT_EQ(r.valve_capacity, c.W);
}

const check_case check_cases[] = {
    {"Above", 12873.0, 10000.0F, verdict::pass},
    {"EqualPasses", 10000.0, 10000.0F, verdict::pass},
    {"Below", 9999.0, 10000.0F, verdict::fail},
    {"FractionBelowSingle", 3834.5, 3835.0F, verdict::fail},
    {"UnsetNeverPasses", std::nullopt, 0.0F, verdict::fail},
    {"ZeroNeverPasses", 0.0, 0.0F, verdict::fail},
    {"NegativeNeverPasses", -5.0, -10.0F, verdict::fail},
    {"PositiveWithNoRateYet", 1.0, 0.0F, verdict::pass},
};

INSTANTIATE_TEST_SUITE_P(Table, CapacityCheck, testing::ValuesIn(check_cases),
                         [](const auto& info) { return std::string(info.param.name); });

valve_press_input full_lift_gas() {
    valve_press_input in;
    in.type = valve_type::full_lift;
    in.medium = valve_medium::gas;
    in.d1 = 50.0;
    in.capacity = gas(0.1);
    return in;
}

TEST(PressNext, ShowsAreaCapacityAndVerdictInOrder) {
    const auto r = press_next(full_lift_gas(), 10000.0F);
    EXPECT_EQ(r.status, press_status::checked);
    EXPECT_EQ(r.messages, (std::vector<std::string>{"当前计算出的安全阀最小排气截面积(mm^2)： 1962",
                                                   "当前计算出的安全阀排放能力(kg/h)： 12873",
                                                   "安全阀排放能力校验合格！"}));
    EXPECT_EQ(r.capacity, 12873.0);
    const auto fail = press_next(full_lift_gas(), 20000.0F);
    EXPECT_EQ(fail.messages.back(), "警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！");
}

TEST(PressNext, StopsAtTheFirstMissingChoice) {
    valve_press_input none;
    auto r = press_next(none, 0.0F);
    EXPECT_EQ(r.status, press_status::no_valve_type);
    EXPECT_EQ(r.messages, std::vector<std::string>{"没有选择安全阀的形式!请重新选择!"});

    valve_press_input no_medium = full_lift_gas();
    no_medium.medium.reset();
    r = press_next(no_medium, 0.0F);
    EXPECT_EQ(r.messages, std::vector<std::string>{"没有选择介质类型!请重新选择!"});

    valve_press_input no_face = full_lift_gas();
    no_face.type = valve_type::micro_lift_plain;
    r = press_next(no_face, 0.0F);
    EXPECT_EQ(r.status, press_status::no_seal_face);
    EXPECT_EQ(r.messages, std::vector<std::string>{"没有选择安全阀密封面的形式!请进行选择!"});
}

struct steam_pressure_case {
    const char* name;
    double Ps;  // gauge; Pd = 1.03·Ps + 0.1
    press_status status;
    std::vector<std::string> messages;
};
void PrintTo(const steam_pressure_case& c, std::ostream* os) { *os << c.name; }

class SteamAboveCriticalPressure : public testing::TestWithParam<steam_pressure_case> {};

// Above water's critical pressure there is no saturated steam and the correction factor runs
// away (2.7 at 30 MPa): the press shows the area, then refuses, with no capacity and no verdict.
TEST_P(SteamAboveCriticalPressure, RefusesAfterTheArea) {
    const auto& c = GetParam();
    valve_press_input in;
    in.type = valve_type::full_lift;
    in.medium = valve_medium::saturated_steam;
    in.d1 = 50.0;
    in.capacity.Ps = c.Ps;
    const valve_press_result r = press_next(in, 10000.0F);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.messages, c.messages);
    if (c.status == press_status::bad_input) {
        EXPECT_EQ(r.area, 1962.0);
        EXPECT_FALSE(r.capacity.has_value());
        EXPECT_FALSE(r.check.has_value());
    }
}

const std::string area_1962 = std::string(prompt_area) + "1962";
const steam_pressure_case steam_pressure_cases[] = {
    {"ExactlyCriticalIsSized", 21.324271844660192, press_status::checked,
     {area_1962, std::string(prompt_capacity) + "175967.007480122", msg_pass}},
    // The next double above: Pd = 22.064000000000004.
    {"NextDoubleAboveIsRefused", 21.324271844660196, press_status::bad_input, {area_1962, msg_bad_input}},
    {"ThirtyMegapascalIsRefused", 29.0, press_status::bad_input, {area_1962, msg_bad_input}},
    {"BeyondTheNumberRangeIsRefused", 1.7e308, press_status::bad_input, {area_1962, msg_bad_input}},
};

INSTANTIATE_TEST_SUITE_P(Edges, SteamAboveCriticalPressure, testing::ValuesIn(steam_pressure_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PressNext, ShowsTheAreaBeforeRefusingIt) {
    valve_press_input in = full_lift_gas();
    in.d1 = 0.0;
    const auto r = press_next(in, 0.0F);
    EXPECT_EQ(r.status, press_status::bad_area);
    EXPECT_EQ(r.messages, (std::vector<std::string>{"当前计算出的安全阀最小排气截面积(mm^2)： 0",
                                                   "参数输入不正确！请重新输入！"}));
}

TEST(PressNext, NotesTabShowsAnEmptyCapacityAndNeverPasses) {
    valve_press_input in;
    in.without_data = true;
    for (float ws : {0.0F, 100.0F}) {
        const auto r = press_next(in, ws);
        EXPECT_EQ(r.status, press_status::checked);
        EXPECT_FALSE(r.capacity.has_value());
        EXPECT_EQ(r.messages, (std::vector<std::string>{
                                  "当前计算出的安全阀排放能力(kg/h)： ",
                                  "警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！"}));
    }
}

// The regulation's gas flow test at its threshold: k = 3, Ps = 1 puts r = Po on
// (2/4)^(3/2) = √0.125, whose nearest double is 0.3535533905932738. Equality is critical; a test
// that cannot be evaluated (Ps = 0) counts as critical.
struct flow_test_case {
    const char* name;
    number Ps, Po;
    bool critical;
};
void PrintTo(const flow_test_case& c, std::ostream* os) { *os << c.name; }

class RegulationGasFlow : public testing::TestWithParam<flow_test_case> {};

TEST_P(RegulationGasFlow, CriticalUpToAndAtTheRatio) {
    const auto& c = GetParam();
    capacity_inputs in;
    in.k = 3.0;
    in.Ps = c.Ps;
    in.Po = c.Po;
    EXPECT_EQ(regulation_gas_flow(in).critical, c.critical);
}

const flow_test_case flow_test_cases[] = {
    {"AtTheCriticalRatio", 1.0, 0.3535533905932738, true},
    {"JustBelow", 1.0, 0.35355339059327373, true},
    {"JustAbove", 1.0, 0.35355339059327384, false},
    {"ZeroSetPressureCountsAsCritical", 0.0, 0.5, true},
};

INSTANTIATE_TEST_SUITE_P(Threshold, RegulationGasFlow, testing::ValuesIn(flow_test_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
