#include "app/about_dialog.h"

#include "app/app_logo.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef KORVANE_VERSION
#define KORVANE_VERSION ""
#endif

namespace korvane::app {

namespace {

const QString kTitle = QStringLiteral("Korvane PC编程软件");

util::Message noSystemInfoTool()
{
    return util::Message { "System Infomation cann't be used.", "System Info", util::MessageIcon::None, {} };
}

} // namespace

AboutDialog::AboutDialog(UserDialogs& dialogs, SystemInfoLauncher launcher, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_launcher(std::move(launcher))
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("关于 ") + kTitle);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(appLogo(64, devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_lblTitle = new QLabel(kTitle, this);
    m_lblTitle->setObjectName("lblTitle");
    QFont big = m_lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_lblTitle->setFont(big);

    auto* lblVersion = new QLabel(QStringLiteral("版本 ") + QStringLiteral(KORVANE_VERSION), this);
    lblVersion->setObjectName("lblVersion");

    m_lblDescription
        = new QLabel(QStringLiteral("MX-310/310S/320/320S/330/330S VHF/UHF无线对讲机  电脑编程软件"), this);
    m_lblDescription->setObjectName("lblDescription");
    m_lblDescription->setWordWrap(true);

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    m_cmdOK = new QPushButton(QStringLiteral("确定"), this);
    m_cmdOK->setObjectName("cmdOK");
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    m_cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    m_cmdSysInfo->setObjectName("cmdSysInfo");
    m_cmdSysInfo->setAutoDefault(false);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::startSysInfo);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(m_lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(6);
    texts->addWidget(m_lblDescription);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(top, 1);
    layout->addWidget(line);
    layout->addLayout(bottom);

    // The buttons share one width, wide enough for the longer caption.
    const int width = qMax(m_cmdOK->sizeHint().width(), m_cmdSysInfo->sizeHint().width()) + 12;
    m_cmdOK->setFixedWidth(width);
    m_cmdSysInfo->setFixedWidth(width);
    setMinimumWidth(520);
}

void AboutDialog::startSysInfo()
{
    const QString tool = m_launcher.find ? m_launcher.find() : QString();
    if (!tool.isEmpty() && m_launcher.start && m_launcher.start(tool)) return;
    m_dialogs.showMessage(this, noSystemInfoTool());
}

} // namespace korvane::app
