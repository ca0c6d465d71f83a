#pragma once
// Hiding a frame throws the keyboard focus out of it. The window hides its channel frame only
// while it repaints it, so the focus has to come back to the control that had it.

class QWidget;

namespace korvane::app {

// Each time `frame` shows again, the control inside it that had the focus when it was hidden
// gets it back (its nearest ancestor that can take it, if that control has closed meanwhile).
void keepFocusAcrossHiding(QWidget* frame);

} // namespace korvane::app
