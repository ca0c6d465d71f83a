#pragma once
// Programming the radio with the image. The image changes only when an older radio is
// programmed and the user agreed to move 2.5 kHz channels onto the 5 kHz grid; both questions
// are answered before that happens, and every record is built before the first one is sent.

#include "core/link/five_khz_rounding.h"
#include "core/link/generation.h"
#include "core/link/link_outcome.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"

#include <chrono>
#include <optional>
#include <vector>

namespace korvane::link {

// The radio stores each record before it can take the next.
inline constexpr util::Clock::Duration kPreDataPause = std::chrono::milliseconds(100);
inline constexpr util::Clock::Duration kRecordPause = std::chrono::milliseconds(100);
inline constexpr util::Clock::Duration kCompletionPause = std::chrono::milliseconds(150);
inline constexpr int kNewerProgressStep = 10;
inline constexpr int kOlderProgressStep = 17;

struct ProgramOutcome {
    LinkEnd end = LinkEnd::Failed;
    // Sides moved onto the 5 kHz grid in the image: the cells to repaint.
    std::vector<ChannelSide> roundedSides;
    // The data last exchanged use the 5 kHz form; set once every record was sent.
    std::optional<bool> fiveKhzForm;
    bool olderRadio = false;
    // What the radio said it is, once its handshake answer made sense (kept when a question
    // then stops the write): its model index (-1 unknown) and generation.
    int radioModel = -1;
    std::optional<Generation> radioGeneration;

    bool success() const { return end == LinkEnd::Success; }
};

ProgramOutcome programRadio(
    model::RadioImage& image, const LinkTarget& target, serial::SerialPort& port, util::Clock& clock, LinkUi& ui);

} // namespace korvane::link
