#pragma once
// The desktop's system-information tool, which the About box starts. Desktops ship different
// ones, so we look for the ones we know on the search path.

#include <QString>
#include <QStringList>

#include <functional>

namespace korvane::app {

// The program names tried, in order of preference.
QStringList knownSystemInfoTools();

// The full path of the first known tool found in searchPaths (empty: the PATH of the process),
// or an empty string when none is installed.
QString findSystemInfoTool(const QStringList& searchPaths = {});

// Starts the tool on its own, so it outlives the About box and the program. False when it
// could not be started.
bool startSystemInfoTool(const QString& program);

// How the About box finds and starts the tool; tests replace either part.
struct SystemInfoLauncher {
    std::function<QString()> find = [] { return findSystemInfoTool(); };
    std::function<bool(const QString&)> start = startSystemInfoTool;
};

} // namespace korvane::app
