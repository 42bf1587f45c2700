#include "batch.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <type_traits>

#include "account/account.h"
#include "request/json.h"
#include "media/media.h"
#include "media/properties.h"
#include "route/choices.h"
#include "route/route.h"
#include "sizing/sizing.h"
#include "route/route_system.h"
#include "system/system_calc.h"

namespace ventora::cli {
using namespace ventora::choices;
namespace {

// Writes a response piece by piece. A number that is not finite must never reach the output:
// the writer notes it, and the caller replaces the whole response by an error.
class response {
public:
    explicit response(std::string& out) : out_(out) {}
    // Opens an object: {"line":N,"calc":"..." for a line's response, {"calc":"..." for a part of
    // a route's response.
    void open(std::optional<std::uint64_t> line, std::string_view calc) {
        open();
        if (line) {
            key("line");
            append_integer(*line);
        }
        key("calc");
        out_ += '"';
        out_ += calc;
        out_ += '"';
    }
    // An object or a list as a list's element or a member's value: the members or elements that
    // follow need no comma before the first of them.
    void open() {
        out_ += '{';
        first_ = true;
    }
    void open_list() {
        out_ += '[';
        first_ = true;
    }
    void close_list() {
        out_ += ']';
        first_ = false;
    }
    // Starts a list's element.
    void element() {
        if (!first_) out_ += ',';
        first_ = false;
    }
    void key(std::string_view k) {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += '"';
        out_ += k;
        out_ += "\":";
    }
    // A text that may be absent: null then.
    void text_or_null(std::string_view k, const std::optional<std::string>& v) {
        if (v) text(k, std::string_view(*v));
        else null(k);
    }
    void text(std::string_view k, std::string_view v) {
        key(k);
        json::write_string(out_, v);
    }
    void null(std::string_view k) {
        key(k);
        out_ += "null";
    }
    void num(std::string_view k, const std::optional<double>& v) {
        key(k);
        if (!v) {
            out_ += "null";
        } else if (!std::isfinite(*v)) {
            out_ += "null";
            not_finite_ = true;
        } else {
            json::write_number(out_, *v);
        }
    }
    void num(std::string_view k, const std::optional<float>& v) {
        num(k, v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt);
    }
    template <class Strings>
    void messages(const Strings& texts) {
        key("messages");
        out_ += '[';
        bool first = true;
        for (const auto& t : texts) {
            if (!first) out_ += ',';
            first = false;
            json::write_string(out_, t);
        }
        out_ += ']';
    }
    void close() {
        out_ += '}';
        first_ = false;
    }
    bool not_finite() const { return not_finite_; }
    std::string& raw() { return out_; }

private:
    void append_integer(std::uint64_t n) {
        char buffer[24];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
        (void)ec;
        out_.append(buffer, static_cast<std::size_t>(end - buffer));
    }

    std::string& out_;
    bool not_finite_ = false;
    bool first_ = false;
};

void write_error(std::string& out, std::uint64_t line, std::string_view what) {
    out += "{\"line\":";
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, line);
    (void)ec;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
    out += ",\"error\":";
    json::write_string(out, what);
    out += '}';
}

void respond(const relief::relief_input& in, const relief::relief_result& result, response& r) {
    const bool refused = result.refused();
    r.text("status", refused ? "refused" : "ok");
    r.messages(relief::relief_messages(result));
    if (in.kind == relief::relief_case::liquefied_gas) {
        if (refused) r.null("area");
        else r.num("area", result.area);
    }
    if (refused) {
        r.null("ws");
        r.null("stored");
    } else {
        r.num("ws", result.W_s);
        r.num("stored", std::optional<float>(result.stored));
    }
}

void respond(const valve::valve_press_result& result, response& r) {
    r.text("status", name_of(press_statuses, result.status));
    r.messages(result.messages);
    r.num("K", result.K);
    r.num("area", result.area);
    r.num("capacity", result.capacity);
    if (result.check) r.text("check", name_of(verdicts, *result.check));
    else r.null("check");
}

void respond(const disc::disc_result& result, response& r) {
    r.text("status", name_of(disc_statuses, result.status));
    const std::string message = disc::disc_message(result);
    r.messages(std::initializer_list<std::string_view>{message});
    r.num("area", result.status == disc::disc_status::area_ready ? result.A : std::nullopt);
}

const std::string_view relief_name = name_of(calc_kinds, calc_kind::relief);
const std::string_view valve_name = name_of(calc_kinds, calc_kind::valve);
const std::string_view disc_name = name_of(calc_kinds, calc_kind::disc);

// What a response is written with beyond its request.
struct context {
    const options& opts;
    std::span<const box_text> texts;
};

// The text typed in each box the request gave as a string, on the account's input of that
// symbol, as the windows attach their boxes' texts.
void attach_texts(account::account& acc, std::span<const box_text> texts, int part) {
    for (account::input& input : acc.inputs)
        for (const box_text& t : texts)
            if (t.part == part && input.symbol == t.symbol) input.text = t.text;
}

// "inputs", "steps", and for a refused calculation "refused_by" and "refusal".
void write_account(const account::account& acc, response& r) {
    r.key("inputs");
    r.open_list();
    for (const account::input& in : acc.inputs) {
        r.element();
        r.open();
        r.text("symbol", in.symbol);
        r.text("name", in.name);
        r.text("unit", in.unit);
        r.text_or_null("text", in.text);
        r.num("value", in.value);
        if (in.choice.empty()) r.null("choice");
        else r.text("choice", in.choice);
        r.close();
    }
    r.close_list();
    r.key("steps");
    r.open_list();
    for (const account::step& st : acc.steps) {
        r.element();
        r.open();
        r.text("title", st.title);
        r.text("formula", st.formula);
        r.text("substituted", st.substituted);
        r.text("value", st.value);
        r.text("unit", st.unit);
        r.text("note", st.note);
        r.close();
    }
    r.close_list();
    if (acc.refused()) {
        r.text_or_null("refused_by", acc.refused_by);
        r.text_or_null("refusal", acc.refusal);
    }
}

// "sizing" of a valve press: A_min, d1_min, margin and the API 520 cross-check.
void write_sizing(const sizing::valve_sizing& s, response& r) {
    r.key("sizing");
    r.open();
    r.num("A_min", s.A_min);
    r.num("d1_min", s.d1_min);
    r.num("margin", s.margin);
    r.key("api520");
    r.open();
    const sizing::api520_check& api = s.api520;
    r.num("area_same_K", api.area_same_K);
    r.num("area", api.area);
    r.num("ratio", api.ratio);
    if (api.orifice) r.text("orifice", std::string_view(&*api.orifice, 1));
    else r.null("orifice");
    if (api.beyond_largest_orifice) r.text("reason", "beyond_T");
    else if (api.reason) r.text("reason", sizing::refusal_code(*api.reason));
    else r.null("reason");
    r.close();
    r.close();
}

// "sizing" of a disc area above 0: the minimum bore.
void write_disc_sizing(const disc::disc_result& result, response& r) {
    if (result.status != disc::disc_status::area_ready || value_or_zero(result.A) <= 0) return;
    r.key("sizing");
    r.open();
    r.num("d_min", sizing::disc_min_bore(result.A));
    r.close();
}

void respond_to(const relief::relief_input& in, std::uint64_t line, response& r, const context& c) {
    r.open(line, relief_name);
    if (!c.opts.steps) {
        respond(in, relief::calc_relief_rate(in), r);
    } else {
        account::account acc;
        respond(in, relief::calc_relief_rate(in, &acc), r);
        attach_texts(acc, c.texts, 0);
        write_account(acc, r);
    }
    r.close();
}
void respond_to(const valve_request& req, std::uint64_t line, response& r, const context& c) {
    r.open(line, valve_name);
    if (!c.opts.steps) {
        respond(valve::press_next(req.input, req.vessel_ws), r);
    } else {
        account::account acc;
        const valve::valve_press_result result = valve::press_next(req.input, req.vessel_ws, &acc);
        respond(result, r);
        if (const auto s = sizing::size_after_press(req.input, result, req.vessel_ws)) write_sizing(*s, r);
        attach_texts(acc, c.texts, 0);
        write_account(acc, r);
    }
    r.close();
}
void respond_to(const disc_request& req, std::uint64_t line, response& r, const context& c) {
    r.open(line, disc_name);
    if (!c.opts.steps) {
        respond(disc::size_bursting_disc(req.medium, req.nozzle, req.inputs, req.vessel_ws), r);
    } else {
        account::account acc;
        const disc::disc_result result =
            disc::size_bursting_disc(req.medium, req.nozzle, req.inputs, req.vessel_ws, &acc);
        respond(result, r);
        write_disc_sizing(result, r);
        attach_texts(acc, c.texts, 0);
        write_account(acc, r);
    }
    r.close();
}
// A check's outcome, the values it lacked and why it was refused.
void write_check(const system::check& c, response& r) {
    r.text("outcome", system::outcome_code(c.result));
    r.key("missing");
    r.open_list();
    for (const std::string& m : c.missing) {
        r.element();
        json::write_string(r.raw(), m);
    }
    r.close_list();
    r.text_or_null("reason", c.refusal);
}

std::optional<double> as_number(const std::optional<int>& n) {
    return n ? std::optional<double>(*n) : std::nullopt;
}

// "system": the relief-system checks after the route's valve, with the route's valve, its
// result and kept rate; with --steps each check's account.
void write_system(const route_request& req, const route::route_result& result, response& r,
                  const context& c) {
    r.key("system");
    const std::optional<system::system_input> completed =
        route::system_input_of(*req.system, req.input, result);
    if (!completed) {
        r.raw() += "null";
        return;
    }
    const system::system_input& in = *completed;
    system::accounts accs;
    const system::system_result s = system::check_system(in, c.opts.steps ? &accs : nullptr);
    std::size_t next = 0;
    // The system part's texts carry their field names; each check takes its own fields' texts.
    using pair = std::pair<std::string_view, std::string_view>;  // field, account symbol
    const bool steam = in.valve.medium == valve::valve_medium::saturated_steam;
    const auto account_of = [&](response& out, std::initializer_list<pair> fields) {
        if (!c.opts.steps || next >= accs.size()) return;
        account::account& acc = accs[next++];
        for (account::input& input : acc.inputs)
            for (const auto& [name, symbol] : fields)
                for (const box_text& t : c.texts)
                    if (t.part == 2 && t.symbol == name && input.symbol == symbol) input.text = t.text;
        write_account(acc, out);
    };
    r.open();
    r.key("valves");
    r.open();
    write_check(s.valves, r);
    r.num("n", std::optional<double>(s.valves.n));
    r.num("total", s.valves.total);
    r.num("n_min", as_number(s.valves.n_min));
    r.num("A_min", s.valves.A_min);
    r.num("d1_min", s.valves.d1_min);
    r.num("d1", s.valves.d1_chosen);
    account_of(r, {{"n", "n"}});
    r.close();
    if (s.disc) {
        r.key("disc");
        r.open();
        write_check(*s.disc, r);
        r.num("F_d", std::optional<double>(s.disc->F_d));
        r.num("capacity", s.disc->capacity);
        account_of(r, {{"F_d", "F_{d}"}});
        r.close();
    }
    if (s.inlet) {
        r.key("inlet");
        r.open();
        write_check(*s.inlet, r);
        r.num("Re", s.inlet->fr ? std::optional<double>(s.inlet->fr->Re) : std::nullopt);
        r.num("f", s.inlet->fr ? std::optional<double>(s.inlet->fr->f) : std::nullopt);
        r.num("dP", s.inlet->dP);
        r.num("percent", s.inlet->percent);
        r.key("choked");
        r.raw() += s.inlet->choked ? "true" : "false";
        r.num("W_max", s.inlet->W_max);
        account_of(r, {{"inlet_D", "D"}, {"inlet_L", "L"}, {"inlet_K", "ΣK"}, {"inlet_eps", "ε"},
                       {"mu", "μ"}, {"rho", "ρ"}});
        r.close();
    }
    if (s.outlet) {
        r.key("outlet");
        r.open();
        write_check(*s.outlet, r);
        r.num("P_valve_outlet", s.outlet->P_valve_outlet);
        r.num("built_up", s.outlet->built_up);
        r.num("built_up_percent", s.outlet->built_up_percent);
        r.num("back_pressure_percent", s.outlet->total_gauge_percent);
        r.key("choked_exit");
        r.raw() += s.outlet->choked_exit ? "true" : "false";
        r.num("K_b", s.outlet->K_b);
        r.num("corrected", s.outlet->corrected);
        account_of(r, {{"outlet_D", "D"}, {"outlet_L", "L"}, {"outlet_K", "ΣK"}, {"outlet_eps", "ε"},
                       {"P_e", "P_{e}"}, {"mu", "μ"}, {"rho", "ρ"}});
        r.close();
    }
    if (s.reaction) {
        r.key("reaction");
        r.open();
        write_check(*s.reaction, r);
        r.num("P_2", s.reaction->P2);
        r.num("F", s.reaction->F);
        if (steam)
            account_of(r, {{"A_o", "A_{o}"}, {"P_2", "P_{2}"}, {"k", "k"}, {"T", "T"}, {"M", "M"}});
        else
            account_of(r, {{"A_o", "A_{o}"}, {"P_2", "P_{2}"}});
        r.close();
    }
    if (s.fire) {
        r.key("fire");
        r.open();
        write_check(*s.fire, r);
        r.num("Q", s.fire->Q);
        r.num("W_api", s.fire->W_api);
        r.num("ratio", s.fire->ratio);
        account_of(r, {{"fire_A", "A"}, {"fire_F", "F"}});
        r.close();
    }
    r.close();
}

// {"line":N,"calc":"route","relief":{...},"device":{...}|null}: each part as the plain request's
// response without its line.
void respond_to(const route_request& req, std::uint64_t line, response& r, const context& c) {
    account::route_account book;
    const route::route_result result = route::run_route(req.input, c.opts.steps ? &book : nullptr);
    if (c.opts.steps) {
        attach_texts(book.relief, c.texts, 0);
        if (book.device) attach_texts(*book.device, c.texts, 1);
    }
    r.open(line, "route");
    r.key("relief");
    r.open(std::nullopt, relief_name);
    respond(req.input.relief, result.relief, r);
    if (c.opts.steps) write_account(book.relief, r);
    r.close();
    r.key("device");
    if (result.valve) {
        r.open(std::nullopt, valve_name);
        respond(*result.valve, r);
        if (c.opts.steps) {
            if (const auto s = sizing::size_after_press(req.input.valve, *result.valve, result.relief.stored))
                write_sizing(*s, r);
            if (book.device) write_account(*book.device, r);
        }
        r.close();
    } else if (result.disc) {
        r.open(std::nullopt, disc_name);
        respond(*result.disc, r);
        if (c.opts.steps) {
            write_disc_sizing(*result.disc, r);
            if (book.device) write_account(*book.device, r);
        }
        r.close();
    } else {
        r.raw() += "null";
    }
    if (req.system) write_system(req, result, r, c);
    r.close();
}

// {"line":N,"calc":"properties","id":...,"name_zh":...,"name_en":...,"M":...,...,"warnings":[...],
//  "sources":{...}}
void respond_to(const properties_request& req, std::uint64_t line, response& r, const context&) {
    const media::properties_answer a = media::properties(req.query);
    r.open(line, "properties");
    // The request named a known substance: the decoder checked it.
    if (a.medium) {
        r.text("id", a.medium->id);
        r.text("name_zh", a.medium->name_zh);
        r.text("name_en", a.medium->name_en);
    } else {
        r.null("id");
        r.null("name_zh");
        r.null("name_en");
    }
    r.num("M", a.M);
    r.num("k", a.k);
    r.num("Z", a.Z);
    r.num("T_sat", a.T_sat);
    r.num("P_sat", a.P_sat);
    r.num("q", a.q);
    r.num("rho_liquid", a.rho_liquid);
    r.key("warnings");
    r.open_list();
    for (const std::string& w : a.warnings) {
        r.element();
        json::write_string(r.raw(), w);
    }
    r.close_list();
    r.key("sources");
    r.open();
    for (const auto& [field, source] : a.sources) r.text(field, source);
    r.close();
    r.close();
}

bool is_blank(std::string_view line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r') return false;
    return true;
}

}  // namespace

bool write_response(const request& req, std::uint64_t line, std::string& out) {
    return write_response(req, line, out, options{}, {});
}

bool write_response(const request& req, std::uint64_t line, std::string& out, const options& opts,
                    std::span<const box_text> texts) {
    const std::size_t start = out.size();
    response r(out);
    const context c{opts, texts};
    std::visit([&](const auto& which) { respond_to(which, line, r, c); }, req);
    if (!r.not_finite()) return true;
    out.resize(start);
    write_error(out, line, "internal error: the calculation gave a number that is not finite");
    return false;
}

bool answer_line(std::string_view line, std::uint64_t number, std::string& out) {
    return answer_line(line, line.size(), number, out);
}

bool answer_line(std::string_view line, std::size_t readable, std::uint64_t number, std::string& out) {
    return answer_line(line, readable, number, out, options{});
}

bool answer_line(std::string_view line, std::size_t readable, std::uint64_t number, std::string& out,
                 const options& opts) {
    if (is_blank(line)) {
        write_error(out, number, "blank line: expected a JSON object");
        return false;
    }
    const decoded_request decoded = decode_line(line, readable, opts.steps);
    if (!decoded.req) {
        write_error(out, number, decoded.error);
        return false;
    }
    return write_response(*decoded.req, number, out, opts, decoded.texts);
}

void batch::answer(std::string_view line, std::size_t readable) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (at_source_start_) {
        at_source_start_ = false;
        const std::string_view unmarked = without_byte_order_mark(line);
        readable -= line.size() - unmarked.size();
        line = unmarked;
    }
    if (!answer_line(line, readable, ++line_, out_, options_)) any_error_ = true;
    out_ += '\n';
}

// The reader reads up to 64 bytes past a line's end: a line inside the bytes fed is read where it
// stands when the bytes after it are enough, and an unfinished line is kept with room for them.
constexpr std::size_t read_ahead = 64;

void batch::answer_partial() {
    if (partial_.capacity() < partial_.size() + read_ahead) partial_.reserve(partial_.size() + read_ahead);
    answer(partial_, partial_.capacity());
    partial_.clear();
    // One long line must not keep its buffer for the rest of the run.
    if (partial_.capacity() > long_line) partial_.shrink_to_fit();
}

void batch::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        if (nl == std::string_view::npos) {
            partial_.append(bytes);
            return;
        }
        if (partial_.empty()) {
            answer(bytes.substr(0, nl), bytes.size());
        } else {
            partial_.append(bytes.substr(0, nl));
            answer_partial();
        }
        bytes.remove_prefix(nl + 1);
    }
}

void batch::end_source() {
    // A source that ends right after a newline (or is empty) has no unfinished line.
    if (!partial_.empty()) answer_partial();
    at_source_start_ = true;
}

const char* const help_text =
    R"(Usage: ventora-calc [--steps] [FILE...]
       ventora-calc --list-substances

Sizes pressure-vessel safety relief rates, safety valves and bursting discs, one request per
line. Reads JSON Lines from the FILEs in order (or from standard input when none is given, or
for a FILE named "-") and writes one JSON object per input line to standard output, in order.

Options:
  --steps             add each calculation's account (inputs and steps) and the sizing aid to
                      its response (see below)
  --list-substances   print the medium library's substances, one a line: id, Chinese name,
                      English name, formula and CAS number, separated by tabs; then exit
  -h, --help          print this text and exit

Requests (one JSON object per line):
  {"calc":"relief","case":C, choices..., numbers...}
      C: "compressed_gas" | "liquefied_gas" | "typed_rate"
      compressed_kind: "production_capacity" | "gas_storage_tank"
      fire_exposure:   "fire_exposed" | "fire_free"
      insulation:      "uninsulated" | "insulated"
      installation:    "below_ground" | "above_ground" | "water_spray"
      vessel_form:     "hemispherical_heads" | "elliptical_heads" | "vertical" | "spherical"
      numbers: G, rho, d, v, W_t (initially empty); D, L, h, q, lambda, t, delta (initially "0")
  {"calc":"valve", ...}
      tab:        "input" (default) | "notes"
      valve_type: "full_lift" | "micro_lift_ring" | "micro_lift_plain"
      seal_face:  "flat" | "conical"
      medium:     "gas" | "saturated_steam" | "liquid"
      numbers: d1, D, h, phi, C, Ps, M, T, Z, k, rho, Po (initially "0")
      vessel_ws: a JSON number, the stored relief rate in kg/h (default 0, single precision)
  {"calc":"disc", ...}
      medium: "gas" | "liquid" | "saturated_steam"
      nozzle: "straight_pipe" | "flush_pipe" | "bell_mouth"
      numbers: p_b, M, T, Z, k, p_o, rho (initially "0")
      vessel_ws: as for valve

  {"calc":"route","project":{...},"relief":{...},"device":{...}|null}
      The relief rate, then the device sized against the rate the relief kept. "relief" holds a
      relief request's fields without "calc"; "device" (absent or null: none) holds a valve or
      disc request's fields with its "calc" and without vessel_ws. "project" (optional) holds
      the report's title block, all strings: project (工程名称), equipment (设备名称),
      tag (设备位号), drawing (图号), designer, design_date, checker, check_date, approver,
      approve_date. Optional "format":"ventora-case" and "version" (1, or 2 with "system"), as
      in case files.
      Optional "system" (with a valve device only): the relief-system checks, all fields
      optional numbers (initially empty) and choices:
        n (valves, default 1), F_d (certified disc factor, default 0.9), inlet_D mm, inlet_L m,
        inlet_K (sum of fittings' K), inlet_eps mm (default 0.045), outlet_D, outlet_L,
        outlet_K, outlet_eps, P_e (outlet end, absolute MPa, default 0.1013), mu mPa·s,
        rho kg/m³ (steam at the relieving state; a liquid's overrides the valve's), k, T, M
        (steam's, for the reaction force), A_o mm² (default the outlet bore), P_2 MPa gauge
        (default a sonic exit's), fire_A m² (wetted area within 7.6 m, default the relief's),
        fire_F (default 1)
        disc: "yes" | "no"; valve_kind: "conventional" | "bellows"; discharge: "open" |
        "closed" (open: the reaction force); drainage: "adequate" | "inadequate"
      A line's check is made when one of its fields is given; the fire case when drainage,
      fire_A or fire_F is.

  {"calc":"properties","substance":S,"T":K,"P":MPa}
      The medium library's properties of substance S (an id, Chinese or English name, formula
      or CAS number as --list-substances prints them) at temperature T in K and absolute
      pressure P in MPa, both JSON numbers; either may be absent or null.

  A choice that is absent or null is not chosen. A number is the text typed in its box (a JSON
  string such as "12.5", "", "abc" or "１２．５") or a JSON number; a text that is not a number,
  or one beyond the double range, leaves the value unset (it counts as 0). An absent number
  keeps its box's initial text.

Responses (unset numbers are null; "messages" are the texts of the message boxes the window
would show for that press, in order):
  {"line":N,"calc":"relief","status":"ok"|"refused","messages":[...],"area":A,"ws":W,"stored":S}
      "area" (m², single precision) only for "liquefied_gas"; "stored" is the value kept as the
      vessel's relief rate, to be passed as vessel_ws.
  {"line":N,"calc":"valve","status":S,"messages":[...],"K":K,"area":A,"capacity":W,
   "check":"pass"|"fail"|null}
      S: "no_valve_type" | "no_medium" | "no_seal_face" | "bad_area" | "bad_input" | "checked"
  {"line":N,"calc":"disc","status":S,"messages":[...],"area":A}
      S: "no_medium" | "no_nozzle" | "bad_k" | "bad_input" | "area_ready"
  {"line":N,"calc":"route","relief":{"calc":"relief",...},"device":{"calc":"valve"|"disc",...}|null}
      each part as the plain request's response without "line"; "device" is null when the
      relief rate was refused or no device was asked for. With "system", a "system" member
      (null when the valve did not run): "valves" always, "disc", "inlet", "outlet",
      "reaction", "fire" as asked, each with "outcome":"pass"|"fail"|"not_made", "missing"
      (the values a check not made lacks), "reason" (why it was refused) and its figures;
      with --steps each also has its account's "inputs" and "steps".
  {"line":N,"calc":"properties","id":...,"name_zh":...,"name_en":...,"M":...,"k":...,"Z":...,
   "T_sat":...,"P_sat":...,"q":...,"rho_liquid":...,"warnings":[...],"sources":{...}}
      M kg/kmol; k and Z at T (or T_sat); T_sat K at P; P_sat MPa at T; q kJ/kg and rho_liquid
      kg/m³ at the saturation state. A value that does not apply or is out of its range is null
      with a warning (Chinese); "sources" names the source of each value given.
  {"line":N,"error":"..."}
      the line is not a request: not JSON, not an object, blank, invalid UTF-8, an unknown or
      missing calc or case, an unknown field or choice value, a duplicate key, a number field
      that is null, a boolean, a list or an object, a vessel_ws that is not a JSON number in
      the single-precision range, or more than 1024 values in the line. An error quotes at
      most 64 bytes of the line.

With --steps, each calculation's response (a route's relief and device each) ends with
  "inputs":[{"symbol","name","unit","text","value","choice"}...]   text: the box's text when
      the request gave it as a string, else null; value: the number read; choice: the option
  "steps":[{"title","formula","substituted","value","unit","note"}...]   the account's steps,
      formulas in its linear notation (X_{s} subscript, X^{2} superscript, √(...), ·)
  "refused_by":..., "refusal":...   only for a refused calculation: the check and its message
and before them, after a valve press that reached a capacity above 0,
  "sizing":{"A_min":mm²,"d1_min":mm|null,"margin":W/W_s,"api520":{"area_same_K":...,"area":...,
   "ratio":...,"orifice":"J"|null,"reason":null|"beyond_T"|code}}
and after a disc area above 0, "sizing":{"d_min":mm}. Without --steps none of these appear.

Lines are numbered from 1 across all inputs; every line, blank ones included, gets a response.
Numbers are written so that they read back to the same double.

Exit status: 0 when every line was answered, 1 when some line was in error, 2 when an input
could not be read, is the file standard output writes to, or the command line is wrong.
)";

std::string substance_list() {
    std::string out;
    for (const media::substance& s : media::substances()) {
        for (std::string_view part : {s.id, s.name_zh, s.name_en, s.formula, s.cas}) {
            out += part;
            out += '\t';
        }
        out.back() = '\n';
    }
    return out;
}

}  // namespace ventora::cli
