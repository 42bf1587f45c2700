// ventora-calc's request handling in process: requests per second over the generated mix.
// Target: above 1,200,000 requests/s on one core. bench/tool_throughput.sh measures the real
// program on the same mix, file reading and output writing included.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "batch.h"
#include "request_mix.h"

namespace {

void BM_batch_request_mix(benchmark::State& state) {
    const std::string input = ventora::bench::request_mix(static_cast<std::size_t>(state.range(0)));
    // As the tool does: the input in 64 KiB reads, the output written out (here: dropped) after
    // each one, so that neither grows with the number of lines.
    constexpr std::size_t chunk = 1 << 16;
    for (auto _ : state) {
        ventora::cli::batch b;
        for (std::size_t at = 0; at < input.size(); at += chunk) {
            b.feed(std::string_view(input).substr(at, chunk));
            benchmark::DoNotOptimize(b.output().data());
            b.output().clear();
        }
        b.end_source();
        benchmark::DoNotOptimize(b.output().data());
        if (b.any_error()) state.SkipWithError("the request mix has an error line");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}
BENCHMARK(BM_batch_request_mix)->Arg(100000)->Unit(benchmark::kMillisecond);

// One line of each calculation, answered on its own.
void BM_answer_line(benchmark::State& state, std::string line) {
    std::string out;
    for (auto _ : state) {
        out.clear();
        benchmark::DoNotOptimize(ventora::cli::answer_line(line, 1, out));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_answer_line, relief_liquefied,
                  std::string(R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"spherical","D":2,"q":300})"));
BENCHMARK_CAPTURE(BM_answer_line, valve_gas,
                  std::string(R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.8,"vessel_ws":10000})"));
BENCHMARK_CAPTURE(BM_answer_line, disc_gas,
                  std::string(R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":0.1,"M":29,"T":300,"Z":1,"vessel_ws":10000})"));
BENCHMARK_CAPTURE(BM_answer_line, error_line, std::string(R"({"calc":"disc","medium":"gs"})"));

}  // namespace
