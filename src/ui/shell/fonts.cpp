#include "shell/fonts.h"

#include <QStringList>

namespace ventora {

QFont gb_font(const QString& face, double point_size, bool bold) {
    QFont font;
    // The named face, its common Latin-named twin, then CJK faces found on Linux desktops.
    QStringList families{face};
    // 宋体 sets Latin letters at half an em; the captions are fitted to that, so its stand-in is
    // the fixed-pitch CJK face.
    if (face == QStringLiteral("宋体"))
        families << QStringLiteral("SimSun") << QStringLiteral("NSimSun")
                 << QStringLiteral("WenQuanYi Micro Hei Mono");
    if (face == QStringLiteral("黑体")) families << QStringLiteral("SimHei");
    if (face == QStringLiteral("隶书")) families << QStringLiteral("LiSu");
    if (face == QStringLiteral("楷体_GB2312")) families << QStringLiteral("KaiTi_GB2312") << QStringLiteral("KaiTi");
    families << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("Noto Sans CJK SC")
             << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("AR PL UMing CN")
             << QStringLiteral("Droid Sans Fallback");
    font.setFamilies(families);
    font.setPointSizeF(point_size);
    font.setBold(bold);
    return font;
}

}  // namespace ventora
