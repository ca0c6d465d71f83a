#include "app/held_messages.h"

#include <utility>

namespace korvane::app {

HeldMessages::HeldMessages(link::LinkUi& ui, std::function<bool(const util::Message&)> hold)
    : m_ui(ui)
    , m_hold(std::move(hold))
{
}

void HeldMessages::showMessage(const util::Message& message)
{
    if (m_hold(message))
        m_held.push_back(message);
    else
        m_ui.showMessage(message);
}

} // namespace korvane::app
