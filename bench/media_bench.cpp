// Time for one full property set of the medium library: T_sat, q, ρ, k and Z, as the 介质物性
// dialog and the batch tool's "properties" request compute them. Target: at most 5 µs per set
// (Release build).
#include <benchmark/benchmark.h>

#include "media/media.h"
#include "media/properties.h"

namespace {

using namespace ventora::media;

// The correlations alone, for propane at its relief state (1.6 MPa): T_sat by bisection, then q,
// ρ, k and the saturated-vapour Z there.
void BM_PropertySetPropane(benchmark::State& state) {
    const substance& propane = *find_substance("propane");
    double P = 1.6;
    for (auto _ : state) {
        benchmark::DoNotOptimize(P);
        const double T = *saturation_temperature(propane, P).value;
        benchmark::DoNotOptimize(latent_heat(propane, T));
        benchmark::DoNotOptimize(liquid_density(propane, T));
        benchmark::DoNotOptimize(ideal_gas_k(propane, T));
        benchmark::DoNotOptimize(compressibility(propane, T, P));
    }
}
BENCHMARK(BM_PropertySetPropane);

// The whole query, as the batch tool asks it: look-up by name, both T and P, sources and
// warnings collected.
void BM_PropertiesQuery(benchmark::State& state) {
    const properties_query query{"propane", 323.15, 1.0};
    for (auto _ : state) benchmark::DoNotOptimize(properties(query));
}
BENCHMARK(BM_PropertiesQuery);

// The same with the Chinese name, the last medium of the table (the longest look-up).
void BM_PropertiesQueryLastMedium(benchmark::State& state) {
    const properties_query query{"苯", 400.0, 0.2};
    for (auto _ : state) benchmark::DoNotOptimize(properties(query));
}
BENCHMARK(BM_PropertiesQueryLastMedium);

}  // namespace
