#pragma once
// The program's picture: a handheld radio sending, on a blue tile. The same drawing as the
// desktop icon, painted here because the window needs no SVG support for it.

#include <QIcon>
#include <QPixmap>

namespace korvane::app {

QPixmap appLogo(int size);
QIcon appIcon();

} // namespace korvane::app
