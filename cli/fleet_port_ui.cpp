#include "cli/fleet_port_ui.h"

#include <iostream>

namespace korvane::cli {

FleetPortUi::FleetPortUi(const link::LinkTarget& target, bool answerYes, std::mutex& output)
    : m_port(target.name)
    , m_answerYes(answerYes)
    , m_output(output)
{
}

void FleetPortUi::showMessage(const util::Message& message) { (void)message; }

bool FleetPortUi::askYesNo(const util::Message& question)
{
    if (m_answerYes) return true;
    // Nobody is there to answer: say what would have been asked, and take it as No.
    const std::lock_guard lock(m_output);
    std::cerr << m_port << ": " << question.text << '\n' << std::flush;
    return false;
}

void FleetPortUi::progressOpen(const std::string& caption, const std::string& label)
{
    (void)caption;
    (void)label;
}

void FleetPortUi::progressValue(int value) { (void)value; }

void FleetPortUi::progressClose() { }

} // namespace korvane::cli
