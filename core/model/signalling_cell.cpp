#include "core/model/signalling_cell.h"

#include "core/util/decimal.h"

namespace korvane::model {

namespace {

// The number after ": ", or after the kind word when the separator is missing.
std::int64_t numberAfterWord(std::string_view text, std::string_view word, int scale)
{
    std::string_view rest = text.size() >= word.size() ? text.substr(word.size()) : std::string_view {};
    if (rest.starts_with(":"))
        rest.remove_prefix(1);
    const auto value = util::parseDecimal(rest, scale + 1);
    return value ? util::divRoundHalfEven(*value, 10) : 0;
}

} // namespace

std::string_view kindWord(SignallingKind kind)
{
    switch (kind) {
    case SignallingKind::Off:
        return "OFF";
    case SignallingKind::Ctcss:
        return "CTCSS";
    case SignallingKind::Cdcss:
        return "CDCSS";
    case SignallingKind::InvertedCdcss:
        return "--CDCSS";
    case SignallingKind::TwoTone:
        return "2-Tone";
    }
    return "OFF";
}

SignallingChoice parseSignallingCell(std::string_view text)
{
    const std::string_view head = text.substr(0, 2);
    const auto parsed = [&](SignallingKind kind, int scale) {
        return SignallingChoice { kind, numberAfterWord(text, kindWord(kind), scale) };
    };
    if (head == "2-")
        return parsed(SignallingKind::TwoTone, 0);
    if (head == "CT")
        return parsed(SignallingKind::Ctcss, 1);
    if (head == "CD")
        return parsed(SignallingKind::Cdcss, 0);
    if (head == "--")
        return parsed(SignallingKind::InvertedCdcss, 0);
    return {};
}

std::string signallingCellText(const SignallingChoice& choice)
{
    const std::string word(kindWord(choice.kind));
    switch (choice.kind) {
    case SignallingKind::Off:
        return word;
    case SignallingKind::Ctcss:
        return word + ": " + formatCtcssTenths(choice.value);
    case SignallingKind::Cdcss:
    case SignallingKind::InvertedCdcss:
        return word + ": " + formatCdcssDigits(choice.value);
    case SignallingKind::TwoTone:
        return word + ": " + std::to_string(choice.value);
    }
    return word;
}

std::optional<std::string> applySignallingChoice(const SignallingChoice& choice, Record& r, Side s)
{
    switch (choice.kind) {
    case SignallingKind::Ctcss:
        encodeSignalling(r, s, choice.kind, encodeCtcss(choice.value));
        break;
    case SignallingKind::Cdcss:
    case SignallingKind::InvertedCdcss: {
        const auto code = encodeCdcss(choice.value);
        if (!code)
            return std::nullopt;
        encodeSignalling(r, s, choice.kind, *code);
        break;
    }
    case SignallingKind::TwoTone:
        encodeTwoTone(r, s, static_cast<std::uint8_t>(choice.value & 0xFF));
        break;
    case SignallingKind::Off:
        encodeSignalling(r, s, SignallingKind::Off, {});
        break;
    }
    return signallingCellText(choice);
}

} // namespace korvane::model
