// Turns one request object of the batch tool into the inputs of a calculation, exactly as the
// window would hand them over: choices as enums (none when absent or null), numbers as the
// values of their boxes' texts.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "json.h"
#include "disc/disc_calc.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace ventora::cli {

// One press of "下一步" in the safety-valve window, with the program's `vessel_ws` at that moment.
struct valve_request {
    valve::valve_press_input input;
    float vessel_ws = 0.0F;
};

// One press of "下一步" in the bursting-disc window, with the program's `vessel_ws`.
struct disc_request {
    std::optional<disc::disc_medium> medium;
    std::optional<disc::nozzle_type> nozzle;
    disc::disc_inputs inputs;
    float vessel_ws = 0.0F;
};

using request = std::variant<relief::relief_input, valve_request, disc_request>;

struct decoded_request {
    std::optional<request> req;
    // What is wrong with the request, in English, naming the field; empty when decoded.
    std::string error;
};

// Decodes a parsed JSON value. Every field must be known for its calculation; a number field is
// the text typed in its box (a JSON string) or a JSON number (read through the same number rules
// from its literal text), and an absent one takes its box's initial text.
decoded_request decode_request(const json::value& object);

}  // namespace ventora::cli
