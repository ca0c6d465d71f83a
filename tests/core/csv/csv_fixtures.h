#pragma once
// Channel tables for the spreadsheet tests: two hand-built images that use every column and
// mode (their data files and spreadsheets are committed under tests/data/csv), and seeded
// random tables for the round trips.

#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"

#include <cstdint>
#include <string>

namespace korvane::files::test {

using model::Record;
using model::Side;
using model::SignallingKind;

// An open channel of the model's default record, on the given frequencies and steps.
inline Record openChannel(int modelIndex, std::int64_t rxHz, std::int64_t txHz, bool rxStep625, bool txStep625)
{
    Record r = model::defaultChannelRecord(modelIndex);
    model::setBit(r[model::flagByte(Side::Receive)], model::kOpenBit, true);
    model::setBit(r[model::flagByte(Side::Receive)], model::kStepBit, rxStep625);
    model::setBit(r[model::flagByte(Side::Transmit)], model::kStepBit, txStep625);
    model::encodeFrequency(rxHz, r, Side::Receive);
    model::encodeFrequency(txHz, r, Side::Transmit);
    return r;
}

inline void ctcss(Record& r, Side s, int tenths)
{
    model::encodeSignalling(r, s, SignallingKind::Ctcss, model::encodeCtcss(tenths));
}

inline void cdcss(Record& r, Side s, int digits, bool inverted = false)
{
    model::encodeSignalling(
        r, s, inverted ? SignallingKind::InvertedCdcss : SignallingKind::Cdcss, *model::encodeCdcss(digits));
}

inline void flag(Record& r, int bit) { model::setBit(r[model::kFlagsByte], bit, true); }

// Model 0 (120 to below 190 MHz): every tone mode and cross mode, both polarities, shifts both
// ways, a transmit-inhibited channel, 2-Tone on each side, a transmit step of its own, and a
// channel with bits the program gives no meaning to. Channel 5 stays closed.
inline model::RadioImage variedModel0()
{
    model::RadioImage image = model::defaultImage(0);
    auto& ch = image.channels;
    ch[0] = openChannel(0, 145'500'000, 145'500'000, false, false);

    ch[1] = openChannel(0, 145'600'000, 145'000'000, false, false);
    ctcss(ch[1], Side::Transmit, 885);
    ctcss(ch[1], Side::Receive, 885);
    flag(ch[1], model::kNarrowBit);
    flag(ch[1], model::kBusyLockBit);

    ch[2] = openChannel(0, 146'000'000, 146'600'000, false, false);
    ctcss(ch[2], Side::Transmit, 1000);
    flag(ch[2], model::kScanDelBit);

    ch[3] = openChannel(0, 147'012'500, 147'012'500, true, true);
    cdcss(ch[3], Side::Transmit, 23);
    cdcss(ch[3], Side::Receive, 23, true);
    flag(ch[3], model::kClockShiftBit);

    ch[5] = openChannel(0, 150'025'000, 150'025'000, false, false);
    ctcss(ch[5], Side::Transmit, 670);
    cdcss(ch[5], Side::Receive, 754, true);

    ch[6] = openChannel(0, 151'000'000, 151'000'000, false, false);
    cdcss(ch[6], Side::Transmit, 131);
    ctcss(ch[6], Side::Receive, 2541);

    ch[7] = openChannel(0, 152'000'000, 152'000'000, false, false);
    ctcss(ch[7], Side::Receive, 1230);

    ch[8] = openChannel(0, 153'000'000, 153'000'000, false, false);
    cdcss(ch[8], Side::Transmit, 565, true);

    ch[9] = openChannel(0, 154'000'000, 154'000'000, false, false);
    cdcss(ch[9], Side::Receive, 47);

    ch[10] = openChannel(0, 155'000'000, 155'000'000, false, false);
    ctcss(ch[10], Side::Transmit, 719);
    ctcss(ch[10], Side::Receive, 2035);

    ch[11] = openChannel(0, 156'000'000, 156'000'000, false, false);
    cdcss(ch[11], Side::Transmit, 23);
    cdcss(ch[11], Side::Receive, 25, true);

    ch[12] = openChannel(0, 151'000'000, 150'000'000, false, false);
    model::setBit(ch[12][model::flagByte(Side::Transmit)], model::kOpenBit, false);
    model::encodeTwoTone(ch[12], Side::Receive, 5);

    ch[13] = openChannel(0, 140'002'500, 140'006'250, false, true);
    model::encodeTwoTone(ch[13], Side::Transmit, 12);
    ctcss(ch[13], Side::Receive, 885);

    ch[14] = openChannel(0, 157'000'000, 157'000'000, false, false);
    ctcss(ch[14], Side::Receive, 1318);
    ch[14][model::flagByte(Side::Receive)] = static_cast<std::uint8_t>((ch[14][2] & 0x0F) | 0x20); // CTCSS, bit 4 clear
    ch[14][model::codeLowByte(Side::Transmit)] = 0x77; // left from an earlier signalling, now off
    ch[14][model::codeHighByte(Side::Transmit)] = 0x01;
    ch[14][model::kFlagsByte] = 0xE8;
    ch[14][11] = 9;
    ch[14][13] = 0x12;
    ch[14][14] = 0x34;
    ch[14][15] = 0x56;

    ch[15] = openChannel(0, 189'993'750, 120'000'000, true, false);
    flag(ch[15], model::kNarrowBit);
    flag(ch[15], model::kScanDelBit);
    return image;
}

// Model 3 (380 to below 510 MHz): a split beyond 70 MHz, a repeater shift, a frequency on both
// grids, the four polarities of one code. Channels 1, 8 and 16 stay closed.
inline model::RadioImage variedModel3()
{
    model::RadioImage image = model::defaultImage(3);
    auto& ch = image.channels;
    ch[1] = openChannel(3, 400'000'000, 480'000'000, true, true);
    ch[2] = openChannel(3, 460'000'000, 465'000'000, true, true);
    ctcss(ch[2], Side::Transmit, 1622);
    ctcss(ch[2], Side::Receive, 1622);
    ch[3] = openChannel(3, 450'012'500, 450'012'500, true, true);
    flag(ch[3], model::kNarrowBit);
    const bool polarities[4][2] = { { false, false }, { false, true }, { true, false }, { true, true } };
    for (int k = 0; k < 4; ++k) {
        Record& r = ch[static_cast<std::size_t>(4 + k)];
        r = openChannel(3, 470'000'000 + 12'500 * k, 470'000'000 + 12'500 * k, true, true);
        cdcss(r, Side::Transmit, 306, polarities[k][0]);
        cdcss(r, Side::Receive, 306, polarities[k][1]);
    }
    ch[8] = openChannel(3, 380'000'000, 509'993'750, false, true);
    ch[9] = openChannel(3, 509'997'500, 509'997'500, false, false);
    return image;
}

// A small deterministic generator, so a failing seed can be run again.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed)
        : m_state(seed)
    {
    }
    std::uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(next()); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t m_state;
};

// A frequency inside the model's limits on the step's grid.
inline std::int64_t randomFrequency(Lcg& g, int modelIndex, bool step625)
{
    const auto limits = model::entryLimits(modelIndex);
    const std::int64_t step = model::stepHz(step625);
    const std::int64_t first = (limits.lowerHz + step - 1) / step;
    const std::int64_t last = (limits.upperHz - 1) / step;
    return (first + g.below(static_cast<int>(last - first + 1))) * step;
}

// One side's signalling. Canonical: only what the window itself writes (nibbles 0, 3, 5, 7, 8,
// code bytes as the codecs make them). Otherwise also the other nibbles a record can carry,
// bits the decoders ignore, and code or 2-Tone bytes left over from earlier signalling.
inline void randomSignalling(Lcg& g, Record& r, Side s, bool canonical)
{
    const int choice = g.below(canonical ? 5 : 7);
    std::uint8_t& flags = r[model::flagByte(s)];
    std::uint8_t& c0 = r[model::codeLowByte(s)];
    std::uint8_t& c1 = r[model::codeHighByte(s)];
    if (!canonical) {
        c0 = g.byte();
        c1 = g.byte();
        r[model::twoToneByte(s)] = g.byte();
    }
    switch (choice) {
    case 0:
        break; // off
    case 1: {
        const int tenths = 600 + g.below(2001);
        ctcss(r, s, tenths);
        if (!canonical) {
            c1 = static_cast<std::uint8_t>(c1 | (g.byte() & 0xC0));
            flags = static_cast<std::uint8_t>((flags & 0x0F) | (g.chance(50) ? 0x20 : 0x30));
        }
        break;
    }
    case 2:
    case 3: {
        const int value = g.below(512);
        const int digits = (value / 64) * 100 + ((value / 8) % 8) * 10 + value % 8;
        cdcss(r, s, digits, choice == 3);
        if (!canonical) {
            c1 = static_cast<std::uint8_t>(c1 | (g.byte() & 0xFE));
            flags = static_cast<std::uint8_t>((flags & 0x0F) | ((choice == 3 ? 0x60 : 0x40) | g.below(2) << 4));
        }
        break;
    }
    case 4:
        model::encodeTwoTone(r, s, g.byte());
        break;
    case 5: {
        static constexpr int kNoKind[] = { 0x1, 0x9, 0xA, 0xB, 0xC, 0xD, 0xE, 0xF };
        flags = static_cast<std::uint8_t>((flags & 0x0F) | (kNoKind[g.below(8)] << 4));
        break;
    }
    default:
        break; // off, over leftover code bytes
    }
}

// A channel table of the model with some channels open and varied. Closed channels are the
// model's default record.
inline model::ChannelTable randomTable(std::uint32_t seed, int modelIndex, bool canonical)
{
    Lcg g(seed);
    model::ChannelTable table;
    for (Record& r : table) {
        r = model::defaultChannelRecord(modelIndex);
        if (!g.chance(75)) continue;
        const bool rxStep = g.chance(50);
        const bool txStep = g.chance(80) ? rxStep : !rxStep;
        const std::int64_t rxHz = randomFrequency(g, modelIndex, rxStep);
        std::int64_t txHz = rxHz;
        if (g.chance(60) || txStep != rxStep) {
            txHz = randomFrequency(g, modelIndex, txStep);
        }
        r = openChannel(modelIndex, rxHz, txHz, rxStep, txStep);
        model::setBit(r[model::flagByte(Side::Transmit)], model::kOpenBit, g.chance(85));
        randomSignalling(g, r, Side::Receive, canonical);
        randomSignalling(g, r, Side::Transmit, canonical);
        const std::uint8_t meaningful = static_cast<std::uint8_t>(g.byte() & 0x17);
        r[model::kFlagsByte] = canonical ? meaningful : g.byte();
        if (!canonical)
            for (int k = 13; k < 16; ++k)
                r[static_cast<std::size_t>(k)] = g.byte();
    }
    return table;
}

} // namespace korvane::files::test
