#include <cfloat>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "relief/relief_calc.h"

using namespace ventora::relief;
using ventora::number;

namespace {

relief_input compressed(std::optional<compressed_kind> kind) {
    relief_input in;
    in.kind = relief_case::compressed_gas;
    in.compressed = kind;
    return in;
}

// Liquefied gas, fire-exposed, uninsulated, above ground (F = 1), q = 300.
relief_input liquefied(vessel_form form, number D, number L = std::nullopt, number h = std::nullopt) {
    relief_input in;
    in.kind = relief_case::liquefied_gas;
    in.fire = fire_exposure::fire_exposed;
    in.insulated = insulation::uninsulated;
    in.installed = installation::above_ground;
    in.form = form;
    in.D = D;
    in.L = L;
    in.h = h;
    in.q = 300.0;
    return in;
}

relief_input insulated_vessel() {
    relief_input in = liquefied(vessel_form::hemispherical_heads, 2.0, 5.0);
    in.insulated = insulation::insulated;
    in.installed.reset();
    in.t = 50.0;
    in.lambda = 0.2;
    in.delta = 0.05;
    return in;
}

relief_input typed(number W_t) {
    relief_input in;
    in.kind = relief_case::typed_rate;
    in.W_t = W_t;
    return in;
}

struct rate_case {
    const char* name;
    relief_input in;
    std::optional<float> area;
    number W_s;
    float stored;
};
void PrintTo(const rate_case& c, std::ostream* os) { *os << c.name; }


class ReliefRate : public testing::TestWithParam<rate_case> {};

TEST_P(ReliefRate, ComputesTheWorkedValue) {
    const auto& c = GetParam();
    const relief_result r = calc_relief_rate(c.in);
    ASSERT_FALSE(r.refused()) << *r.refusal;
    EXPECT_EQ(r.area, c.area);
    EXPECT_EQ(r.W_s, c.W_s);
    EXPECT_EQ(r.stored, c.stored);
}

relief_input with(relief_input in, auto change) {
    change(in);
    return in;
}

// Built on first use rather than as a static array: GCC 12 at -O3 fails on this table's static
// initialisation (an internal compiler error in the inliner).
std::vector<rate_case> rate_cases() {
    return {
    {"StorageTank", with(compressed(compressed_kind::gas_storage_tank),
                         [](auto& in) { in.rho = 10.0; in.d = 100.0; in.v = 20.0; }),
     std::nullopt, 5660.0, 5660.0F},
    // 1.2 × 50 × 50 × 15 × 0.00283 is 127.35000000000001 in double precision.
    {"StorageTankRoundsDown", with(compressed(compressed_kind::gas_storage_tank),
                                   [](auto& in) { in.rho = 1.2; in.d = 50.0; in.v = 15.0; }),
     std::nullopt, 127.0, 127.0F},
    {"ProductionCapacityShownAsTypedStoredWhole",
     with(compressed(compressed_kind::production_capacity), [](auto& in) { in.G = 1500.7; }),
     std::nullopt, 1500.7, 1500.0F},
    {"Spherical", liquefied(vessel_form::spherical, 2.0), 6.28F, 3834.0, 3834.0F},
    {"SphericalFireFreeTakesThirtyPercentOfTheRoundedRate",
     with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.fire = fire_exposure::fire_free; }),
     6.28F, 1150.0, 1150.0F},
    {"HemisphericalUnderWaterSpray",
     with(liquefied(vessel_form::hemispherical_heads, 2.0, 5.0),
          [](auto& in) { in.installed = installation::water_spray; }),
     31.4F, 8610.0, 8610.0F},
    {"Elliptical", liquefied(vessel_form::elliptical_heads, 2.0, 5.0), 35.168F, 15749.0, 15749.0F},
    // 2.55 × 100000 is one ulp below 255000, so an area of exactly 1 gives 254999.
    {"CoefficientJustBelow255000",
     with(liquefied(vessel_form::hemispherical_heads, 1.0, 0.31847134), [](auto& in) { in.q = 1.0; }),
     1.0F, 254999.0, 254999.0F},
    {"InsulatedNeedsNoInstallation", insulated_vessel(), 31.4F, 352.0, 352.0F},
    // 1.57 × 0.15² = 0.035325; 254999.99999999997 × 0.035325^0.82 / 300 = 54.8…
    {"DiameterExactlyAtLimitPasses", liquefied(vessel_form::spherical, 0.15), 0.035325F, 54.0, 54.0F},
    // F = 0.3 below ground: Int(254999.99999999997·0.3·6.28^0.82/300) = Int(1150.44…).
    {"BelowGroundUnderSand", with(liquefied(vessel_form::spherical, 2.0),
                                  [](auto& in) { in.installed = installation::below_ground; }),
     6.28F, 1150.0, 1150.0F},
    {"TypedRate", typed(800.0), std::nullopt, 800.0, 800.0F},
    // The largest single is kept; so is a rate just below half a unit above it, which rounds to it.
    {"TypedLargestSingle", typed(static_cast<double>(FLT_MAX)), std::nullopt, static_cast<double>(FLT_MAX), FLT_MAX},
    {"TypedJustBelowSingleOverflow", typed(std::nextafter(0x1.ffffffp127, 0.0)), std::nullopt,
     std::nextafter(0x1.ffffffp127, 0.0), FLT_MAX},
    {"TypedRateStoredWhole", typed(1234.7), std::nullopt, 1234.7, 1234.0F},
    };
}

INSTANTIATE_TEST_SUITE_P(Worked, ReliefRate, testing::ValuesIn(rate_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReliefRate, VerticalVesselArea) {
    const relief_result r = calc_relief_rate(liquefied(vessel_form::vertical, 2.0, std::nullopt, 3.0));
    ASSERT_FALSE(r.refused());
    EXPECT_EQ(r.area, 18.84F);
}

struct refusal_case {
    const char* name;
    relief_input in;
    const char* message;
};
void PrintTo(const refusal_case& c, std::ostream* os) { *os << c.name; }


class ReliefRefusal : public testing::TestWithParam<refusal_case> {};

TEST_P(ReliefRefusal, RefusesWithTheFirstFailingCheck) {
    const relief_result r = calc_relief_rate(GetParam().in);
    ASSERT_TRUE(r.refused());
    EXPECT_EQ(*r.refusal, GetParam().message);
    EXPECT_EQ(relief_messages(r), std::vector<std::string>{GetParam().message});
}

const refusal_case refusal_cases[] = {
    {"CompressedNoKind", compressed(std::nullopt), msg_compressed_bad},
    {"CompressedEmptyCapacity", compressed(compressed_kind::production_capacity), msg_compressed_bad},
    {"CompressedZeroCapacity", with(compressed(compressed_kind::production_capacity),
                                    [](auto& in) { in.G = 0.0; }), msg_compressed_bad},
    {"CompressedNegativeCapacity", with(compressed(compressed_kind::production_capacity),
                                        [](auto& in) { in.G = -3.0; }), msg_compressed_bad},
    {"StorageTankEmptyVelocity", with(compressed(compressed_kind::gas_storage_tank),
                                      [](auto& in) { in.rho = 10.0; in.d = 100.0; }), msg_compressed_bad},
    // Two negative factors must not make a positive rate.
    {"StorageTankTwoNegatives", with(compressed(compressed_kind::gas_storage_tank),
                                     [](auto& in) { in.rho = -10.0; in.d = 100.0; in.v = -20.0; }),
     msg_compressed_bad},
    {"StorageTankNegativeDiameter", with(compressed(compressed_kind::gas_storage_tank),
                                         [](auto& in) { in.rho = 10.0; in.d = -100.0; in.v = 20.0; }),
     msg_compressed_bad},
    {"StorageTankProductRoundsToZero", with(compressed(compressed_kind::gas_storage_tank),
                                            [](auto& in) { in.rho = 0.001; in.d = 1.0; in.v = 1.0; }),
     msg_compressed_bad},
    {"StorageTankBeyondDoubleRange", with(compressed(compressed_kind::gas_storage_tank),
                                          [](auto& in) { in.rho = 1e300; in.d = 1e10; in.v = 1.0; }),
     msg_compressed_bad},
    {"CapacityBeyondSingleRangeCannotBeKept", with(compressed(compressed_kind::production_capacity),
                                                   [](auto& in) { in.G = 1e39; }), msg_compressed_bad},
    {"NoMedium", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.fire.reset(); }),
     msg_no_medium},
    {"NoMediumComesFirst", with(relief_input{}, [](auto& in) { in.kind = relief_case::liquefied_gas; }),
     msg_no_medium},
    {"NoInsulation", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.insulated.reset(); }),
     msg_no_insulation},
    {"UninsulatedNoInstallation",
     with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.installed.reset(); }),
     msg_no_installation},
    {"NoForm", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.form.reset(); }),
     msg_no_form},
    {"DiameterBelowLimit", liquefied(vessel_form::spherical, 0.149), msg_bad_vessel},
    {"DiameterUnset", liquefied(vessel_form::hemispherical_heads, std::nullopt), msg_bad_vessel},
    {"HorizontalLengthUnset", liquefied(vessel_form::hemispherical_heads, 2.0), msg_bad_vessel},
    {"HorizontalLengthNegative", liquefied(vessel_form::hemispherical_heads, 2.0, -5.0), msg_bad_vessel},
    {"EllipticalLengthZero", liquefied(vessel_form::elliptical_heads, 2.0, 0.0), msg_bad_vessel},
    {"VerticalLevelUnset", liquefied(vessel_form::vertical, 2.0, 5.0), msg_bad_vessel},
    {"VesselCheckBeforeInsulationCheck",
     with(insulated_vessel(), [](auto& in) { in.L.reset(); in.t.reset(); }), msg_bad_vessel},
    {"InsulatedZeroTemperature", with(insulated_vessel(), [](auto& in) { in.t = 0.0; }),
     msg_bad_insulation},
    {"InsulatedTemperatureAt650", with(insulated_vessel(), [](auto& in) { in.t = 650.0; }),
     msg_bad_insulation},
    {"InsulatedTemperatureAbove650", with(insulated_vessel(), [](auto& in) { in.t = 700.0; }),
     msg_bad_insulation},
    {"InsulatedZeroConductivity", with(insulated_vessel(), [](auto& in) { in.lambda = 0.0; }),
     msg_bad_insulation},
    {"InsulatedZeroThickness", with(insulated_vessel(), [](auto& in) { in.delta = 0.0; }),
     msg_bad_insulation},
    {"InsulatedThicknessJustAboveLimit", with(insulated_vessel(), [](auto& in) { in.delta = 0.1001; }),
     msg_bad_insulation},
    {"LatentHeatZero", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.q = 0.0; }),
     msg_no_latent_heat},
    {"LatentHeatUnset", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.q.reset(); }),
     msg_no_latent_heat},
    // A rate beyond the double range would leave nothing, stored as 0.
    {"RateBeyondRange", with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.q = 1e-306; }),
     msg_bad_vessel},
    {"AreaBeyondSingleRange", liquefied(vessel_form::spherical, 1e20), msg_bad_vessel},
    {"TypedEmpty", typed(std::nullopt), msg_typed_bad},
    {"TypedZero", typed(0.0), msg_typed_bad},
    {"TypedNegative", typed(-5.0), msg_typed_bad},
    {"TypedBeyondSingleRange", typed(1e39), msg_typed_bad},
    // Half a unit in the last place above the largest single overflows the store.
    {"TypedAtSingleOverflowBound", typed(0x1.ffffffp127), msg_typed_bad},
};

INSTANTIATE_TEST_SUITE_P(Checks, ReliefRefusal, testing::ValuesIn(refusal_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReliefRate, InsulatedThicknessAtLimitAndNegativeTemperaturePass) {
    EXPECT_FALSE(calc_relief_rate(with(insulated_vessel(), [](auto& in) { in.delta = 0.1; })).refused());
    EXPECT_FALSE(calc_relief_rate(with(insulated_vessel(), [](auto& in) { in.t = -10.0; })).refused());
}

TEST(ReliefRate, InsulatedIgnoresAChosenInstallation) {
    const auto with_f = calc_relief_rate(
        with(insulated_vessel(), [](auto& in) { in.installed = installation::below_ground; }));
    EXPECT_EQ(with_f.W_s, 352.0);
}

TEST(ReliefRate, SphericalReadsNeitherLengthNorLevel) {
    const auto r = calc_relief_rate(
        with(liquefied(vessel_form::spherical, 2.0), [](auto& in) { in.L.reset(); in.h = -1.0; }));
    EXPECT_EQ(r.W_s, 3834.0);
}

TEST(ReliefMessages, LiquefiedShowsAreaThenRate) {
    const auto r = calc_relief_rate(with(liquefied(vessel_form::hemispherical_heads, 2.0, 5.0),
                                         [](auto& in) { in.installed = installation::water_spray; }));
    EXPECT_EQ(relief_messages(r), (std::vector<std::string>{"当前计算出的面积(m^2)： 31.4",
                                                           "当前计算出的安全泄放量(kg/h)： 8610"}));
}

TEST(ReliefMessages, OtherCasesShowTheRateOnly) {
    const auto r = calc_relief_rate(
        with(compressed(compressed_kind::production_capacity), [](auto& in) { in.G = 1500.7; }));
    EXPECT_EQ(relief_messages(r), std::vector<std::string>{"当前计算出的安全泄放量(kg/h)： 1500.7"});
}

}  // namespace
