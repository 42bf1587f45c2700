// ventora-report: turns JSON Lines of route requests into one calculation book (PDF, ODT or HTML
// by the output's extension). Runs headless. Reading the routes is ventora-calc's own decoder;
// setting the book, the exit status and the progress are the book library's.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "book/report_core.h"
#include "os_io.h"
#include "request/request.h"

namespace {

// Reads a whole input ("-" is standard input); false when it cannot be read.
bool read_input(const QString& name, std::string& text) {
    if (name == QStringLiteral("-")) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    // Through a path from the name's UTF-16, so a Chinese name opens on Windows too.
    std::ifstream file(std::filesystem::path(name.toStdU16String()), std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = std::move(content).str();
    return !file.bad();
}

// One chapter per line, numbered across all inputs as ventora-calc numbers them.
void add_chapters(std::string_view text, std::uint64_t& line_number,
                  std::vector<ventora::book::chapter>& chapters) {
    text = ventora::requests::without_byte_order_mark(text);
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        chapters.push_back(ventora::book::chapter_of_line(line, ++line_number));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool progress_on_terminal = ::isatty(STDERR_FILENO) != 0;
    const ventora::cli::os::utf8_console console;
#ifdef _WIN32
    // Standard input is read as bytes, CR and all, as on every other platform.
    ventora::cli::os::use_binary_standard_streams();
#endif
#ifndef _WIN32
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A file-size limit makes a write fail, as a full disk does, rather than end the process
    // with a half-written temporary file left beside the book.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Windows: its own platform shows no window unless asked and knows the system's fonts; Qt's
    // offscreen platform there has none, so the book's text would be left out.
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const ventora::book::report_args parsed = ventora::book::parse_report_args(args);
    if (parsed.help) {
        std::fputs(ventora::book::report_usage().toUtf8().constData(), stdout);
        return ventora::book::exit_ok;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "ventora-report: %s\n%s", parsed.error.toUtf8().constData(),
                     ventora::book::report_usage().toUtf8().constData());
        return ventora::book::exit_failure;
    }
    const QStringList inputs = parsed.inputs.isEmpty() ? QStringList{QStringLiteral("-")} : parsed.inputs;
    std::vector<ventora::book::chapter> chapters;
    std::uint64_t line_number = 0;
    for (const QString& input : inputs) {
        std::string text;
        if (!read_input(input, text)) {
            std::fprintf(stderr, "ventora-report: cannot read %s\n", input.toUtf8().constData());
            return ventora::book::exit_failure;
        }
        add_chapters(text, line_number, chapters);
    }
    return ventora::book::write_report(parsed.output, chapters, stderr, progress_on_terminal);
}
