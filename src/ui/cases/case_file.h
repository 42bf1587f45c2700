// Case files: a route's inputs kept as one line of UTF-8 JSON, the route request that ventora-calc
// reads plus "format":"ventora-case" and "version". The choices and every box's text are kept
// exactly as shown (texts as typed, not the values read), with the showing tabs and the book's
// title block.
//
// Reading is the route request's decoder's (request/request.h), with a case file's rules; here its
// result becomes the windows' forms. It is all or nothing: a file is refused with one sentence
// saying what is wrong, and nothing of it is used. A field added in a later version is optional
// and known from that version on, so every file written by an earlier version still opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <QString>

#include "account/account.h"
#include "request/request.h"
#include "shell/forms.h"

namespace ventora::cases {

// The version this program writes; it opens every version up to it.
inline constexpr int format_version = requests::case_format_version;
// The longest text a box or a title-block field may hold in a case file, in characters.
inline constexpr int max_text_chars = requests::case_max_text_chars;
// A case is a few kilobytes; anything far larger is not one and is not read into memory.
inline constexpr qint64 max_file_bytes = 1 << 20;
// The file name extension, with its dot.
inline const QString file_suffix = QStringLiteral(".ventora");

// A route as its windows hold it: the relief-rate window, and the device window when it is open.
struct case_data {
    account::project_info project;
    forms::relief_form relief;
    std::variant<std::monostate, forms::valve_form, forms::disc_form> device;
    // The medium-library entries the relief-rate and device windows were last filled from (ids
    // such as "propane"); empty for none. Kept as "media":{"relief":…,"device":…}.
    std::string relief_medium;
    std::string device_medium;
    // The state each was asked for, so that a reopened case names the same sources; kept beside
    // the ids as "relief_T", "relief_P", "device_T", "device_P" when given.
    requests::medium_state relief_state, device_state;
    // The 泄放系统校核 window's boxes and choices, when it is open on a safety-valve route. Kept
    // as the optional "system" part (format version 2), in the field names of a route request.
    std::optional<forms::system_form> system;
    bool operator==(const case_data& other) const;
};

// Whether two title blocks hold the same texts.
bool same_project(const account::project_info& a, const account::project_info& b);

// The file's one line, newline-terminated, in UTF-8.
std::string write_case(const case_data& data);

struct read_result {
    std::optional<case_data> data;
    // What is wrong, in a sentence fragment fit to follow the file's name; empty when read.
    QString error;
};

// Reads a file's bytes.
read_result read_case(std::string_view bytes);

// The first box or title-block field whose text is longer than a case file keeps, named as in
// the file ("relief.G"); empty when every text fits.
QString overlong_field(const case_data& data);

// Writes a case beside `path` and renames it over `path`, so a failure never leaves a part-written
// file or harms the one there. Returns what went wrong, empty on success.
QString save_case_file(const QString& path, const case_data& data);

// Reads a case file; the error names nothing but the fault (the caller names the file).
read_result load_case_file(const QString& path);

}  // namespace ventora::cases
