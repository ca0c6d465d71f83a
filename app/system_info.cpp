#include "app/system_info.h"

#include <QProcess>
#include <QStandardPaths>

namespace korvane::app {

QStringList knownSystemInfoTools()
{
    // KDE's info centre, the GTK hardware browsers, then the about boxes of Xfce and MATE that
    // list the machine's hardware.
    return { "kinfocenter", "hardinfo2", "hardinfo", "lshw-gtk", "cpu-x", "xfce4-about", "mate-system-monitor" };
}

QString findSystemInfoTool(const QStringList& searchPaths)
{
    for (const QString& name : knownSystemInfoTools()) {
        const QString found = QStandardPaths::findExecutable(name, searchPaths);
        if (!found.isEmpty()) return found;
    }
    return {};
}

bool startSystemInfoTool(const QString& program) { return !program.isEmpty() && QProcess::startDetached(program, {}); }

} // namespace korvane::app
