#pragma once
// Changing the alignment-mode password `frmNewPass`: the new password typed twice, the same both
// times; three mismatches close it without a change. Being in alignment mode is proof enough, so
// the old password is not asked.

#include "app/user_dialogs.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::app {

class NewPasswordDialog : public QDialog {
    Q_OBJECT
public:
    NewPasswordDialog(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The new password once a change was confirmed.
    QString pass() const { return m_pass; }
    bool cancelPressed() const { return m_cancelPressed; }

    QLineEdit* txtNewPass() const { return m_txtNewPass; }
    QLineEdit* txtConPass() const { return m_txtConPass; }
    QPushButton* cmdNewPassOK() const { return m_cmdNewPassOK; }
    QPushButton* cmdNewPassCancel() const { return m_cmdNewPassCancel; }

private:
    void okClick();

    UserDialogs& m_dialogs;
    QLineEdit* m_txtNewPass;
    QLineEdit* m_txtConPass;
    QPushButton* m_cmdNewPassOK;
    QPushButton* m_cmdNewPassCancel;
    QString m_pass;
    bool m_cancelPressed = true;
    int m_failures = 0;
};

} // namespace korvane::app
