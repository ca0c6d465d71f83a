#include "core/model/signalling_cell.h"

#include <gtest/gtest.h>

using namespace korvane::model;

TEST(SignallingCell, ParsesEveryKindOfCell)
{
    struct Row {
        const char* text;
        SignallingKind kind;
        std::int64_t value;
    } rows[] = {
        { "OFF", SignallingKind::Off, 0 },
        { "CTCSS: 88.5", SignallingKind::Ctcss, 885 },
        { "CTCSS: 100.0", SignallingKind::Ctcss, 1000 },
        { "CTCSS: 254.1", SignallingKind::Ctcss, 2541 },
        { "CDCSS: 023", SignallingKind::Cdcss, 23 },
        { "--CDCSS: 754", SignallingKind::InvertedCdcss, 754 },
        { "2-Tone: 5", SignallingKind::TwoTone, 5 },
        { "2-Tone: 12", SignallingKind::TwoTone, 12 }, // read whole, not its last digit
        { "2-Tone: 255", SignallingKind::TwoTone, 255 },
        { "", SignallingKind::Off, 0 },
        { "xyz", SignallingKind::Off, 0 },
        { "CTCSS: ", SignallingKind::Ctcss, 0 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseSignallingCell(row.text), (SignallingChoice { row.kind, row.value })) << row.text;
}

TEST(SignallingCell, TextsRoundTripThroughParsing)
{
    for (const char* text : { "OFF", "CTCSS: 67.0", "CTCSS: 123.0", "CDCSS: 023", "--CDCSS: 754", "2-Tone: 5", "2-Tone: 200" })
        EXPECT_EQ(signallingCellText(parseSignallingCell(text)), text);
}

TEST(SignallingCell, ApplyingAChoiceWritesTheRecord)
{
    Record r {};
    r[2] = 0x0D;
    r[3] = 0x11;
    r[4] = 0x22;
    r[11] = 9;
    EXPECT_EQ(applySignallingChoice({ SignallingKind::Ctcss, 670 }, r, Side::Receive), "CTCSS: 67.0");
    EXPECT_EQ(r[2], 0x3D);
    EXPECT_EQ(r[3], 0x70);
    EXPECT_EQ(r[4], 0x06);
    EXPECT_EQ(r[11], 9);

    EXPECT_EQ(applySignallingChoice({ SignallingKind::Off, 0 }, r, Side::Receive), "OFF");
    EXPECT_EQ(r[2], 0x0D);
    EXPECT_EQ(r[3], 0x70); // the code stays
    EXPECT_EQ(r[4], 0x06);

    EXPECT_EQ(applySignallingChoice({ SignallingKind::InvertedCdcss, 754 }, r, Side::Transmit), "--CDCSS: 754");
    EXPECT_EQ(r[7] >> 4, 7);
    EXPECT_EQ(r[8], 0xEC);
    EXPECT_EQ(r[9], 0x01);

    r[8] = 0x55;
    EXPECT_EQ(applySignallingChoice({ SignallingKind::TwoTone, 5 }, r, Side::Transmit), "2-Tone: 5");
    EXPECT_EQ(r[7] >> 4, 8);
    EXPECT_EQ(r[12], 5);
    EXPECT_EQ(r[8], 0x55); // 2-Tone leaves the code bytes

    const Record before = r;
    EXPECT_FALSE(applySignallingChoice({ SignallingKind::Cdcss, 88 }, r, Side::Receive));
    EXPECT_EQ(r, before);
}
