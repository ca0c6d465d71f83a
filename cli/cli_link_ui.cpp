#include "cli/cli_link_ui.h"

#include "cli/exit_codes.h"
#include "cli/output.h"

#include <iostream>

namespace korvane::cli {

namespace {

void printByIcon(const util::Message& message)
{
    if (message.icon == util::MessageIcon::Exclamation)
        printError(message);
    else
        printNotice(message);
}

} // namespace

CliLinkUi::CliLinkUi(bool answerYes, bool showProgress)
    : m_answerYes(answerYes)
    , m_showProgress(showProgress)
{
}

void CliLinkUi::showMessage(const util::Message& message)
{
    flushHeld();
    m_held = message;
}

bool CliLinkUi::askYesNo(const util::Message& question)
{
    flushHeld();
    if (m_answerYes) return true;
    // Nobody is there to answer: say what would have been asked, and take it as No.
    printError(question);
    return false;
}

void CliLinkUi::progressOpen(const std::string& caption, const std::string& label)
{
    flushHeld();
    if (!m_showProgress) return;
    m_progressLabel = caption + ": " + label;
    m_progressShown = -1;
    progressValue(0);
}

void CliLinkUi::progressValue(int value)
{
    if (!m_showProgress) return;
    const int percent = value * 100 / link::kProgressMaximum;
    if (percent == m_progressShown) return;
    m_progressShown = percent;
    std::cerr << '\r' << m_progressLabel << ' ' << percent << '%' << std::flush;
}

void CliLinkUi::progressClose()
{
    if (!m_showProgress || m_progressShown < 0) return;
    std::cerr << '\n' << std::flush;
    m_progressShown = -1;
}

int CliLinkUi::finish(link::LinkEnd end)
{
    if (m_held) {
        if (end == link::LinkEnd::Failed)
            printError(*m_held);
        else
            printByIcon(*m_held);
        m_held.reset();
    }
    switch (end) {
    case link::LinkEnd::Success:
        return kExitDone;
    case link::LinkEnd::Declined:
        return kExitQuestion;
    case link::LinkEnd::Failed:
    case link::LinkEnd::Refused:
        break;
    }
    return kExitFailed;
}

void CliLinkUi::flushHeld()
{
    if (m_held) printByIcon(*m_held);
    m_held.reset();
}

} // namespace korvane::cli
