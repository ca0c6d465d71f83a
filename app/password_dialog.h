#pragma once
// The alignment-mode password `frmPass`: the typed text must match the stored password exactly;
// three wrong entries in one showing close it as cancelled.

#include "app/user_dialogs.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class QStyle;

namespace korvane::app {

// Longest password the boxes take.
inline constexpr int kPasswordLength = 10;
inline constexpr int kPasswordTries = 3;

// Password boxes show every character as "*".
QStyle* passwordStarStyle(QObject* owner);

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(UserDialogs& dialogs, QWidget* parent = nullptr);

    QString pass() const { return m_pass; }
    void setPass(const QString& pass) { m_pass = pass; }
    // True unless the right password was entered.
    bool cancelPressed() const { return m_cancelPressed; }

    QLineEdit* txtPass() const { return m_txtPass; }
    QPushButton* cmdPassOK() const { return m_cmdPassOK; }
    QPushButton* cmdPassCancel() const { return m_cmdPassCancel; }

private:
    void okClick();

    UserDialogs& m_dialogs;
    QLabel* m_label1;
    QLineEdit* m_txtPass;
    QPushButton* m_cmdPassOK;
    QPushButton* m_cmdPassCancel;
    QString m_pass;
    bool m_cancelPressed = true;
    int m_wrongEntries = 0;
};

} // namespace korvane::app
