// Windows: Qt's offscreen platform reads its faces from one folder, Qt's own lib/fonts (which
// ships none) unless QT_QPA_FONTDIR names another. The window tests ask for the system's folder,
// where the faces the windows name live, before the application starts.
#include <windows.h>

#include <QString>
#include <QtGlobal>

namespace {

const bool fonts_from_the_system = [] {
    if (qEnvironmentVariableIsSet("QT_QPA_FONTDIR")) return false;
    wchar_t dir[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(dir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    qputenv("QT_QPA_FONTDIR", QString::fromWCharArray(dir, int(length)).append(u"\\Fonts").toUtf8());
    return true;
}();

}  // namespace
