#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "route/route.h"

using namespace ventora;

namespace {

const account::step* find_step(const account::account& a, const std::string& title) {
    const auto it = std::find_if(a.steps.begin(), a.steps.end(),
                                 [&](const account::step& s) { return s.title == title; });
    return it == a.steps.end() ? nullptr : &*it;
}

// Gas storage tank ρ = 10 kg/m³, d = 100 mm, v = 20 m/s: W_s = 2.83·10⁻³·10·20·100² = 5660.
route::route_input storage_tank_then_valve() {
    route::route_input in;
    in.relief.kind = relief::relief_case::compressed_gas;
    in.relief.compressed = relief::compressed_kind::gas_storage_tank;
    in.relief.rho = 10.0;
    in.relief.d = 100.0;
    in.relief.v = 20.0;
    in.next = route::device::safety_valve;
    in.valve.type = valve::valve_type::full_lift;
    in.valve.medium = valve::valve_medium::gas;
    in.valve.d1 = 50.0;
    auto& c = in.valve.capacity;
    c.C = 356.0;
    c.Ps = 1.0;
    c.M = 29.0;
    c.T = 300.0;
    c.Z = 1.0;
    c.k = 1.4;
    c.Po = 0.1;
    return in;
}

TEST(Account, RouteStepsCarryTheResultsDigitForDigit) {
    account::route_account book;
    const route::route_result r = route::run_route(storage_tank_then_valve(), &book);

    const account::step* rate = find_step(book.relief, "安全泄放量");
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->value, "5660");
    EXPECT_EQ(rate->substituted, "W_{s} = 2.83×10^{-3}·10·20·100^{2} = 5660");
    EXPECT_EQ(book.relief.conclusion, "W_{s} = 5660 kg/h");

    ASSERT_TRUE(book.device.has_value());
    // A = Int(0.25·3.14·50²) = Int(1962.5); r = 0.1 ≤ r_c = 0.528…: critical flow;
    // W = Int(0.076·0.65·356·1.2·1962·√(29/300)) = Int(12873.6…).
    EXPECT_EQ(find_step(*book.device, "排放面积")->value, "1962");
    EXPECT_EQ(find_step(*book.device, "排放面积")->substituted, "A = 0.25·3.14·50^{2} = 1962.5");
    EXPECT_EQ(find_step(*book.device, "流动状态")->value, "临界流动");
    EXPECT_EQ(find_step(*book.device, "排放能力")->value, "12873");
    EXPECT_EQ(find_step(*book.device, "校核")->value, "合格");
    // 12873/5660 and 1962·5660/12873.
    EXPECT_EQ(find_step(*book.device, "裕量")->value, "2.2743816254417");
    // A_min belongs to the sizing section, once.
    EXPECT_EQ(find_step(*book.device, "W_{s} 所需的最小排放面积"), nullptr);
    ASSERT_TRUE(book.sizing.has_value());
    EXPECT_EQ(find_step(*book.sizing, "所需最小排放面积")->value, "862.652062456304");
    EXPECT_EQ(r.valve->capacity, 12873.0);
}

TEST(Account, ValveVerdictAgainstTenThousand) {
    route::route_input in = storage_tank_then_valve();
    in.relief.kind = relief::relief_case::typed_rate;
    in.relief.W_t = 10000.0;
    account::route_account book;
    route::run_route(in, &book);
    EXPECT_EQ(find_step(*book.device, "校核")->substituted, "12873 ≥ 10000");
    EXPECT_EQ(find_step(*book.device, "裕量")->value, "1.2873");
    EXPECT_EQ(book.device->conclusion, "W = 12873 kg/h，W_{s} = 10000 kg/h，合格");
}

struct refused_case {
    const char* name;
    route::route_input in;
    bool relief_refused;
    std::string message;
};
void PrintTo(const refused_case& c, std::ostream* os) { *os << c.name; }

route::route_input with(route::route_input in, auto change) {
    change(in);
    return in;
}

class RefusedAccount : public testing::TestWithParam<refused_case> {};

// A refused calculation records its refusal and no result after it: the book never invents one.
TEST_P(RefusedAccount, HasNoVerdictAndNoConclusion) {
    const auto& c = GetParam();
    account::route_account book;
    route::run_route(c.in, &book);
    const account::account& refused = c.relief_refused ? book.relief : *book.device;
    EXPECT_EQ(refused.refusal, c.message);
    EXPECT_TRUE(refused.refused_by.has_value());
    EXPECT_EQ(find_step(refused, "校核"), nullptr);
    EXPECT_TRUE(refused.conclusion.empty());
    if (c.relief_refused) {
        EXPECT_FALSE(book.device.has_value());
    }
}

const refused_case refused_cases[] = {
    {"StorageTankWithoutVelocity",
     with(storage_tank_then_valve(), [](auto& in) { in.relief.v.reset(); }), true,
     relief::msg_compressed_bad},
    {"ValveAreaZero", with(storage_tank_then_valve(), [](auto& in) { in.valve.d1 = 0.0; }), false,
     valve::msg_bad_area},
    {"SteamAboveCriticalPressure", with(storage_tank_then_valve(), [](auto& in) {
         in.valve.medium = valve::valve_medium::saturated_steam;
         in.valve.capacity.Ps = 30.0;
     }),
     false, valve::msg_bad_input},
    {"DiscWithoutNozzle", with(storage_tank_then_valve(), [](auto& in) {
         in.next = route::device::bursting_disc;
         in.disc.medium = disc::disc_medium::gas;
     }),
     false, disc::msg_no_nozzle},
};

INSTANTIATE_TEST_SUITE_P(Routes, RefusedAccount, testing::ValuesIn(refused_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Account, DiscAreaAndCoefficient) {
    route::route_input in = storage_tank_then_valve();
    in.relief.kind = relief::relief_case::typed_rate;
    in.relief.W_t = 10000.0;
    in.next = route::device::bursting_disc;
    in.disc.medium = disc::disc_medium::gas;
    in.disc.nozzle = disc::nozzle_type::straight_pipe;
    in.disc.inputs = {1.0, 29.0, 300.0, 1.0, 1.4, 0.1, {}};
    account::route_account book;
    const route::route_result r = route::run_route(in, &book);
    // C = Int(520·√(1.4·(2/2.4)^6)) = Int(356.06…); A = Int(10000/(0.076·0.68·356·√(29/300))).
    EXPECT_EQ(find_step(*book.device, "气体特性系数")->value, "356");
    EXPECT_EQ(find_step(*book.device, "泄放系数")->value, "0.68");
    EXPECT_EQ(find_step(*book.device, "最小排放面积")->value, "1748");
    EXPECT_EQ(r.disc->A, 1748.0);
}

TEST(Account, WithoutAnAccountTheRouteGivesTheSameResults) {
    account::route_account book;
    const route::route_result with_account = route::run_route(storage_tank_then_valve(), &book);
    const route::route_result without = route::run_route(storage_tank_then_valve());
    EXPECT_EQ(with_account.valve->messages, without.valve->messages);
    EXPECT_EQ(with_account.relief.stored, without.relief.stored);
}

}  // namespace
