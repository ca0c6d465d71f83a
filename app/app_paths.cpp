#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvane::app {

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/korvane/korvane.ini";
}

QString dataDirectory()
{
    const QByteArray overridden = qgetenv("KORVANE_DATA_DIR");
    if (!overridden.isEmpty())
        return QString::fromLocal8Bit(overridden);
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString besideBuild = exeDir.filePath("data");
    if (QFileInfo(besideBuild + "/qt.dat").exists())
        return besideBuild;
    return QDir::cleanPath(exeDir.filePath("../share/korvane"));
}

} // namespace korvane::app
