#pragma once
// Where the program keeps its settings and finds the files it only reads.

#include <QString>

namespace korvane::app {

// $XDG_CONFIG_HOME/korvane/korvane.ini (~/.config/korvane/ by default); the folder is created
// when the file is written.
QString settingsFilePath();

// The folder holding the tone lists and the manual: the build tree's data folder beside the
// executable, else the installed share folder. KORVANE_DATA_DIR overrides both (tests).
QString dataDirectory();

// The same choice for an executable in exeDir; a non-empty override wins.
QString dataDirectoryFor(const QString& exeDir, const QString& overridden);

// The HTML manual inside the data folder.
QString manualDirectory();

} // namespace korvane::app
