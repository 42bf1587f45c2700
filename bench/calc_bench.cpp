// Time per call of each calculation and of the number reader and writer. Target: every
// calculation under 1 µs per call (Release build).
#include <benchmark/benchmark.h>

#include "disc/disc_calc.h"
#include "numbers/number.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace {

using namespace ventora;

relief::relief_input storage_tank() {
    relief::relief_input in;
    in.kind = relief::relief_case::compressed_gas;
    in.compressed = relief::compressed_kind::gas_storage_tank;
    in.rho = 10.0;
    in.d = 100.0;
    in.v = 20.0;
    return in;
}
relief::relief_input production_capacity() {
    relief::relief_input in;
    in.kind = relief::relief_case::compressed_gas;
    in.compressed = relief::compressed_kind::production_capacity;
    in.G = 1500.7;
    return in;
}
relief::relief_input liquefied(relief::insulation insulation) {
    relief::relief_input in;
    in.kind = relief::relief_case::liquefied_gas;
    in.fire = relief::fire_exposure::fire_free;
    in.insulated = insulation;
    in.installed = relief::installation::water_spray;
    in.form = relief::vessel_form::elliptical_heads;
    in.D = 2.0;
    in.L = 5.0;
    in.h = 0.0;
    in.q = 300.0;
    in.t = 50.0;
    in.lambda = 0.2;
    in.delta = 0.05;
    return in;
}
relief::relief_input typed() {
    relief::relief_input in;
    in.kind = relief::relief_case::typed_rate;
    in.W_t = 800.0;
    return in;
}
relief::relief_input refused() {
    relief::relief_input in;
    in.kind = relief::relief_case::liquefied_gas;
    in.fire = relief::fire_exposure::fire_exposed;
    return in;  // no insulation chosen
}

void BM_calc_relief_rate(benchmark::State& state, relief::relief_input in) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(relief::calc_relief_rate(in));
    }
}
BENCHMARK_CAPTURE(BM_calc_relief_rate, compressed_gas_storage_tank, storage_tank());
BENCHMARK_CAPTURE(BM_calc_relief_rate, compressed_production_capacity, production_capacity());
BENCHMARK_CAPTURE(BM_calc_relief_rate, liquefied_uninsulated, liquefied(relief::insulation::uninsulated));
BENCHMARK_CAPTURE(BM_calc_relief_rate, liquefied_insulated, liquefied(relief::insulation::insulated));
BENCHMARK_CAPTURE(BM_calc_relief_rate, typed_rate, typed());
BENCHMARK_CAPTURE(BM_calc_relief_rate, refused, refused());

// The window's whole press: the rate and its message texts.
void BM_relief_rate_and_messages(benchmark::State& state) {
    const relief::relief_input in = liquefied(relief::insulation::uninsulated);
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(relief::relief_messages(relief::calc_relief_rate(in)));
    }
}
BENCHMARK(BM_relief_rate_and_messages);

valve::valve_press_input valve_press(valve::valve_medium medium, double Po, double Ps) {
    valve::valve_press_input in;
    in.type = valve::valve_type::full_lift;
    in.medium = medium;
    in.d1 = 50.0;
    in.D = in.h = in.phi = 0.0;
    in.capacity = {356.0, Ps, 29.0, 300.0, 1.0, 1.4, 1000.0, Po};
    return in;
}
valve::valve_press_input no_valve_type() { return {}; }

// press_next includes writing the message texts, as every press of the window does.
void BM_valve_press_next(benchmark::State& state, valve::valve_press_input in) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(valve::press_next(in, 10000.0F));
    }
}
BENCHMARK_CAPTURE(BM_valve_press_next, gas_critical, valve_press(valve::valve_medium::gas, 0.1, 1.0));
BENCHMARK_CAPTURE(BM_valve_press_next, gas_subcritical, valve_press(valve::valve_medium::gas, 0.8, 1.0));
BENCHMARK_CAPTURE(BM_valve_press_next, steam_high_pressure, valve_press(valve::valve_medium::saturated_steam, 0.1, 12.0));
BENCHMARK_CAPTURE(BM_valve_press_next, liquid, valve_press(valve::valve_medium::liquid, 0.1, 1.0));
BENCHMARK_CAPTURE(BM_valve_press_next, no_valve_type, no_valve_type());

struct disc_case {
    std::optional<disc::disc_medium> medium;
    std::optional<disc::nozzle_type> nozzle;
    disc::disc_inputs in;
};
disc_case disc_gas(double p_o) {
    return {disc::disc_medium::gas, disc::nozzle_type::straight_pipe, {1.0, 29.0, 300.0, 1.0, 1.4, p_o, 0.0}};
}
disc_case disc_liquid() {
    return {disc::disc_medium::liquid, std::nullopt, {1.0, 0.0, 0.0, 0.0, 0.0, 0.1, 1000.0}};
}
disc_case disc_steam(double p_b) {
    return {disc::disc_medium::saturated_steam, disc::nozzle_type::bell_mouth, {p_b, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}};
}

void BM_size_bursting_disc(benchmark::State& state, disc_case c) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(c);
        benchmark::DoNotOptimize(disc::size_bursting_disc(c.medium, c.nozzle, c.in, 10000.0F));
    }
}
BENCHMARK_CAPTURE(BM_size_bursting_disc, gas_critical, disc_gas(0.1));
BENCHMARK_CAPTURE(BM_size_bursting_disc, gas_subcritical, disc_gas(0.8));
BENCHMARK_CAPTURE(BM_size_bursting_disc, liquid, disc_liquid());
BENCHMARK_CAPTURE(BM_size_bursting_disc, steam_high_pressure, disc_steam(12.0));

void BM_disc_and_message(benchmark::State& state) {
    const disc_case c = disc_gas(0.8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(c);
        benchmark::DoNotOptimize(disc::disc_message(disc::size_bursting_disc(c.medium, c.nozzle, c.in, 10000.0F)));
    }
}
BENCHMARK(BM_disc_and_message);

void BM_parse_number(benchmark::State& state, std::string text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(parse_number(text));
    }
}
BENCHMARK_CAPTURE(BM_parse_number, whole, std::string("1962"));
BENCHMARK_CAPTURE(BM_parse_number, fraction, std::string("10533.2059624493"));
BENCHMARK_CAPTURE(BM_parse_number, exponent, std::string(" -1.5E-07 "));
BENCHMARK_CAPTURE(BM_parse_number, full_width, std::string("１２．５"));
BENCHMARK_CAPTURE(BM_parse_number, not_a_number, std::string("abc"));
BENCHMARK_CAPTURE(BM_parse_number, beyond_range, std::string("1e400"));

void BM_format_double(benchmark::State& state, double value) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(format_double(value));
    }
}
BENCHMARK_CAPTURE(BM_format_double, whole, 1962.0);
BENCHMARK_CAPTURE(BM_format_double, fifteen_digits, 10533.205962449312);
BENCHMARK_CAPTURE(BM_format_double, exponent, 1.5e-7);

void BM_format_single(benchmark::State& state) {
    const std::optional<float> value = 6.28F;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(format_single(value));
    }
}
BENCHMARK(BM_format_single);

}  // namespace
