// A reproducible mix of batch requests over all three calculations, for measuring ventora-calc.
#pragma once

#include <cstddef>
#include <string>

namespace ventora::bench {

// `count` request lines, each ending in "\n": relief (all three cases), safety valve (each
// medium and the refusals) and bursting disc (each medium), with their numbers varied from
// line to line. Every line is a valid request, so the tool answers all of them with exit 0.
std::string request_mix(std::size_t count);

}  // namespace ventora::bench
