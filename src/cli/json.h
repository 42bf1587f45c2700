// A small, strict JSON reader and writer for the batch tool's one-object-per-line format.
//
// Reading follows RFC 8259 to the letter: no comments, no trailing commas, no single quotes, no
// NaN or Infinity, no leading zeros or '+' on numbers, no raw control characters in strings, and
// well-formed UTF-8 only (no overlong forms, no encoded surrogates, nothing above U+10FFFF; an
// escaped surrogate must be part of a pair). Beyond the RFC, a duplicate key in an object is an
// error, since a request with two values for one box has no meaning, and nesting is limited so
// that no input can exhaust the stack.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ventora::cli::json {

enum class kind { null, boolean, number, string, array, object };

struct value {
    kind type = kind::null;
    bool boolean = false;
    // A string's decoded UTF-8 text, or a number's literal text exactly as written (so that the
    // caller can read it with its own number rules).
    std::string text;
    // An array's elements, or an object's member values (in order of appearance).
    std::vector<value> items;
    // An object's keys, decoded, parallel to items.
    std::vector<std::string> keys;

    // The member with this key, or null when there is none. Objects only.
    const value* find(std::string_view key) const;
};

// Nesting deeper than this (arrays and objects inside one another) is refused.
inline constexpr int max_depth = 64;

struct parse_result {
    std::optional<value> parsed;
    // What is wrong, in English, with the 1-based byte position; empty when parsed.
    std::string error;
};

// Reads one JSON text (surrounding whitespace allowed, nothing else after the value).
parse_result parse(std::string_view text);

// The byte offset of the first ill-formed UTF-8 sequence, or npos when the text is well formed.
std::size_t find_invalid_utf8(std::string_view text);

// Appends s as a JSON string literal: quotes added; '"', '\\' and control characters escaped;
// everything else (s must be valid UTF-8) copied as it is.
void write_string(std::string& out, std::string_view s);

// Appends a finite double in the shortest form that reads back to the same double.
// Precondition: std::isfinite(v).
void write_number(std::string& out, double v);

}  // namespace ventora::cli::json
