#include "app/fonts.h"

#include <QFont>
#include <QStringList>

namespace korvane::app {

void installFontSubstitutions()
{
    const QStringList song { "AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC" };
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
}

} // namespace korvane::app
