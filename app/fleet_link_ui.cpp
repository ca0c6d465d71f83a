#include "app/fleet_link_ui.h"

#include "app/user_dialogs.h"

#include <QMetaObject>
#include <QThread>
#include <QWidget>

namespace korvane::app {

FleetLinkUi::FleetLinkUi(
    QWidget* owner, UserDialogs& dialogs, QString portName, FleetRowView view, std::mutex& questionTurn)
    : m_owner(owner)
    , m_dialogs(dialogs)
    , m_portName(std::move(portName))
    , m_view(std::move(view))
    , m_questionTurn(questionTurn)
{
}

void FleetLinkUi::post(std::function<void()> call)
{
    if (m_owner) QMetaObject::invokeMethod(m_owner, std::move(call), Qt::QueuedConnection);
}

void FleetLinkUi::showMessage(const util::Message& message)
{
    post([view = m_view, text = QString::fromStdString(message.text)] { view.message(text); });
}

bool FleetLinkUi::askYesNo(const util::Message& question)
{
    // The radios that ask at the same time wait their turn: one box at a time, each naming its port.
    const std::lock_guard turn(m_questionTurn);
    util::Message named = question;
    named.text = m_portName.toStdString() + ": " + question.text;
    bool yes = false;
    const auto ask = [&] { yes = m_dialogs.askYesNo(m_owner, named); };
    if (QThread::currentThread() == m_owner->thread())
        ask();
    else
        QMetaObject::invokeMethod(m_owner, ask, Qt::BlockingQueuedConnection);
    return yes;
}

void FleetLinkUi::progressOpen(const std::string& caption, const std::string&)
{
    post([view = m_view, phase = QString::fromStdString(caption)] {
        view.phase(phase);
        view.progress(0);
    });
}

void FleetLinkUi::progressValue(int value)
{
    post([view = m_view, value] { view.progress(value); });
}

} // namespace korvane::app
