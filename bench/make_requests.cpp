// Writes the benchmark's request mix to standard output: make_requests [COUNT] (default 100000).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "request_mix.h"

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    if (count < 0) return 2;
    const std::string text = ventora::bench::request_mix(static_cast<std::size_t>(count));
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
