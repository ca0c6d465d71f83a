#include "core/link/adjust_packet.h"

#include "core/link/alignment_items.h"
#include "core/model/frequency_form.h"

#include <algorithm>

namespace korvane::link {

AdjustPacket adjustPacket(const model::AlignmentTable& table, int item, bool fiveKhzForm, std::uint8_t value)
{
    model::AlignmentTable copy = table;
    if (fiveKhzForm) model::to5kHzForm(copy);
    const model::Record& channel = copy[static_cast<std::size_t>(testChannelRecord(item))];
    AdjustPacket packet {};
    packet[0] = kAdjustPacketStart;
    std::copy_n(channel.begin(), kTestChannelBytes, packet.begin() + 1);
    packet[kAdjustPacketSize - 1] = value;
    return packet;
}

} // namespace korvane::link
