#include "app/password_dialog.h"

#include "app/input_rules.h"

#include <QHBoxLayout>
#include <QProxyStyle>
#include <QVBoxLayout>

namespace korvane::app {

namespace {

class StarStyle : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QStyle* passwordStarStyle(QObject* owner)
{
    auto* style = new StarStyle;
    style->setParent(owner);
    return style;
}

PasswordDialog::PasswordDialog(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_label1(new QLabel(QStringLiteral("请输入密码："), this))
    , m_txtPass(new QLineEdit(this))
    , m_cmdPassOK(new QPushButton(QStringLiteral("确定"), this))
    , m_cmdPassCancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName("frmPass");
    setWindowTitle(QStringLiteral("调整模式密码"));
    m_label1->setObjectName("Label1");
    m_txtPass->setObjectName("txtPass");
    m_txtPass->setEchoMode(QLineEdit::Password);
    m_txtPass->setMaxLength(kPasswordLength);
    m_txtPass->setStyle(passwordStarStyle(this));
    m_txtPass->setContextMenuPolicy(Qt::PreventContextMenu);
    m_cmdPassOK->setObjectName("cmdPassOK");
    m_cmdPassOK->setToolTip(QStringLiteral("按此键确定"));
    m_cmdPassOK->setDefault(true);
    m_cmdPassCancel->setObjectName("cmdPassCancel");
    m_cmdPassCancel->setToolTip(QStringLiteral("取消进入调整模式"));
    m_cmdPassCancel->setAutoDefault(false);
    connect(m_cmdPassOK, &QPushButton::clicked, this, &PasswordDialog::okClick);
    connect(m_cmdPassCancel, &QPushButton::clicked, this, &QDialog::reject);
    pressFocusedButtonOnEnter({ m_cmdPassOK, m_cmdPassCancel });

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_label1);
    entry->addWidget(m_txtPass, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdPassOK);
    buttons->addWidget(m_cmdPassCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    m_txtPass->setFocus(Qt::OtherFocusReason);
}

void PasswordDialog::okClick()
{
    if (m_txtPass->text() == m_pass) {
        m_cancelPressed = false;
        accept();
        return;
    }
    m_dialogs.showMessage(this, { "密码错误，请输入正确的密码！", "密码错误", util::MessageIcon::Exclamation, {} });
    m_txtPass->setFocus(Qt::OtherFocusReason);
    m_txtPass->selectAll();
    if (++m_wrongEntries >= kPasswordTries) reject();
}

} // namespace korvane::app
