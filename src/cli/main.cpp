// ventora-calc: reads requests from files or standard input and writes one response per line.
// Everything about requests and responses lives in ventora_cli_core; this file only deals with
// the command line, the inputs, standard output and the exit status.
//
// Input is read with read(2) rather than stdio, so that a request arriving on a pipe is answered
// as soon as its line is complete instead of after a full buffer: an interactive caller can
// write a line and wait for its answer. Output is written once per chunk of input.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "batch.h"
#include "os_io.h"

namespace {

constexpr int exit_ok = 0;
constexpr int exit_line_errors = 1;
constexpr int exit_failure = 2;

void complain(const std::string& what) { ventora::cli::os::write_error("ventora-calc: " + what + "\n"); }

// Writes everything, retrying after interruptions and short writes.
bool write_all(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool flush(ventora::cli::batch& b) {
    if (b.output().empty()) return true;
    const bool ok = write_all(b.output());
    b.output().clear();
    if (!ok) complain(std::string("cannot write standard output: ") + std::strerror(errno));
    return ok;
}

// Opens an input for reading, or says why it cannot be read.
int open_input(const std::string& name) {
    if (name == "-") return STDIN_FILENO;
    int error = 0;
    if (ventora::cli::os::kind_of(name, error) == ventora::cli::os::file_kind::directory) {
        complain("cannot read " + name + ": " + std::strerror(EISDIR));
        return -1;
    }
    const int fd = ventora::cli::os::open_read(name);
    if (fd < 0) {
        complain("cannot read " + name + ": " + std::strerror(errno));
        return -1;
    }
    return fd;
}

// Feeds one input through the batch. False when it could not be read to its end.
bool run_input(int fd, const std::string& name, ventora::cli::batch& b, std::vector<char>& buffer) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            complain("cannot read " + name + ": " + std::strerror(errno));
            return false;
        }
        if (n == 0) break;
        b.feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        if (!flush(b)) return false;
    }
    b.end_source();
    return flush(b);
}

}  // namespace

int main(int argc, char** argv) {
    const ventora::cli::os::utf8_console console;
    ventora::cli::os::use_binary_standard_streams();
    std::vector<std::string> inputs;
    ventora::cli::options opts;
    bool options_done = false;
    for (const std::string& arg : ventora::cli::os::arguments(argc, argv)) {
        if (!options_done && (arg == "--help" || arg == "-h")) {
            std::fputs(ventora::cli::help_text, stdout);
            return std::fflush(stdout) == 0 ? exit_ok : exit_failure;
        }
        if (!options_done && arg == "--list-substances") {
            std::fputs(ventora::cli::substance_list().c_str(), stdout);
            return std::fflush(stdout) == 0 ? exit_ok : exit_failure;
        }
        if (!options_done && arg == "--steps") {
            opts.steps = true;
            continue;
        }
        if (!options_done && arg == "--") {
            options_done = true;
            continue;
        }
        if (!options_done && arg.size() > 1 && arg[0] == '-') {
            complain("unknown option " + arg + " (try --help)");
            return exit_failure;
        }
        inputs.push_back(arg);
    }
    if (inputs.empty()) inputs.emplace_back("-");

    // Every named file must be readable before anything is answered, so that a mistyped name
    // fails the run cleanly instead of after part of the output. Pipes and other special files
    // (a process substitution, a FIFO) are only opened when their turn comes: opening and
    // closing them early could lose what a writer sends.
    for (const auto& name : inputs) {
        if (name == "-") continue;
        int error = 0;
        const ventora::cli::os::file_kind kind = ventora::cli::os::kind_of(name, error);
        if (kind == ventora::cli::os::file_kind::missing) {
            complain("cannot read " + name + ": " + std::strerror(error));
            return exit_failure;
        }
        if (kind == ventora::cli::os::file_kind::other) continue;
        const int fd = open_input(name);
        if (fd < 0) return exit_failure;
        ::close(fd);
    }

    // An input that is the file standard output appends to would be read while it grows
    // (`ventora-calc f.jsonl >> f.jsonl`): refuse before anything is read or written, as cat does.
    for (const auto& name : inputs) {
        if (ventora::cli::os::is_standard_output(name)) {
            complain((name == "-" ? std::string("standard input") : name) + ": input file is output file");
            return exit_failure;
        }
    }

    ventora::cli::batch b(opts);
    std::vector<char> buffer(1 << 16);
    for (const auto& name : inputs) {
        const std::string shown = name == "-" ? "standard input" : name;
        const int fd = open_input(name);
        if (fd < 0) return exit_failure;
        const bool ok = run_input(fd, shown, b, buffer);
        if (fd != STDIN_FILENO) ::close(fd);
        if (!ok) return exit_failure;
    }
    return b.any_error() ? exit_line_errors : exit_ok;
}
