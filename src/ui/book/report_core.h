// The reusable part of ventora-report, the headless tool that turns a file of routes into one
// book: its command line, the exit status the chapters give, the problems it names on standard
// error and the progress it shows on a terminal. main() only decodes the routes and calls these.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "book/book.h"

namespace ventora::book {

inline constexpr int exit_ok = 0;
inline constexpr int exit_route_problem = 1;  // some route refused, or a line in error
inline constexpr int exit_failure = 2;        // unreadable input or unwritable output

struct report_args {
    QString output;      // the book; its extension chooses PDF, ODT or HTML
    QStringList inputs;  // JSON Lines files; "-" or none at all is standard input
    bool help = false;
    QString error;  // a command line that cannot be used: the reason
};

// ventora-report [-o|--output] BOOK [INPUT...]: the first plain argument is the book when -o is
// not given. "--" ends the options.
report_args parse_report_args(const QStringList& args);
QString report_usage();

// The chapter of one route request line (without its terminator), numbered `number`: the route
// run as ventora-calc runs it, with the relief-system checks when the line has a "system" part,
// or the line's error.
chapter chapter_of_line(std::string_view line, std::uint64_t number);

// A route that was refused at some check; a line in error is not a route.
bool route_refused(const chapter& c);

// One line for each line in error and each refused route, in order.
QStringList chapter_problems(const std::vector<chapter>& chapters);

// exit_ok when every route reached a result (a valve that fails its check did reach one),
// exit_route_problem when a route was refused or a line is in error.
int report_exit_status(const std::vector<chapter>& chapters);

// A progress line rewritten in place on a terminal; silent elsewhere and for short books.
class terminal_progress {
public:
    terminal_progress(std::FILE* out, bool is_terminal) : out_(out), on_(is_terminal) {}
    void operator()(stage s, std::size_t done, std::size_t total);
    // Ends the line, when one was shown.
    void finish();

private:
    std::FILE* out_;
    bool on_;
    bool shown_ = false;
    int last_percent_ = -1;
    stage last_stage_ = stage::setting;
};

// Writes the book, names the chapters' problems and any write failure on `err`, and returns the
// exit status.
int write_report(const QString& output, const std::vector<chapter>& chapters, std::FILE* err,
                 bool err_is_terminal);

}  // namespace ventora::book
