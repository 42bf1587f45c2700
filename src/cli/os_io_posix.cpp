#include "os_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace ventora::cli::os {

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void use_binary_standard_streams() {}

file_kind kind_of(const std::string& name, int& error) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) {
        error = errno;
        return file_kind::missing;
    }
    if (S_ISREG(st.st_mode)) return file_kind::regular;
    if (S_ISDIR(st.st_mode)) return file_kind::directory;
    return file_kind::other;
}

int open_read(const std::string& name) { return ::open(name.c_str(), O_RDONLY | O_CLOEXEC); }

bool is_standard_output(const std::string& name) {
    struct stat out {};
    if (::fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode)) return false;
    struct stat in {};
    const int got = name == "-" ? ::fstat(STDIN_FILENO, &in) : ::stat(name.c_str(), &in);
    return got == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

utf8_console::utf8_console() = default;
utf8_console::~utf8_console() = default;

void write_error(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

}  // namespace ventora::cli::os
