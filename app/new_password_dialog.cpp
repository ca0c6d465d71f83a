#include "app/new_password_dialog.h"

#include "app/input_rules.h"
#include "app/password_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace korvane::app {

NewPasswordDialog::NewPasswordDialog(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_txtNewPass(new QLineEdit(this))
    , m_txtConPass(new QLineEdit(this))
    , m_cmdNewPassOK(new QPushButton(QStringLiteral("确定"), this))
    , m_cmdNewPassCancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName("frmNewPass");
    setWindowTitle(QStringLiteral("修改密码"));
    auto* label1 = new QLabel(QStringLiteral("新密码："), this);
    label1->setObjectName("Label1");
    auto* label2 = new QLabel(QStringLiteral("重复新密码："), this);
    label2->setObjectName("Label2");
    QStyle* stars = passwordStarStyle(this);
    for (QLineEdit* box : { m_txtNewPass, m_txtConPass }) {
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(kPasswordLength);
        box->setStyle(stars);
        box->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    m_txtNewPass->setObjectName("txtNewPass");
    m_txtConPass->setObjectName("txtConPass");
    m_cmdNewPassOK->setObjectName("cmdNewPassOK");
    m_cmdNewPassOK->setToolTip(QStringLiteral("按此键确认修改"));
    m_cmdNewPassCancel->setObjectName("cmdNewPassCancel");
    m_cmdNewPassCancel->setToolTip(QStringLiteral("取消修改密码"));
    // Enter in the boxes moves on from the first and confirms from the second; on a button it
    // presses that button. Neither button confirms by default.
    m_cmdNewPassOK->setAutoDefault(false);
    m_cmdNewPassCancel->setAutoDefault(false);
    pressFocusedButtonOnEnter({ m_cmdNewPassOK, m_cmdNewPassCancel });
    connect(m_txtNewPass, &QLineEdit::returnPressed, this, [this] {
        m_txtConPass->setFocus(Qt::OtherFocusReason);
        m_txtConPass->selectAll();
    });
    connect(m_txtConPass, &QLineEdit::returnPressed, this, &NewPasswordDialog::okClick);
    connect(m_cmdNewPassOK, &QPushButton::clicked, this, &NewPasswordDialog::okClick);
    connect(m_cmdNewPassCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* boxes = new QGridLayout;
    boxes->addWidget(label1, 0, 0);
    boxes->addWidget(m_txtNewPass, 0, 1);
    boxes->addWidget(label2, 1, 0);
    boxes->addWidget(m_txtConPass, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdNewPassOK);
    buttons->addWidget(m_cmdNewPassCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    m_txtNewPass->setFocus(Qt::OtherFocusReason);
}

void NewPasswordDialog::okClick()
{
    if (m_txtNewPass->text() != m_txtConPass->text()) {
        m_dialogs.showMessage(
            this, { "错误，请重复输入一致的新密码！", "新密码错误", util::MessageIcon::Exclamation, {} });
        m_txtConPass->selectAll();
        if (++m_failures >= kPasswordTries) reject();
        return;
    }
    m_cancelPressed = false;
    m_pass = m_txtConPass->text();
    accept();
}

} // namespace korvane::app
