#pragma once
// One radio's link messages during a fleet round, on a terminal shared with the other radios:
// no progress line and no messages of its own (each radio's outcome is reported when the round
// ends); a question is answered Yes only with --yes, otherwise printed on standard error after
// the port's name ("COM2: ...") and answered No. Lines from different radios never mix: every
// radio prints under the same lock.

#include "core/link/link_target.h"
#include "core/link/link_ui.h"

#include <mutex>

namespace korvane::cli {

class FleetPortUi final : public link::LinkUi {
public:
    FleetPortUi(const link::LinkTarget& target, bool answerYes, std::mutex& output);

    void showMessage(const util::Message& message) override;
    bool askYesNo(const util::Message& question) override;
    void progressOpen(const std::string& caption, const std::string& label) override;
    void progressValue(int value) override;
    void progressClose() override;

private:
    std::string m_port;
    bool m_answerYes;
    std::mutex& m_output;
};

} // namespace korvane::cli
