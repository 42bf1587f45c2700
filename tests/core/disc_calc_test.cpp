#include <cmath>

#include <gtest/gtest.h>

#include "disc/disc_calc.h"

using namespace ventora::disc;
using ventora::number;

namespace {

disc_inputs gas_inputs(number p_o = 0.1) {
    disc_inputs in;
    in.p_b = 1.0;
    in.M = 29.0;
    in.T = 300.0;
    in.Z = 1.0;
    in.k = 1.4;
    in.p_o = p_o;
    return in;
}

disc_inputs liquid_inputs(number p_o = 0.1) {
    disc_inputs in;
    in.p_b = 1.0;
    in.p_o = p_o;
    in.rho = 1000.0;
    return in;
}

disc_inputs steam_inputs(number p_b) {
    disc_inputs in;
    in.p_b = p_b;
    return in;
}

template <typename F>
disc_inputs with(disc_inputs in, F change) {
    change(in);
    return in;
}

struct disc_case {
    const char* name;
    std::optional<disc_medium> medium;
    std::optional<nozzle_type> nozzle;
    disc_inputs in;
    float W_s;
    disc_status status;
    number A;
};
void PrintTo(const disc_case& c, std::ostream* os) { *os << c.name; }


class BurstingDisc : public testing::TestWithParam<disc_case> {};

TEST_P(BurstingDisc, SizesOrRefuses) {
    const auto& c = GetParam();
    const disc_result r = size_bursting_disc(c.medium, c.nozzle, c.in, c.W_s);
    EXPECT_EQ(r.status, c.status);
    if (c.status == disc_status::area_ready) {
        EXPECT_EQ(r.A, c.A);
    }
}

constexpr auto gas = disc_medium::gas;
constexpr auto liquid = disc_medium::liquid;
constexpr auto steam = disc_medium::saturated_steam;
constexpr auto straight = nozzle_type::straight_pipe;
constexpr auto flush = nozzle_type::flush_pipe;
constexpr auto bell = nozzle_type::bell_mouth;
constexpr auto ready = disc_status::area_ready;
constexpr auto bad_input = disc_status::bad_input;
constexpr auto bad_k = disc_status::bad_k;

const disc_case cases[] = {
    {"GasCritical", gas, straight, gas_inputs(), 10000, ready, 1748.0},
    {"GasSubcritical", gas, straight, gas_inputs(0.8), 10000, ready, 2136.0},
    {"GasBackPressureUnsetIsCritical", gas, straight, gas_inputs(std::nullopt), 10000, ready, 1748.0},
    {"GasNoRateYetGivesZero", gas, straight, gas_inputs(), 0, ready, 0.0},
    {"LiquidIgnoresNozzle", liquid, std::nullopt, liquid_inputs(), 10000, ready, 105.0},
    {"LiquidWithNozzle", liquid, bell, liquid_inputs(), 10000, ready, 105.0},
    {"SteamBellMouth", steam, bell, steam_inputs(1.0), 10000, ready, 2380.0},
    {"SteamAtTenTakesFirstFormula", steam, bell, steam_inputs(10.0), 10000, ready, 238.0},
    {"SteamJustAboveTenIsCorrected", steam, bell, steam_inputs(10.0001), 10000, ready, 239.0},
    {"SteamFlushPipeHighPressure", steam, flush, steam_inputs(12.0), 10000, ready, 215.0},
    {"NoMediumFirst", std::nullopt, std::nullopt, gas_inputs(), 10000, disc_status::no_medium, {}},
    {"GasNoNozzle", gas, std::nullopt, gas_inputs(), 10000, disc_status::no_nozzle, {}},
    {"SteamNoNozzle", steam, std::nullopt, steam_inputs(1.0), 10000, disc_status::no_nozzle, {}},
    {"GasKZero", gas, straight, with(gas_inputs(), [](auto& in) { in.k = 0.0; }), 10000, bad_k, {}},
    {"GasKUnsetBeforeOtherChecks", gas, straight, disc_inputs{}, 10000, bad_k, {}},
    {"GasKOne", gas, straight, with(gas_inputs(), [](auto& in) { in.k = 1.0; }), 10000, bad_k, {}},
    {"GasKBelowOne", gas, straight, with(gas_inputs(), [](auto& in) { in.k = 0.9; }), 10000, bad_k, {}},
    {"GasTwoNegativeFactors", gas, straight,
     with(gas_inputs(), [](auto& in) { in.T = -300.0; in.Z = -1.0; }), 10000, bad_input, {}},
    {"GasZeroBurstPressure", gas, straight, with(gas_inputs(), [](auto& in) { in.p_b = 0.0; }), 10000,
     bad_input, {}},
    {"GasNegativeBackPressure", gas, straight, with(gas_inputs(), [](auto& in) { in.p_o = -0.1; }),
     10000, bad_input, {}},
    {"GasBackPressureEqualsBurst", gas, straight, gas_inputs(1.0), 10000, bad_input, {}},
    {"GasBackPressureAboveBurst", gas, straight, gas_inputs(1.5), 10000, bad_input, {}},
    {"GasMolarMassUnset", gas, straight, with(gas_inputs(), [](auto& in) { in.M.reset(); }), 10000,
     bad_input, {}},
    {"LiquidBackPressureUnset", liquid, std::nullopt, liquid_inputs(std::nullopt), 10000, bad_input, {}},
    {"LiquidBackPressureEqualsBurst", liquid, std::nullopt, liquid_inputs(1.0), 10000, bad_input, {}},
    {"LiquidTwoNegatives", liquid, std::nullopt,
     with(liquid_inputs(-0.1), [](auto& in) { in.rho = -1000.0; }), 10000, bad_input, {}},
    {"SteamZeroPressure", steam, bell, steam_inputs(0.0), 10000, bad_input, {}},
    // At 10 MPa exactly the area is not corrected: Int(10000/(5.25·0.8·10)) = Int(238.09…).
    {"SteamAtTenIsNotCorrected", steam, bell, steam_inputs(10.0), 10000, ready, 238.0},
    // 22.064 MPa is sized: 10000/(5.25·0.8·22.064)·(229.2·22.064 − 7315)/(190.6·22.064 − 6895)
    // = 90.6…; above it no saturated steam exists, and the correction drove the area to −2
    // (32 MPa), −2181 (36) and −1.7·10⁶ (36.175) where it used to be shown as the result.
    {"SteamAtWaterCriticalPressureIsSized", steam, bell, steam_inputs(22.064), 10000, ready, 90.0},
    {"SteamJustAboveCriticalPressure", steam, bell, steam_inputs(22.064000000000004), 10000, bad_input, {}},
    {"Steam32", steam, straight, steam_inputs(32.0), 10000, bad_input, {}},
    {"Steam36", steam, straight, steam_inputs(36.0), 10000, bad_input, {}},
    {"Steam36175", steam, straight, steam_inputs(36.175), 10000, bad_input, {}},
    // The ratio exactly at r_c = (2/2.4)^3.5 is critical flow: Int(10000/(0.076·0.68·356·√(29/300)))
    // = Int(1748.19…). Taken as subcritical it would be Int(1749.45…).
    {"GasRatioExactlyCriticalIsCritical", gas, straight,
     gas_inputs(std::pow(2.0 / (1.4 + 1.0), 1.4 / (1.4 - 1.0))), 10000, ready, 1748.0},
    // f is kept in single precision: 0.39644721150398254 rather than 0.39644720861790533, which
    // moves an area of two thousand million by 16.
    {"GasSubcriticalFactorInSinglePrecision", gas, straight, gas_inputs(0.8), 1e10F, ready, 2136593675.0},
    // Areas that leave the number range are no result.
    {"GasAreaBeyondRange", gas, straight, with(gas_inputs(0.0), [](auto& in) { in.p_b = 1e-300; }),
     3e38F, bad_input, {}},
    {"LiquidHugeBurstPressure", liquid, std::nullopt, with(liquid_inputs(), [](auto& in) { in.p_b = 1e308; }),
     10000, bad_input, {}},
    {"LiquidTinyBurstPressure", liquid, std::nullopt,
     with(liquid_inputs(1e-321), [](auto& in) { in.p_b = 1e-320; }), 10000, bad_input, {}},
    // A tiny rate rounds down to an area of 0: that is a result.
    {"TinyRateGivesZeroArea", liquid, std::nullopt, liquid_inputs(), 1, ready, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Worked, BurstingDisc, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BurstingDisc, GasCoefficientIsRoundedDown) {
    // A = Int(W_s / (0.076 · 0.68 · C · 1 · √(29/300))) is monotonic in C; recover C from
    // W_s chosen so that the area is the divisor's inverse.
    const double s = std::sqrt(29.0 / 300.0);
    for (auto [k, C] : {std::pair{1.1, 326.0}, {1.2, 337.0}, {1.3, 346.0}, {1.4, 356.0}, {1.5, 364.0}, {2.0, 400.0}}) {
        const float W_s = 1e7F;
        const auto r = size_bursting_disc(gas, straight, with(gas_inputs(0.0), [k = k](auto& in) { in.k = k; }), W_s);
        ASSERT_EQ(r.status, ready);
        EXPECT_EQ(r.A, std::floor(1e7 / (0.076 * 0.68 * C * 1.0 * s))) << "k = " << k;
    }
}

TEST(BurstingDisc, JustAboveOneStillSizes) {
    const auto r = size_bursting_disc(gas, straight, with(gas_inputs(), [](auto& in) { in.k = 1.0001; }), 10000);
    EXPECT_EQ(r.status, ready);
    ASSERT_TRUE(r.A.has_value());
    EXPECT_GT(*r.A, 0.0);
}

TEST(DiscMessage, OneTextPerStatus) {
    EXPECT_EQ(disc_message({disc_status::no_medium, {}}), "没有选择计算类型!请重新选择!");
    EXPECT_EQ(disc_message({disc_status::no_nozzle, {}}), "没有选择接管类型!请重新选择!");
    EXPECT_EQ(disc_message({disc_status::bad_k, {}}), "气体绝热系数错误!请重新选择!");
    EXPECT_EQ(disc_message({disc_status::bad_input, {}}), "输入参数错误!请重新选择!");
    EXPECT_EQ(disc_message({ready, 1748.0}), "当前计算出的爆破片所需的最小排放面积(mm^2)： 1748");
    EXPECT_EQ(disc_message({ready, std::nullopt}), "当前计算出的爆破片所需的最小排放面积(mm^2)： ");
}

}  // namespace
