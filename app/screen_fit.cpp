#include "app/screen_fit.h"

#include <QScreen>
#include <QWidget>

namespace korvane::app {

void fitOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen())
        window.resize(window.size().boundedTo(screen->availableGeometry().size()));
}

} // namespace korvane::app
