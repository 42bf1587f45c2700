// Reads route requests and the other requests of the batch tool, and case files, which are route
// requests kept on disk: one reader for the format, so that ventora-calc, ventora-report and the
// program's case files agree on every field, choice, text, title block, medium id and version.
//
// A request becomes the inputs of a calculation exactly as a window would hand them over: choices
// as enums (none when absent or null), numbers as the values of their boxes' texts. simdjson reads
// the line; nothing is built beyond a short list of the fields a request can have. The interface
// is the standard library's only: simdjson stays inside this library.
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

namespace ventora::requests {

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
// The state a window's medium-library values were asked for: T in K and P in MPa absolute, each
// absent where it was not given (a T left out is the saturation temperature at P).
struct medium_state {
    std::optional<double> T, P;
    bool operator==(const medium_state&) const = default;
};

struct route_request {
    route::route_input input;
    account::project_info project;
    // The medium-library entries (ids such as "propane") the relief-rate and device windows were
    // last filled from, as "media":{"relief":…,"device":…}; empty for none. No input of a
    // calculation: the book names them as the sources of the values.
    std::string relief_medium;
    std::string device_medium;
    // The state each of those was asked for, kept beside the id ("relief_P", "device_T", …).
    medium_state relief_state, device_state;
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

// A number box given as a JSON string: the text as typed.
struct box_text {
    // 0: the line's calculation, or a route's relief rate; 1: a route's device.
    int part = 0;
    std::string_view name;    // the field ("d1"); static
    std::string_view symbol;  // the input's symbol in the calculation's account ("d_{1}"); static
    std::string text;
};

struct decoded_request {
    std::optional<request> req;
    // What is wrong with the line, in English, naming the field; empty when decoded.
    std::string error;
    // The boxes given as strings, in the order of the line; only kept when asked for.
    std::vector<box_text> texts;
};

// A UTF-8 byte order mark, as Windows Notepad writes it. It is taken at the start of an input (a
// file, standard input) and nowhere else: inside a text it is no whitespace of JSON, so a request
// line that starts with one after the first line is an error, as it would be to any JSON reader.
inline constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
inline std::string_view without_byte_order_mark(std::string_view input) {
    if (input.substr(0, byte_order_mark.size()) == byte_order_mark) input.remove_prefix(byte_order_mark.size());
    return input;
}

// Lines longer than this are checked for their shape (json::find_problem) before simdjson reads
// them, so that a huge list or object is refused without simdjson indexing all of it.
inline constexpr std::size_t long_line = 64 * 1024;

// Decodes one line (without its terminator). Every field must be known for its calculation; a
// number field is the text typed in its box (a JSON string) or a JSON number (read through the
// same number rules from its literal text), and an absent one takes its box's initial text.
// A route request may carry a case file's "format":"ventora-case" and "version".
// `readable` is how many bytes from line.data() on may be read (simdjson reads ahead of the
// line's end); with fewer than line.size() + 64 the line is copied first. With keep_texts, the
// texts of the boxes given as strings are kept in `texts`.
decoded_request decode_line(std::string_view line, std::size_t readable, bool keep_texts = false);
inline decoded_request decode_line(std::string_view line) { return decode_line(line, line.size()); }

// A route request line, {"calc":"route",...}, for the programs that run routes themselves.
struct decoded_route {
    route::route_input input;
    account::project_info project;
    std::string relief_medium;
    std::string device_medium;
    medium_state relief_state, device_state;
    // What is wrong with the line; empty when it is a route request.
    std::string error;
};
decoded_route decode_route_line(std::string_view line);

// ---- Case files: a route request with "format":"ventora-case" and "version", kept as the windows
// showed it. Beyond a request line, a case file
//   - says what it is first: "format" and "version" are required and read before anything else;
//   - holds texts: every box and title-block field is a JSON string of at most
//     case_max_text_chars characters (a JSON number is no text as typed, null no text at all);
//   - may start with a byte order mark.
// Every version from 1 to case_format_version opens. Version 2 adds the optional "system" part
// (the relief-system checks' boxes and choices); a version-1 file that holds one is refused.
inline constexpr int case_format_version = 2;
inline constexpr int case_max_text_chars = 1000;

// What is wrong with a case file, for the caller to word. `part` is "project", "media",
// "relief", "device" or "system" (empty for the file's own fields), `key` the field within it.
enum class fault {
    none,
    not_utf8,             // the bytes are not UTF-8
    not_json,             // not one JSON value
    not_object,           // a JSON value that is not an object
    not_a_case,           // no "format":"ventora-case"
    no_version,           // no "version"
    version_not_integer,  // "version" is not an integer
    version_too_new,      // above case_format_version; `value` is the version as written
    version_unknown,      // below 1; `value` is the version
    unknown_field,        // `part`.`key` is not a field of this version
    duplicate_field,      // `part`.`key` given twice
    calc_not_route,       // "calc" is not "route"
    part_not_object,      // `key` ("project", "media", "relief") not an object; "device" neither
                          // an object nor null (`nullable`)
    missing_relief,       // no "relief"
    missing_choice,       // `part`.`key` absent: the relief case
    choice_type,          // `part`.`key` not a string (`nullable`: nor null); `names` it takes
    unknown_choice,       // `part`.`key` is `value`, none of `names`
    text_type,            // `part`.`key`, a box or title-block field, not a string
    text_too_long,        // `part`.`key` longer than case_max_text_chars characters
    device_calc,          // "device"."calc" not "valve" or "disc"
    not_a_medium,         // "media".`key` not the id of a medium in the library
    not_a_state,          // "media".`key` (a state: "relief_T", …) not a positive number or null
    system_without_valve, // a "system" part beside a device that is no safety valve
};
struct problem {
    fault what = fault::none;
    std::string part;
    std::string key;
    std::string value;
    std::vector<std::string_view> names;
    bool nullable = false;
};

struct decoded_case {
    std::optional<route_request> route;
    // Every box's text the file holds, in the order of the file (part 0 relief, 1 device,
    // 2 system).
    std::vector<box_text> texts;
    // The file's version, when it was read.
    int version = 0;
    // What is wrong, when `route` is unset.
    problem why;
};
decoded_case decode_case(std::string_view bytes);

}  // namespace ventora::requests
