// A route: the vessel's relief rate, then the safety valve or bursting disc sized against the
// rate the relief calculation kept. One function runs it, so the program's windows, the batch
// tool, the book and the case files all agree on what a route is.
#pragma once

#include <optional>

#include "account/account.h"
#include "disc/disc_calc.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace ventora::route {

// The device the route sizes: the menu's "安全阀计算" or "爆破片计算".
enum class device { safety_valve, bursting_disc };

// One press of "下一步" in the bursting-disc window.
struct disc_press {
    std::optional<disc::disc_medium> medium;
    std::optional<disc::nozzle_type> nozzle;
    disc::disc_inputs inputs;
};

struct route_input {
    relief::relief_input relief;
    // The device calculation that follows; absent for the relief rate alone.
    std::optional<device> next;
    valve::valve_press_input valve;  // with next == safety_valve
    disc_press disc;                 // with next == bursting_disc
};

struct route_result {
    relief::relief_result relief;
    // Set when the device ran: never after a refused relief rate.
    std::optional<valve::valve_press_result> valve;
    std::optional<disc::disc_result> disc;
};

// Runs the relief rate and, when it was not refused, the device with the kept rate as its W_s.
// Fills the account's relief and device parts when one is given.
route_result run_route(const route_input& in, account::route_account* book = nullptr);

}  // namespace ventora::route
