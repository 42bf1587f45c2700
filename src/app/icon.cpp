#include "icon.h"

namespace ventora::app {

QIcon program_icon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/ventora/hicolor/%1x%1/apps/ventora.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace ventora::app
