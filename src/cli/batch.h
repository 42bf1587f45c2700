// ventora-calc's request → response handling, without any file or process: one JSON object in per
// line, one JSON object out per line, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "request/request.h"

namespace ventora::cli {

// Requests are read by the route request's decoder, which the case files share.
using namespace ventora::requests;

// What the responses hold beyond the results.
struct options {
    // --steps: each calculation's account ("inputs", "steps", and "refused_by" and "refusal" when
    // refused), and the sizing aid after a valve press that reached a capacity or a disc area.
    bool steps = false;
};

// Appends the response to one decoded request (no newline). Returns false, with an error response
// written instead, in the one case that must never happen: a calculation returning a number
// that is not finite. `texts` are the boxes the request gave as strings (decode_line with
// keep_texts): with steps, their inputs in the account carry the text.
bool write_response(const request& req, std::uint64_t line, std::string& out);
bool write_response(const request& req, std::uint64_t line, std::string& out, const options& opts,
                    std::span<const box_text> texts);

// Answers one input line (its line terminator already removed) by appending one JSON object and
// no newline to out. Returns false when the line is in error ({"line":N,"error":"..."}).
bool answer_line(std::string_view line, std::uint64_t number, std::string& out);
// The same, when `readable` bytes from line.data() on may be read (see decode_line).
bool answer_line(std::string_view line, std::size_t readable, std::uint64_t number, std::string& out);
// The same, with options.
bool answer_line(std::string_view line, std::size_t readable, std::uint64_t number, std::string& out,
                 const options& opts);

// Splits a stream of bytes into lines and answers each. Lines are numbered from 1 across all the
// sources fed in, in order. A line ends at "\n"; a "\r" before it is dropped; a final line
// without a newline is answered when its source ends. A UTF-8 byte order mark at the start of a
// source is skipped.
class batch {
public:
    batch() = default;
    explicit batch(const options& opts) : options_(opts) {}

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

    options options_;
    std::string partial_;
    std::string out_;
    std::uint64_t line_ = 0;
    bool any_error_ = false;
    bool at_source_start_ = true;
};

// The text of --help.
extern const char* const help_text;

// The text of --list-substances: one line per medium of the library, in its order, with id,
// Chinese name, English name, formula and CAS number separated by tabs.
std::string substance_list();

}  // namespace ventora::cli
