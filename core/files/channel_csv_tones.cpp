#include "core/files/channel_csv_tones.h"

#include "core/files/channel_csv_text.h"
#include "core/model/signalling_codec.h"
#include "core/util/decimal.h"

#include <array>
#include <optional>
#include <string_view>

namespace korvane::files {

namespace {

using Kind = CsvTone::Kind;

constexpr std::string_view kDefaultTone = "88.5";
constexpr std::string_view kDefaultCode = "023";

// The cross modes, each as (transmit kind, receive kind).
struct CrossMode {
    std::string_view name;
    Kind transmit;
    Kind receive;
};

constexpr std::array<CrossMode, 8> kCrossModes { {
    { "Tone->Tone", Kind::Ctcss, Kind::Ctcss },
    { "DTCS->", Kind::Dcs, Kind::None },
    { "->DTCS", Kind::None, Kind::Dcs },
    { "Tone->DTCS", Kind::Ctcss, Kind::Dcs },
    { "DTCS->Tone", Kind::Dcs, Kind::Ctcss },
    { "->Tone", Kind::None, Kind::Ctcss },
    { "DTCS->DTCS", Kind::Dcs, Kind::Dcs },
    { "Tone->", Kind::Ctcss, Kind::None },
} };

std::string toneText(int tenths) { return util::formatScaled(tenths, 1, 1, 1); }
std::string codeText(int digits) { return model::formatCdcssDigits(digits); }
char polarityLetter(const CsvTone& t) { return t.kind == Kind::Dcs && t.inverted ? 'R' : 'N'; }

util::Result<int, CellRefusal> parseTone(const std::string& cell, std::string_view column)
{
    const std::string_view text = trimmedCell(cell);
    const std::string range = "（应为60.0至260.0Hz、至多一位小数）";
    if (text.empty()) return CellRefusal { std::string(column), "缺少CTCSS频率" + range };
    const auto parsed = util::parseDecimal(text, 1);
    if (!parsed || parsed->inexact || parsed->value < kLowestToneTenths || parsed->value > kHighestToneTenths)
        return CellRefusal { std::string(column), "未知的CTCSS频率" + quotedCell(text) + range };
    return static_cast<int>(parsed->value);
}

util::Result<int, CellRefusal> parseCode(const std::string& cell, std::string_view column)
{
    const std::string_view text = trimmedCell(cell);
    const std::string range = "（应为000至777，只含数字0～7）";
    if (text.empty()) return CellRefusal { std::string(column), "缺少CDCSS码" + range };
    bool octal = text.size() <= 3;
    int digits = 0;
    for (char c : text) {
        octal = octal && c >= '0' && c <= '7';
        if (octal) digits = digits * 10 + (c - '0'); // a long cell must not overflow on its way to refusal
    }
    if (!octal) return CellRefusal { std::string(column), quotedCell(text) + "不是八进制的CDCSS码" + range };
    return digits;
}

// The two letters, transmit then receive: true for R.
util::Result<std::pair<bool, bool>, CellRefusal> parsePolarity(const std::string& cell)
{
    const std::string_view text = trimmedCell(cell);
    if (text.empty()) return std::pair { false, false };
    auto letter = [](char c) -> std::optional<bool> {
        if (c == 'N' || c == 'n') return false;
        if (c == 'R' || c == 'r') return true;
        return std::nullopt;
    };
    if (text.size() == 2) {
        const auto tx = letter(text[0]);
        const auto rx = letter(text[1]);
        if (tx && rx) return std::pair { *tx, *rx };
    }
    return CellRefusal { "DtcsPolarity", "未知的极性" + quotedCell(text) + "（可用：NN、NR、RN、RR）" };
}

} // namespace

ToneCells toneCells(const ChannelTones& tones)
{
    const CsvTone& tx = tones.transmit;
    const CsvTone& rx = tones.receive;
    ToneCells cells { "", std::string(kDefaultTone), std::string(kDefaultTone), std::string(kDefaultCode),
        std::string { polarityLetter(tx), polarityLetter(rx) }, std::string(kDefaultCode), "Tone->Tone" };

    if (tx.kind == Kind::None && rx.kind == Kind::None) return cells;
    if (tx.kind == Kind::Ctcss && rx.kind == Kind::None) {
        cells.tone = "Tone";
        cells.rToneFreq = toneText(tx.value);
        return cells;
    }
    if (tx.kind == Kind::Ctcss && rx.kind == Kind::Ctcss && tx.value == rx.value) {
        cells.tone = "TSQL";
        cells.rToneFreq = cells.cToneFreq = toneText(tx.value);
        return cells;
    }
    if (tx.kind == Kind::Dcs && rx.kind == Kind::Dcs && tx.value == rx.value) {
        cells.tone = "DTCS";
        cells.dtcsCode = cells.rxDtcsCode = codeText(tx.value);
        return cells;
    }
    cells.tone = "Cross";
    for (const CrossMode& mode : kCrossModes)
        if (mode.transmit == tx.kind && mode.receive == rx.kind) {
            cells.crossMode = std::string(mode.name);
            break;
        }
    if (tx.kind == Kind::Ctcss) cells.rToneFreq = toneText(tx.value);
    if (tx.kind == Kind::Dcs) cells.dtcsCode = codeText(tx.value);
    if (rx.kind == Kind::Ctcss) cells.cToneFreq = toneText(rx.value);
    if (rx.kind == Kind::Dcs) cells.rxDtcsCode = codeText(rx.value);
    return cells;
}

util::Result<ChannelTones, CellRefusal> parseToneCells(const ToneCells& cells)
{
    const std::string_view mode = trimmedCell(cells.tone);
    ChannelTones tones;
    Kind txKind = Kind::None;
    Kind rxKind = Kind::None;
    bool sameTone = false; // TSQL and DTCS: one value for both sides
    if (mode.empty()) {
        return tones;
    } else if (sameWord(mode, "Tone")) {
        txKind = Kind::Ctcss;
    } else if (sameWord(mode, "TSQL")) {
        txKind = rxKind = Kind::Ctcss;
        sameTone = true;
    } else if (sameWord(mode, "DTCS")) {
        txKind = rxKind = Kind::Dcs;
        sameTone = true;
    } else if (sameWord(mode, "Cross")) {
        const std::string_view cross = trimmedCell(cells.crossMode);
        const CrossMode* found = nullptr;
        for (const CrossMode& m : kCrossModes)
            if (sameWord(cross, m.name)) found = &m;
        if (!found)
            return CellRefusal { "CrossMode",
                "未知的交叉方式" + quotedCell(cross)
                    + "（可用：Tone->Tone、DTCS->、->DTCS、Tone->DTCS、DTCS->Tone、->Tone、DTCS->DTCS、Tone->）" };
        txKind = found->transmit;
        rxKind = found->receive;
    } else {
        return CellRefusal { "Tone", "未知的亚音方式" + quotedCell(mode) + "（可用：空、Tone、TSQL、DTCS、Cross）" };
    }

    if (sameTone && txKind == Kind::Ctcss) {
        const auto tone = parseTone(cells.cToneFreq, "cToneFreq");
        if (!tone) return tone.error();
        tones.transmit = tones.receive = CsvTone { Kind::Ctcss, *tone, false };
        return tones;
    }

    std::pair<bool, bool> inverted { false, false };
    if (txKind == Kind::Dcs || rxKind == Kind::Dcs) {
        const auto polarity = parsePolarity(cells.dtcsPolarity);
        if (!polarity) return polarity.error();
        inverted = *polarity;
    }
    if (sameTone) {
        const auto code = parseCode(cells.dtcsCode, "DtcsCode");
        if (!code) return code.error();
        tones.transmit = CsvTone { Kind::Dcs, *code, inverted.first };
        tones.receive = CsvTone { Kind::Dcs, *code, inverted.second };
        return tones;
    }

    if (txKind == Kind::Ctcss) {
        const auto tone = parseTone(cells.rToneFreq, "rToneFreq");
        if (!tone) return tone.error();
        tones.transmit = CsvTone { Kind::Ctcss, *tone, false };
    } else if (txKind == Kind::Dcs) {
        const auto code = parseCode(cells.dtcsCode, "DtcsCode");
        if (!code) return code.error();
        tones.transmit = CsvTone { Kind::Dcs, *code, inverted.first };
    }
    if (rxKind == Kind::Ctcss) {
        const auto tone = parseTone(cells.cToneFreq, "cToneFreq");
        if (!tone) return tone.error();
        tones.receive = CsvTone { Kind::Ctcss, *tone, false };
    } else if (rxKind == Kind::Dcs) {
        const auto code = parseCode(cells.rxDtcsCode, "RxDtcsCode");
        if (!code) return code.error();
        tones.receive = CsvTone { Kind::Dcs, *code, inverted.second };
    }
    return tones;
}

} // namespace korvane::files
