#pragma once
// Channel tables for the spreadsheet tests: two hand-built images that use every column and
// mode (their data files and spreadsheets are committed under tests/data/csv), and seeded
// random tables for the round trips.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"

#include <gtest/gtest.h>

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

// The committed fixture images: every column, tone mode, cross mode and polarity, shifts both ways,
// transmit inhibited, 2-Tone, steps of their own and bits the program gives no meaning to
// (tests/data/csv/varied_model0.rdw and varied_model3.rdw, exported as the .csv beside them).
inline model::RadioImage variedImage(int modelIndex)
{
    const auto opened
        = openDataFile(std::string(KORVANE_TEST_DATA) + "/csv/varied_model" + std::to_string(modelIndex) + ".rdw",
            model::defaultImage(0));
    EXPECT_TRUE(opened.ok());
    return opened.ok() ? opened->image : model::RadioImage {};
}
inline model::RadioImage variedModel0() { return variedImage(0); }
inline model::RadioImage variedModel3() { return variedImage(3); }

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
