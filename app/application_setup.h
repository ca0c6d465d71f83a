#pragma once
// What the window program sets up once, before its first window: names, icon, fonts and the
// Chinese texts of Qt's own buttons and dialogs.

namespace korvane::app {

// Run once, after the application object exists.
void setUpApplication();

// Qt's own texts (OK, Yes, the file and print dialogs) in Chinese, as the rest of the program is.
// False when the system has no Chinese translation of them; they then stay English.
bool loadQtChineseTexts();

} // namespace korvane::app
