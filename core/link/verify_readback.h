#pragma once
// The check after programming: read the radio back and compare every byte that programming
// sent. The read-back's own messages go to the link's user as any read-out's do; what the check
// found comes back as messages for the caller to show.

#include "core/link/generation.h"
#include "core/link/link_outcome.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"
#include "core/util/message.h"

#include <optional>
#include <vector>

namespace korvane::link {

struct ReadBackCheck {
    LinkEnd readEnd = LinkEnd::Failed; // how the read-back ended
    bool passed = false; // read back, and every byte the same
    // verifyPassed(), one verifyDifferenceMessage() per difference, or verifyReadFailed().
    std::vector<util::Message> findings;
};

// `written` is the image as programming sent it (after any rounding for an older radio).
ReadBackCheck checkReadBack(const model::RadioImage& written, Generation generation, const LinkTarget& target,
    serial::SerialPort& port, util::Clock& clock, LinkUi& ui);

// The one message after a write and its check, when the person is there to read it: written and
// verified, written but different (what differs, as the check found it), or written but not read
// back (`readFailure`: the read-back's own message, when it showed one). Its title is the verdict.
util::Message writeAndVerifyMessage(const ReadBackCheck& check, const std::optional<util::Message>& readFailure);

} // namespace korvane::link
