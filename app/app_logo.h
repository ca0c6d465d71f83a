#pragma once
// The program's picture: a handheld radio sending, on a blue tile. The same drawing as the
// desktop icon, painted here because the window needs no SVG support for it.

#include <QIcon>
#include <QPixmap>

namespace korvane::app {

// ratio: device pixels per logical pixel of the screen it is shown on.
QPixmap appLogo(int size, qreal ratio = 1.0);
QIcon appIcon();

} // namespace korvane::app
