#pragma once
// The Help menu's commands: the manual at its contents or its keyword index in one reused help
// window, and the About box.

#include "app/system_info.h"
#include "app/user_dialogs.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace korvane::app {

class HelpWindow;

class HelpCommands : public QObject {
    Q_OBJECT
public:
    // owner is the main window: the help window and the About box belong to it.
    HelpCommands(QWidget& owner, UserDialogs& dialogs);

    void showContents(); // `mnuContent`
    void showIndex(); // `mnuIndex`
    void showAbout(); // `mnuAbout`

    // The help window once a help command has opened it.
    HelpWindow* helpWindow() const;
    // Where the About box looks for the system-information tool.
    void setSystemInfoLauncher(SystemInfoLauncher launcher) { m_launcher = std::move(launcher); }

private:
    void showPage(const QString& page);

    QWidget& m_owner;
    UserDialogs& m_dialogs;
    SystemInfoLauncher m_launcher;
    QPointer<HelpWindow> m_helpWindow;
};

} // namespace korvane::app
