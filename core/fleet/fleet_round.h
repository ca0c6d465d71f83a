#pragma once
// Programming one data file into many radios at once, one cable each: every radio gets exactly
// the exchange a single write makes (automatic backup, programming, the read-back check when
// asked), on its own thread with its own port and clock, so that one radio's trouble never
// holds up or disturbs another's.

#include "core/link/link_outcome.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane::fleet {

struct FleetRadioResult {
    link::LinkTarget target; // name ("COM2" or the path) and device
    link::LinkEnd end = link::LinkEnd::Failed;
    // The text of the message that ended the write; for a question answered No, the question.
    std::string outcomeText;
    // What happened, for the dialog's row and the log: "写频完成"; after a No, what was not done;
    // else the message that ended the write, its detail, and when the line failed while records
    // were going out, that the radio must be written again.
    std::vector<std::string> outcomeLines;
    bool olderRadio = false; // meaningful only when model is known
    std::string model; // the radio's model entry text, "" when not known
    bool verifyAsked = false;
    std::optional<bool> verified; // nullopt: verify not asked or not reached
    // verifyPassed()'s text, or the lines of what failed (a failed read-back's own message first).
    std::vector<std::string> verifyTexts;
    std::string backupFile; // "" when none was saved

    // Written, and verified when verify was asked.
    bool programmed() const;
};

using FleetBackup = std::function<std::string(const model::RadioImage& image)>;

struct FleetRoundHooks {
    // Each called on the port's own thread.
    std::function<std::unique_ptr<serial::SerialPort>(std::size_t index)> makePort;
    // Empty: a steady clock for every port.
    std::function<std::unique_ptr<util::Clock>(std::size_t index)> makeClock;
    std::function<link::LinkUi&(std::size_t index)> ui; // each port's own
    // Saves the automatic backup of the image about to be written; called from several threads
    // at once. The saved path or "" (a failed backup never stops the write).
    FleetBackup backup;
    // Optional: a radio's result as soon as it has ended, before the others have.
    std::function<void(std::size_t index, const FleetRadioResult& result)> ended;
};

// One radio, on the caller's thread: the backup, programming a copy of the image as a single
// write does, then the read-back check when asked.
FleetRadioResult programFleetRadio(const model::RadioImage& image, const link::LinkTarget& target, serial::SerialPort& port,
    util::Clock& clock, link::LinkUi& ui, bool verify, const FleetBackup& backup);

// Every target at once, one thread each; returns when all have ended, in the order of targets.
std::vector<FleetRadioResult> runFleetRound(
    const model::RadioImage& image, const std::vector<link::LinkTarget>& targets, bool verify, const FleetRoundHooks& hooks);

} // namespace korvane::fleet
