// The program-wide workflow state: the only data the windows share. It carries the route and the
// results from one window to the next, lives for the whole run and is never saved.
#pragma once

#include <cstdint>

#include "numbers/number.h"

namespace ventora {

struct workflow_state {
    // Chosen route: 1 safety valve, 2 bursting disc, 0 before the first choice. Never reset.
    std::int16_t cal_route = 0;
    // The vessel's relief rate W_s in kg/h: the whole-number part of the last W_s the relief-rate
    // window showed. Reset to 0 when the main window loads.
    float vessel_ws = 0.0F;
    // Discharge capacity of the last safety-valve calculation, kg/h; unset when it computed none.
    // Reset to 0 when the main window loads.
    number valve_capacity = 0.0;
};

// The one program-wide instance. Touched only from the user-interface thread.
workflow_state& workflow();

}  // namespace ventora
