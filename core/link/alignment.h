#pragma once
// One item adjustment on the radio: the start (item command, the radio's model code and current
// value, and a first packet with that value), value changes, and the end with "END" (keep) or
// "CANCEL" (restore). The port stays open from a successful start to the end, across the user's
// actions; the session owns it meanwhile. Changes and ends tell the user nothing: a failing step
// is skipped and the next one runs.

#include "core/link/adjust_packet.h"
#include "core/link/heard_reply.h"
#include "core/link/link_outcome.h"
#include "core/link/link_steps.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"
#include "core/util/message.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace korvane::link {

// The radio answers an item command within this time, and takes this long over a packet or an
// end before it listens again.
inline constexpr util::Clock::Duration kItemReplyPause = std::chrono::milliseconds(200);
inline constexpr util::Clock::Duration kAdjustPause = std::chrono::milliseconds(250);
inline constexpr util::Clock::Duration kEndPause = std::chrono::milliseconds(250);

// The shortest start reply: model code and value.
inline constexpr std::size_t kItemReplyMinimum = 2;
inline constexpr std::uint8_t kLongReplyMarker = 0x01;
// A newer radio's start reply: model code, the marker and the value.
inline constexpr AnswerShape kItemAnswer { kItemReplyMinimum, kItemReplyMinimum, 3 };

enum class ItemEnd { Keep, Restore };

struct AlignmentStart {
    LinkEnd end = LinkEnd::Failed;
    // The form of the radio's reply: set once the reply was read, even when the start then fails
    // on the model.
    std::optional<bool> fiveKhzForm;
    std::uint8_t value = 0; // the radio's current value, sent back in the first packet
    bool modelMismatch = false;

    bool success() const { return end == LinkEnd::Success; }
};

// The radio belongs to another model than the image.
util::Message alignmentModelMismatch();

class AlignmentSession {
public:
    AlignmentSession(serial::SerialPort& port, util::Clock& clock);
    ~AlignmentSession();
    AlignmentSession(const AlignmentSession&) = delete;
    AlignmentSession& operator=(const AlignmentSession&) = delete;

    // Starts item 0..11 for a radio of `modelIndex`. An item still open is left as it is: the
    // port is reopened and the new command sent, with no end for the old one. On success the
    // first packet has gone out and the port stays open.
    AlignmentStart start(
        const LinkTarget& target, int item, int modelIndex, const model::AlignmentTable& table, LinkUi& ui);
    // Sends the value to the radio; after the first packet the item command goes first again.
    void change(const model::AlignmentTable& table, bool fiveKhzForm, std::uint8_t value);
    // "END" or "CANCEL", then the port is closed.
    void end(ItemEnd how);

    bool open() const { return m_link.has_value(); }
    int item() const { return m_item; }
    bool valueSent() const { return m_valueSent; }

private:
    void sendPacket(const AdjustPacket& packet);
    void repeatItemCommand();
    void close();

    serial::SerialPort& m_port;
    util::Clock& m_clock;
    std::optional<LinkSession> m_link;
    int m_item = 0;
    bool m_valueSent = false;
};

} // namespace korvane::link
