// Writes a book of N sample routes (the worked valve route, with a refused route and a line in
// error every tenth) and prints how long it took: for scripts/measure-book.sh and for looking at
// the pages. Usage: write_sample_book BOOK.pdf|.odt|.html [N]
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "book/book.h"
#include "book_samples.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: write_sample_book BOOK [N]\n");
        return 2;
    }
    const long n = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
    std::vector<ventora::book::chapter> chapters;
    for (long i = 1; i <= n; ++i) {
        const auto line = static_cast<std::uint64_t>(i);
        if (n > 1 && i % 10 == 3)
            chapters.push_back(ventora::book::samples::refused_route(line));
        else if (n > 1 && i % 10 == 7)
            chapters.push_back(ventora::book::samples::error_line(line, "unknown field \"x\""));
        else
            chapters.push_back(ventora::book::samples::valve_route(i % 10 != 9, n > 1 ? line : 0));
    }
    const auto start = std::chrono::steady_clock::now();
    const QString failure = ventora::book::write_book(QString::fromLocal8Bit(argv[1]), chapters);
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        return 2;
    }
    std::printf("%ld routes: %.1f ms\n", n, ms);
    return 0;
}
