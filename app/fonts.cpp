#include "app/fonts.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace korvane::app {

void installFontSubstitutions()
{
    const QStringList song { "AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC" };
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
}

void setInterfaceFont()
{
    QFont ui = QApplication::font();
    ui.setFamilies({ ui.family(), "WenQuanYi Micro Hei", "Noto Sans CJK SC" });
    QApplication::setFont(ui);
}

} // namespace korvane::app
