#include "app/progress_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane::app {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_label(new QLabel(this))
    , m_bar(new QProgressBar(this))
{
    setObjectName("frmProgress");
    m_label->setObjectName("lblProgress");
    m_bar->setObjectName("prbRdOrWt");
    m_bar->setRange(0, 600);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setMinimumWidth(380);
}

void ProgressWindow::setPrgValue(int value) { m_value = std::clamp(value, 0, 600); }

void ProgressWindow::prgChange() { m_bar->setValue(m_value); }

void ProgressWindow::setPrgCaption(const QString& caption)
{
    m_caption = caption.isEmpty() ? QStringLiteral("Korvane PC编程软件") : caption;
}

void ProgressWindow::showEvent(QShowEvent* event)
{
    m_label->setText(m_caption);
    QDialog::showEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // Only the operation closes its progress window; the user cannot.
    if (!m_closing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace korvane::app
