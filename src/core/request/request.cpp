#include "request/request.h"

#include "media/media.h"

#include <simdjson.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <string_view>

#include "request/json.h"
#include "numbers/number.h"
#include "route/choices.h"

namespace ventora::requests {
using namespace ventora::choices;
namespace {

using json::kind;
namespace od = simdjson::ondemand;

// ---------------------------------------------------------------------------------------------
// Reading: simdjson walks the line once and leaves a short list of fields per object. Strings
// are decoded into simdjson's buffer and numbers keep their literal text; lists and objects that
// no request has are only noted, never read.

constexpr std::size_t max_fields = 32;  // the largest request has 19
constexpr std::size_t max_objects = 6;  // the line and a route's project, media, relief, device, system

// Equality of short names: length and first byte settle nearly every comparison.
bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || (a[0] == b[0] && std::memcmp(a.data(), b.data(), a.size()) == 0));
}

// A trivial type, so that the reader's lists cost nothing until they are filled.
struct field {
    const char* key_data;
    std::size_t key_size;
    const char* text_data;
    std::size_t text_size;
    kind type;
    int object;  // a read object's index in the reader, else -1

    std::string_view key() const { return {key_data, key_size}; }
    // A string's decoded text, or a number's literal.
    std::string_view text() const { return {text_data, text_size}; }
};

struct object_view {
    field fields[max_fields];
    std::size_t count = 0;
    bool too_many = false;
    std::string_view overflow_key;  // the first key past max_fields

    const field* find(std::string_view key) const {
        for (std::size_t i = 0; i < count; ++i)
            if (same(fields[i].key(), key)) return &fields[i];
        return nullptr;
    }
};

std::string_view trim_right(std::string_view t) {
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\n' || t.back() == '\r'))
        t.remove_suffix(1);
    return t;
}

// True when the document has nothing after the value just read.
bool at_end(od::document& doc) {
    const char* where = nullptr;
    return doc.current_location().get(where) == simdjson::OUT_OF_BOUNDS;
}

class reader {
public:
    // False when simdjson found the line malformed (the caller names the fault).
    bool read(od::document& doc, kind& root) {
        od::json_type type;
        if (doc.type().get(type)) return false;
        if (type != od::json_type::object) {
            root = kind_of(type);
            return true;
        }
        root = kind::object;
        od::object top;
        if (doc.get_object().get(top)) return false;
        objects_used_ = 1;
        if (!read_object(top, objects_[0], true)) return false;
        return at_end(doc);
    }

    const object_view& object(int index) const { return objects_[index]; }
    const object_view& line() const { return objects_[0]; }
    // The key given twice that stopped the reading, and the line's field whose object held it
    // (empty for the line itself); an empty key when no duplicate did.
    std::string_view duplicate_key() const { return duplicate_key_; }
    std::string_view duplicate_part() const { return duplicate_part_; }

private:
    static kind kind_of(od::json_type t) {
        switch (t) {
            case od::json_type::array: return kind::array;
            case od::json_type::object: return kind::object;
            case od::json_type::number: return kind::number;
            case od::json_type::string: return kind::string;
            case od::json_type::boolean: return kind::boolean;
            case od::json_type::null: break;
        }
        return kind::null;
    }

    bool read_object(od::object& object, object_view& view, bool nested, std::string_view part = {}) {
        view.count = 0;
        view.too_many = false;
        // One bit per key, set by a cheap hash: only a key whose bit is already set is compared
        // with the keys before it.
        std::uint64_t hashed = 0;
        for (auto member : object) {
            od::field f;
            if (std::move(member).get(f)) return false;
            std::string_view key;
            if (f.unescaped_key().get(key)) return false;
            const std::uint64_t bit = std::uint64_t{1}
                                      << ((key.size() * 7 + (key.empty() ? 0U : static_cast<unsigned char>(key.front()) * 3U +
                                                                                      static_cast<unsigned char>(key.back()))) & 63U);
            if (hashed & bit) {
                // A duplicate key fails the reading: the caller names it with its place.
                for (std::size_t i = 0; i < view.count; ++i) {
                    if (!same(view.fields[i].key(), key)) continue;
                    duplicate_key_ = key;
                    duplicate_part_ = part;
                    return false;
                }
            }
            hashed |= bit;
            if (view.count == max_fields) {
                if (!view.too_many) view.overflow_key = key;
                view.too_many = true;
                continue;  // the rest is skipped, checked for its syntax by simdjson only
            }
            field& out = view.fields[view.count++];
            out.key_data = key.data();
            out.key_size = key.size();
            out.text_data = nullptr;
            out.text_size = 0;
            out.object = -1;
            od::value v = f.value();
            od::json_type type;
            if (v.type().get(type)) return false;
            out.type = kind_of(type);
            switch (type) {
                case od::json_type::string: {
                    std::string_view text;
                    if (v.get_string().get(text)) return false;
                    out.text_data = text.data();
                    out.text_size = text.size();
                    break;
                }
                case od::json_type::number: {
                    const std::string_view text = trim_right(v.raw_json_token());
                    if (!json::is_number_literal(text)) return false;
                    out.text_data = text.data();
                    out.text_size = text.size();
                    break;
                }
                case od::json_type::boolean: {
                    bool b = false;
                    if (v.get_bool().get(b)) return false;
                    break;
                }
                case od::json_type::null: {
                    bool null = false;
                    if (v.is_null().get(null) || !null) return false;
                    break;
                }
                case od::json_type::object:
                    if (nested && objects_used_ < max_objects) {
                        od::object inner;
                        if (v.get_object().get(inner)) return false;
                        out.object = static_cast<int>(objects_used_);
                        if (!read_object(inner, objects_[objects_used_++], false, key)) return false;
                    }
                    break;
                case od::json_type::array:
                    break;  // no request has a list: skipped
            }
        }
        return true;
    }

    object_view objects_[max_objects];
    std::size_t objects_used_ = 0;
    std::string_view duplicate_key_;
    std::string_view duplicate_part_;
};

// ---------------------------------------------------------------------------------------------
// Decoding: the fields of a request into a calculation's input, with messages naming the field.

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

// Quotes text taken from the input for an error message, cut short (at a character boundary)
// when it is long, so that one bad line cannot flood the output.
constexpr std::size_t echo_limit = 64;

std::string shortened(std::string_view text) {
    if (text.size() <= echo_limit) return std::string(text);
    std::size_t cut = echo_limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "...";
}

std::string quoted(std::string_view text) {
    std::string out;
    json::write_string(out, shortened(text));
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

constexpr std::string_view route_calc = "route";
constexpr std::string_view properties_calc = "properties";
const std::string calc_expected = R"(expected "relief", "valve", "disc", "route" or "properties")";
const std::string device_expected = R"(expected "valve" or "disc")";

// Where the texts of boxes given as strings go, when they are kept; and, for a case file, its
// rules and what is wrong with it.
struct text_sink {
    std::vector<box_text>* texts = nullptr;
    int part = 0;
    problem* why = nullptr;  // set for a case file
    int version = 0;         // a case file's version, once its header is read

    bool case_file() const { return why != nullptr; }
    std::string_view part_name() const { return part == 0 ? "relief" : part == 1 ? "device" : "system"; }
};

// Notes what is wrong with a case file, for its own wording; a line has its English error only.
void note(const text_sink& sink, fault what, std::string_view part, std::string_view key,
          std::string_view value = {}) {
    if (!sink.why) return;
    sink.why->what = what;
    sink.why->part = std::string(part);
    sink.why->key = std::string(key);
    sink.why->value = std::string(value);
}

template <class E, std::size_t N>
void note_choice(const text_sink& sink, fault what, std::string_view part, std::string_view key,
                 const named<E> (&table)[N], bool nullable, std::string_view value = {}) {
    if (!sink.why) return;
    note(sink, what, part, key, value);
    sink.why->names.clear();
    for (const auto& entry : table) sink.why->names.push_back(entry.name);
    sink.why->nullable = nullable;
}

// A choice: a known name, or null for none chosen.
template <class E, std::size_t N>
bool read_choice(const named<E> (&table)[N], std::string_view name, const field& v,
                 std::optional<E>& target, const text_sink& sink, std::string& error) {
    if (v.type == kind::null) {
        target.reset();
        return true;
    }
    if (v.type != kind::string) {
        error = "field " + quoted(name) + " must be a string or null, not " +
                std::string(kind_name(v.type)) + " (" + expected_names(table) + ")";
        note_choice(sink, fault::choice_type, sink.part_name(), name, table, true);
        return false;
    }
    target = lookup(table, v.text());
    if (!target) {
        error = "unknown value " + quoted(v.text()) + " for field " + quoted(name) + " (" +
                expected_names(table) + ")";
        note_choice(sink, fault::unknown_choice, sink.part_name(), name, table, true, v.text());
        return false;
    }
    return true;
}

// Characters of UTF-8 text (the reader has checked it is UTF-8).
std::size_t characters(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

// A text a case file keeps: a JSON string of at most case_max_text_chars characters.
bool case_text(const field& v, std::string_view part, std::string_view key, const text_sink& sink,
               std::string& error) {
    if (v.type != kind::string) {
        error = "field " + quoted(key) + " must be a string, not " + std::string(kind_name(v.type));
        note(sink, fault::text_type, part, key);
        return false;
    }
    if (characters(v.text()) > static_cast<std::size_t>(case_max_text_chars)) {
        error = "field " + quoted(key) + " is longer than " + std::to_string(case_max_text_chars) + " characters";
        note(sink, fault::text_too_long, part, key);
        return false;
    }
    return true;
}

// A number box: its text as a string, or (not in a case file) a JSON number read from its
// literal text.
bool read_number(std::string_view name, std::string_view field_name, std::string_view symbol,
                 const field& v, number& target, const text_sink& sink, std::string& error) {
    if (sink.case_file()) {
        if (!case_text(v, sink.part_name(), name, sink, error)) return false;
    } else if (v.type != kind::string && v.type != kind::number) {
        error = "field " + quoted(name) + " must be a number or a string, not " +
                std::string(kind_name(v.type));
        return false;
    }
    target = parse_number(v.text());
    if (sink.texts && v.type == kind::string)
        sink.texts->push_back({sink.part, field_name, symbol, std::string(v.text())});
    return true;
}

// The program-wide `vessel_ws` at the time of the press: a JSON number, kept in single precision.
bool read_vessel_ws(const field& v, float& target, std::string& error) {
    if (v.type != kind::number) {
        error = "field \"vessel_ws\" must be a JSON number, not " + std::string(kind_name(v.type));
        return false;
    }
    const number value = parse_number(v.text());
    const auto single = value ? to_single(*value) : std::nullopt;
    if (!single) {
        error = "field \"vessel_ws\" (" + shortened(v.text()) + ") is beyond the single-precision range";
        return false;
    }
    target = *single;
    return true;
}

// One input box of a calculation: its field name, the value of the text the box holds when the
// window opens (read once), and where its value goes.
template <class In>
struct number_field {
    std::string_view name;
    std::string_view symbol;  // the input's symbol in the calculation's account
    number initial;
    number& (*slot)(In&);
};

// One group of option buttons.
template <class In>
struct choice_field {
    std::string_view name;
    bool (*read)(In&, std::string_view, const field&, const text_sink&, std::string&);
};

using relief::relief_input;

const number empty_box = parse_number("");
const number zero_box = parse_number("0");

const number_field<relief_input> relief_numbers[] = {
    {"G", "G", empty_box, [](relief_input& in) -> number& { return in.G; }},
    {"rho", "ρ", empty_box, [](relief_input& in) -> number& { return in.rho; }},
    {"d", "d", empty_box, [](relief_input& in) -> number& { return in.d; }},
    {"v", "v", empty_box, [](relief_input& in) -> number& { return in.v; }},
    {"D", "D", zero_box, [](relief_input& in) -> number& { return in.D; }},
    {"L", "L", zero_box, [](relief_input& in) -> number& { return in.L; }},
    {"h", "h", zero_box, [](relief_input& in) -> number& { return in.h; }},
    {"q", "q", zero_box, [](relief_input& in) -> number& { return in.q; }},
    {"lambda", "λ", zero_box, [](relief_input& in) -> number& { return in.lambda; }},
    {"t", "t", zero_box, [](relief_input& in) -> number& { return in.t; }},
    {"delta", "δ", zero_box, [](relief_input& in) -> number& { return in.delta; }},
    {"W_t", "W_{s}", empty_box, [](relief_input& in) -> number& { return in.W_t; }},
};

const choice_field<relief_input> relief_choices[] = {
    {"compressed_kind",
     [](relief_input& in, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(compressed_kinds, f, v, in.compressed, s, e);
     }},
    {"fire_exposure",
     [](relief_input& in, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(fire_exposures, f, v, in.fire, s, e);
     }},
    {"insulation",
     [](relief_input& in, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(insulations, f, v, in.insulated, s, e);
     }},
    {"installation",
     [](relief_input& in, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(installations, f, v, in.installed, s, e);
     }},
    {"vessel_form",
     [](relief_input& in, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(vessel_forms, f, v, in.form, s, e);
     }},
};

const number_field<valve_request> valve_numbers[] = {
    {"d1", "d_{1}", zero_box, [](valve_request& r) -> number& { return r.input.d1; }},
    {"D", "D", zero_box, [](valve_request& r) -> number& { return r.input.D; }},
    {"h", "h", zero_box, [](valve_request& r) -> number& { return r.input.h; }},
    {"phi", "φ", zero_box, [](valve_request& r) -> number& { return r.input.phi; }},
    {"C", "C", zero_box, [](valve_request& r) -> number& { return r.input.capacity.C; }},
    {"Ps", "P_{s}", zero_box, [](valve_request& r) -> number& { return r.input.capacity.Ps; }},
    {"M", "M", zero_box, [](valve_request& r) -> number& { return r.input.capacity.M; }},
    {"T", "T", zero_box, [](valve_request& r) -> number& { return r.input.capacity.T; }},
    {"Z", "Z", zero_box, [](valve_request& r) -> number& { return r.input.capacity.Z; }},
    {"k", "k", zero_box, [](valve_request& r) -> number& { return r.input.capacity.k; }},
    {"rho", "ρ", zero_box, [](valve_request& r) -> number& { return r.input.capacity.rho; }},
    {"Po", "P_{o}", zero_box, [](valve_request& r) -> number& { return r.input.capacity.Po; }},
};

const choice_field<valve_request> valve_choices[] = {
    {"tab",
     [](valve_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         // The tab control always shows one of its tabs: there is no "none" here.
         if (v.type == kind::null) {
             e = "field \"tab\" must be a string, not null (" + expected_names(valve_tabs) + ")";
             note_choice(s, fault::choice_type, s.part_name(), f, valve_tabs, false);
             return false;
         }
         std::optional<bool> notes;
         if (!read_choice(valve_tabs, f, v, notes, s, e)) {
             if (s.why) s.why->nullable = false;
             return false;
         }
         r.input.without_data = *notes;
         return true;
     }},
    {"valve_type",
     [](valve_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(valve_types, f, v, r.input.type, s, e);
     }},
    {"seal_face",
     [](valve_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(seal_faces, f, v, r.input.face, s, e);
     }},
    {"medium",
     [](valve_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(valve_media, f, v, r.input.medium, s, e);
     }},
    {"vessel_ws",
     [](valve_request& r, std::string_view, const field& v, const text_sink&, std::string& e) {
         return read_vessel_ws(v, r.vessel_ws, e);
     }},
};

const number_field<disc_request> disc_numbers[] = {
    {"p_b", "p_{b}", zero_box, [](disc_request& r) -> number& { return r.inputs.p_b; }},
    {"M", "M", zero_box, [](disc_request& r) -> number& { return r.inputs.M; }},
    {"T", "T", zero_box, [](disc_request& r) -> number& { return r.inputs.T; }},
    {"Z", "Z", zero_box, [](disc_request& r) -> number& { return r.inputs.Z; }},
    {"k", "k", zero_box, [](disc_request& r) -> number& { return r.inputs.k; }},
    {"p_o", "p_{o}", zero_box, [](disc_request& r) -> number& { return r.inputs.p_o; }},
    {"rho", "ρ", zero_box, [](disc_request& r) -> number& { return r.inputs.rho; }},
};

const choice_field<disc_request> disc_choices[] = {
    {"medium",
     [](disc_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(disc_media, f, v, r.medium, s, e);
     }},
    {"nozzle",
     [](disc_request& r, std::string_view f, const field& v, const text_sink& s, std::string& e) {
         return read_choice(nozzle_types, f, v, r.nozzle, s, e);
     }},
    {"vessel_ws",
     [](disc_request& r, std::string_view, const field& v, const text_sink&, std::string& e) {
         return read_vessel_ws(v, r.vessel_ws, e);
     }},
};

// Fills one calculation's input from the object's fields, in the order they appear. Fields named
// in `skip` were read by the caller (calc, and the relief case). No key is given twice: the
// reader refused that.
template <class In, std::size_t NN, std::size_t NC>
bool read_fields(const object_view& object, std::string_view calc_name,
                 const number_field<In> (&numbers)[NN], const choice_field<In> (&choices)[NC],
                 std::initializer_list<std::string_view> skip, In& in, const text_sink& sink,
                 std::string& error) {
    // Every box starts from its initial text.
    for (const auto& f : numbers) f.slot(in) = f.initial;

    // A line with too many fields is refused for that; a case file names its first unknown field,
    // which an object of so many fields holds (after the fields read, when none of them is).
    if (object.too_many && !sink.case_file()) {
        error = "more than " + std::to_string(max_fields) + " fields (no request has so many)";
        return false;
    }
    for (std::size_t i = 0; i < object.count; ++i) {
        const field& v = object.fields[i];
        const std::string_view key = v.key();
        bool known = false;
        for (std::string_view s : skip) known = known || same(key, s);
        if (known) continue;
        for (const auto& f : numbers) {
            if (!same(key, f.name)) continue;
            if (!read_number(key, f.name, f.symbol, v, f.slot(in), sink, error)) return false;
            known = true;
            break;
        }
        if (known) continue;
        for (const auto& f : choices) {
            if (!same(key, f.name)) continue;
            if (!f.read(in, key, v, sink, error)) return false;
            known = true;
            break;
        }
        if (!known) {
            error = "unknown field " + quoted(key) + " for calc \"" + std::string(calc_name) + "\"";
            note(sink, fault::unknown_field, sink.part_name(), key);
            return false;
        }
    }
    if (object.too_many) {
        error = "unknown field " + quoted(object.overflow_key) + " for calc \"" + std::string(calc_name) + "\"";
        note(sink, fault::unknown_field, sink.part_name(), object.overflow_key);
        return false;
    }
    return true;
}

// The part of a relief request after "calc": the case, then the boxes and choices.
bool decode_relief(const object_view& object, std::initializer_list<std::string_view> skip,
                   relief_input& in, const text_sink& sink, std::string& error) {
    const field* which_case = object.find("case");
    if (!which_case) {
        error = "relief request without field \"case\" (" + expected_names(relief_cases) + ")";
        note_choice(sink, fault::missing_choice, "relief", "case", relief_cases, false);
        return false;
    }
    if (which_case->type != kind::string) {
        error = "field \"case\" must be a string, not " + std::string(kind_name(which_case->type)) +
                " (" + expected_names(relief_cases) + ")";
        note_choice(sink, fault::choice_type, "relief", "case", relief_cases, false);
        return false;
    }
    const auto relief_case = lookup(relief_cases, which_case->text());
    if (!relief_case) {
        error = "unknown value " + quoted(which_case->text()) + " for field \"case\" (" +
                expected_names(relief_cases) + ")";
        note_choice(sink, fault::unknown_choice, "relief", "case", relief_cases, false, which_case->text());
        return false;
    }
    in.kind = *relief_case;
    return read_fields(object, "relief", relief_numbers, relief_choices, skip, in, sink, error);
}

// ---------------------------------------------------------------------------------------------
// The route request: {"calc":"route","project":{...},"relief":{...},"device":{...}|null}


// The title block: texts (null for an empty one, in a line).
bool decode_project(const object_view& object, account::project_info& project, const text_sink& sink,
                    std::string& error) {
    if (object.too_many && !sink.case_file()) {
        error = "in \"project\": more than " + std::to_string(max_fields) + " fields";
        return false;
    }
    for (std::size_t i = 0; i < object.count; ++i) {
        const field& v = object.fields[i];
        const project_field* which = nullptr;
        for (const auto& f : project_fields)
            if (f.name == v.key()) which = &f;
        if (!which) {
            error = "unknown field " + quoted(v.key()) + " in \"project\"";
            note(sink, fault::unknown_field, "project", v.key());
            return false;
        }
        if (sink.case_file()) {
            if (!case_text(v, "project", v.key(), sink, error)) return false;
        } else if (v.type != kind::string && v.type != kind::null) {
            error = "field " + quoted(v.key()) + " in \"project\" must be a string, not " +
                    std::string(kind_name(v.type));
            return false;
        }
        project.*(which->member) = std::string(v.text());
    }
    if (object.too_many) {
        error = "unknown field " + quoted(object.overflow_key) + " in \"project\"";
        note(sink, fault::unknown_field, "project", object.overflow_key);
        return false;
    }
    return true;
}

bool decode_device(const object_view& object, route::route_input& in, const text_sink& sink,
                   std::string& error) {
    const field* calc = object.find("calc");
    if (!calc) {
        error = "in \"device\": missing field \"calc\" (" + device_expected + ")";
        note(sink, fault::device_calc, "device", "calc");
        return false;
    }
    if (calc->type != kind::string || (calc->text() != "valve" && calc->text() != "disc")) {
        error = "in \"device\": field \"calc\" must be \"valve\" or \"disc\"";
        note(sink, fault::device_calc, "device", "calc");
        return false;
    }
    if (object.find("vessel_ws")) {
        error = "in \"device\": field \"vessel_ws\" is not allowed: the device takes the relief "
                "rate the route kept";
        note(sink, fault::unknown_field, "device", "vessel_ws");
        return false;
    }
    if (calc->text() == "valve") {
        valve_request r;
        if (!read_fields(object, "valve", valve_numbers, valve_choices, {"calc"}, r, sink, error)) {
            error = "in \"device\": " + error;
            return false;
        }
        in.next = route::device::safety_valve;
        in.valve = r.input;
    } else {
        disc_request r;
        if (!read_fields(object, "disc", disc_numbers, disc_choices, {"calc"}, r, sink, error)) {
            error = "in \"device\": " + error;
            return false;
        }
        in.next = route::device::bursting_disc;
        in.disc = {r.medium, r.nozzle, r.inputs};
    }
    return true;
}

// A route's "system" part: flat, its lines' and fire case's fields prefixed ("inlet_D"). A box's
// symbol is its field name: the checks' accounts share symbols (two lines' "D"), and the
// response attaches each text to its own check's input.
struct system_fields {
    system::system_input in;
    system::line inlet, outlet;
    system::fire_input fire;
};

inline constexpr named<bool> yes_no[] = {{"yes", true}, {"no", false}};
inline constexpr named<bool> valve_kinds[] = {{"conventional", false}, {"bellows", true}};
inline constexpr named<bool> discharges[] = {{"open", true}, {"closed", false}};
inline constexpr named<bool> drainages[] = {{"adequate", true}, {"inadequate", false}};

const number_field<system_fields> system_numbers[] = {
    {"n", "n", empty_box, [](system_fields& s) -> number& { return s.in.n; }},
    {"F_d", "F_d", empty_box, [](system_fields& s) -> number& { return s.in.F_d; }},
    {"inlet_D", "inlet_D", empty_box, [](system_fields& s) -> number& { return s.inlet.D; }},
    {"inlet_L", "inlet_L", empty_box, [](system_fields& s) -> number& { return s.inlet.L; }},
    {"inlet_K", "inlet_K", empty_box, [](system_fields& s) -> number& { return s.inlet.K_sum; }},
    {"inlet_eps", "inlet_eps", empty_box, [](system_fields& s) -> number& { return s.inlet.roughness; }},
    {"outlet_D", "outlet_D", empty_box, [](system_fields& s) -> number& { return s.outlet.D; }},
    {"outlet_L", "outlet_L", empty_box, [](system_fields& s) -> number& { return s.outlet.L; }},
    {"outlet_K", "outlet_K", empty_box, [](system_fields& s) -> number& { return s.outlet.K_sum; }},
    {"outlet_eps", "outlet_eps", empty_box, [](system_fields& s) -> number& { return s.outlet.roughness; }},
    {"P_e", "P_e", empty_box, [](system_fields& s) -> number& { return s.in.P_outlet; }},
    {"mu", "mu", empty_box, [](system_fields& s) -> number& { return s.in.medium.mu; }},
    {"rho", "rho", empty_box, [](system_fields& s) -> number& { return s.in.medium.rho; }},
    {"k", "k", empty_box, [](system_fields& s) -> number& { return s.in.medium.k; }},
    {"T", "T", empty_box, [](system_fields& s) -> number& { return s.in.medium.T; }},
    {"M", "M", empty_box, [](system_fields& s) -> number& { return s.in.medium.M; }},
    {"A_o", "A_o", empty_box, [](system_fields& s) -> number& { return s.in.A_o; }},
    {"P_2", "P_2", empty_box, [](system_fields& s) -> number& { return s.in.P_2; }},
    {"fire_A", "fire_A", empty_box, [](system_fields& s) -> number& { return s.fire.A; }},
    {"fire_F", "fire_F", empty_box, [](system_fields& s) -> number& { return s.fire.F; }},
};

const choice_field<system_fields> system_choices[] = {
    {"disc",
     [](system_fields& s, std::string_view f, const field& v, const text_sink& sink, std::string& e) {
         std::optional<bool> b;
         if (!read_choice(yes_no, f, v, b, sink, e)) return false;
         s.in.disc_under_valve = b.value_or(false);
         return true;
     }},
    {"valve_kind",
     [](system_fields& s, std::string_view f, const field& v, const text_sink& sink, std::string& e) {
         std::optional<bool> b;
         if (!read_choice(valve_kinds, f, v, b, sink, e)) return false;
         s.in.bellows = b.value_or(false);
         return true;
     }},
    {"discharge",
     [](system_fields& s, std::string_view f, const field& v, const text_sink& sink, std::string& e) {
         std::optional<bool> b;
         if (!read_choice(discharges, f, v, b, sink, e)) return false;
         s.in.open_discharge = b.value_or(false);
         return true;
     }},
    {"drainage",
     [](system_fields& s, std::string_view f, const field& v, const text_sink& sink, std::string& e) {
         return read_choice(drainages, f, v, s.fire.drainage, sink, e);
     }},
};

// The "system" part: a line's check is asked for when any of its fields is given, the fire case
// when any of "drainage", "fire_A", "fire_F" is.
bool decode_system(const object_view& object, system::system_input& out, text_sink sink,
                   std::string& error) {
    system_fields s;
    if (!read_fields(object, "route", system_numbers, system_choices, {}, s, sink, error))
        return false;
    const auto any = [&object](std::initializer_list<std::string_view> keys) {
        for (std::string_view k : keys)
            if (object.find(k)) return true;
        return false;
    };
    if (any({"inlet_D", "inlet_L", "inlet_K", "inlet_eps"})) s.in.inlet = s.inlet;
    if (any({"outlet_D", "outlet_L", "outlet_K", "outlet_eps"})) s.in.outlet = s.outlet;
    if (any({"drainage", "fire_A", "fire_F"})) s.in.fire = s.fire;
    out = std::move(s.in);
    return true;
}

// The state beside a medium id in "media": "relief_T", "relief_P", "device_T", "device_P".
medium_state* state_of_key(route_request& out, std::string_view key) {
    if (key == "relief_T" || key == "relief_P") return &out.relief_state;
    if (key == "device_T" || key == "device_P") return &out.device_state;
    return nullptr;
}

// The part of a route line a field names: an object read by the reader, or an error.
const object_view* part(const reader& r, const field& f, std::string_view name, const text_sink& sink,
                        std::string& error) {
    if (f.type != kind::object || f.object < 0) {
        error = "field " + quoted(name) + " must be an object, not " + std::string(kind_name(f.type));
        note(sink, fault::part_not_object, {}, name);
        if (sink.why) sink.why->nullable = name == "device";
        return nullptr;
    }
    return &r.object(f.object);
}

// The version rule of request lines and case files alike: an integer from 1 to
// case_format_version, as a JSON number. `value` gets the version as a case file names it.
fault version_fault(const field& v, std::string& value) {
    if (v.type != kind::number || v.text().find_first_of(".eE") != std::string_view::npos)
        return fault::version_not_integer;
    const std::string_view t = v.text();
    std::int64_t version = 0;
    const auto [end, failure] = std::from_chars(t.data(), t.data() + t.size(), version);
    if (failure == std::errc() && end == t.data() + t.size()) {
        value = std::to_string(version);
        if (version < 1) return fault::version_unknown;
        if (version > case_format_version) return fault::version_too_new;
        return fault::none;
    }
    // Up to 2^64 − 1 a version is too new; beyond 64 bits a number is not one that JSON readers
    // agree on.
    std::uint64_t large = 0;
    const auto [large_end, large_failure] = std::from_chars(t.data(), t.data() + t.size(), large);
    if (large_failure == std::errc() && large_end == t.data() + t.size()) {
        value = std::string(t);
        return fault::version_too_new;
    }
    return fault::not_json;
}

bool decode_route(const reader& r, route_request& out, const text_sink& sink, std::string& error) {
    const object_view& line = r.line();
    if (line.too_many && !sink.case_file()) {
        error = "more than " + std::to_string(max_fields) + " fields (no request has so many)";
        return false;
    }
    const field* relief_part = nullptr;
    const field* device_part = nullptr;
    const field* project_part = nullptr;
    const field* media_part = nullptr;
    const field* system_part = nullptr;
    for (std::size_t i = 0; i < line.count; ++i) {
        const field& f = line.fields[i];
        const field** slot = nullptr;
        const std::string_view key = f.key();
        if (key == "calc") continue;
        if (key == "media") {
            media_part = &f;
            continue;
        }
        if (key == "format") {
            if (f.type != kind::string || f.text() != "ventora-case") {
                error = "field \"format\" must be \"ventora-case\"";
                return false;
            }
            continue;
        }
        if (key == "version") {
            static_assert(case_format_version == 2, "the line's error names the versions");
            std::string value;
            if (version_fault(f, value) != fault::none) {
                error = "field \"version\" must be 1 or 2";
                return false;
            }
            continue;
        }
        if (key == "relief") slot = &relief_part;
        else if (key == "device") slot = &device_part;
        else if (key == "project") slot = &project_part;
        else if (key == "system") slot = &system_part;
        if (!slot) {
            error = "unknown field " + quoted(key) + " for calc \"route\"";
            note(sink, fault::unknown_field, {}, key);
            return false;
        }
        *slot = &f;
    }
    if (line.too_many) {
        error = "unknown field " + quoted(line.overflow_key) + " for calc \"route\"";
        note(sink, fault::unknown_field, {}, line.overflow_key);
        return false;
    }
    if (sink.case_file()) {
        const field* calc = line.find("calc");
        if (!calc || calc->type != kind::string || calc->text() != route_calc) {
            error = "field \"calc\" must be \"route\"";
            note(sink, fault::calc_not_route, {}, "calc");
            return false;
        }
    }
    // A line's title block may be null; a case file always holds one (its texts may be empty).
    if (project_part && (project_part->type != kind::null || sink.case_file())) {
        const object_view* project = part(r, *project_part, "project", sink, error);
        if (!project || !decode_project(*project, out.project, sink, error)) return false;
    }
    // The medium-library entry each window was last filled from, as a case file keeps it: no
    // input of the calculation, but it must name a medium that exists.
    if (media_part && media_part->type != kind::null) {
        const object_view* media = part(r, *media_part, "media", sink, error);
        if (!media) return false;
        for (std::size_t i = 0; i < media->count; ++i) {
            const field& f = media->fields[i];
            if (medium_state* state = state_of_key(out, f.key())) {
                std::optional<double>& target = f.key().ends_with("_T") ? state->T : state->P;
                if (f.type == kind::null) continue;
                double value = 0;
                const std::string_view t = f.text();
                const auto [end, failure] =
                    f.type == kind::number ? std::from_chars(t.data(), t.data() + t.size(), value)
                                           : std::from_chars_result{t.data(), std::errc::invalid_argument};
                if (failure != std::errc() || end != t.data() + t.size() || !(value > 0) || !std::isfinite(value)) {
                    error = "field \"media\"." + std::string(f.key()) + " must be a positive number or null";
                    note(sink, fault::not_a_state, "media", f.key());
                    return false;
                }
                target = value;
                continue;
            }
            if (f.key() != "relief" && f.key() != "device") {
                error = "unknown field " + quoted(f.key()) + " in \"media\"";
                note(sink, fault::unknown_field, "media", f.key());
                return false;
            }
            if (f.type == kind::null) continue;
            const media::substance* known = f.type == kind::string ? media::find_substance(f.text()) : nullptr;
            if (!known || known->id != f.text()) {
                error = "field \"media\"." + std::string(f.key()) + " must be the id of a medium";
                note(sink, fault::not_a_medium, "media", f.key());
                return false;
            }
            (f.key() == "relief" ? out.relief_medium : out.device_medium) = std::string(f.text());
        }
        if (media->too_many) {  // six fields at most, duplicates refused: an unknown one is past them
            error = "unknown field " + quoted(media->overflow_key) + " in \"media\"";
            note(sink, fault::unknown_field, "media", media->overflow_key);
            return false;
        }
    }
    if (!relief_part) {
        error = "route request without field \"relief\"";
        note(sink, fault::missing_relief, {}, "relief");
        return false;
    }
    const object_view* relief = part(r, *relief_part, "relief", sink, error);
    if (!relief) return false;
    if (!decode_relief(*relief, {"case"}, out.input.relief, {sink.texts, 0, sink.why}, error)) {
        error = "in \"relief\": " + error;
        return false;
    }
    out.input.next.reset();
    if (device_part && device_part->type != kind::null) {
        const object_view* device = part(r, *device_part, "device", sink, error);
        if (!device || !decode_device(*device, out.input, {sink.texts, 1, sink.why}, error)) return false;
    }
    if (system_part && system_part->type != kind::null) {
        // Version 1 had no system part: a file that says so and holds one is not what it says.
        if (sink.case_file() && sink.version < 2) {
            error = "unknown field \"system\" for calc \"route\"";
            note(sink, fault::unknown_field, {}, "system");
            return false;
        }
        if (out.input.next != route::device::safety_valve) {
            error = "field \"system\" needs a safety-valve device (\"device\":{\"calc\":\"valve\",...})";
            note(sink, fault::system_without_valve, {}, "system");
            return false;
        }
        const object_view* sys = part(r, *system_part, "system", sink, error);
        out.system.emplace();
        text_sink system_sink = sink;
        system_sink.part = 2;
        if (!sys || !decode_system(*sys, *out.system, system_sink, error)) {
            if (sys) error = "in \"system\": " + error;
            return false;
        }
    }
    return true;
}

// A case file's own fields, before anything else in it: what it is, and its version.
bool decode_case_header(const reader& r, int& version, const text_sink& sink) {
    const object_view& top = r.line();
    const field* format = top.find("format");
    if (!format || format->type != kind::string || format->text() != "ventora-case") {
        note(sink, fault::not_a_case, {}, "format");
        return false;
    }
    const field* v = top.find("version");
    if (!v) {
        note(sink, fault::no_version, {}, "version");
        return false;
    }
    std::string value;
    const fault why = version_fault(*v, value);
    if (why != fault::none) {
        note(sink, why, {}, "version", value);
        return false;
    }
    version = std::stoi(value);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The properties request: {"calc":"properties","substance":S,"T":K|null,"P":MPa|null}

// A state variable: a JSON number, or null (or absent) for none.
bool read_state(std::string_view name, const field& v, std::optional<double>& target, std::string& error) {
    if (v.type == kind::null) {
        target.reset();
        return true;
    }
    if (v.type != kind::number) {
        error = "field " + quoted(name) + " must be a JSON number or null, not " + std::string(kind_name(v.type));
        return false;
    }
    const number value = parse_number(v.text());
    if (!value) {
        error = "field " + quoted(name) + " (" + shortened(v.text()) + ") is beyond the double range";
        return false;
    }
    target = *value;
    return true;
}

bool decode_properties(const object_view& object, properties_request& out, std::string& error) {
    const field* substance = nullptr;
    for (std::size_t i = 0; i < object.count; ++i) {
        const field& v = object.fields[i];
        const std::string_view key = v.key();
        if (key == "calc") continue;
        if (key == "substance") {
            substance = &v;
        } else if (key == "T") {
            if (!read_state(key, v, out.query.T, error)) return false;
        } else if (key == "P") {
            if (!read_state(key, v, out.query.P, error)) return false;
        } else {
            error = "unknown field " + quoted(key) + " for calc \"properties\"";
            return false;
        }
    }
    if (!substance) {
        error = "properties request without field \"substance\" (ventora-calc --list-substances lists them)";
        return false;
    }
    if (substance->type != kind::string) {
        error = "field \"substance\" must be a string, not " + std::string(kind_name(substance->type));
        return false;
    }
    if (!media::find_substance(substance->text())) {
        error = "unknown substance " + quoted(substance->text()) +
                " (ventora-calc --list-substances lists them)";
        return false;
    }
    out.query.substance = std::string(substance->text());
    return true;
}

decoded_request decode(const reader& r, kind root, bool keep_texts, std::string& error) {
    decoded_request d;
    if (root != kind::object) {
        error = "the line is " + std::string(kind_name(root)) + ", not a JSON object";
        return d;
    }
    const object_view& object = r.line();
    if (object.too_many) {
        error = "more than " + std::to_string(max_fields) + " fields (no request has so many)";
        return d;
    }
    const field* calc = object.find("calc");
    if (!calc) {
        error = "missing field \"calc\" (" + calc_expected + ")";
        return d;
    }
    if (calc->type != kind::string) {
        error = "field \"calc\" must be a string, not " + std::string(kind_name(calc->type)) + " (" +
                calc_expected + ")";
        return d;
    }
    std::vector<box_text>* texts = keep_texts ? &d.texts : nullptr;
    if (calc->text() == route_calc) {
        route_request route;
        if (decode_route(r, route, {texts, 0, nullptr}, error)) d.req = std::move(route);
        return d;
    }
    if (calc->text() == properties_calc) {
        properties_request properties;
        if (decode_properties(object, properties, error)) d.req = std::move(properties);
        return d;
    }
    const auto which = lookup(calc_kinds, calc->text());
    if (!which) {
        error = "unknown value " + quoted(calc->text()) + " for field \"calc\" (" + calc_expected + ")";
        return d;
    }
    switch (*which) {
        case calc_kind::relief: {
            relief_input in;
            if (decode_relief(object, {"calc", "case"}, in, {texts, 0, nullptr}, error)) d.req = in;
            break;
        }
        case calc_kind::valve: {
            valve_request v;
            if (read_fields(object, "valve", valve_numbers, valve_choices, {"calc"}, v, {texts, 0, nullptr}, error))
                d.req = v;
            break;
        }
        case calc_kind::disc: {
            disc_request v;
            if (read_fields(object, "disc", disc_numbers, disc_choices, {"calc"}, v, {texts, 0, nullptr}, error))
                d.req = v;
            break;
        }
    }
    return d;
}

// One parser per thread, reused from line to line; let go of after a long line so that its
// buffers do not stay at that size.
od::parser& line_parser() {
    thread_local od::parser parser;
    return parser;
}

}  // namespace

decoded_request decode_line(std::string_view line, std::size_t readable, bool keep_texts) {
    decoded_request d;
    // A long line is walked without simdjson first: a list of millions of numbers or an object
    // of millions of keys is refused before anything indexes it.
    if (line.size() > long_line) {
        d.error = json::find_problem(line);
        if (!d.error.empty()) return d;
    }
    std::string copy;
    const char* data = line.data();
    std::size_t capacity = readable;
    if (readable < line.size() + simdjson::SIMDJSON_PADDING) {
        copy.reserve(line.size() + simdjson::SIMDJSON_PADDING);
        copy.assign(line);
        data = copy.data();
        capacity = copy.capacity();
    }
    od::parser& parser = line_parser();
    od::document doc;
    reader r;
    kind root = kind::null;
    std::string error;
    const bool read = !parser.iterate(simdjson::padded_string_view(data, line.size(), capacity)).get(doc) &&
                      r.read(doc, root);
    if (read) {
        d = decode(r, root, keep_texts, error);
        if (d.req) {
            if (parser.capacity() > long_line) parser = od::parser();
            return d;
        }
    }
    // Something is wrong. A fault in the JSON itself, or a duplicate key, comes first, at the
    // place where a reader meets it; then what is wrong with the request.
    d.error = json::find_problem(line);
    if (d.error.empty()) d.error = read ? std::move(error) : "not valid JSON";
    if (parser.capacity() > long_line) parser = od::parser();
    return d;
}

decoded_route decode_route_line(std::string_view line) {
    decoded_route out;
    decoded_request d = decode_line(line);
    if (!d.req) {
        out.error = std::move(d.error);
    } else if (auto* route = std::get_if<route_request>(&*d.req)) {
        out.input = std::move(route->input);
        out.project = std::move(route->project);
        out.relief_medium = std::move(route->relief_medium);
        out.device_medium = std::move(route->device_medium);
        out.relief_state = route->relief_state;
        out.device_state = route->device_state;
    } else {
        out.error = "not a route request: field \"calc\" is not \"route\"";
    }
    return out;
}

decoded_case decode_case(std::string_view bytes) {
    decoded_case out;
    problem& why = out.why;
    bytes = without_byte_order_mark(bytes);
    if (json::find_invalid_utf8(bytes) != std::string_view::npos) {
        why.what = fault::not_utf8;
        return out;
    }
    // A file of more than a long line is checked for its shape first, as a line is.
    if (bytes.size() > long_line && !json::find_problem(bytes).empty()) {
        why.what = fault::not_json;
        return out;
    }
    const simdjson::padded_string padded(bytes);
    od::parser parser;
    od::document doc;
    reader r;
    kind root = kind::null;
    if (parser.iterate(padded).get(doc) || !r.read(doc, root)) {
        if (!r.duplicate_key().empty()) {
            why.what = fault::duplicate_field;
            why.part = std::string(r.duplicate_part());
            why.key = std::string(r.duplicate_key());
        } else {
            why.what = fault::not_json;
        }
        return out;
    }
    if (root != kind::object) {
        why.what = fault::not_object;
        return out;
    }
    text_sink sink{&out.texts, 0, &why};
    route_request route;
    std::string error;  // the line's wording, not a case file's
    if (!decode_case_header(r, out.version, sink)) return out;
    sink.version = out.version;
    if (!decode_route(r, route, sink, error)) {
        out.texts.clear();
        return out;
    }
    out.route = std::move(route);
    return out;
}

}  // namespace ventora::requests
