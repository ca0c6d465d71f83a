#include "core/files/channel_csv.h"

#include "core/files/channel_csv_rows.h"
#include "core/files/channel_csv_text.h"
#include "core/files/channel_csv_tones.h"
#include "core/model/channel_view.h"
#include "core/model/frequency_codec.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"
#include "core/util/decimal.h"
#include "core/util/hex.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace korvane::files {

namespace {

using model::Record;
using model::Side;
using model::SignallingKind;

// Up to this far apart, transmit is written as a shift from receive; beyond it as a split.
constexpr std::int64_t kLargestShiftHz = 70'000'000;

// "%i.%06i": whole MHz, a point, six decimals.
std::string mhzText(std::int64_t hz) { return util::formatScaled(hz, 6, 1, 6); }
std::string limitText(std::int64_t hz) { return util::formatScaled(hz, 6, 1, 1); }

std::string onOff(bool on) { return on ? "ON" : "OFF"; }

CsvTone csvToneOf(const Record& r, Side s)
{
    const auto kind = model::kindOfNibble(model::signallingNibble(r, s));
    const std::uint8_t c0 = r[model::codeLowByte(s)];
    const std::uint8_t c1 = r[model::codeHighByte(s)];
    if (kind == SignallingKind::Ctcss) return { CsvTone::Kind::Ctcss, model::ctcssTenths(c0, c1), false };
    if (kind == SignallingKind::Cdcss || kind == SignallingKind::InvertedCdcss)
        return { CsvTone::Kind::Dcs, model::cdcssDigits(c0, c1), kind == SignallingKind::InvertedCdcss };
    return {}; // off, 2-Tone (its own column) and nibbles with no kind
}

std::string twoToneText(const Record& r, Side s)
{
    if (model::kindOfNibble(model::signallingNibble(r, s)) != SignallingKind::TwoTone) return "";
    return std::to_string(r[model::twoToneByte(s)]);
}

std::vector<std::string> channelRow(int channel, const Record& r)
{
    const std::int64_t rxHz = model::frequencyHz(r, Side::Receive);
    const std::int64_t txHz = model::frequencyHz(r, Side::Transmit);
    const bool txAllowed = model::isTransmitAllowed(r);
    std::string duplex;
    std::int64_t offsetHz = 0;
    if (!txAllowed) {
        duplex = "off";
    } else if (txHz == rxHz) {
        duplex = "";
    } else if (txHz > rxHz && txHz - rxHz <= kLargestShiftHz) {
        duplex = "+";
        offsetHz = txHz - rxHz;
    } else if (txHz < rxHz && rxHz - txHz <= kLargestShiftHz) {
        duplex = "-";
        offsetHz = rxHz - txHz;
    } else {
        duplex = "split";
        offsetHz = txHz;
    }
    const ToneCells tones = toneCells({ csvToneOf(r, Side::Transmit), csvToneOf(r, Side::Receive) });
    const std::uint8_t flags = r[model::kFlagsByte];
    const bool rxStep = model::isStep625(r, Side::Receive);
    const bool txStep = model::isStep625(r, Side::Transmit);
    return {
        std::to_string(channel),
        "",
        mhzText(rxHz),
        duplex,
        mhzText(offsetHz),
        tones.tone,
        tones.rToneFreq,
        tones.cToneFreq,
        tones.dtcsCode,
        tones.dtcsPolarity,
        tones.rxDtcsCode,
        tones.crossMode,
        model::testBit(flags, model::kNarrowBit) ? "NFM" : "FM",
        std::string(model::stepText(rxStep)),
        model::testBit(flags, model::kScanDelBit) ? "S" : "",
        "",
        "",
        "",
        "",
        "",
        "",
        onOff(model::testBit(flags, model::kBusyLockBit)),
        onOff(model::testBit(flags, model::kClockShiftBit)),
        twoToneText(r, Side::Receive),
        twoToneText(r, Side::Transmit),
        txStep == rxStep ? "" : std::string(model::stepText(txStep)),
        txAllowed ? "" : mhzText(txHz),
        util::hexBytes(r),
    };
}

void appendLine(std::string& out, const std::vector<std::string>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += csvField(fields[i]);
    }
    out += '\n';
}

// ---- reading ----

template <class T> using CellResult = util::Result<T, CellRefusal>;

// The cells of one row, by column name.
class RowCells {
public:
    RowCells(const std::map<std::string, std::size_t>& columns, const CsvRow& row)
        : m_columns(columns)
        , m_row(row)
    {
    }

    std::string raw(std::string_view name) const
    {
        const auto it = m_columns.find(lowerWord(name));
        if (it == m_columns.end() || it->second >= m_row.fields.size()) return "";
        return m_row.fields[it->second];
    }
    std::string operator[](std::string_view name) const { return std::string(trimmedCell(raw(name))); }

private:
    const std::map<std::string, std::size_t>& m_columns;
    const CsvRow& m_row;
};

std::optional<std::int64_t> parseWhole(std::string_view text, std::int64_t highest)
{
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > highest) return std::nullopt;
    return value;
}

CellResult<int> parseLocation(const std::string& text)
{
    const auto value = parseWhole(text, model::kChannelCount);
    if (!value || *value < 1) return channelNumberRefusal(text);
    return static_cast<int>(*value);
}

// A step cell: 2.50 gives false, 6.25 true; another number decides nothing.
CellResult<std::optional<bool>> parseStep(const std::string& text, std::string_view column)
{
    if (text.empty()) return std::optional<bool> {};
    const auto parsed = util::parseDecimal(text, 2);
    if (!parsed)
        return CellRefusal { std::string(column), quotedCell(text) + "不是步进数值（应为2.50或6.25，单位kHz）" };
    if (!parsed->inexact && parsed->value == 250) return std::optional<bool> { false };
    if (!parsed->inexact && parsed->value == 625) return std::optional<bool> { true };
    return std::optional<bool> {};
}

CellResult<util::ScaledDecimal> parseMhz(const std::string& text, std::string_view column, std::string_view what)
{
    const auto parsed = util::parseDecimal(text, 6);
    if (!parsed)
        return CellRefusal { std::string(column),
            text.empty() ? "缺少" + std::string(what)
                         : quotedCell(text) + "不是" + std::string(what) + "数值（单位MHz）" };
    return *parsed;
}

bool onGrid(util::ScaledDecimal hz, bool step625) { return !hz.inexact && hz.value % model::stepHz(step625) == 0; }

struct PlacedFrequency {
    std::int64_t hz;
    bool step625;
};

// Checks the model's entry limits and picks the step: the first preference whose grid holds
// the frequency, else the one grid that does.
CellResult<PlacedFrequency> placeFrequency(util::ScaledDecimal hz, const std::string& shown, std::string_view column,
    std::string_view what, const model::EntryLimits& limits, std::initializer_list<std::optional<bool>> preferences)
{
    if (hz.value < limits.lowerHz || hz.value >= limits.upperHz)
        return CellRefusal { std::string(column),
            std::string(what) + shown + "超出本机型的输入范围（" + limitText(limits.lowerHz) + "MHz至"
                + limitText(limits.upperHz) + "MHz以下）" };
    for (const auto& preferred : preferences)
        if (preferred && onGrid(hz, *preferred)) return PlacedFrequency { hz.value, *preferred };
    if (onGrid(hz, false)) return PlacedFrequency { hz.value, false };
    if (onGrid(hz, true)) return PlacedFrequency { hz.value, true };
    return CellRefusal { std::string(column), std::string(what) + shown + "不在2.5kHz或6.25kHz的频率栅格上" };
}

std::string shownMhz(util::ScaledDecimal hz, const std::string& cell)
{
    return hz.inexact ? quotedCell(cell) : mhzText(hz.value) + "MHz";
}

enum class Duplex { Same, Plus, Minus, Split, Off };

CellResult<Duplex> parseDuplex(const std::string& text)
{
    if (text.empty()) return Duplex::Same;
    if (text == "+") return Duplex::Plus;
    if (text == "-") return Duplex::Minus;
    if (sameWord(text, "split")) return Duplex::Split;
    if (sameWord(text, "off")) return Duplex::Off;
    return CellRefusal { "Duplex", "未知的收发方式" + quotedCell(text) + "（可用：空、+、-、split、off）" };
}

CellResult<bool> parseOnOff(const std::string& text, std::string_view column)
{
    if (text.empty() || sameWord(text, "OFF")) return false;
    if (sameWord(text, "ON")) return true;
    return CellRefusal { std::string(column), "未知的值" + quotedCell(text) + "（可用：ON、OFF）" };
}

CellResult<std::optional<std::uint8_t>> parseTwoTone(const std::string& text, std::string_view column)
{
    if (text.empty()) return std::optional<std::uint8_t> {};
    const auto value = parseWhole(text, 255);
    if (!value) return CellRefusal { std::string(column), quotedCell(text) + "不是0至255之间的2-Tone编号" };
    return std::optional<std::uint8_t> { static_cast<std::uint8_t>(*value) };
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

CellResult<std::optional<Record>> parseRawRecord(const std::string& text)
{
    if (text.empty()) return std::optional<Record> {};
    Record r {};
    std::size_t count = 0;
    std::size_t i = 0;
    bool good = true;
    while (good && i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        good = high >= 0 && low >= 0 && count < r.size();
        if (good) r[count++] = static_cast<std::uint8_t>(high * 16 + low);
        i += 2;
    }
    if (!good || count != r.size()) return CellRefusal { "RawRecord", quotedCell(text) + "不是16个十六进制字节" };
    return std::optional<Record> { r };
}

void setKindNibble(Record& r, Side s, SignallingKind kind)
{
    std::uint8_t& flags = r[model::flagByte(s)];
    flags = static_cast<std::uint8_t>((flags & 0x0F) | (static_cast<int>(kind) << 4));
}

// Writes one side's signalling. A side that already holds the same kind keeps its nibble, and
// the same tone or code keeps its code bytes; off leaves the code and 2-Tone bytes alone, as the
// window's signalling dialog does.
void applySignalling(Record& r, Side s, const CsvTone& tone, std::optional<std::uint8_t> twoTone)
{
    SignallingKind kind = SignallingKind::Off;
    if (twoTone)
        kind = SignallingKind::TwoTone;
    else if (tone.kind == CsvTone::Kind::Ctcss)
        kind = SignallingKind::Ctcss;
    else if (tone.kind == CsvTone::Kind::Dcs)
        kind = tone.inverted ? SignallingKind::InvertedCdcss : SignallingKind::Cdcss;

    const SignallingKind held = model::kindOfNibble(model::signallingNibble(r, s)).value_or(SignallingKind::Off);
    const bool sameKind = held == kind;
    if (!sameKind) setKindNibble(r, s, kind);
    std::uint8_t& c0 = r[model::codeLowByte(s)];
    std::uint8_t& c1 = r[model::codeHighByte(s)];
    switch (kind) {
    case SignallingKind::Off:
        break;
    case SignallingKind::Ctcss:
        if (!sameKind || model::ctcssTenths(c0, c1) != tone.value) std::tie(c0, c1) = model::encodeCtcss(tone.value);
        break;
    case SignallingKind::Cdcss:
    case SignallingKind::InvertedCdcss:
        if (!sameKind || model::cdcssDigits(c0, c1) != tone.value)
            std::tie(c0, c1) = model::encodeCdcss(tone.value).value_or(model::CodeBytes { 0, 0 });
        break;
    case SignallingKind::TwoTone:
        r[model::twoToneByte(s)] = *twoTone;
        break;
    }
}

void placeSide(Record& r, Side s, const PlacedFrequency& f, bool open)
{
    std::uint8_t& flags = r[model::flagByte(s)];
    model::setBit(flags, model::kStepBit, f.step625);
    model::setBit(flags, model::kOpenBit, open);
    model::setFrequencyCount(r, s, static_cast<std::uint32_t>(f.hz / model::stepHz(f.step625)));
}

struct ReadChannel {
    int location;
    Record record;
};

CellResult<ReadChannel> readChannel(
    const RowCells& cells, int modelIndex, const model::ChannelTable& base, const std::map<int, int>& seen)
{
    const auto location = parseLocation(cells["Location"]);
    if (!location) return location.error();
    if (const auto it = seen.find(*location); it != seen.end())
        return CellRefusal { "Location",
            "信道" + std::to_string(*location) + "已在第" + std::to_string(it->second) + "行出现过" };

    const auto raw = parseRawRecord(cells["RawRecord"]);
    if (!raw) return raw.error();
    Record r = raw->value_or(base[static_cast<std::size_t>(*location - 1)]);
    const model::EntryLimits limits = model::entryLimits(modelIndex);

    const auto step = parseStep(cells["TStep"], "TStep");
    if (!step) return step.error();
    const auto txStep = parseStep(cells["TxStep"], "TxStep");
    if (!txStep) return txStep.error();

    const std::string rxCell = cells["Frequency"];
    const auto rxHz = parseMhz(rxCell, "Frequency", "频率");
    if (!rxHz) return rxHz.error();
    const auto rx = placeFrequency(
        *rxHz, shownMhz(*rxHz, rxCell), "Frequency", "频率", limits, { *step, model::isStep625(r, Side::Receive) });
    if (!rx) return rx.error();

    const auto duplex = parseDuplex(cells["Duplex"]);
    if (!duplex) return duplex.error();
    util::ScaledDecimal txHz { rx->hz, false };
    std::string txShownCell;
    std::string txColumn = "Offset";
    if (*duplex == Duplex::Plus || *duplex == Duplex::Minus || *duplex == Duplex::Split) {
        const std::string offsetCell = cells["Offset"];
        const auto offset = parseMhz(offsetCell, "Offset", "频差");
        if (!offset) return offset.error();
        if (offset->value < 0)
            return CellRefusal { "Offset", quotedCell(offsetCell) + "不是频差数值（应不小于0，单位MHz）" };
        if (*duplex == Duplex::Plus)
            txHz = { rx->hz + offset->value, offset->inexact };
        else if (*duplex == Duplex::Minus)
            txHz = { rx->hz - offset->value, offset->inexact };
        else
            txHz = *offset;
        txShownCell = offsetCell;
    } else if (*duplex == Duplex::Off && !cells["TxFrequency"].empty()) {
        txShownCell = cells["TxFrequency"];
        txColumn = "TxFrequency";
        const auto parsed = parseMhz(txShownCell, txColumn, "发射频率");
        if (!parsed) return parsed.error();
        txHz = *parsed;
    }
    const auto tx = placeFrequency(txHz, shownMhz(txHz, txShownCell), txColumn, "发射频率", limits,
        { *txStep, *step, rx->step625, model::isStep625(r, Side::Transmit) });
    if (!tx) return tx.error();

    const auto tones = parseToneCells({ cells["Tone"], cells["rToneFreq"], cells["cToneFreq"], cells["DtcsCode"],
        cells["DtcsPolarity"], cells["RxDtcsCode"], cells["CrossMode"] });
    if (!tones) return tones.error();
    const auto rxTwoTone = parseTwoTone(cells["RxTwoTone"], "RxTwoTone");
    if (!rxTwoTone) return rxTwoTone.error();
    if (*rxTwoTone && tones->receive.kind != CsvTone::Kind::None)
        return CellRefusal { "RxTwoTone", "接收已设CTCSS或CDCSS，不能同时用2-Tone" };
    const auto txTwoTone = parseTwoTone(cells["TxTwoTone"], "TxTwoTone");
    if (!txTwoTone) return txTwoTone.error();
    if (*txTwoTone && tones->transmit.kind != CsvTone::Kind::None)
        return CellRefusal { "TxTwoTone", "发射已设CTCSS或CDCSS，不能同时用2-Tone" };

    const std::string mode = cells["Mode"];
    bool narrow = false;
    if (sameWord(mode, "NFM"))
        narrow = true;
    else if (!mode.empty() && !sameWord(mode, "FM"))
        return CellRefusal { "Mode", "未知的带宽方式" + quotedCell(mode) + "（可用：FM、NFM）" };

    const std::string skip = cells["Skip"];
    bool skipped = false;
    if (sameWord(skip, "S"))
        skipped = true;
    else if (!skip.empty() && !sameWord(skip, "P"))
        return CellRefusal { "Skip", "未知的扫描方式" + quotedCell(skip) + "（可用：空、S、P）" };

    const auto busyLock = parseOnOff(cells["BusyLock"], "BusyLock");
    if (!busyLock) return busyLock.error();
    const auto clockShift = parseOnOff(cells["ClockShift"], "ClockShift");
    if (!clockShift) return clockShift.error();

    placeSide(r, Side::Receive, *rx, true);
    placeSide(r, Side::Transmit, *tx, *duplex != Duplex::Off);
    applySignalling(r, Side::Receive, tones->receive, *rxTwoTone);
    applySignalling(r, Side::Transmit, tones->transmit, *txTwoTone);
    std::uint8_t& flags = r[model::kFlagsByte];
    model::setBit(flags, model::kNarrowBit, narrow);
    model::setBit(flags, model::kClockShiftBit, *clockShift);
    model::setBit(flags, model::kBusyLockBit, *busyLock);
    model::setBit(flags, model::kScanDelBit, skipped);
    return ReadChannel { *location, r };
}

} // namespace

std::string exportChannelCsv(const model::RadioImage& image)
{
    std::vector<std::string> header(kCsvStandardColumns.begin(), kCsvStandardColumns.end());
    header.insert(header.end(), kCsvExtraColumns.begin(), kCsvExtraColumns.end());
    std::string out;
    appendLine(out, header);
    for (int i = 0; i < model::kChannelCount; ++i) {
        const Record& r = image.channels[static_cast<std::size_t>(i)];
        if (model::isChannelOpen(r)) appendLine(out, channelRow(i + 1, r));
    }
    return out;
}

util::Result<model::ChannelTable, util::Message> importChannelCsv(
    std::string_view csvText, int modelIndex, const model::ChannelTable& base)
{
    const auto rows = splitCsvRows(csvText);
    if (!rows) return csvRefusal(rows.error(), "", "引号没有闭合");
    if (rows->empty()) return csvNoHeader();

    const CsvRow& header = rows->front();
    std::map<std::string, std::size_t> columns;
    for (std::size_t k = 0; k < header.fields.size(); ++k) {
        const std::string_view name = trimmedCell(header.fields[k]);
        if (name.empty()) continue;
        if (!columns.emplace(lowerWord(name), k).second)
            return csvRefusal(header.line, "", "标题行中" + std::string(name) + "列出现了两次");
    }
    for (std::string_view required : { "Location", "Frequency" })
        if (!columns.contains(lowerWord(required)))
            return csvRefusal(header.line, "", "标题行缺少" + std::string(required) + "列");

    model::ChannelTable table = base;
    for (model::Record& r : table)
        model::setBit(r[model::flagByte(Side::Receive)], model::kOpenBit, false);
    std::map<int, int> seen; // location -> line
    for (std::size_t i = 1; i < rows->size(); ++i) {
        const CsvRow& row = (*rows)[i];
        const auto channel = readChannel(RowCells(columns, row), modelIndex, base, seen);
        if (!channel) return csvRefusal(row.line, channel.error());
        seen.emplace(channel->location, row.line);
        table[static_cast<std::size_t>(channel->location - 1)] = channel->record;
    }
    return table;
}

} // namespace korvane::files
