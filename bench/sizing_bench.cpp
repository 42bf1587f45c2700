// The sizing aid after a press: target, the press and its sizing together at most 100 ns more than
// the press alone (Release build). BM_press_alone and BM_press_then_size run the same cases side by
// side; BM_size_valve is the difference on its own, BM_size_valve_book the cost of the book.
#include <benchmark/benchmark.h>

#include "account/account.h"
#include "sizing/sizing.h"
#include "valve/valve_calc.h"

namespace {

using namespace ventora;

struct press_case {
    valve::valve_press_input in;
    double P_d;  // the regulation's discharge pressure of the medium, absolute MPa
};

press_case press(valve::valve_medium medium, double Po, double Ps, double P_d) {
    press_case c;
    c.in.type = valve::valve_type::full_lift;
    c.in.medium = medium;
    c.in.d1 = 50.0;
    c.in.D = c.in.h = c.in.phi = 0.0;
    c.in.capacity = {356.0, Ps, 29.0, 300.0, 1.0, 1.4, 1000.0, Po};
    c.P_d = P_d;
    return c;
}
press_case gas_critical() { return press(valve::valve_medium::gas, 0.1, 1.0, 1.2); }
press_case gas_subcritical() { return press(valve::valve_medium::gas, 0.8, 1.0, 1.2); }
press_case steam_high() { return press(valve::valve_medium::saturated_steam, 0.1, 12.0, 12.46); }
press_case liquid() { return press(valve::valve_medium::liquid, 0.1, 1.0, 1.3); }

constexpr float W_s = 10000.0F;

sizing::valve_sizing_input sizing_input(const press_case& c, const valve::valve_press_result& r) {
    sizing::valve_sizing_input s;
    s.medium = *c.in.medium;
    s.type = *c.in.type;
    s.K = r.K.value_or(0.0);
    s.A = r.area;
    s.W = r.capacity;
    s.W_s = W_s;
    s.in = c.in.capacity;
    s.P_d = c.P_d;
    return s;
}

void BM_press_alone(benchmark::State& state, press_case c) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(c);
        benchmark::DoNotOptimize(valve::press_next(c.in, W_s));
    }
}

void BM_press_then_size(benchmark::State& state, press_case c) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(c);
        const valve::valve_press_result r = valve::press_next(c.in, W_s);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(sizing::size_valve(sizing_input(c, r)));
    }
}

void BM_size_valve(benchmark::State& state, press_case c) {
    const sizing::valve_sizing_input s = sizing_input(c, valve::press_next(c.in, W_s));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(sizing::size_valve(s));
    }
}

void BM_size_valve_book(benchmark::State& state, press_case c) {
    const sizing::valve_sizing_input s = sizing_input(c, valve::press_next(c.in, W_s));
    for (auto _ : state) {
        account::account book;
        benchmark::DoNotOptimize(sizing::size_valve(s, &book));
        benchmark::DoNotOptimize(book);
    }
}

#define VENTORA_SIZING_CASES(bm)                               \
    BENCHMARK_CAPTURE(bm, gas_critical, gas_critical());       \
    BENCHMARK_CAPTURE(bm, gas_subcritical, gas_subcritical()); \
    BENCHMARK_CAPTURE(bm, steam_high_pressure, steam_high());  \
    BENCHMARK_CAPTURE(bm, liquid, liquid())

VENTORA_SIZING_CASES(BM_press_alone);
VENTORA_SIZING_CASES(BM_press_then_size);
VENTORA_SIZING_CASES(BM_size_valve);
VENTORA_SIZING_CASES(BM_size_valve_book);

void BM_disc_min_bore(benchmark::State& state) {
    const number A = 1962.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(A);
        benchmark::DoNotOptimize(sizing::disc_min_bore(A));
    }
}
BENCHMARK(BM_disc_min_bore);

}  // namespace
