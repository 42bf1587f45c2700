#include <memory>

#include <QApplication>

#include "case_actions.h"
#include "icon.h"
#include "main_window.h"
#include "shell/message.h"
#include "splash.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventora"));
    // No display name: under X11 Qt would append it to every title ("关于 Ventora程序 — Ventora").
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvalent.ventora"));
    QApplication::setWindowIcon(ventora::app::program_icon());

    // Standard buttons and dialogs speak Chinese like our windows.
    ventora::install_qt_translations();

    // The splash comes first; the main window is built, loaded and shown when it closes.
    std::unique_ptr<ventora::main_window> window;
    ventora::app::splash_screen* splash = ventora::app::start_with_splash(window);
    // `ventora case.ventora` (a double-click in the file manager).
    if (const QString path = QApplication::arguments().value(1); !path.isEmpty())
        ventora::app::open_case_after_splash(splash, window, path);
    const int status = QApplication::exec();
    window.reset();
    return status;
}
