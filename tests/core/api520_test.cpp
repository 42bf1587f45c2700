// API 520 Part I areas and the API 526 orifice: cited worked examples, hand calculations and the
// thresholds of each formula.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "sizing/api520.h"

using namespace ventora::sizing;

namespace {

enum class medium { gas, steam, liquid };

struct area_case {
    const char* name;
    medium kind;
    double W, T, Z, M, k, rho, P1, P2, K_d;
    double A;          // expected mm²
    double tolerance;  // mm²
};
void PrintTo(const area_case& c, std::ostream* os) { *os << c.name; }

api_area area_of(const area_case& c) {
    switch (c.kind) {
        case medium::gas: return api520_gas_area(c.W, c.T, c.Z, c.M, c.k, c.P1, c.P2, c.K_d);
        case medium::steam: return api520_steam_area(c.W, c.P1, c.K_d);
        case medium::liquid: return api520_liquid_area(c.W, c.rho, c.P1, c.P2, c.K_d);
    }
    return {};
}

class ApiArea : public testing::TestWithParam<area_case> {};

TEST_P(ApiArea, MatchesTheWorkedFigure) {
    const auto& c = GetParam();
    const api_area a = area_of(c);
    ASSERT_TRUE(a.A.has_value()) << refusal_code(a.why.value_or(refusal::out_of_range));
    EXPECT_NEAR(*a.A, c.A, c.tolerance);
    EXPECT_FALSE(a.why.has_value());
}

const area_case area_cases[] = {
    // API 520 Part I (8th ed., 2008), example 1, critical flow: W = 24270 kg/h, T = 348 K,
    // Z = 0.90, M = 51, k = 1.11, P1 = 670 kPa, K_d = 0.975: A = 3698 mm² as printed (C taken
    // from the standard's table); the documentation of the Python `fluids` library
    // (fluids.safety_valve.API520_A_g) reproduces it as 3699.05 mm² with the exact
    // C = 0.03948·√(1.11·(2/2.11)^(2.11/0.11)) = 0.024890. Within 0.1 % of the printed figure.
    {"ApiExample1CriticalGas", medium::gas, 24270, 348, 0.90, 51, 1.11, 0, 670, 101.325, 0.975,
     3698.0, 3.7},
    // Example 2, the same vapour against P2 = 532 kPa: r = 0.794 > r_c = 0.5826, subcritical;
    // F2 = 0.85476, A = 17.9·24270/(0.85476·0.975)·√(348·0.9/(51·670·138)) = 4248.36 mm²
    // (as reproduced by fluids.safety_valve.API520_A_g).
    {"ApiExample2SubcriticalGas", medium::gas, 24270, 348, 0.90, 51, 1.11, 0, 670, 532, 0.975,
     4248.36, 0.05},
    // The steam example of API 520 Part I (7th ed.): W = 69615 kg/h, P1 = 12236 kPa, K_d = 0.975,
    // K_N = (0.02764·12236 − 1000)/(0.03324·12236 − 1061) = −661.797/−654.275 = 1.011496
    // (the standard writes 1.01). Saturated, K_SH = 1:
    // A = 190.5·69615/(12236·0.975·1.011496) = 13261657.5/12067.26 = 1098.98 mm²; the standard's
    // rounded K_N = 1.01 gives 1100.6. fluids reproduces 1103.47 with its interpolated
    // superheat factor 0.99593 (1103.47·0.99593 = 1098.98).
    {"ApiSteamExampleSaturated", medium::steam, 69615, 0, 0, 0, 0, 0, 12236, 0, 0.975, 1098.98,
     0.01},
    // The README's gas by hand: k = 1.4, (2/2.4)^6 = 0.334898, C = 0.03948·√(1.4·0.334898)
    // = 0.03948·0.684731 = 0.0270332; r = 100/1200 = 0.0833 ≤ 0.5283, critical;
    // A = 10000/(0.0270332·0.65·1200)·√(300/29) = 474.25·3.21634 = 1525.35 mm².
    {"ReadmeGasByHand", medium::gas, 10000, 300, 1, 29, 1.4, 0, 1200, 100, 0.65, 1525.35, 0.01},
    // Saturated steam, Ps = 1: P1 = 1130 kPa ≤ 10339, K_N = 1;
    // A = 190.5·7565/(1130·0.65) = 1441132.5/734.5 = 1962.06 mm² (the regulation's 1962 for 7565).
    {"SteamLowPressureByHand", medium::steam, 7565, 0, 0, 0, 0, 0, 1130, 0, 0.65, 1962.06, 0.01},
    // Liquid: Q = 36000/1000·1000/60 = 600 L/min, G = 1, ΔP = 1200 kPa;
    // A = 11.78·600/0.65·√(1/1200) = 10873.85·0.0288675 = 313.90 mm².
    {"LiquidByHand", medium::liquid, 36000, 0, 0, 0, 0, 1000, 1300, 100, 0.65, 313.90, 0.01},
    // Steam K_N thresholds with W = 10000, K_d = 0.975. At 10339 kPa K_N = 1:
    // A = 190.5·10000/(10339·0.975) = 1905000/10080.525 = 188.978.
    {"SteamKnAtThreshold", medium::steam, 10000, 0, 0, 0, 0, 0, 10339, 0, 0.975, 188.978, 0.001},
    // 1 Pa above: K_N = (285.7700 − 1000)/(343.6684 − 1061) = 0.995676, A = 189.799.
    {"SteamKnJustAbove", medium::steam, 10000, 0, 0, 0, 0, 0, 10339.001, 0, 0.975, 189.799,
     0.001},
    // At the top of K_N's range: K_N = (609.6555 − 1000)/(733.1747 − 1061) = 1.190709,
    // A = 1905000/(22057·0.975·1.190709) = 74.394.
    {"SteamKnAtUpperLimit", medium::steam, 10000, 0, 0, 0, 0, 0, 22057, 0, 0.975, 74.394, 0.001},
};

INSTANTIATE_TEST_SUITE_P(Worked, ApiArea, testing::ValuesIn(area_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ApiArea, SteamExampleCorrectionFactor) {
    EXPECT_NEAR(api520_steam_area(69615, 12236, 0.975).K_N, 1.011496, 1e-6);
    EXPECT_EQ(api520_steam_area(69615, 10339, 0.975).K_N, 1.0);
}

// k = 3 puts the critical ratio on a value we can write: r_c = (2/4)^(3/2) = √0.125, whose
// nearest double is 0.3535533905932738; P1 = 1024 kPa keeps P2/P1 exact. W = 1000, T = 300,
// Z = 1, M = 30, K_d = 1: C = 0.03948·√(3·0.25) = 0.0341907,
// critical A = 1000/(0.0341907·1024)·√10 = 90.3217.
constexpr double r_c_k3 = 0.3535533905932738;

api_area k3_gas(double P2) { return api520_gas_area(1000, 300, 1, 30, 3, 1024, P2, 1); }

TEST(GasFlowRegime, CriticalExactlyAtTheCriticalRatio) {
    const api_area a = k3_gas(r_c_k3 * 1024);
    ASSERT_EQ(a.regime, flow_regime::critical);
    EXPECT_EQ(a.r, r_c_k3);
    EXPECT_NEAR(*a.A, 90.3217, 1e-4);
}

TEST(GasFlowRegime, CriticalJustBelowTheCriticalRatio) {
    const api_area a = k3_gas(std::nextafter(r_c_k3, 0.0) * 1024);
    EXPECT_EQ(a.regime, flow_regime::critical);
    EXPECT_NEAR(*a.A, 90.3217, 1e-4);
}

TEST(GasFlowRegime, SubcriticalJustAboveAndContinuous) {
    const api_area a = k3_gas(std::nextafter(r_c_k3, 1.0) * 1024);
    ASSERT_EQ(a.regime, flow_regime::subcritical);
    // The two formulas meet at r_c to within their rounded constants (17.9 and 0.03948):
    // r_c^{2/3} = 0.5, F2 = √(1.5·0.5·(1 − 0.5)/(1 − 0.353553)) = √0.580095 = 0.761639,
    // A = 17.9·1000/0.761639·√(300/(30·1024·(1024 − 362.0387))) = 90.2688, 0.06 % below.
    EXPECT_NEAR(a.F2, 0.761639, 1e-6);
    EXPECT_NEAR(*a.A, 90.2688, 0.001);
}

struct refusal_case {
    const char* name;
    medium kind;
    double W, M, k, rho, P1, P2;
    refusal why;
};
void PrintTo(const refusal_case& c, std::ostream* os) { *os << c.name; }

class ApiRefusal : public testing::TestWithParam<refusal_case> {};

TEST_P(ApiRefusal, GivesAReasonAndNoNumber) {
    const auto& c = GetParam();
    const area_case in{c.name, c.kind, c.W, 300, 1, c.M, c.k, c.rho, c.P1, c.P2, 0.975, 0, 0};
    const api_area a = area_of(in);
    EXPECT_FALSE(a.A.has_value());
    EXPECT_EQ(a.why, c.why);
}

const refusal_case refusal_cases[] = {
    {"GasZeroFlow", medium::gas, 0, 29, 1.4, 0, 1200, 100, refusal::relief_rate_not_positive},
    {"SteamNegativeFlow", medium::steam, -1, 0, 0, 0, 1130, 0, refusal::relief_rate_not_positive},
    {"LiquidZeroFlow", medium::liquid, 0, 0, 0, 1000, 1300, 100,
     refusal::relief_rate_not_positive},
    {"GasKEqualToOne", medium::gas, 1000, 29, 1.0, 0, 1200, 100, refusal::k_not_above_one},
    {"GasKBelowOne", medium::gas, 1000, 29, 0.9, 0, 1200, 100, refusal::k_not_above_one},
    {"GasOutletEqualsInlet", medium::gas, 1000, 29, 1.4, 0, 1200, 1200,
     refusal::outlet_not_below_inlet},
    {"GasOutletAboveInlet", medium::gas, 1000, 29, 1.4, 0, 1200, 1300,
     refusal::outlet_not_below_inlet},
    {"LiquidOutletEqualsInlet", medium::liquid, 1000, 0, 0, 1000, 1300, 1300,
     refusal::outlet_not_below_inlet},
    {"SteamJustAbove22057", medium::steam, 1000, 0, 0, 0, 22057.001, 0, refusal::steam_beyond_kn},
    {"GasZeroMolarMass", medium::gas, 1000, 0, 1.4, 0, 1200, 100, refusal::input_not_positive},
    {"GasNegativeOutlet", medium::gas, 1000, 29, 1.4, 0, 1200, -1, refusal::input_not_positive},
    {"LiquidZeroDensity", medium::liquid, 1000, 0, 0, 0, 1300, 100, refusal::input_not_positive},
    {"SteamZeroPressure", medium::steam, 1000, 0, 0, 0, 0, 0, refusal::input_not_positive},
    {"GasBeyondDoubleRange", medium::gas, 1e308, 1e-300, 1.4, 0, 1200, 100, refusal::out_of_range},
};

INSTANTIATE_TEST_SUITE_P(Refused, ApiRefusal, testing::ValuesIn(refusal_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct orifice_case {
    const char* name;
    double A;
    char letter;  // 0: beyond T
};
void PrintTo(const orifice_case& c, std::ostream* os) { *os << c.name; }

class Orifice : public testing::TestWithParam<orifice_case> {};

TEST_P(Orifice, SmallestLetterThatCoversTheArea) {
    const auto& c = GetParam();
    const auto o = smallest_orifice(c.A);
    if (c.letter == 0) {
        EXPECT_FALSE(o.has_value());
    } else {
        ASSERT_TRUE(o.has_value());
        EXPECT_EQ(o->letter, c.letter);
        EXPECT_GE(o->area, c.A);
    }
}

const orifice_case orifice_cases[] = {
    {"TinyAreaTakesD", 0.5, 'D'},
    {"ExactlyDTakesD", 71.0, 'D'},
    {"JustAboveDTakesE", 71.01, 'E'},
    {"ExactlyJTakesJ", 830.3, 'J'},
    // Every other letter at its own published area (API 526, the square-inch areas in mm²): a
    // letter's area mistyped lower hands that exact area to the next letter.
    {"ExactlyETakesE", 126.5, 'E'},
    {"ExactlyFTakesF", 198.1, 'F'},
    {"ExactlyGTakesG", 324.5, 'G'},
    {"ExactlyHTakesH", 506.5, 'H'},
    {"ExactlyKTakesK", 1185.8, 'K'},
    {"ExactlyLTakesL", 1840.6, 'L'},
    {"ExactlyMTakesM", 2322.6, 'M'},
    {"ExactlyPTakesP", 4116.1, 'P'},
    {"ExactlyQTakesQ", 7129.0, 'Q'},
    {"ExactlyRTakesR", 10322.6, 'R'},
    {"JustAboveJTakesK", 830.31, 'K'},
    {"ReadmeApiAreaTakesK", 1016.90, 'K'},
    {"ExactlyNTakesN", 2800.0, 'N'},
    {"ExactlyTTakesT", 16774.0, 'T'},
    {"JustAboveTHasNone", 16774.01, 0},
};

INSTANTIATE_TEST_SUITE_P(Api526, Orifice, testing::ValuesIn(orifice_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Refusal, EveryReasonHasTextAndCode) {
    for (refusal why : {refusal::capacity_not_positive, refusal::relief_rate_not_positive,
                        refusal::input_not_positive, refusal::k_not_above_one,
                        refusal::outlet_not_below_inlet, refusal::steam_beyond_kn,
                        refusal::out_of_range}) {
        EXPECT_STRNE(refusal_text(why), "");
        EXPECT_STRNE(refusal_code(why), "");
    }
}

}  // namespace
