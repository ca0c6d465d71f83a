#include "core/fleet/fleet_round.h"

#include "core/link/link_messages.h"
#include "core/link/programming.h"
#include "core/link/verify_readback.h"
#include "core/model/models.h"
#include "core/util/steady_clock.h"

#include <exception>
#include <thread>

namespace korvane::fleet {

namespace {

// A write that stopped once records were going out leaves the radio with some of them.
constexpr const char* kPartlyWritten = "对讲机中的数据可能只写入了一部分，请重新写频。";

// Passes everything on to the port's own user, remembering the message and the declined
// question that ended the exchange, and whether records had begun to go out.
class OutcomeRecorder final : public link::LinkUi {
public:
    explicit OutcomeRecorder(link::LinkUi& inner)
        : m_inner(inner)
    {
    }

    void showMessage(const util::Message& message) override
    {
        m_lastMessage = message;
        m_inner.showMessage(message);
    }
    bool askYesNo(const util::Message& question) override
    {
        const bool yes = m_inner.askYesNo(question);
        if (!yes) m_declined = question;
        return yes;
    }
    void progressOpen(const std::string& caption, const std::string& label) override
    {
        m_writing = m_writing || caption == link::kWriteCaption;
        m_inner.progressOpen(caption, label);
    }
    void progressValue(int value) override { m_inner.progressValue(value); }
    void progressClose() override { m_inner.progressClose(); }
    void channelsRounded(const std::vector<link::ChannelSide>& sides) override { m_inner.channelsRounded(sides); }

    // What ended an exchange that ended as `end`; starts over for the next one.
    util::Message takeEnd(link::LinkEnd end)
    {
        std::optional<util::Message> ending = end == link::LinkEnd::Declined ? m_declined : m_lastMessage;
        m_lastMessage.reset();
        m_declined.reset();
        return ending.value_or(util::Message {});
    }
    bool writing() const { return m_writing; }

private:
    link::LinkUi& m_inner;
    std::optional<util::Message> m_lastMessage;
    std::optional<util::Message> m_declined;
    bool m_writing = false;
};

std::vector<std::string> outcomeLines(link::LinkEnd end, const util::Message& ending, bool writing)
{
    if (end == link::LinkEnd::Success) return { "写频完成" };
    if (end == link::LinkEnd::Declined)
        return { ending == link::roundingQuestion() ? "未写入：没有同意将2.5kHz步进的频率转换为5.0kHz步进。"
                                              : "未写入：机型不符，没有同意强制写入。" };
    std::vector<std::string> lines { ending.text };
    if (!ending.detail.empty()) lines.push_back(ending.detail);
    // A radio that answered the records with anything but its OK was told so by the message itself.
    if (writing && ending != link::writeError()) lines.push_back(kPartlyWritten);
    return lines;
}

FleetRadioResult runOne(const model::RadioImage& image, const link::LinkTarget& target, std::size_t index, bool verify,
    const FleetRoundHooks& hooks)
{
    try {
        const std::unique_ptr<serial::SerialPort> port = hooks.makePort(index);
        const std::unique_ptr<util::Clock> clock = hooks.makeClock ? hooks.makeClock(index) : std::make_unique<util::SteadyClock>();
        return programFleetRadio(image, target, *port, *clock, hooks.ui(index), verify, hooks.backup);
    } catch (const std::exception& e) {
        // Only a machine out of memory or threads gets here; the other radios go on.
        FleetRadioResult failed;
        failed.target = target;
        failed.verifyAsked = verify;
        failed.outcomeText = e.what();
        failed.outcomeLines = { e.what() };
        return failed;
    }
}

} // namespace

bool FleetRadioResult::programmed() const { return end == link::LinkEnd::Success && (!verifyAsked || verified == true); }

FleetRadioResult programFleetRadio(const model::RadioImage& image, const link::LinkTarget& target, serial::SerialPort& port,
    util::Clock& clock, link::LinkUi& ui, bool verify, const FleetBackup& backup)
{
    FleetRadioResult result;
    result.target = target;
    result.verifyAsked = verify;
    // The image as given: for an older radio it may yet be rounded onto the 5 kHz grid.
    if (backup) result.backupFile = backup(image);

    model::RadioImage written = image;
    OutcomeRecorder recorder(ui);
    const link::ProgramOutcome outcome = link::programRadio(written, target, port, clock, recorder);
    result.end = outcome.end;
    const util::Message ending = recorder.takeEnd(outcome.end);
    result.outcomeText = ending.text;
    result.outcomeLines = outcomeLines(outcome.end, ending, recorder.writing());
    result.olderRadio = outcome.radioGeneration == link::Generation::Older;
    result.model = std::string(model::modelEntry(outcome.radioModel).value_or(""));
    if (!outcome.success() || !verify) return result;

    const link::ReadBackCheck check = link::checkReadBack(
        written, outcome.olderRadio ? link::Generation::Older : link::Generation::Newer, target, port, clock, recorder);
    const std::string readText = recorder.takeEnd(check.readEnd).text;
    if (check.readEnd != link::LinkEnd::Success && !readText.empty()) result.verifyTexts.push_back(readText);
    for (const util::Message& finding : check.findings)
        result.verifyTexts.push_back(finding.text);
    result.verified = check.passed;
    return result;
}

std::vector<FleetRadioResult> runFleetRound(
    const model::RadioImage& image, const std::vector<link::LinkTarget>& targets, bool verify, const FleetRoundHooks& hooks)
{
    std::vector<FleetRadioResult> results(targets.size());
    auto work = [&](std::size_t index) {
        results[index] = runOne(image, targets[index], index, verify, hooks);
        if (hooks.ended) hooks.ended(index, results[index]);
    };
    std::vector<std::thread> threads;
    threads.reserve(targets.size());
    for (std::size_t index = 0; index < targets.size(); ++index) {
        try {
            threads.emplace_back(work, index);
        } catch (const std::system_error&) {
            // No thread to be had: this radio waits its turn rather than going without.
            work(index);
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    return results;
}

} // namespace korvane::fleet
