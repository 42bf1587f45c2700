// Turns one request line of the batch tool into the inputs of a calculation, exactly as the
// window would hand them over: choices as enums (none when absent or null), numbers as the
// values of their boxes' texts. simdjson reads the line; nothing is built beyond a short list of
// the fields a request can have.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "account/account.h"
#include "disc/disc_calc.h"
#include "relief/relief_calc.h"
#include "route/route.h"
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

// The relief rate and the device sized against the rate it kept, with the title block.
struct route_request {
    route::route_input input;
    account::project_info project;
};

using request = std::variant<relief::relief_input, valve_request, disc_request, route_request>;

struct decoded_request {
    std::optional<request> req;
    // What is wrong with the line, in English, naming the field; empty when decoded.
    std::string error;
};

// Lines longer than this are checked for their shape (json::find_problem) before simdjson reads
// them, so that a huge list or object is refused without simdjson indexing all of it.
inline constexpr std::size_t long_line = 64 * 1024;

// Decodes one line (without its terminator). Every field must be known for its calculation; a
// number field is the text typed in its box (a JSON string) or a JSON number (read through the
// same number rules from its literal text), and an absent one takes its box's initial text.
// `readable` is how many bytes from line.data() on may be read (simdjson reads ahead of the
// line's end); with fewer than line.size() + 64 the line is copied first.
decoded_request decode_line(std::string_view line, std::size_t readable);
inline decoded_request decode_line(std::string_view line) { return decode_line(line, line.size()); }

// A route request line, {"calc":"route",...}, for the programs that run routes themselves.
struct decoded_route {
    route::route_input input;
    account::project_info project;
    // What is wrong with the line; empty when it is a route request.
    std::string error;
};
decoded_route decode_route_line(std::string_view line);

}  // namespace ventora::cli
