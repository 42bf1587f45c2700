// Not a test: starts as the program does, then opens every window and prints its peak resident
// set size, for scripts/measure-startup.sh. The splash shows and hands over to the main window,
// which opens the relief, valve and disc windows and About; `every_window book` opens the
// calculation book with its print preview as well. With `--grab DIR` last, it saves each window's
// picture there (splash.png, main.png, about.png and one for each window inside the main window,
// by its name) for comparing the look of two builds. With `--case FILE` before it, the case is
// opened instead of the three windows, as a double-click opens it, and "下一步" is pressed in the
// relief-rate window and then in the device window; the messages they showed are written, one a
// line, to DIR/messages.txt, and the relief-system window is opened on that route.
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
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include "about.h"
#include "case_actions.h"
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

// Presses a window's button by its name, as a person clicks it.
bool press(QMdiSubWindow* window, const char* name) {
    auto* button = window ? window->findChild<QPushButton*>(QLatin1String(name)) : nullptr;
    if (!button) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// Opens the case and presses "下一步" through its route; the messages shown, in order.
bool press_through(ventora::main_window& window, const QString& path, QStringList& shown) {
    const auto previous = ventora::set_message_sink(
        [&shown](QWidget*, const QString& text) { shown.append(text); });
    bool pressed = false;
    if (auto* keeper = ventora::app::keeper_of(window); keeper && keeper->open_file(path)) {
        pressed = press(window.relief_window(), "Command1");
        if (QMdiSubWindow* valve = window.valve_window())
            pressed = pressed && press(valve, "Command1");
        else
            pressed = pressed && press(window.disc_window(), "Command2");
    }
    ventora::set_message_sink(previous);
    return pressed;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool book = argc > 1 && std::strcmp(argv[1], "book") == 0;
    // The arguments as Windows hands them over (wide) and as Linux does: Qt's own list.
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const qsizetype grab_at = args.indexOf(QStringLiteral("--grab"));
    const QString grab_dir = grab_at > 0 ? args.value(grab_at + 1) : QString();
    const qsizetype case_at = args.indexOf(QStringLiteral("--case"));
    const QString case_path = case_at > 0 ? args.value(case_at + 1) : QString();
    const auto grab = [&grab_dir](QWidget* window, const char* name) {
        if (!grab_dir.isEmpty()) window->grab().save(grab_dir + QLatin1Char('/') + QLatin1String(name));
    };
    // The same start as the program's.
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

    if (case_path.isEmpty()) {
        window->show_relief_window();
        window->show_valve_window();
        window->show_disc_window();
    } else {
        // The case's route alone, pressed through: its windows, then the book it makes.
        QStringList shown;
        if (!press_through(*window, case_path, shown)) return 1;
        QFile messages(grab_dir + QStringLiteral("/messages.txt"));
        if (!messages.open(QIODevice::WriteOnly)) return 1;
        messages.write((shown.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        window->show_system_window();  // its route line names the valve just pressed
    }
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
