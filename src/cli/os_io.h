// What ventora-calc asks of the operating system beyond standard C++: its arguments as UTF-8,
// opening an input by name, what a name is, whether an input is the file standard output goes
// to, and writing a message. POSIX in os_io_posix.cpp, Windows in os_io_windows.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ventora::cli::os {

// The command line after the program's name, each argument in UTF-8. On Windows it is read from
// the wide command line, so a Chinese file name arrives whole whatever the ANSI code page.
std::vector<std::string> arguments(int argc, char** argv);

// Standard input and output carry bytes as they are: no CR added before LF, none taken away, so
// the output is the same bytes on every platform.
void use_binary_standard_streams();

enum class file_kind { missing, regular, directory, other };
// What `name` (UTF-8) is; `error` gets errno's code when it cannot be found out.
file_kind kind_of(const std::string& name, int& error);

// Opens `name` (UTF-8) for reading; -1 with errno set when it cannot.
int open_read(const std::string& name);

// True when `name` (or standard input, for "-") is the regular file standard output writes to.
bool is_standard_output(const std::string& name);

// Writes `utf8` to standard error.
void write_error(std::string_view utf8);

// The tools write UTF-8. While this lives, a standard output or standard error that is a Windows
// console shows the characters the bytes encode, whatever the console's code page (936 on a
// Chinese Windows): the bytes pass through a pipe and reach the console as UTF-16
// (WriteConsoleW). Redirected to a file or a pipe, they go out as they are, UTF-8. Elsewhere it
// does nothing.
class utf8_console {
public:
    utf8_console();
    ~utf8_console();
    utf8_console(const utf8_console&) = delete;
    utf8_console& operator=(const utf8_console&) = delete;

    struct stream;

private:
    std::vector<stream*> streams_;
};

}  // namespace ventora::cli::os
