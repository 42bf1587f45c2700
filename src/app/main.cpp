#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ventora"));

    // Standard buttons and dialogs speak Chinese like our windows.
    QTranslator qt_zh;
    if (qt_zh.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_zh);

    ventora::main_window window;
    window.show();
    return QApplication::exec();
}
