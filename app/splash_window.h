#pragma once
// The splash `frmSplash` shown while the main window loads.

#include <QWidget>

namespace korvane::app {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
};

} // namespace korvane::app
