// Not a test: starts as the program does, then opens every window and prints its peak resident
// set size, for scripts/measure-startup.sh. The splash shows and hands over to the main window,
// which opens the relief, valve and disc windows and About; `every_window book` opens the
// calculation book with its print preview as well. With `--grab DIR` last, it saves each window's
// picture there (splash.png, main.png, about.png and one for each window inside the main window,
// by its name) for comparing the look of two builds.
// Prints one line: maxrss_kb=...
#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>

#include "about.h"
#include "icon.h"
#include "main_window.h"
#include "shell/message.h"
#include "splash.h"

namespace {

// Shown and drawn: exposed, then the paint events that follow have run.
bool drawn(QWidget* window) {
    if (!QTest::qWaitForWindowExposed(window)) return false;
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool book = argc > 1 && std::strcmp(argv[1], "book") == 0;
    const QString grab_dir =
        argc > 2 && std::strcmp(argv[argc - 2], "--grab") == 0 ? QString::fromLocal8Bit(argv[argc - 1]) : QString();
    const auto grab = [&grab_dir](QWidget* window, const char* name) {
        if (!grab_dir.isEmpty()) window->grab().save(grab_dir + QLatin1Char('/') + QLatin1String(name));
    };
    // The same start as the program's.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvalent.ventora"));
    QApplication::setWindowIcon(ventora::app::program_icon());
    ventora::install_qt_translations();

    std::unique_ptr<ventora::main_window> window;
    ventora::app::splash_screen* splash = ventora::app::start_with_splash(window);
    if (!drawn(splash)) return 1;
    grab(splash, "splash.png");
    splash->close();
    if (!window || !drawn(window.get())) return 1;

    window->show_relief_window();
    window->show_valve_window();
    window->show_disc_window();
    if (book) window->show_book_window();
    if (!drawn(window.get())) return 1;
    ventora::app::show_about(window.get());
    auto* about = window->findChild<ventora::app::about_dialog*>();
    if (!about || !drawn(about)) return 1;
    grab(window.get(), "main.png");
    for (QMdiSubWindow* each : window->findChildren<QMdiSubWindow*>())
        grab(each, qPrintable(each->objectName() + QStringLiteral(".png")));
    grab(about, "about.png");

#ifdef _WIN32
    // Windows: the peak working set.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    std::printf("maxrss_kb=%ld\n", static_cast<long>(counters.PeakWorkingSetSize / 1024));
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("maxrss_kb=%ld\n", usage.ru_maxrss);
#endif
    window.reset();
    return 0;
}
