#pragma once
// A window no larger than its screen's free area: on a small screen at a large scale, a window
// of its designed size would hide its lower edge (status bar, buttons) past the screen's edge.

class QWidget;

namespace korvane::app {

void fitOnScreen(QWidget& window);

} // namespace korvane::app
