#include "core/model/channel_view.h"

#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"

namespace korvane::model {

namespace {

std::string onOff(bool on) { return on ? "ON" : "OFF"; }

} // namespace

std::string_view stepText(bool step625) { return step625 ? "6.25" : "2.50"; }

std::array<std::string, kChannelColumns> channelCellTexts(const Record& r)
{
    const std::uint8_t flags = r[kFlagsByte];
    return {
        formatFrequency(r, Side::Receive),
        std::string(stepText(isStep625(r, Side::Receive))),
        formatSignalling(r, Side::Receive),
        formatFrequency(r, Side::Transmit),
        std::string(stepText(isStep625(r, Side::Transmit))),
        formatSignalling(r, Side::Transmit),
        testBit(flags, kScanDelBit) ? "DEL" : "ADD",
        onOff(testBit(flags, kBusyLockBit)),
        onOff(testBit(flags, kClockShiftBit)),
        testBit(flags, kNarrowBit) ? "Narrow" : "Wide",
    };
}

} // namespace korvane::model
