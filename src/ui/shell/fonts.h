// The windows name GB2312 faces (宋体, 黑体, 隶书, 楷体_GB2312). They are asked for by name first,
// then an installed CJK face stands in, so Chinese never renders as boxes.
#pragma once

#include <QFont>
#include <QString>

namespace ventora {

QFont gb_font(const QString& face, double point_size, bool bold = false);

// 宋体 at the given size: the face most controls use.
inline QFont song_font(double point_size, bool bold = false) {
    return gb_font(QStringLiteral("宋体"), point_size, bold);
}

}  // namespace ventora
