// JSON beyond what simdjson reads: naming what is wrong with a line (or case file) that is not
// a request, and writing responses.
//
// A line is JSON as RFC 8259 has it: no comments, no trailing commas, no single quotes, no NaN or
// Infinity, no leading zeros or '+' on numbers, no raw control characters in strings, and
// well-formed UTF-8 only (no overlong forms, no encoded surrogates, nothing above U+10FFFF; an
// escaped surrogate must be part of a pair). Beyond the RFC, a duplicate key in an object is an
// error, since a request with two values for one box has no meaning; nesting is limited so that
// no input can exhaust the stack, and so is the number of values, since no request holds many.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ventora::requests::json {

enum class kind { null, boolean, number, string, array, object };

// Nesting deeper than this (arrays and objects inside one another) is refused.
inline constexpr int max_depth = 64;
// A line with more values than this (every element, member and the line's own value counted)
// cannot be a request: the largest, a route, holds fewer than a hundred.
inline constexpr std::size_t max_values = 1024;

// The first thing, in reading order, that keeps text from being one JSON value within the limits
// above: ill-formed UTF-8, a syntax error, a duplicate key, nesting or too many values; in
// English with the 1-based byte position. Empty when there is none. Builds nothing: memory stays
// within the size of the longest key.
std::string find_problem(std::string_view text);

// True when t is exactly one JSON number: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool is_number_literal(std::string_view t);

// The byte offset of the first ill-formed UTF-8 sequence, or npos when the text is well formed.
std::size_t find_invalid_utf8(std::string_view text);

// Appends s as a JSON string literal: quotes added; '"', '\\' and control characters escaped;
// everything else (s must be valid UTF-8) copied as it is.
void write_string(std::string& out, std::string_view s);

// Appends a finite double in the shortest form that reads back to the same double.
// Precondition: std::isfinite(v).
void write_number(std::string& out, double v);

}  // namespace ventora::requests::json
