#include "core/model/channel_view.h"

#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"

namespace korvane::model {

namespace {

std::string onOff(bool on) { return on ? "ON" : "OFF"; }

} // namespace

std::string_view stepText(bool step625) { return step625 ? "6.25" : "2.50"; }

std::string_view channelColumnName(int column)
{
    static constexpr std::array<std::string_view, kChannelColumns> names { "接收频率", "接收步进", "接收信令",
        "发射频率", "发射步进", "发射信令", "扫描选择", "繁忙锁定", "时钟偏移", "频率宽度" };
    return names[static_cast<std::size_t>(column - 1)];
}

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
