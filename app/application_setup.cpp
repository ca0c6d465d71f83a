#include "app/application_setup.h"

#include "app/app_logo.h"
#include "app/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvane::app {

void setUpApplication()
{
    // No display name: the platform would append it to every title, and each window's caption
    // and each box's title is exactly the text the program gives.
    QApplication::setApplicationName("korvane");
    // The desktop pairs the windows with korvane.desktop and its icon.
    QApplication::setDesktopFileName("korvane");
    QApplication::setWindowIcon(appIcon());
    installFontSubstitutions();
    setInterfaceFont();
    loadQtChineseTexts();
}

bool loadQtChineseTexts()
{
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

} // namespace korvane::app
