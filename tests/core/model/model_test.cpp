// Decimals, frequencies, signalling and the tone lists (model/cases.txt), and every model's tables.

#include "case_table.h"
#include "core/files/tone_list.h"
#include "core/model/channel_view.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"
#include "core/model/settings_fields.h"
#include "core/model/signalling_cell.h"
#include "core/model/signalling_codec.h"
#include "core/model/signalling_entry.h"
#include "core/util/decimal.h"
#include "support/temp_dir.h"

using namespace korvane::model;
using namespace korvane::test;
namespace util = korvane::util;
namespace files = korvane::files;

namespace {

int number(const std::string& text) { return static_cast<int>(std::stoll(text, nullptr, 0)); }
std::uint8_t byte(const std::string& text) { return static_cast<std::uint8_t>(number(text)); }

Record recordOf(const std::string& hexText)
{
    Record r {};
    const auto bytes = bytesOf(hexText);
    std::copy_n(bytes.begin(), std::min(bytes.size(), r.size()), r.begin());
    return r;
}

Record withCount(std::uint32_t count, bool step625, int upper)
{
    Record r {};
    r[2] = r[7] = static_cast<std::uint8_t>(upper | (step625 ? 0x04 : 0));
    setFrequencyCount(r, Side::Receive, count);
    setFrequencyCount(r, Side::Transmit, count);
    return r;
}

// For each code point: whether the key passes at lengths 0 to 6, without / with a selection.
std::string keys(bool (*passes)(char32_t, std::size_t, bool), const std::string& codes)
{
    std::istringstream in(codes);
    std::string out;
    for (std::string code; in >> code; out += " ")
        for (std::size_t k = 0, c = std::stoul(code, nullptr, 16); k < 14; ++k)
            out += (k ? "" : code + ":") + std::string(passes(char32_t(c), k % 7, k > 6) ? "y" : "n")
                + (k == 6 ? "/" : "");
    return out.substr(0, out.size() - 1);
}

std::string entries(const std::optional<std::vector<std::string>>& list, const std::string* fileText = nullptr)
{
    if (!list) return "nothing";
    std::string out = std::to_string(list->size()) + ":", lines;
    for (const std::string& entry : *list)
        out += " [" + escaped(entry) + "]", lines += entry + "\r\n";
    return out + (fileText && *fileText == lines ? ", CR LF lines" : "");
}

std::string run(const Args& a)
{
    const std::string& op = a[0];
    const Side side = a.size() > 1 && a[1] == "tx" ? Side::Transmit : Side::Receive;
    const auto step625 = [&](std::size_t k) { return a[k] == "6.25"; };
    const auto d = op == "decimal" ? util::parseDecimal(a[1], number(a[2])) : std::nullopt;
    if (op == "decimal") return d ? std::to_string(d->value) + (d->inexact ? " inexact" : "") : "refused";
    if (op == "halfeven")
        return std::to_string(util::divRoundHalfEven({ std::stoll(a[1]), a.size() > 3 }, std::stoll(a[2])));
    if (op == "format") return util::formatScaled(std::stoll(a[1]), number(a[2]), number(a[3]), number(a[4]));
    if (op == "bytes") return formatFrequency(byte(a[1]), byte(a[2]), byte(a[3]));
    Record r = op == "enter" || op == "snap" ? withCount(0, step625(op == "enter" ? 3 : 2), op == "enter" ? 0x38 : 0x58)
        : op == "form" || op == "offgrid"
        ? withCount(std::uint32_t(number(a[1])), step625(2), a.size() > 3 ? number(a[3]) : 0)
        : op == "encode" || op == "apply" || op == "encodesignal" || op == "signal" ? recordOf(a.back())
                                                                                    : Record {};
    if (op == "encode") {
        encodeFrequency(std::stoll(a[1]), r, Side::Receive);
        return hex(r) + " count " + std::to_string(frequencyCount(r, Side::Receive));
    }
    if (op == "enter") {
        const auto hz = enterFrequency(a[1], r, Side::Receive, number(a[2]));
        return formatFrequency(r, Side::Receive) + " " + std::to_string(hz) + " Hz, " + hex(r);
    }
    if (op == "step") {
        const auto out = a[4] == "+" ? stepUp(a[1], a[2], number(a[3])) : stepDown(a[1], a[2], number(a[3]));
        return out ? *out : "error " + shown(frequencyDataError());
    }
    const std::string snapped = op == "snap" ? snapFrequencyToStep(a[1], r, Side::Transmit, number(a[3])) : "";
    if (op == "snap") return snapped + " " + hex(r); // the record after the snap
    Record back = r;
    if (op == "form") to5kHzForm(std::span(&r, 1)), back = r, toImageForm(std::span(&back, 1));
    if (op == "form") return "5 kHz form " + hex(r) + ", back " + hex(back);
    if (op == "offgrid")
        return std::string(isOff5kHzGrid(r, 0) ? "off" : "on") + (isOff5kHzGrid(r, 1) ? "/off" : "/on");
    if (op == "cell") {
        const SignallingChoice c = parseSignallingCell(a[1]);
        return std::to_string(int(c.kind)) + " " + std::to_string(c.value) + " \"" + signallingCellText(c) + "\"";
    }
    if (op == "apply") {
        const auto text = applySignallingChoice({ SignallingKind(number(a[2])), std::stoll(a[3]) }, r, side);
        return (text ? "\"" + *text + "\" " : "refused ") + hex(r);
    }
    if (op == "signal")
        return "\"" + formatSignalling(r, Side::Receive) + "\" / \"" + formatSignalling(r, Side::Transmit) + "\"";
    if (op == "ctcss" || op == "cdcss") {
        const auto code = op == "ctcss" ? encodeCtcss(number(a[1])) : encodeCdcss(number(a[1]));
        const auto [c0, c1] = code.value_or(CodeBytes {});
        return code ? hex(std::array { c0, c1 }) + " " + (op == "ctcss" ? formatCtcss(c0, c1) : formatCdcss(c0, c1))
                    : "refused";
    }
    if (op == "encodesignal" && a[2] == "2tone") encodeTwoTone(r, side, byte(a[3]));
    if (op == "encodesignal" && a[2] != "2tone")
        encodeSignalling(r, side, SignallingKind(number(a[2])), *encodeCdcss(number(a[3])));
    if (op == "encodesignal") return hex(r);
    if (op == "ctcsskeys" || op == "cdcsskeys") return keys(op == "ctcsskeys" ? ctcssKeyPasses : cdcssKeyPasses, a[1]);
    const FieldCheck c = op == "ctcsstext" ? checkCtcssText(a[1]) : checkCdcssText(a[1]); // the field left
    if (op.ends_with("text"))
        return c.text + (c.message ? " " + shown(*c.message) : "") + (c.keepFocus ? " keeps focus" : "");
    if (op == "tonelist") return entries(files::parseToneList(a[1]));
    if (op == "readlist") {
        const std::string path = KORVANE_SOURCE_DIR + a[1], text = readWholeFile(path);
        return entries(files::readToneList(path), &text);
    }
    const auto list = a[1] == "ctcss" ? files::ToneList::Ctcss : files::ToneList::Cdcss;
    return std::string(files::toneListFileName(list)) + " " + shown(files::toneListDamaged(list));
}

std::string cells(const Record& r)
{
    std::string text;
    for (const std::string& cell : channelCellTexts(r))
        text += cell + " | ";
    return text;
}

// Every model's tables, reset and new image, each settings list byte value by byte value, grid texts.
std::string tables()
{
    std::ostringstream out;
    for (int m = -1; m <= kModelCount; ++m) {
        out << "model " << m << ": code " << modelCodeFromIndex(m) << ", " << modelEntry(m).value_or("-") << ", "
            << bandText(m).value_or("-") << ", " << entryLimits(m).lowerHz << " to " << entryLimits(m).upperHz << "\n";
        out << "  channel " << hex(defaultChannelRecord(m)) << "\n  cells   " << cells(defaultChannelRecord(m)) << "\n";
        for (const Record& r : defaultAlignmentTable(m))
            out << "  test    " << hex(r) << "  " << formatFrequency(r, Side::Receive) << " / "
                << formatFrequency(r, Side::Transmit) << "\n";
        RadioImage image;
        image.modelIndex = static_cast<std::int16_t>(m), image.unknownModelCode = 9;
        image.settings.fill(0xEE), image.channels.fill(recordOf("77 77 77 77 77 77 77 77 77 77 77 77 77 77 77 77"));
        const ChannelTable before = image.channels;
        resetImage(image);
        out << "  reset   " << hex(image.settings) << (image.channels == before ? " channels kept" : "")
            << (image.alignment == defaultAlignmentTable(m) ? "" : " alignment differs")
            << (image.parameters == defaultParameterTable() ? "" : " parameters differ") << "\n";
    }
    out << "model index of code:";
    for (int code = -1; code <= 20; ++code)
        out << " " << code << ">" << modelIndexFromCode(code);
    RadioImage fresh = defaultImage(3);
    fresh.settings.fill(0xEE), fresh.unknownModelCode = 9;
    newImage(fresh);
    out << "\nnew image " << (fresh == defaultImage(0) ? "is model 0's defaults" : "differs") << ", settings "
        << hex(fresh.settings) << "\n";
    for (int l = 0; l <= static_cast<int>(SettingsList::Dwell); ++l) {
        const auto list = static_cast<SettingsList>(l);
        out << "list " << l << " (" << settingText(list, defaultImage(0).settings).value_or("-") << "):";
        for (const std::string& entry : settingsEntries(list))
            out << " " << entry << ";";
        out << "\n  shows:";
        for (int x = 0; x < 256; ++x) {
            SettingsBlock s {};
            s.fill(static_cast<std::uint8_t>(x));
            const auto position = decodeSetting(list, s);
            out << (x % 32 == 0 ? "\n   " : "") << " " << (position ? std::to_string(*position) : "-");
        }
        out << "\n  writes:";
        for (int p = 0; p < static_cast<int>(settingsEntries(list).size()); ++p)
            for (const std::uint8_t fill : std::initializer_list<std::uint8_t> { 0x5A, 0xA5 }) {
                SettingsBlock s {};
                s.fill(fill);
                encodeSetting(list, s, p);
                for (std::size_t k = 0; k < s.size(); ++k)
                    if (s[k] != fill) out << " " << p << "@" << k << "=" << hex(std::array { s[k] });
                if (decodeSetting(list, s) != p) out << " " << p << " does not read back";
            }
        out << "\n";
    }
    Record flags = recordOf("C0 DA 50 13 00 C0 DA 8C 00 00 17 00 2A");
    out << "cells " << cells(flags) << "\n";
    for (const int f : { 0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20 }) {
        Record r = defaultChannelRecord(2);
        r[10] = static_cast<std::uint8_t>(f);
        out << "cells " << f << " " << cells(r) << "\n";
    }
    ChannelTable channels {};
    channels[2][10] = 0xF0;
    applyNarrowToAll(channels);
    out << "narrow for all, flag bytes:";
    for (const Record& r : channels)
        out << " " << hex(std::array { r[10] });
    RadioImage image = defaultImage(1);
    image.modelIndex = -1;
    loadAlignmentDefaults(image);
    out << "\nalignment defaults with no model " << (image.alignment == defaultAlignmentTable(1) ? "kept" : "changed");
    return out.str() + "\n";
}

} // namespace

TEST(CoreModel, Cases) { expectCases("model/cases.txt", run); }

// Every model's tables and every settings list, byte value by byte value, written out whole.
TEST(CoreModel, Tables) { EXPECT_TRUE(matchesGolden("model/tables.txt", tables())); }
