// The user's settings: the book's title block, the last folder of case files. The only things the
// program remembers between runs.
#pragma once

#include <QSettings>

namespace ventora {

inline QSettings user_settings() { return QSettings(QStringLiteral("Corvalent"), QStringLiteral("ventora")); }

}  // namespace ventora
