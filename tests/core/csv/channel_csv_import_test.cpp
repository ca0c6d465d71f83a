#include "core/files/channel_csv.h"

#include "core/model/channel_view.h"
#include "csv_fixtures.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::files;
using namespace korvane::files::test;

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

model::ChannelTable imported(const std::string& csv, int modelIndex = 0)
{
    const auto table = importChannelCsv(csv, modelIndex, model::defaultImage(modelIndex).channels);
    EXPECT_TRUE(table.ok()) << csv << "\n" << (table.ok() ? "" : table.error().text);
    return table.ok() ? *table : model::ChannelTable {};
}

// The grid's texts of a channel: frequencies, steps, signalling, scan, busy lock, clock shift,
// bandwidth.
std::array<std::string, model::kChannelColumns> cells(const Record& r) { return model::channelCellTexts(r); }

using Texts = std::array<std::string, model::kChannelColumns>;

} // namespace

// Rows as another program writes them: all generic columns, CR LF, its own Name, Power and
// Comment values, a step this radio has not, values in the unused tone cells.
TEST(ChannelCsvImport, AsOtherToolsWriteIt)
{
    const std::string csv = kHeader
        + "\r\n"
          "1,CALL,145.500000,,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
          "2,RPT A,145.600000,-,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,5.0W,club,,,,\r\n"
          "3,RPT B,146.940000,-,0.600000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,NFM,5.00,S,1.0W,,,,,\r\n"
          "4,DCS,147.000000,+,0.600000,DTCS,88.5,88.5,754,RN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
          "5,SPLIT,150.000000,split,160.000000,Cross,88.5,67.0,023,RN,023,DTCS->Tone,FM,5.00,P,5.0W,,,,,\r\n"
          "16,RXONLY,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,25.00,,5.0W,,,,,\r\n";
    const auto table = imported(csv);
    EXPECT_EQ(cells(table[0]),
        (Texts { "145.50000", "2.50", "OFF", "145.50000", "2.50", "OFF", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[1]),
        (Texts { "145.60000", "2.50", "OFF", "145.00000", "2.50", "CTCSS: 88.5", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[2]),
        (Texts {
            "146.94000", "2.50", "CTCSS: 100.0", "146.34000", "2.50", "CTCSS: 100.0", "DEL", "OFF", "OFF", "Narrow" }));
    EXPECT_EQ(cells(table[3]),
        (Texts {
            "147.00000", "2.50", "CDCSS: 754", "147.60000", "2.50", "--CDCSS: 754", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[4]),
        (Texts {
            "150.00000", "2.50", "CTCSS: 67.0", "160.00000", "2.50", "--CDCSS: 023", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[15]),
        (Texts { "162.55000", "2.50", "OFF", "162.55000", "2.50", "OFF", "ADD", "OFF", "OFF", "Narrow" }));
    for (int i : { 0, 1, 2, 3, 4, 15 })
        EXPECT_TRUE(model::isChannelOpen(table[static_cast<std::size_t>(i)])) << i;
    EXPECT_TRUE(model::isTransmitAllowed(table[4]));
    EXPECT_FALSE(model::isTransmitAllowed(table[15]));
    for (int i = 5; i < 15; ++i)
        EXPECT_EQ(table[static_cast<std::size_t>(i)], model::defaultChannelRecord(0)) << i;
}

// Each tone mode, cross mode and polarity as the receive and transmit signalling it gives.
TEST(ChannelCsvImport, ToneModesCrossModesAndPolarities)
{
    struct Row {
        std::string toneCells; // Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode
        std::string receive;
        std::string transmit;
    } rows[] = {
        { ",88.5,88.5,023,NN,023,Tone->Tone", "OFF", "OFF" },
        { "Tone,100.0,88.5,023,NN,023,Tone->Tone", "OFF", "CTCSS: 100.0" },
        { "TSQL,88.5,131.8,023,NN,023,Tone->Tone", "CTCSS: 131.8", "CTCSS: 131.8" },
        { "DTCS,88.5,88.5,023,NN,754,Tone->Tone", "CDCSS: 023", "CDCSS: 023" },
        { "DTCS,88.5,88.5,023,NR,023,Tone->Tone", "--CDCSS: 023", "CDCSS: 023" },
        { "DTCS,88.5,88.5,023,RN,023,Tone->Tone", "CDCSS: 023", "--CDCSS: 023" },
        { "DTCS,88.5,88.5,023,RR,023,Tone->Tone", "--CDCSS: 023", "--CDCSS: 023" },
        { "Cross,67.0,254.1,023,NN,023,Tone->Tone", "CTCSS: 254.1", "CTCSS: 67.0" },
        { "Cross,88.5,88.5,565,RN,047,DTCS->", "OFF", "--CDCSS: 565" },
        { "Cross,88.5,88.5,565,NR,047,->DTCS", "--CDCSS: 047", "OFF" },
        { "Cross,71.9,88.5,565,NR,047,Tone->DTCS", "--CDCSS: 047", "CTCSS: 71.9" },
        { "Cross,88.5,203.5,565,RN,047,DTCS->Tone", "CTCSS: 203.5", "--CDCSS: 565" },
        { "Cross,88.5,123.0,023,NN,023,->Tone", "CTCSS: 123.0", "OFF" },
        { "Cross,88.5,88.5,023,NR,025,DTCS->DTCS", "--CDCSS: 025", "CDCSS: 023" },
        { "Cross,88.5,88.5,023,RR,025,DTCS->DTCS", "--CDCSS: 025", "--CDCSS: 023" },
        { "Cross,151.4,88.5,023,NN,023,Tone->", "OFF", "CTCSS: 151.4" },
    };
    for (const Row& row : rows) {
        const auto table = imported(kHeader + "\n1,,145.000000,,0.000000," + row.toneCells + ",FM,2.50,,,,,,,\n");
        EXPECT_EQ(model::formatSignalling(table[0], Side::Receive), row.receive) << row.toneCells;
        EXPECT_EQ(model::formatSignalling(table[0], Side::Transmit), row.transmit) << row.toneCells;
    }
}

// A byte order mark, comment and blank lines, columns in another order and case, quoted
// fields, columns this program does not know, rows of empty cells a spreadsheet leaves.
TEST(ChannelCsvImport, ReadsTheTextLeniently)
{
    const std::string csv
        = "\xEF\xBB\xBF"
          "# channels for the club net\n"
          "\n"
          "\"Frequency\",\"location\",\"Name\",\"Extra\",\"TONE\",\"rToneFreq\",\"Duplex\",\"Offset\"\n"
          "\"146.520000\",\"7\",\"Club, \"\"main\"\"\nsecond line\",\"x\",\"Tone\",\" 88.5 \",\"\",\"\"\n"
          "# a note between rows\n"
          "  145.000000 ,  3 ,,,,,-, 0.6\r\n"
          ",,,,,,,\n";
    const auto table = imported(csv);
    EXPECT_EQ(cells(table[6]),
        (Texts { "146.52000", "2.50", "OFF", "146.52000", "2.50", "CTCSS: 88.5", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[2]),
        (Texts { "145.00000", "2.50", "OFF", "144.40000", "2.50", "OFF", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_TRUE(model::isChannelOpen(table[2]));
    EXPECT_TRUE(model::isChannelOpen(table[6]));
    EXPECT_FALSE(model::isChannelOpen(table[0]));
}

// The header alone (or only Location and Frequency) is enough; nothing listed, nothing open.
TEST(ChannelCsvImport, MinimalFiles)
{
    for (int m = 0; m < model::kModelCount; ++m)
        EXPECT_EQ(imported(kHeader + "\n", m), model::defaultImage(m).channels);
    const auto table = imported("Location,Frequency\n2,144.000000\n");
    EXPECT_EQ(cells(table[1]),
        (Texts { "144.00000", "2.50", "OFF", "144.00000", "2.50", "OFF", "ADD", "OFF", "OFF", "Wide" }));
}

// TStep decides when the frequency lies on its grid; otherwise the grid that holds it, and for
// a frequency on both, the step of the starting record (the model's default channel).
TEST(ChannelCsvImport, StepChoice)
{
    struct Row {
        int modelIndex;
        std::string cells; // Frequency,Duplex,Offset,TStep,TxStep
        std::string rxStep;
        std::string txStep;
    } rows[] = {
        { 0, "145.012500,,,6.25,", "6.25", "6.25" }, { 0, "145.012500,,,2.50,", "2.50", "2.50" },
        { 0, "145.012500,,,,", "2.50", "2.50" }, // model 0 defaults to 2.50
        { 3, "450.012500,,,,", "6.25", "6.25" }, // model 3 to 6.25
        { 3, "450.012500,,,2.5,", "2.50", "2.50" },
        { 0, "145.006250,,,2.50,", "6.25", "6.25" }, // not on the 2.5 kHz grid: TStep cannot decide
        { 3, "450.002500,,,6.25,", "2.50", "2.50" }, { 0, "145.005000,,,5.00,", "2.50", "2.50" },
        { 3, "450.000000,,,12.50,", "6.25", "6.25" },
        { 0, "145.000000,+,0.006250,2.50,", "2.50", "6.25" }, // the transmit frequency needs 6.25
        { 0, "145.000000,,,2.50,6.25", "2.50", "6.25" }, { 3, "450.000000,,,6.25,2.50", "6.25", "2.50" },
        { 3, "450.000000,+,5.002500,6.25,6.25", "6.25", "2.50" }, // TxStep inconsistent
    };
    for (const Row& row : rows) {
        const auto table
            = imported("Location,Frequency,Duplex,Offset,TStep,TxStep\n1," + row.cells + "\n", row.modelIndex);
        const auto texts = cells(table[0]);
        EXPECT_EQ(texts[1], row.rxStep) << row.cells;
        EXPECT_EQ(texts[4], row.txStep) << row.cells;
    }
}

TEST(ChannelCsvImport, DuplexAndOffset)
{
    struct Row {
        std::string cells; // Frequency,Duplex,Offset,TxFrequency
        std::string tx;
        bool allowed;
    } rows[] = {
        { "145.000000,,5.000000,", "145.00000", true }, { "145.000000,+,0.600000,", "145.60000", true },
        { "145.000000,-,0.6,", "144.40000", true }, { "145.000000,split,155.0,", "155.00000", true },
        { "145.000000,SPLIT,155.0,", "155.00000", true }, { "145.000000,off,0.600000,", "145.00000", false },
        { "145.000000,off,,150.000000", "150.00000", false }, { "145.000000,Off,,", "145.00000", false },
        { "145.000000,,,150.000000", "145.00000", true }, // TxFrequency only speaks for "off"
    };
    for (const Row& row : rows) {
        const auto table = imported("Location,Frequency,Duplex,Offset,TxFrequency\n4," + row.cells + "\n");
        EXPECT_EQ(cells(table[3])[3], row.tx) << row.cells;
        EXPECT_EQ(model::isTransmitAllowed(table[3]), row.allowed) << row.cells;
    }
}

TEST(ChannelCsvImport, FlagColumnsAndTwoTone)
{
    const auto table = imported("Location,Frequency,Mode,Skip,BusyLock,ClockShift,RxTwoTone,TxTwoTone,Tone,rToneFreq\n"
                                "1,145.0,NFM,S,ON,ON,,,,\n"
                                "2,145.0,fm,P,off,Off,3,255,,\n"
                                "3,145.0,,,,,,7,,\n"
                                "4,145.0,,,,,0,,Tone,67.0\n");
    EXPECT_EQ(cells(table[0]),
        (Texts { "145.00000", "2.50", "OFF", "145.00000", "2.50", "OFF", "DEL", "ON", "ON", "Narrow" }));
    EXPECT_EQ(cells(table[1]),
        (Texts { "145.00000", "2.50", "2-Tone: 3", "145.00000", "2.50", "2-Tone: 255", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[2]),
        (Texts { "145.00000", "2.50", "OFF", "145.00000", "2.50", "2-Tone: 7", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(cells(table[3]),
        (Texts { "145.00000", "2.50", "2-Tone: 0", "145.00000", "2.50", "CTCSS: 67.0", "ADD", "OFF", "OFF", "Wide" }));
}

// Channels the spreadsheet leaves out are the base's records, closed.
TEST(ChannelCsvImport, AbsentChannelsAreClosed)
{
    model::ChannelTable base = variedModel0().channels;
    const auto table = importChannelCsv("Location,Frequency\n9,150.0\n", 0, base);
    ASSERT_TRUE(table.ok());
    for (std::size_t i = 0; i < base.size(); ++i) {
        if (i == 8) {
            EXPECT_TRUE(model::isChannelOpen((*table)[i]));
            continue;
        }
        Record closed = base[i];
        model::setBit(closed[model::flagByte(Side::Receive)], model::kOpenBit, false);
        EXPECT_EQ((*table)[i], closed) << i;
    }
}

// The columns win over RawRecord; what no column describes comes from it.
TEST(ChannelCsvImport, RawRecordUnderTheColumns)
{
    const std::string raw = "50 F5 28 18 13 50 F5 08 77 01 E8 09 00 12 34 56"; // 157.0, receive CTCSS 131.8 (nibble 2)
    struct Row {
        std::string cells; // Frequency,Tone,rToneFreq,cToneFreq,CrossMode,Mode
        Record expected;
    } rows[] = {
        { "157.000000,Cross,,131.8,->Tone,FM",
            { 0x50, 0xF5, 0x28, 0x18, 0x13, 0x50, 0xF5, 0x08, 0x77, 0x01, 0xE8, 0x09, 0x00, 0x12, 0x34, 0x56 } },
        { "157.000000,Cross,,131.8,->Tone,NFM",
            { 0x50, 0xF5, 0x28, 0x18, 0x13, 0x50, 0xF5, 0x08, 0x77, 0x01, 0xE9, 0x09, 0x00, 0x12, 0x34, 0x56 } },
        // Another tone: the canonical CTCSS nibble stays 2 (same kind), new code bytes.
        { "157.000000,Cross,,88.5,->Tone,FM",
            { 0x50, 0xF5, 0x28, 0x85, 0x08, 0x50, 0xF5, 0x08, 0x77, 0x01, 0xE8, 0x09, 0x00, 0x12, 0x34, 0x56 } },
        // Off on receive keeps the code bytes, as the window's OFF does.
        { "157.000000,,,,,FM",
            { 0x50, 0xF5, 0x08, 0x18, 0x13, 0x50, 0xF5, 0x08, 0x77, 0x01, 0xE8, 0x09, 0x00, 0x12, 0x34, 0x56 } },
        // A new frequency and a transmit tone.
        { "145.000000,Tone,67.0,,,FM",
            { 0x90, 0xE2, 0x08, 0x18, 0x13, 0x90, 0xE2, 0x38, 0x70, 0x06, 0xE8, 0x09, 0x00, 0x12, 0x34, 0x56 } },
    };
    for (const Row& row : rows) {
        const auto table = imported(
            "Location,Frequency,Tone,rToneFreq,cToneFreq,CrossMode,Mode,RawRecord\n1," + row.cells + "," + raw + "\n");
        EXPECT_EQ(table[0], row.expected) << row.cells;
    }
    // Without spaces, in lower case.
    const auto table = imported("Location,Frequency,RawRecord\n1,157.0,50f5281813 50f50877 01e809001234 56\n");
    EXPECT_EQ(table[0][13], 0x12);
    EXPECT_EQ(table[0][15], 0x56);
}
