#include "core/model/signalling_codec.h"

#include "core/util/decimal.h"

namespace korvane::model {

std::optional<SignallingKind> kindOfNibble(int nibble)
{
    switch (nibble) {
    case 0x0:
        return SignallingKind::Off;
    case 0x2:
    case 0x3:
        return SignallingKind::Ctcss;
    case 0x4:
    case 0x5:
        return SignallingKind::Cdcss;
    case 0x6:
    case 0x7:
        return SignallingKind::InvertedCdcss;
    case 0x8:
        return SignallingKind::TwoTone;
    default:
        return std::nullopt;
    }
}

int ctcssTenths(std::uint8_t c0, std::uint8_t c1)
{
    return ((c1 >> 4) & 0x03) * 1000 + (c1 & 0x0F) * 100 + (c0 >> 4) * 10 + (c0 & 0x0F);
}

std::string formatCtcssTenths(std::int64_t tenths) { return util::formatScaled(tenths, 1, 2, 1); }

std::string formatCtcss(std::uint8_t c0, std::uint8_t c1) { return formatCtcssTenths(ctcssTenths(c0, c1)); }

int cdcssDigits(std::uint8_t c0, std::uint8_t c1)
{
    const int value = c0 + 256 * (c1 & 0x01);
    return (value / 64) * 100 + ((value / 8) % 8) * 10 + value % 8;
}

std::string formatCdcssDigits(std::int64_t digits) { return util::formatScaled(digits, 0, 3, 0); }

std::string formatCdcss(std::uint8_t c0, std::uint8_t c1) { return formatCdcssDigits(cdcssDigits(c0, c1)); }

std::string formatSignalling(const Record& r, Side s)
{
    const auto kind = kindOfNibble(signallingNibble(r, s));
    if (!kind)
        return "";
    const std::uint8_t c0 = r[codeLowByte(s)];
    const std::uint8_t c1 = r[codeHighByte(s)];
    switch (*kind) {
    case SignallingKind::Off:
        return "OFF";
    case SignallingKind::Ctcss:
        return "CTCSS: " + formatCtcss(c0, c1);
    case SignallingKind::Cdcss:
        return "CDCSS: " + formatCdcss(c0, c1);
    case SignallingKind::InvertedCdcss:
        return "--CDCSS: " + formatCdcss(c0, c1);
    case SignallingKind::TwoTone:
        return "2-Tone: " + std::to_string(r[twoToneByte(s)]);
    }
    return "";
}

CodeBytes encodeCtcss(std::int64_t tenths)
{
    std::uint32_t packed = 0;
    std::int64_t rest = tenths < 0 ? 0 : tenths % 10000;
    for (int shift = 0; shift < 16; shift += 4, rest /= 10)
        packed |= static_cast<std::uint32_t>(rest % 10) << shift;
    return { static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>(packed >> 8) };
}

std::optional<CodeBytes> encodeCdcss(std::int64_t digits)
{
    if (digits < 0 || digits > 777)
        return std::nullopt;
    int value = 0;
    for (std::int64_t rest = digits, weight = 1; rest > 0; rest /= 10, weight *= 8) {
        if (rest % 10 > 7)
            return std::nullopt;
        value += static_cast<int>(rest % 10 * weight);
    }
    return CodeBytes { static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8) };
}

void encodeSignalling(Record& r, Side s, SignallingKind kind, CodeBytes code)
{
    std::uint8_t& flags = r[flagByte(s)];
    flags = static_cast<std::uint8_t>((flags & 0x0F) | (static_cast<int>(kind) << 4));
    if (kind == SignallingKind::Ctcss || kind == SignallingKind::Cdcss || kind == SignallingKind::InvertedCdcss) {
        r[codeLowByte(s)] = code.first;
        r[codeHighByte(s)] = code.second;
    }
}

void encodeTwoTone(Record& r, Side s, std::uint8_t number)
{
    std::uint8_t& flags = r[flagByte(s)];
    flags = static_cast<std::uint8_t>((flags & 0x0F) | 0x80);
    r[twoToneByte(s)] = number;
}

} // namespace korvane::model
