// Decimals, frequencies, signalling and the tone lists: the cases in tests/data/model/cases.txt
// run through the real code, and every count, tone and code round-tripped.

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
std::uint32_t count(const std::string& text) { return static_cast<std::uint32_t>(number(text)); }

Record recordOf(const std::string& hexText)
{
    Record r {};
    const auto bytes = bytesOf(hexText);
    std::copy(bytes.begin(), bytes.end(), r.begin());
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

std::string decimal(const std::optional<util::ScaledDecimal>& d)
{
    return d ? std::to_string(d->value) + (d->inexact ? " inexact" : "") : "refused";
}

std::string checked(const FieldCheck& c)
{
    return c.text + (c.message ? " " + shown(*c.message) : "") + (c.keepFocus ? " keeps focus" : "");
}

std::string keys(bool (*passes)(char32_t, std::size_t, bool), const std::string& codes)
{
    std::istringstream in(codes);
    std::string out;
    for (std::string code; in >> code;) {
        out += (out.empty() ? "" : " ") + code + ":";
        for (const bool selection : { false, true }) {
            for (std::size_t length = 0; length <= 6; ++length)
                out += passes(static_cast<char32_t>(std::stoul(code, nullptr, 16)), length, selection) ? "y" : "n";
            out += selection ? "" : "/";
        }
    }
    return out;
}

std::string entries(const std::vector<std::string>& list)
{
    std::string out = std::to_string(list.size()) + ":";
    for (const std::string& entry : list)
        out += " [" + escaped(entry) + "]";
    return out;
}

const CaseOps kOps {
    { "decimal", [](const Args& a) { return decimal(util::parseDecimal(a[0], number(a[1]))); } },
    { "halfeven",
        [](const Args& a) {
            return std::to_string(
                util::divRoundHalfEven(util::ScaledDecimal { std::stoll(a[0]), a.size() > 2 }, std::stoll(a[1])));
        } },
    { "format",
        [](const Args& a) { return util::formatScaled(std::stoll(a[0]), number(a[1]), number(a[2]), number(a[3])); } },
    { "bytes", [](const Args& a) { return formatFrequency(byte(a[0]), byte(a[1]), byte(a[2])); } },
    { "encode",
        [](const Args& a) {
            Record r = recordOf(a[1]);
            encodeFrequency(std::stoll(a[0]), r, Side::Receive);
            return hex(r) + " count " + std::to_string(frequencyCount(r, Side::Receive));
        } },
    { "enter",
        [](const Args& a) {
            Record r = withCount(0, a[2] == "6.25", 0x38);
            const auto hz = enterFrequency(a[0], r, Side::Receive, number(a[1]));
            return formatFrequency(r, Side::Receive) + " " + std::to_string(hz) + " Hz, " + hex(r);
        } },
    { "step",
        [](const Args& a) {
            const auto out = a[3] == "+" ? stepUp(a[0], a[1], number(a[2])) : stepDown(a[0], a[1], number(a[2]));
            return out ? *out : "error " + shown(frequencyDataError());
        } },
    { "snap",
        [](const Args& a) {
            Record r = withCount(0, a[1] == "6.25", 0x58);
            return snapFrequencyToStep(a[0], r, Side::Transmit, number(a[2])) + " " + hex(r);
        } },
    { "form",
        [](const Args& a) {
            Record r = withCount(count(a[0]), a[1] == "6.25", number(a[2]));
            to5kHzForm(std::span(&r, 1));
            std::string out = "5 kHz form " + hex(r) + (isOff5kHzGrid(r, 0) ? ", off the grid" : "");
            toImageForm(std::span(&r, 1));
            return out + ", back " + hex(r);
        } },
    { "offgrid",
        [](const Args& a) {
            const Record r = withCount(count(a[0]), a[1] == "6.25", 0);
            return std::string(isOff5kHzGrid(r, 0) ? "off" : "on") + " / " + (isOff5kHzGrid(r, 1) ? "off" : "on");
        } },
    { "cell",
        [](const Args& a) {
            const SignallingChoice c = parseSignallingCell(a[0]);
            return std::to_string(static_cast<int>(c.kind)) + " " + std::to_string(c.value) + " \""
                + signallingCellText(c) + "\"";
        } },
    { "apply",
        [](const Args& a) {
            Record r = recordOf(a[3]);
            const auto text = applySignallingChoice({ static_cast<SignallingKind>(number(a[1])), std::stoll(a[2]) }, r,
                a[0] == "tx" ? Side::Transmit : Side::Receive);
            return (text ? "\"" + *text + "\" " : "refused ") + hex(r);
        } },
    { "signal",
        [](const Args& a) {
            std::string out;
            for (const Side s : { Side::Receive, Side::Transmit }) {
                Record r {};
                r[flagByte(s)] = static_cast<std::uint8_t>((number(a[0]) << 4) | 0x0D);
                r[codeLowByte(s)] = byte(a[1]);
                r[codeHighByte(s)] = byte(a[2]);
                r[twoToneByte(s)] = byte(a[3]);
                out += (out.empty() ? "" : " / ") + ("\"" + formatSignalling(r, s) + "\"");
            }
            return out;
        } },
    { "ctcss",
        [](const Args& a) {
            const auto [c0, c1] = encodeCtcss(number(a[0]));
            return hex(std::array { c0, c1 }) + " " + formatCtcss(c0, c1);
        } },
    { "cdcss",
        [](const Args& a) {
            const auto code = encodeCdcss(number(a[0]));
            return code ? hex(std::array { code->first, code->second }) + " " + formatCdcss(code->first, code->second)
                        : "refused";
        } },
    { "encodesignal",
        [](const Args& a) {
            Record r = recordOf(a[3]);
            const Side s = a[0] == "tx" ? Side::Transmit : Side::Receive;
            if (a[1] == "2tone")
                encodeTwoTone(r, s, byte(a[2]));
            else
                encodeSignalling(r, s, static_cast<SignallingKind>(number(a[1])), *encodeCdcss(number(a[2])));
            return hex(r);
        } },
    { "ctcsskeys", [](const Args& a) { return keys(ctcssKeyPasses, a[0]); } },
    { "cdcsskeys", [](const Args& a) { return keys(cdcssKeyPasses, a[0]); } },
    { "ctcsstext", [](const Args& a) { return checked(checkCtcssText(a[0])); } },
    { "cdcsstext", [](const Args& a) { return checked(checkCdcssText(a[0])); } },
    { "tonelist", [](const Args& a) { return entries(files::parseToneList(a[0])); } },
    { "readlist",
        [](const Args& a) {
            const std::string path = KORVANE_SOURCE_DIR + a[0];
            const auto list = files::readToneList(path);
            std::string lines;
            for (const std::string& entry : list.value_or(std::vector<std::string> {}))
                lines += entry + "\r\n";
            return list ? entries(*list) + (readWholeFile(path) == lines ? ", CR LF lines" : "") : "nothing";
        } },
    { "damaged",
        [](const Args& a) {
            const auto list = a[0] == "ctcss" ? files::ToneList::Ctcss : files::ToneList::Cdcss;
            return std::string(files::toneListFileName(list)) + " " + shown(files::toneListDamaged(list));
        } },
};

std::string cells(const Record& r)
{
    std::string text;
    for (const std::string& cell : channelCellTexts(r))
        text += cell + " | ";
    return text;
}

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
        image.modelIndex = static_cast<std::int16_t>(m);
        image.settings.fill(0xEE);
        for (Record& r : image.channels)
            r.fill(0x77);
        image.unknownModelCode = 9;
        const RadioImage before = image;
        resetImage(image);
        out << "  reset   " << hex(image.settings) << (image.channels == before.channels ? " channels kept" : "")
            << (image.alignment == defaultAlignmentTable(m) ? "" : " alignment differs")
            << (image.parameters == defaultParameterTable() ? "" : " parameters differ") << "\n";
    }
    out << "model index of code:";
    for (int code = -1; code <= 20; ++code)
        out << " " << code << ">" << modelIndexFromCode(code);
    out << "\n";
    for (const Record& r : defaultParameterTable())
        out << "parameters " << hex(r) << "\n";
    RadioImage fresh = defaultImage(3);
    fresh.settings.fill(0xEE);
    fresh.unknownModelCode = 9;
    newImage(fresh);
    out << "new image " << (fresh == defaultImage(0) ? "is model 0's defaults" : "differs") << ", settings "
        << hex(fresh.settings) << "\n";

    const SettingsBlock defaults = defaultImage(0).settings;
    for (int l = 0; l <= static_cast<int>(SettingsList::Dwell); ++l) {
        const auto list = static_cast<SettingsList>(l);
        out << "list " << l << " (" << settingText(list, defaults).value_or("-") << "):";
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
        for (int p = 0; p < static_cast<int>(settingsEntries(list).size()); ++p) {
            for (const int fill : { 0x5A, 0xA5 }) {
                SettingsBlock s {};
                s.fill(static_cast<std::uint8_t>(fill));
                encodeSetting(list, s, p);
                for (std::size_t k = 0; k < s.size(); ++k)
                    if (s[k] != fill) out << " " << p << "@" << k << "=" << hex(std::array { s[k] });
                if (decodeSetting(list, s) != p) out << " " << p << " does not read back";
            }
        }
        out << "\n";
    }
    Record flags = defaultChannelRecord(0);
    flags[10] = 0x17;
    flags[2] |= 0x50;
    flags[3] = 0x13;
    flags[7] = 0x8C;
    flags[12] = 0x2A;
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
    out << "\nalignment defaults with no model " << (image.alignment == defaultAlignmentTable(1) ? "kept" : "changed")
        << "\n";
    return out.str();
}

} // namespace

TEST(CoreModel, Cases) { expectCases("model/cases.txt", kOps); }

// Every model's tables and every settings list, byte value by byte value, written out whole.
TEST(CoreModel, Tables) { EXPECT_EQ(tables(), expectedFile("model/tables.txt", tables())); }

TEST(CoreModel, EveryCountFormatsAndEncodesBackToItself)
{
    for (const bool step625 : { false, true })
        for (std::uint32_t count = 0; count < (1u << 18); ++count) {
            Record r = withCount(count, step625, 0xF8);
            r[5] = 0xAA;
            Record back = r;
            setFrequencyCount(back, Side::Transmit, 0);
            encodeFrequency(util::parseDecimal(formatFrequency(r, Side::Transmit), 6)->value, back, Side::Transmit);
            ASSERT_EQ(back, r) << count;
        }
}

TEST(CoreModel, EveryGridCountSurvivesTheFiveKilohertzForm)
{
    for (const int upper : { 0x00, 0xF8, 0x58 })
        for (std::uint32_t count = 0; count < (1u << 17); ++count)
            for (const Record& original :
                { withCount(count * 2 % (1u << 18), false, upper), withCount(count, true, upper) }) {
                Record r = original;
                to5kHzForm(std::span(&r, 1));
                toImageForm(std::span(&r, 1));
                ASSERT_EQ(r, original) << count;
            }
}

TEST(CoreModel, EveryToneAndCodeRoundTrips)
{
    for (int tenths = 0; tenths < 4000; ++tenths) {
        const auto [c0, c1] = encodeCtcss(tenths);
        ASSERT_EQ(ctcssTenths(c0, c1), tenths);
    }
    for (int value = 0; value < 512; ++value) {
        const CodeBytes bytes { static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8) };
        ASSERT_EQ(encodeCdcss(cdcssDigits(bytes.first, bytes.second)), bytes) << value;
    }
}
