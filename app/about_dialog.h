#pragma once
// The About box `frmAbout`: the program's title and description, OK, and a button that starts
// the desktop's system-information tool.

#include "app/system_info.h"
#include "app/user_dialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvane::app {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(UserDialogs& dialogs, SystemInfoLauncher launcher = {}, QWidget* parent = nullptr);

    QLabel* titleLabel() const { return m_lblTitle; }
    QLabel* descriptionLabel() const { return m_lblDescription; }
    QPushButton* okButton() const { return m_cmdOK; }
    QPushButton* sysInfoButton() const { return m_cmdSysInfo; }

    // `cmdSysInfo`: starts the tool, or says that there is none.
    void startSysInfo();

private:
    UserDialogs& m_dialogs;
    SystemInfoLauncher m_launcher;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblDescription = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
};

} // namespace korvane::app
