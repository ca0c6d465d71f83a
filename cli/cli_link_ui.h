#pragma once
// The radio link's messages, questions and progress on a terminal. A message becomes one line
// (its detail a second one): the message that ends a failed operation goes to standard error,
// any other to standard error when it warns and to standard output otherwise. A question is
// answered Yes only when the user said so beforehand (--yes); otherwise it is printed and
// answered No.

#include "core/link/link_outcome.h"
#include "core/link/link_ui.h"

#include <optional>
#include <string>

namespace korvane::cli {

class CliLinkUi final : public link::LinkUi {
public:
    // showProgress: draw a progress line on standard error (only worth it on a terminal).
    CliLinkUi(bool answerYes, bool showProgress);

    void showMessage(const util::Message& message) override;
    bool askYesNo(const util::Message& question) override;
    void progressOpen(const std::string& caption, const std::string& label) override;
    void progressValue(int value) override;
    void progressClose() override;

    // Prints what is still held back, now that it is known how the operation ended, and
    // gives the exit status for that end.
    int finish(link::LinkEnd end);

private:
    void flushHeld();

    bool m_answerYes;
    bool m_showProgress;
    // The latest message: an error if the operation turns out to have failed with it.
    std::optional<util::Message> m_held;
    std::string m_progressLabel;
    int m_progressShown = -1;
};

} // namespace korvane::cli
