#include "app/port_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane::app {

PortDialog::PortDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmOption1");
    setWindowTitle(QStringLiteral("通讯端口选择"));
    auto* frame = new QGroupBox(QStringLiteral("端口选择"), this);
    frame->setObjectName("fraCOMoption");
    auto* options = new QHBoxLayout(frame);
    for (int port = 1; port <= 4; ++port) {
        auto* button = new QRadioButton("COM" + QString::number(port), frame);
        button->setObjectName("optCOMM");
        button->setProperty("index", port);
        button->setEnabled(false);
        options->addWidget(button);
        m_options[port - 1] = button;
        connect(button, &QRadioButton::clicked, this, [this, port, button] {
            if (button->isChecked())
                m_comi = port;
        });
    }
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName("cmdOK");
    ok->setToolTip(QStringLiteral("按此键保存改变"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("cmdCancel");
    cancel->setToolTip(QStringLiteral("按此键取消改变"));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_cancelPressed = false;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
}

void PortDialog::setComi(int port) { m_comi = std::clamp(port, 1, 4); }

void PortDialog::setXComi(int count) { m_xcomi = std::clamp(count, 1, 4); }

void PortDialog::showEvent(QShowEvent* event)
{
    m_cancelPressed = true;
    m_options[m_comi - 1]->setChecked(true);
    for (int port = 1; port <= 4; ++port)
        m_options[port - 1]->setEnabled(port <= m_xcomi);
    QDialog::showEvent(event);
}

} // namespace korvane::app
