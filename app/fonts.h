#pragma once
// Font names the program asks for that Linux does not know by themselves.

namespace korvane::app {

// Lets a Song-style (serif) CJK face stand in for "宋体" and "SimSun", so the printed report looks
// as intended and every Chinese text prints. Run once, after the application object exists.
void installFontSubstitutions();

// The window's own font, with faces that render Chinese cleanly behind the desktop's default.
void setInterfaceFont();

} // namespace korvane::app
