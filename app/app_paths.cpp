#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The share folder as seen from the installed executable's folder; the build sets it from the
// install layout.
#ifndef KORVANE_DATA_FROM_BIN
#define KORVANE_DATA_FROM_BIN "../share/korvane"
#endif

namespace korvane::app {

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/korvane/korvane.ini";
}

QString dataDirectoryFor(const QString& exeDir, const QString& overridden)
{
    if (!overridden.isEmpty()) return overridden;
    const QDir dir(exeDir);
    // A build tree keeps a copy of the data folder beside the executable.
    const QString besideBuild = dir.filePath("data");
    if (QFileInfo::exists(besideBuild + "/qt.dat") || QFileInfo::exists(besideBuild + "/manual/index.html"))
        return besideBuild;
    return QDir::cleanPath(dir.filePath(QStringLiteral(KORVANE_DATA_FROM_BIN)));
}

QString dataDirectory()
{
    return dataDirectoryFor(QCoreApplication::applicationDirPath(), qEnvironmentVariable("KORVANE_DATA_DIR"));
}

QString manualDirectory() { return dataDirectory() + "/manual"; }

} // namespace korvane::app
