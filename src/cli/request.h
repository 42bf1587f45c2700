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
#include <vector>

#include "account/account.h"
#include "disc/disc_calc.h"
#include "media/properties.h"
#include "relief/relief_calc.h"
#include "route/route.h"
#include "system/system_calc.h"
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
    // The optional "system" part: the relief-system checks after a safety valve. Only what is
    // typed; the route's valve, its result and W_s are added when the route has run.
    std::optional<system::system_input> system;
};

// The medium library's properties of one substance, at an optional state. The substance is one
// the library knows: an unknown one is an error of the line.
struct properties_request {
    media::properties_query query;
};

using request = std::variant<relief::relief_input, valve_request, disc_request, route_request,
                             properties_request>;

// A number box given as a JSON string: the text as typed, for the account's input table. The
// symbol is the one the calculation's account gives that input ("d_{1}", "ρ", "W_{s}").
struct box_text {
    // 0: the line's calculation, or a route's relief rate; 1: a route's device.
    int part = 0;
    std::string_view symbol;  // static
    std::string text;
};

struct decoded_request {
    std::optional<request> req;
    // What is wrong with the line, in English, naming the field; empty when decoded.
    std::string error;
    // The boxes given as strings, in the order of the line; only kept when asked for.
    std::vector<box_text> texts;
};

// Lines longer than this are checked for their shape (json::find_problem) before simdjson reads
// them, so that a huge list or object is refused without simdjson indexing all of it.
inline constexpr std::size_t long_line = 64 * 1024;

// Decodes one line (without its terminator). Every field must be known for its calculation; a
// number field is the text typed in its box (a JSON string) or a JSON number (read through the
// same number rules from its literal text), and an absent one takes its box's initial text.
// `readable` is how many bytes from line.data() on may be read (simdjson reads ahead of the
// line's end); with fewer than line.size() + 64 the line is copied first. With keep_texts, the
// texts of the boxes given as strings are kept in `texts`.
decoded_request decode_line(std::string_view line, std::size_t readable, bool keep_texts = false);
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
