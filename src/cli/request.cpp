#include "request.h"

#include <string_view>

#include "route/choices.h"
#include "numbers/number.h"

namespace ventora::cli {
using namespace ventora::choices;
namespace {

using json::kind;

std::string_view kind_name(kind k) {
    switch (k) {
        case kind::null: return "null";
        case kind::boolean: return "a boolean";
        case kind::number: return "a number";
        case kind::string: return "a string";
        case kind::array: return "a list";
        case kind::object: return "an object";
    }
    return "a value";
}

// Quotes a name taken from the input for an error message, cut short (at a character boundary)
// when it is long, so that one bad line cannot flood the output.
std::string quoted(std::string_view text) {
    constexpr std::size_t limit = 64;
    std::string out;
    if (text.size() <= limit) {
        json::write_string(out, text);
        return out;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    json::write_string(out, std::string(text.substr(0, cut)) + "...");
    return out;
}

template <class E, std::size_t N>
std::string expected_names(const named<E> (&table)[N]) {
    std::string out = "expected ";
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out += i + 1 == N ? " or " : ", ";
        json::write_string(out, table[i].name);
    }
    return out;
}

// A choice: a known name, or null for none chosen.
template <class E, std::size_t N>
bool read_choice(const named<E> (&table)[N], std::string_view field, const json::value& v,
                 std::optional<E>& target, std::string& error) {
    if (v.type == kind::null) {
        target.reset();
        return true;
    }
    if (v.type != kind::string) {
        error = "field " + quoted(field) + " must be a string or null, not " +
                std::string(kind_name(v.type)) + " (" + expected_names(table) + ")";
        return false;
    }
    target = lookup(table, v.text);
    if (!target) {
        error = "unknown value " + quoted(v.text) + " for field " + quoted(field) + " (" +
                expected_names(table) + ")";
        return false;
    }
    return true;
}

// A number box: its text as a string, or a JSON number read from its literal text.
bool read_number(std::string_view field, const json::value& v, number& target, std::string& error) {
    if (v.type != kind::string && v.type != kind::number) {
        error = "field " + quoted(field) + " must be a number or a string, not " +
                std::string(kind_name(v.type));
        return false;
    }
    target = parse_number(v.text);
    return true;
}

// The program-wide `vessel_ws` at the time of the press: a JSON number, kept in single precision.
bool read_vessel_ws(const json::value& v, float& target, std::string& error) {
    if (v.type != kind::number) {
        error = "field \"vessel_ws\" must be a JSON number, not " + std::string(kind_name(v.type));
        return false;
    }
    const number value = parse_number(v.text);
    const auto single = value ? to_single(*value) : std::nullopt;
    if (!single) {
        error = "field \"vessel_ws\" (" + v.text + ") is beyond the single-precision range";
        return false;
    }
    target = *single;
    return true;
}

// One input box of a calculation: its field name, the text the box holds when the window opens,
// and where its value goes.
template <class In>
struct number_field {
    std::string_view name;
    std::string_view initial_text;
    number& (*slot)(In&);
};

// One group of option buttons.
template <class In>
struct choice_field {
    std::string_view name;
    bool (*read)(In&, std::string_view, const json::value&, std::string&);
};

using relief::relief_input;

const number_field<relief_input> relief_numbers[] = {
    {"G", "", [](relief_input& in) -> number& { return in.G; }},
    {"rho", "", [](relief_input& in) -> number& { return in.rho; }},
    {"d", "", [](relief_input& in) -> number& { return in.d; }},
    {"v", "", [](relief_input& in) -> number& { return in.v; }},
    {"D", "0", [](relief_input& in) -> number& { return in.D; }},
    {"L", "0", [](relief_input& in) -> number& { return in.L; }},
    {"h", "0", [](relief_input& in) -> number& { return in.h; }},
    {"q", "0", [](relief_input& in) -> number& { return in.q; }},
    {"lambda", "0", [](relief_input& in) -> number& { return in.lambda; }},
    {"t", "0", [](relief_input& in) -> number& { return in.t; }},
    {"delta", "0", [](relief_input& in) -> number& { return in.delta; }},
    {"W_t", "", [](relief_input& in) -> number& { return in.W_t; }},
};

const choice_field<relief_input> relief_choices[] = {
    {"compressed_kind",
     [](relief_input& in, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(compressed_kinds, f, v, in.compressed, e);
     }},
    {"fire_exposure",
     [](relief_input& in, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(fire_exposures, f, v, in.fire, e);
     }},
    {"insulation",
     [](relief_input& in, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(insulations, f, v, in.insulated, e);
     }},
    {"installation",
     [](relief_input& in, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(installations, f, v, in.installed, e);
     }},
    {"vessel_form",
     [](relief_input& in, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(vessel_forms, f, v, in.form, e);
     }},
};

const number_field<valve_request> valve_numbers[] = {
    {"d1", "0", [](valve_request& r) -> number& { return r.input.d1; }},
    {"D", "0", [](valve_request& r) -> number& { return r.input.D; }},
    {"h", "0", [](valve_request& r) -> number& { return r.input.h; }},
    {"phi", "0", [](valve_request& r) -> number& { return r.input.phi; }},
    {"C", "0", [](valve_request& r) -> number& { return r.input.capacity.C; }},
    {"Ps", "0", [](valve_request& r) -> number& { return r.input.capacity.Ps; }},
    {"M", "0", [](valve_request& r) -> number& { return r.input.capacity.M; }},
    {"T", "0", [](valve_request& r) -> number& { return r.input.capacity.T; }},
    {"Z", "0", [](valve_request& r) -> number& { return r.input.capacity.Z; }},
    {"k", "0", [](valve_request& r) -> number& { return r.input.capacity.k; }},
    {"rho", "0", [](valve_request& r) -> number& { return r.input.capacity.rho; }},
    {"Po", "0", [](valve_request& r) -> number& { return r.input.capacity.Po; }},
};

const choice_field<valve_request> valve_choices[] = {
    {"tab",
     [](valve_request& r, std::string_view f, const json::value& v, std::string& e) {
         // The tab control always shows one of its tabs: there is no "none" here.
         if (v.type == kind::null) {
             e = "field \"tab\" must be a string, not null (" + expected_names(valve_tabs) + ")";
             return false;
         }
         std::optional<bool> notes;
         if (!read_choice(valve_tabs, f, v, notes, e)) return false;
         r.input.without_data = *notes;
         return true;
     }},
    {"valve_type",
     [](valve_request& r, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(valve_types, f, v, r.input.type, e);
     }},
    {"seal_face",
     [](valve_request& r, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(seal_faces, f, v, r.input.face, e);
     }},
    {"medium",
     [](valve_request& r, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(valve_media, f, v, r.input.medium, e);
     }},
    {"vessel_ws",
     [](valve_request& r, std::string_view, const json::value& v, std::string& e) {
         return read_vessel_ws(v, r.vessel_ws, e);
     }},
};

const number_field<disc_request> disc_numbers[] = {
    {"p_b", "0", [](disc_request& r) -> number& { return r.inputs.p_b; }},
    {"M", "0", [](disc_request& r) -> number& { return r.inputs.M; }},
    {"T", "0", [](disc_request& r) -> number& { return r.inputs.T; }},
    {"Z", "0", [](disc_request& r) -> number& { return r.inputs.Z; }},
    {"k", "0", [](disc_request& r) -> number& { return r.inputs.k; }},
    {"p_o", "0", [](disc_request& r) -> number& { return r.inputs.p_o; }},
    {"rho", "0", [](disc_request& r) -> number& { return r.inputs.rho; }},
};

const choice_field<disc_request> disc_choices[] = {
    {"medium",
     [](disc_request& r, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(disc_media, f, v, r.medium, e);
     }},
    {"nozzle",
     [](disc_request& r, std::string_view f, const json::value& v, std::string& e) {
         return read_choice(nozzle_types, f, v, r.nozzle, e);
     }},
    {"vessel_ws",
     [](disc_request& r, std::string_view, const json::value& v, std::string& e) {
         return read_vessel_ws(v, r.vessel_ws, e);
     }},
};

// Fills one calculation's input from the object's fields, in the order they appear. Fields named
// in `skip` were read by the caller (calc, and the relief case).
template <class In, std::size_t NN, std::size_t NC>
bool read_fields(const json::value& object, std::string_view calc_name,
                 const number_field<In> (&numbers)[NN], const choice_field<In> (&choices)[NC],
                 std::initializer_list<std::string_view> skip, In& in, std::string& error) {
    // Every box starts from its initial text.
    for (const auto& field : numbers) field.slot(in) = parse_number(field.initial_text);

    for (std::size_t i = 0; i < object.keys.size(); ++i) {
        const std::string& key = object.keys[i];
        const json::value& v = object.items[i];
        bool known = false;
        for (std::string_view s : skip) known = known || key == s;
        if (known) continue;
        for (const auto& field : numbers) {
            if (key != field.name) continue;
            if (!read_number(key, v, field.slot(in), error)) return false;
            known = true;
            break;
        }
        if (known) continue;
        for (const auto& field : choices) {
            if (key != field.name) continue;
            if (!field.read(in, key, v, error)) return false;
            known = true;
            break;
        }
        if (!known) {
            error = "unknown field " + quoted(key) + " for calc \"" + std::string(calc_name) + "\"";
            return false;
        }
    }
    return true;
}

decoded_request failed(std::string error) {
    decoded_request d;
    d.error = std::move(error);
    return d;
}

}  // namespace

decoded_request decode_request(const json::value& object) {
    if (object.type != kind::object)
        return failed("the line is " + std::string(kind_name(object.type)) + ", not a JSON object");

    const json::value* calc = object.find("calc");
    if (!calc) return failed("missing field \"calc\" (" + expected_names(calc_kinds) + ")");
    if (calc->type != kind::string)
        return failed("field \"calc\" must be a string, not " + std::string(kind_name(calc->type)) +
                      " (" + expected_names(calc_kinds) + ")");
    const auto which = lookup(calc_kinds, calc->text);
    if (!which)
        return failed("unknown value " + quoted(calc->text) + " for field \"calc\" (" +
                      expected_names(calc_kinds) + ")");

    std::string error;
    decoded_request d;
    switch (*which) {
        case calc_kind::relief: {
            relief_input in;
            const json::value* which_case = object.find("case");
            if (!which_case)
                return failed("relief request without field \"case\" (" +
                              expected_names(relief_cases) + ")");
            if (which_case->type != kind::string)
                return failed("field \"case\" must be a string, not " +
                              std::string(kind_name(which_case->type)) + " (" +
                              expected_names(relief_cases) + ")");
            const auto relief_case = lookup(relief_cases, which_case->text);
            if (!relief_case)
                return failed("unknown value " + quoted(which_case->text) +
                              " for field \"case\" (" + expected_names(relief_cases) + ")");
            in.kind = *relief_case;
            if (!read_fields(object, "relief", relief_numbers, relief_choices, {"calc", "case"}, in,
                             error))
                return failed(std::move(error));
            d.req = in;
            break;
        }
        case calc_kind::valve: {
            valve_request r;
            if (!read_fields(object, "valve", valve_numbers, valve_choices, {"calc"}, r, error))
                return failed(std::move(error));
            d.req = r;
            break;
        }
        case calc_kind::disc: {
            disc_request r;
            if (!read_fields(object, "disc", disc_numbers, disc_choices, {"calc"}, r, error))
                return failed(std::move(error));
            d.req = r;
            break;
        }
    }
    return d;
}

}  // namespace ventora::cli
