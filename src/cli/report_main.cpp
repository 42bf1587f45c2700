// ventora-report: turns JSON Lines of route requests into one calculation book (PDF, ODT or HTML
// by the output's extension). Runs headless. Reading the routes is ventora-calc's own decoder;
// setting the book, the exit status and the progress are the book library's.
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "book/report_core.h"
#include "request/request.h"
#include "route/route.h"

namespace {

// Reads a whole input ("-" is standard input); false when it cannot be read.
bool read_input(const QString& name, std::string& text) {
    if (name == QStringLiteral("-")) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream file(name.toStdString(), std::ios::binary);
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
        ventora::book::chapter c;
        c.line = ++line_number;
        const ventora::requests::decoded_route decoded = ventora::requests::decode_route_line(line);
        if (!decoded.error.empty()) {
            c.error = decoded.error;
        } else {
            c.route.project = decoded.project;
            c.result = ventora::route::run_route(decoded.input, &c.route);
        }
        chapters.push_back(std::move(c));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A file-size limit makes a write fail, as a full disk does, rather than end the process
    // with a half-written temporary file left beside the book.
    std::signal(SIGXFSZ, SIG_IGN);
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const ventora::book::report_args parsed = ventora::book::parse_report_args(args);
    if (parsed.help) {
        std::fputs(qPrintable(ventora::book::report_usage()), stdout);
        return ventora::book::exit_ok;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "ventora-report: %s\n%s", qPrintable(parsed.error),
                     qPrintable(ventora::book::report_usage()));
        return ventora::book::exit_failure;
    }
    const QStringList inputs = parsed.inputs.isEmpty() ? QStringList{QStringLiteral("-")} : parsed.inputs;
    std::vector<ventora::book::chapter> chapters;
    std::uint64_t line_number = 0;
    for (const QString& input : inputs) {
        std::string text;
        if (!read_input(input, text)) {
            std::fprintf(stderr, "ventora-report: cannot read %s\n", qPrintable(input));
            return ventora::book::exit_failure;
        }
        add_chapters(text, line_number, chapters);
    }
    return ventora::book::write_report(parsed.output, chapters, stderr, ::isatty(STDERR_FILENO) != 0);
}
