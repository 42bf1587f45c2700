// Reads a response of ventora-calc back into a small tree, for tests and the fuzz target: the
// tool itself never builds one. Numbers keep their literal text.
#pragma once

#include <simdjson.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "request/json.h"

namespace ventora::cli::testing_json {

namespace json = requests::json;
using json::kind;

struct value {
    kind type = kind::null;
    bool boolean = false;
    std::string text;  // a string's decoded text, or a number's literal
    std::vector<value> items;
    std::vector<std::string> keys;  // an object's keys, parallel to items

    const value* find(std::string_view key) const {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return &items[i];
        return nullptr;
    }
};

struct parse_result {
    std::optional<value> parsed;
    std::string error;
};

namespace detail {
namespace od = simdjson::ondemand;

inline std::string_view trimmed(std::string_view t) {
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\n' || t.back() == '\r'))
        t.remove_suffix(1);
    return t;
}

inline bool at_end(od::document& doc) {
    const char* where = nullptr;
    return doc.current_location().get(where) == simdjson::OUT_OF_BOUNDS;
}

template <class V>
simdjson::error_code build(V&& v, value& out) {
    od::json_type t;
    if (auto e = v.type().get(t)) return e;
    switch (t) {
        case od::json_type::null: {
            out.type = kind::null;
            bool null = false;
            if (auto e = v.is_null().get(null)) return e;
            return null ? simdjson::SUCCESS : simdjson::N_ATOM_ERROR;
        }
        case od::json_type::boolean:
            out.type = kind::boolean;
            return v.get_bool().get(out.boolean);
        case od::json_type::number:
            out.type = kind::number;
            out.text = std::string(trimmed(v.raw_json_token()));
            if (!json::is_number_literal(out.text)) return simdjson::NUMBER_ERROR;
            return simdjson::SUCCESS;
        case od::json_type::string: {
            out.type = kind::string;
            std::string_view s;
            if (auto e = v.get_string().get(s)) return e;
            out.text = std::string(s);
            return simdjson::SUCCESS;
        }
        case od::json_type::array: {
            out.type = kind::array;
            od::array a;
            if (auto e = v.get_array().get(a)) return e;
            for (auto item : a) {
                od::value x;
                if (auto e = std::move(item).get(x)) return e;
                out.items.emplace_back();
                if (auto e = build(x, out.items.back())) return e;
            }
            return simdjson::SUCCESS;
        }
        case od::json_type::object: {
            out.type = kind::object;
            od::object o;
            if (auto e = v.get_object().get(o)) return e;
            for (auto member : o) {
                od::field f;
                if (auto e = std::move(member).get(f)) return e;
                std::string_view key;
                if (auto e = f.unescaped_key().get(key)) return e;
                out.keys.emplace_back(key);
                out.items.emplace_back();
                if (auto e = build(f.value(), out.items.back())) return e;
            }
            return simdjson::SUCCESS;
        }
    }
    return simdjson::INCORRECT_TYPE;
}
}  // namespace detail

// One JSON text; the error is json::find_problem's, or simdjson's when that found none.
inline parse_result parse(std::string_view text) {
    parse_result r;
    r.error = json::find_problem(text);
    if (!r.error.empty()) return r;
    simdjson::ondemand::parser parser;
    const simdjson::padded_string padded(text);
    simdjson::ondemand::document doc;
    value v;
    simdjson::error_code e = parser.iterate(padded).get(doc);
    if (!e) e = detail::build(doc, v);
    if (!e && !detail::at_end(doc)) e = simdjson::TRAILING_CONTENT;
    if (e) {
        r.error = simdjson::error_message(e);
        return r;
    }
    r.parsed = std::move(v);
    return r;
}

}  // namespace ventora::cli::testing_json
