#pragma once
// Reading the radio: its channels, settings, parameters and model, into a copy of the image.
// The caller's image is never touched; it takes the outcome's image on success.

#include "core/link/link_outcome.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"

#include <chrono>
#include <optional>

namespace korvane::link {

// The radio needs about 1.2 s (older) or 2 s (newer) for its read-out at 9600 baud; we look
// this often, and give up after this many looks.
inline constexpr util::Clock::Duration kReadoutPollInterval = std::chrono::milliseconds(50);
inline constexpr int kReadoutPolls = 55;
inline constexpr int kReadoutProgressStep = 11;
// Between two looks the count of bytes waiting is watched this often.
inline constexpr util::Clock::Duration kStreamWatchStep = std::chrono::milliseconds(2);

struct ReadOutcome {
    LinkEnd end = LinkEnd::Failed;
    // On success the radio's data over the caller's image (the alignment test channels reloaded
    // when the model changed; bytes the radio does not send kept); otherwise the caller's image.
    model::RadioImage image;
    // The data last exchanged use the 5 kHz form; set on success only.
    std::optional<bool> fiveKhzForm;
    bool olderRadio = false;
    bool modelChanged = false;

    bool success() const { return end == LinkEnd::Success; }
};

ReadOutcome readRadio(
    const model::RadioImage& current, const LinkTarget& target, serial::SerialPort& port, util::Clock& clock, LinkUi& ui);

} // namespace korvane::link
