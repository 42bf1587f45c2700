#include "icon.h"

#include <array>

#include <QGuiApplication>

namespace ventora::app {
namespace {

constexpr std::array drawn_sizes{16, 32, 48, 64, 128, 256};

QString drawing(int size) {
    return QStringLiteral(":/ventora/hicolor/%1x%1/apps/ventora.png").arg(size);
}

}  // namespace

QIcon program_icon() {
    QIcon icon;
    // QIcon reads a file as soon as it is added.
    for (const int size : {16, 32, 48}) icon.addFile(drawing(size), QSize(size, size));
    return icon;
}

QPixmap program_pixmap(QSize size) {
    // The drawing an icon of all six would pick: the least area covering the request in device
    // pixels, else the largest.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const qreal wanted = size.width() * ratio * size.height() * ratio;
    int chosen = drawn_sizes.back();
    for (const int each : drawn_sizes) {
        if (qreal(each) * each >= wanted) {
            chosen = each;
            break;
        }
    }
    QIcon icon;
    icon.addFile(drawing(chosen), QSize(chosen, chosen));
    return icon.pixmap(size);
}

}  // namespace ventora::app
