#pragma once
// Shows a file or folder with the desktop's own program for it, and tells the caller when the
// desktop has none (it says so only on standard error, where nobody looks).

#include <QString>

#include <functional>

class QObject;

namespace korvane::app {

// `failed` runs on the window's thread once the desktop's opener gave up or could not be started;
// nothing runs when `owner` is gone by then.
void openWithDesktop(QObject* owner, const QString& path, std::function<void()> failed = {});

} // namespace korvane::app
