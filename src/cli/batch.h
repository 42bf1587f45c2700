// ventora-calc's request → response handling, without any file or process: one JSON object in per
// line, one JSON object out per line, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "request.h"

namespace ventora::cli {

// Appends the response to one decoded request (no newline). Returns false, with an error response
// written instead, in the one case that must never happen: a calculation returning a number
// that is not finite.
bool write_response(const request& req, std::uint64_t line, std::string& out);

// Answers one input line (its line terminator already removed) by appending one JSON object and
// no newline to out. Returns false when the line is in error ({"line":N,"error":"..."}).
bool answer_line(std::string_view line, std::uint64_t number, std::string& out);
// The same, when `readable` bytes from line.data() on may be read (see decode_line).
bool answer_line(std::string_view line, std::size_t readable, std::uint64_t number, std::string& out);

// Splits a stream of bytes into lines and answers each. Lines are numbered from 1 across all the
// sources fed in, in order. A line ends at "\n"; a "\r" before it is dropped; a final line
// without a newline is answered when its source ends. A UTF-8 byte order mark at the start of a
// source is skipped.
class batch {
public:
    // Answers every line completed by these bytes; keeps an unfinished last line for later.
    void feed(std::string_view bytes);
    // The current source has ended: answers its last line when it had no newline.
    void end_source();

    // The responses so far, each followed by "\n". The caller writes them out and may clear it.
    std::string& output() { return out_; }
    bool any_error() const { return any_error_; }
    std::uint64_t lines() const { return line_; }

private:
    void answer(std::string_view line, std::size_t readable);
    void answer_partial();

    std::string partial_;
    std::string out_;
    std::uint64_t line_ = 0;
    bool any_error_ = false;
    bool at_source_start_ = true;
};

// The text of --help.
extern const char* const help_text;

}  // namespace ventora::cli
