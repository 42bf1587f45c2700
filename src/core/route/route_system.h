// The relief-system checks of a route: what was typed for them (number of valves, disc, lines,
// outlet pressure, …) completed with what the route already holds, so that ventora-calc, the
// book and the window check the same system.
#pragma once

#include <optional>

#include "route/route.h"
#include "system/system_calc.h"

namespace ventora::route {

// The checks' input: `typed` with the route's valve press, its result, the kept relief rate W_s
// and the relief calculation (for the fire case). Unset when the route ran no safety valve (the
// relief rate refused, or a bursting disc); a valve press that was refused gives the checks no
// capacity, and each says so.
std::optional<system::system_input> system_input_of(const system::system_input& typed,
                                                    const route_input& in,
                                                    const route_result& result);

// The book's section "泄放系统校核" of a route, when the route ran a safety valve.
std::optional<account::route_account::system_section> system_section_of(
    const system::system_input& typed, const route_input& in, const route_result& result);

}  // namespace ventora::route
