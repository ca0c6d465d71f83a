#pragma once
// The toolbar's icons, drawn by the program itself.

#include <QIcon>
#include <QString>

namespace korvane::app {

// "Open", "Save", "Print", "Read" or "Write".
QIcon toolbarIcon(const QString& key);

} // namespace korvane::app
