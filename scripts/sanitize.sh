#!/usr/bin/env bash
# The UI-free code under AddressSanitizer and UndefinedBehaviorSanitizer: builds it in
# build-sanitize and runs its tests, then builds the libFuzzer targets with clang++-14 in
# build-fuzz and runs each for a while from its seed corpus. Exits non-zero on any failure.
#
#   bash scripts/sanitize.sh                 # about 30 s per fuzz target
#   FUZZ_SECONDS=300 bash scripts/sanitize.sh
#
# A crash, leak or failed check leaves the input that caused it in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${FUZZ_SECONDS:-30}
jobs=$(nproc)

echo "== sanitizer build and tests (build-sanitize)"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVENTORA_SANITIZE=ON \
      -DVENTORA_BUILD_GUI=OFF -DVENTORA_WERROR=ON >/dev/null
cmake --build build-sanitize --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure

echo "== fuzz targets (build-fuzz, clang++-14)"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVENTORA_FUZZ=ON -DVENTORA_BUILD_GUI=OFF -DVENTORA_BENCH=OFF -DBUILD_TESTING=OFF \
      -DVENTORA_WERROR=ON >/dev/null
targets=(fuzz_parse_number fuzz_calculations fuzz_batch_lines)
cmake --build build-fuzz --parallel "$jobs" --target "${targets[@]}"

mkdir -p build-fuzz/findings
status=0
for target in "${targets[@]}"; do
    echo "== $target: ${fuzz_seconds} s"
    # The committed seeds stay as they are; what the fuzzer finds goes to a scratch corpus.
    work=build-fuzz/corpus/$target
    mkdir -p "$work"
    args=(-max_total_time="$fuzz_seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
          -artifact_prefix="build-fuzz/findings/$target-")
    [ -f "fuzz/$target.dict" ] && args+=(-dict="fuzz/$target.dict")
    # Whole files of requests make slow inputs; a few lines find the same faults faster.
    [ "$target" = fuzz_batch_lines ] && args+=(-max_len=1024)
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/$target" "${args[@]}" "$work" "fuzz/corpus/$target" \
        >"build-fuzz/$target.log" 2>&1; then
        echo "FAILED: $target (log: build-fuzz/$target.log)"
        tail -n 40 "build-fuzz/$target.log"
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "build-fuzz/$target.log" || true
    fi
done
exit "$status"
