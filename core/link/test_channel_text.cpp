#include "core/link/test_channel_text.h"

#include "core/model/frequency_codec.h"
#include "core/model/signalling_codec.h"

namespace korvane::link {

std::string testChannelSignalling(const model::Record& r, model::Side s)
{
    const std::uint8_t c0 = r[static_cast<std::size_t>(model::codeLowByte(s))];
    const std::uint8_t c1 = r[static_cast<std::size_t>(model::codeHighByte(s))];
    switch (r[static_cast<std::size_t>(model::flagByte(s))] & 0x60) {
    case 0x20:
        return model::formatCtcss(c0, c1) + "Hz (CTCSS)";
    case 0x40:
        return model::formatCdcss(c0, c1) + " (CDCSS)";
    case 0x60:
        return "-" + model::formatCdcss(c0, c1) + " (CDCSS)";
    default:
        return "关闭";
    }
}

TestChannelText testChannelText(const model::Record& r)
{
    return {
        model::formatFrequency(r, model::Side::Receive) + "MHz",
        testChannelSignalling(r, model::Side::Receive),
        model::formatFrequency(r, model::Side::Transmit) + "MHz",
        testChannelSignalling(r, model::Side::Transmit),
    };
}

} // namespace korvane::link
