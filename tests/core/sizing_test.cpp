// The sizing aid: A_min, d1_min and the margin under the regulation's method, and its agreement
// with API 520 for the same valve; the bursting disc's bore.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "sizing/sizing.h"

using namespace ventora::sizing;
using ventora::number;
using ventora::account::account;
namespace valve = ventora::valve;

namespace {

valve::capacity_inputs gas(double C, double Ps, double M, double T, double Z, double k, double Po) {
    valve::capacity_inputs in;
    in.C = C;
    in.Ps = Ps;
    in.M = M;
    in.T = T;
    in.Z = Z;
    in.k = k;
    in.Po = Po;
    return in;
}
valve::capacity_inputs steam(double Ps) {
    valve::capacity_inputs in;
    in.Ps = Ps;
    return in;
}
valve::capacity_inputs liquid(double rho, double Ps, double Po) {
    valve::capacity_inputs in;
    in.rho = rho;
    in.Ps = Ps;
    in.Po = Po;
    return in;
}

// The README's valve: full lift, d1 = 50, A = Int(0.785·2500) = 1962, K = 0.65, gas C = 356,
// Ps = 1, M = 29, T = 300, Z = 1, k = 1.4, Po = 0.1, W = 12873 kg/h, W_s = 10000.
valve_sizing_input readme(double Po = 0.1, double W = 12873) {
    valve_sizing_input in;
    in.medium = valve::valve_medium::gas;
    in.type = valve::valve_type::full_lift;
    in.K = 0.65;
    in.A = 1962.0;
    in.W = W;
    in.W_s = 10000.0F;
    in.in = gas(356, 1, 29, 300, 1, 1.4, Po);
    in.P_d = 1.2;  // 1.1·1 + 0.1
    return in;
}

// Both methods by hand.
// Regulation: r = 0.1/1 = 0.1 ≤ (2/2.4)^3.5 = 0.5283, critical;
//   W = Int(0.076·0.65·356·1.2·1962·√(29/300)) = Int(41405.42·0.310913) = 12873 kg/h;
//   A_min = 1962·10000/12873 = 1524.1203 mm², d1_min = √(1524.1203/0.785) = 44.0631 mm,
//   margin = 12873/10000 = 1.2873.
// API 520: P1 = 1200 kPa, r = 100/1200 = 0.0833, critical; C = 0.03948·√(1.4·0.334898) = 0.0270332;
//   K_d = 0.65: A = 10000/(0.0270332·0.65·1200)·√(300/29) = 474.250·3.216338 = 1525.350 mm²,
//   ratio 1525.350/1524.120 = 1.00081 (the constants 39.52 against 39.48 and Int(W));
//   K_d = 0.975: A = 1525.350·0.65/0.975 = 1016.900 mm² → K (1185.8 mm²; J is 830.3).
TEST(ValveSizing, ReadmeGasCriticalByBothMethods) {
    const valve_sizing s = size_valve(readme());
    EXPECT_NEAR(*s.A_min, 1524.1203, 1e-4);
    EXPECT_NEAR(*s.d1_min, 44.0631, 1e-4);
    EXPECT_NEAR(*s.margin, 1.2873, 1e-12);
    EXPECT_NEAR(*s.api520.area_same_K, 1525.350, 1e-3);
    EXPECT_NEAR(*s.api520.area, 1016.900, 1e-3);
    EXPECT_NEAR(*s.api520.ratio, 1.00081, 1e-5);
    EXPECT_EQ(s.api520.orifice, 'K');
    EXPECT_EQ(orifice_text(s.api520), "K");
    EXPECT_EQ(s.api520.api_regime, flow_regime::critical);
    EXPECT_FALSE(s.api520.gap.has_value());
    EXPECT_FALSE(s.api520.reason.has_value());
}

// The regulation's press computes A and W; the like-with-like API area must agree with A_min
// within 1 % wherever both methods see the same flow.
struct agreement_case {
    const char* name;
    valve::valve_medium medium;
    valve::valve_type type;
    std::optional<valve::seal_face> face;
    double d1, D;
    valve::capacity_inputs in;
    double P_d;  // by hand
    float W_s;
};
void PrintTo(const agreement_case& c, std::ostream* os) { *os << c.name; }

class Agreement : public testing::TestWithParam<agreement_case> {};

TEST_P(Agreement, ApiAreaWithinOnePercentOfAmin) {
    const auto& c = GetParam();
    const valve::area_result area = valve::valve_flow_area(c.type, c.face, c.d1, c.D, {}, {});
    const number W = valve::valve_discharge_capacity(c.medium, area.K, area.A, c.in);
    ASSERT_GT(ventora::value_or_zero(W), 0.0);
    valve_sizing_input in;
    in.medium = c.medium;
    in.type = c.type;
    in.K = area.K;
    in.A = area.A;
    in.W = W;
    in.W_s = c.W_s;
    in.in = c.in;
    in.P_d = c.P_d;
    const valve_sizing s = size_valve(in);
    ASSERT_TRUE(s.api520.ratio.has_value())
        << refusal_code(s.api520.reason.value_or(refusal::out_of_range));
    EXPECT_LE(std::fabs(*s.api520.ratio - 1.0), 0.01) << "ratio " << *s.api520.ratio;
    EXPECT_FALSE(s.api520.gap.has_value());
    EXPECT_EQ(s.d1_min.has_value(), c.type == valve::valve_type::full_lift);
    if (c.medium == valve::valve_medium::gas) {
        EXPECT_TRUE(valve::regulation_gas_flow(c.in).critical);
        EXPECT_EQ(s.api520.api_regime, flow_regime::critical);
    }
}

using valve::seal_face;
using valve::valve_medium;
using valve::valve_type;
// C as typed belongs to k: 520·√(k·(2/(k+1))^((k+1)/(k−1))) is 356.06 for 1.4, 346.98 for 1.3,
// 356.94 for 1.41.
const agreement_case agreement_cases[] = {
    {"GasFullLiftReadme", valve_medium::gas, valve_type::full_lift, {}, 50, 0,
     gas(356, 1, 29, 300, 1, 1.4, 0.1), 1.2, 10000},
    {"GasMicroLiftRingMethane", valve_medium::gas, valve_type::micro_lift_ring, seal_face::flat,
     50, 60, gas(347, 2, 16, 350, 0.95, 1.3, 0.1), 2.3, 1500},
    {"GasFullLiftHydrogenHighPressure", valve_medium::gas, valve_type::full_lift, {}, 20, 0,
     gas(357, 10, 2, 320, 1.05, 1.41, 0.1), 11.1, 3000},
    {"SteamFullLiftLowPressure", valve_medium::saturated_steam, valve_type::full_lift, {}, 50, 0,
     steam(1), 1.13, 7000},
    {"SteamMicroLiftPlain", valve_medium::saturated_steam, valve_type::micro_lift_plain,
     seal_face::flat, 50, 60, steam(5), 5.25, 5000},
    // P_d = 9.988 MPa: neither high-pressure factor applies.
    {"SteamJustBelowTenMPa", valve_medium::saturated_steam, valve_type::full_lift, {}, 50, 0,
     steam(9.6), 9.988, 50000},
    // P_d = 10.194 MPa: the regulation's factor (190.6·Pd − 6895)/(229.2·Pd − 7315) = 0.99467
    // applies above 10 MPa, API's K_N only above 10.339 MPa: 0.5 % apart, inside 1 %.
    {"SteamBetweenTheTwoThresholds", valve_medium::saturated_steam, valve_type::full_lift, {}, 50,
     0, steam(9.8), 10.194, 50000},
    {"SteamHighPressure", valve_medium::saturated_steam, valve_type::full_lift, {}, 50, 0,
     steam(12), 12.46, 60000},
    {"SteamNearTheTop", valve_medium::saturated_steam, valve_type::full_lift, {}, 30, 0,
     steam(20), 20.7, 40000},
    {"LiquidFullLiftWater", valve_medium::liquid, valve_type::full_lift, {}, 50, 0,
     liquid(1000, 1, 0.1), 1.3, 200000},
    {"LiquidMicroLiftRingOil", valve_medium::liquid, valve_type::micro_lift_ring, seal_face::flat,
     50, 60, liquid(800, 4, 0.3), 4.9, 20000},
};

INSTANTIATE_TEST_SUITE_P(CriticalGasSteamLiquid, Agreement, testing::ValuesIn(agreement_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Subcritical gas differs by design. Po = 0.8: the regulation's r = 0.8/1 = 0.8, ψ (single) and
// W = 10533.2059624493 give A_min = 1962·10000/10533.206 = 1862.681 mm²; API's r = 800/1200 = 0.667,
// F2 = 0.80223, A = 17.9·10000/(F2·0.65)·√(300/(29·1200·400)) = 1593.600 mm², ratio 0.85554.
TEST(ValveSizing, SubcriticalGasGapIsExplained) {
    const valve_sizing s = size_valve(readme(0.8, 10533.2059624493));
    EXPECT_NEAR(*s.A_min, 1862.681, 1e-3);
    EXPECT_NEAR(*s.api520.area_same_K, 1593.600, 1e-3);
    EXPECT_NEAR(*s.api520.ratio, 0.85554, 1e-5);
    EXPECT_EQ(s.api520.api_regime, flow_regime::subcritical);
    EXPECT_EQ(s.api520.gap, gap_reason::subcritical_gas);
}

// Po = 0.6 sits between the two tests: the regulation's r = 0.6 > 0.5283 is subcritical
// (W = 12717.29, A_min = 1542.782), API's r = 600/1200 = 0.5 is critical (1525.350):
// ratio 0.98870, a gap of 1.13 % from the regulation's subcritical capacity.
TEST(ValveSizing, RegulationSubcriticalWhereApiIsCritical) {
    const valve_sizing s = size_valve(readme(0.6, 12717.2883711755));
    EXPECT_EQ(s.api520.api_regime, flow_regime::critical);
    EXPECT_NEAR(*s.api520.ratio, 0.98870, 1e-5);
    EXPECT_EQ(s.api520.gap, gap_reason::subcritical_gas);
}

// C = 300 typed for k = 1.4 (which wants 356): the regulation's W = Int(0.076·0.65·300·1.2·1962·
// 0.310913) = Int(10848.43) = 10848 kg/h, A_min = 1962·10000/10848 = 1808.63, API still 1525.35: ratio 0.84337.
TEST(ValveSizing, TypedCoefficientThatDoesNotBelongToK) {
    valve_sizing_input in = readme(0.1, 10848);
    in.in.C = 300;
    const valve_sizing s = size_valve(in);
    EXPECT_NEAR(*s.api520.ratio, 0.84337, 1e-5);
    EXPECT_EQ(s.api520.gap, gap_reason::typed_C_differs);
}

TEST(ValveSizing, BeyondTheLargestOrifice) {
    valve_sizing_input in = readme();
    in.W_s = 200000.0F;  // API area 1016.900·20 = 20338 mm² > 16774
    const valve_sizing s = size_valve(in);
    EXPECT_TRUE(s.api520.beyond_largest_orifice);
    EXPECT_FALSE(s.api520.orifice.has_value());
    EXPECT_EQ(orifice_text(s.api520), "T 以上");
}

struct sizing_refusal_case {
    const char* name;
    number W;
    float W_s;
    double k;
    bool has_A_min;
    refusal why;
};
void PrintTo(const sizing_refusal_case& c, std::ostream* os) { *os << c.name; }

class SizingRefusal : public testing::TestWithParam<sizing_refusal_case> {};

TEST_P(SizingRefusal, NoApiNumberOnlyAReason) {
    const auto& c = GetParam();
    valve_sizing_input in = readme(0.1, 0);
    in.W = c.W;
    in.W_s = c.W_s;
    in.in.k = c.k;
    account book;
    const valve_sizing s = size_valve(in, &book);
    EXPECT_EQ(s.A_min.has_value(), c.has_A_min);
    EXPECT_FALSE(s.api520.area_same_K.has_value());
    EXPECT_FALSE(s.api520.area.has_value());
    EXPECT_FALSE(s.api520.ratio.has_value());
    EXPECT_FALSE(s.api520.orifice.has_value());
    EXPECT_EQ(s.api520.reason, c.why);
    EXPECT_EQ(book.refused(), !c.has_A_min);
}

const sizing_refusal_case sizing_refusal_cases[] = {
    {"CapacityZero", 0.0, 10000.0F, 1.4, false, refusal::capacity_not_positive},
    {"CapacityUnset", std::nullopt, 10000.0F, 1.4, false, refusal::capacity_not_positive},
    {"CapacityNegative", -5.0, 10000.0F, 1.4, false, refusal::capacity_not_positive},
    {"ReliefRateZero", 12873.0, 0.0F, 1.4, false, refusal::relief_rate_not_positive},
    {"KEqualToOne", 12873.0, 10000.0F, 1.0, true, refusal::k_not_above_one},
};

INSTANTIATE_TEST_SUITE_P(Refused, SizingRefusal, testing::ValuesIn(sizing_refusal_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SizingBook, ReadmeBookHasTheStepsInOrder) {
    account book;
    const valve_sizing with = size_valve(readme(), &book);
    const valve_sizing without = size_valve(readme());
    EXPECT_EQ(with.A_min, without.A_min);
    EXPECT_EQ(with.api520.area, without.api520.area);
    EXPECT_EQ(book.title, "选型与复核（参考）");
    ASSERT_GE(book.steps.size(), 12U);  // steps 0 to 11 are read below
    EXPECT_EQ(book.steps[0].substituted, "A_{min} = 1962·10000/12873 = 1524.12025168958");
    EXPECT_EQ(book.steps[1].title, "所需最小喉径");
    EXPECT_EQ(book.steps[2].title, "API 520 泄放压力");  // the margin is the check's, not repeated here
    std::string titles;
    for (const auto& s : book.steps) titles += s.title + "|";
    EXPECT_EQ(titles,
              "所需最小排放面积|所需最小喉径|API 520 泄放压力|API 520 背压|临界压力比|"
              "压力比|API 520 系数|API 520 所需面积（K_{d} = K）|API 520 所需面积（K_{d} = 0.975）|"
              "API 526 喷嘴|假设|面积比|");
    EXPECT_EQ(book.steps[9].value, "K");
    EXPECT_EQ(book.steps[10].formula, "K_{b} = K_{c} = 1");
    EXPECT_NE(book.conclusion.find("以本规定的排放能力校核为准"), std::string::npos);
    EXPECT_FALSE(book.refused());
}

TEST(SizingBook, GapAboveOnePercentShowsBothNumbersAndTheReason) {
    account book;
    size_valve(readme(0.8, 10533.2059624493), &book);
    const std::string& note = book.steps.back().note;
    EXPECT_NE(note.find("1862.68"), std::string::npos) << note;
    EXPECT_NE(note.find("1593.59"), std::string::npos) << note;
    EXPECT_NE(note.find(gap_text(gap_reason::subcritical_gas)), std::string::npos);
}

TEST(SizingBook, SteamStatesItsAssumptions) {
    valve_sizing_input in = readme();
    in.medium = valve::valve_medium::saturated_steam;
    in.in = steam(1);
    in.W = 7565;
    in.P_d = 1.13;
    account book;
    size_valve(in, &book);
    bool found = false;
    for (const auto& s : book.steps) {
        if (s.title == "假设") found = s.formula == "K_{b} = K_{c} = 1，K_{SH} = 1";
    }
    EXPECT_TRUE(found);
}

struct bore_case {
    const char* name;
    number A;
    std::optional<double> d;
};
void PrintTo(const bore_case& c, std::ostream* os) { *os << c.name; }

class DiscBore : public testing::TestWithParam<bore_case> {};

TEST_P(DiscBore, FromTheAreaWithPiAs314) {
    const auto& c = GetParam();
    const auto d = disc_min_bore(c.A);
    ASSERT_EQ(d.has_value(), c.d.has_value());
    if (d) {
        EXPECT_NEAR(*d, *c.d, 1e-4);
    }
}

const bore_case bore_cases[] = {
    // √(1962/0.785) = √2499.36 = 49.9936 (with π: 49.9810).
    {"Area1962", 1962.0, 49.9936},
    // 0.25·3.14·50² = 1962.5: the bore comes back as 50.
    {"AreaOfFiftyMillimetres", 1962.5, 50.0},
    {"SmallestArea", 1.0, 1.1287},  // √(1/0.785)
    {"ZeroArea", 0.0, std::nullopt},
    {"NegativeArea", -3.0, std::nullopt},
    {"UnsetArea", std::nullopt, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Disc, DiscBore, testing::ValuesIn(bore_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

