#include "shell/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace ventora {
namespace {

// The named face, its common Latin-named twin, then CJK faces found on Linux desktops.
QStringList candidate_families(const QString& face) {
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
    return families;
}

}  // namespace

QStringList installed_families(const QStringList& candidates, const QStringList& installed) {
    if (candidates.isEmpty()) return candidates;
    QSet<QString> present;
    for (const QString& family : installed) present.insert(family.toCaseFolded());
    // The face the windows name stays first, installed or not.
    QStringList kept{candidates.first()};
    for (qsizetype i = 1; i < candidates.size(); ++i)
        if (present.contains(candidates[i].toCaseFolded())) kept << candidates[i];
    // No stand-in installed: the whole list, for the font system's own choice.
    return kept.size() > 1 ? kept : candidates;
}

QFont gb_font(const QString& face, double point_size, bool bold) {
    QFont font;
    // The named face, then only the installed stand-ins, looked up once per face: each name the
    // font system does not have costs it a search for stand-ins, for every size and weight.
    static QHash<QString, QStringList> resolved;
    QStringList families;
    if (const auto found = resolved.constFind(face); found != resolved.constEnd()) {
        families = *found;
    } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        families = installed_families(candidate_families(face), QFontDatabase::families());
        resolved.insert(face, families);
    } else {
        families = candidate_families(face);
    }
    font.setFamilies(families);
    font.setPointSizeF(point_size);
    font.setBold(bold);
    return font;
}

}  // namespace ventora
