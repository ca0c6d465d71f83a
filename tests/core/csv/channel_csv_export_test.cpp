#include "core/files/channel_csv.h"

#include "core/files/data_file.h"
#include "csv_fixtures.h"
#include "support/golden.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::files;
using namespace korvane::files::test;

// The committed fixture images export to the committed spreadsheets.
TEST(ChannelCsvExport, FixturesMatchTheCommittedFiles)
{
    for (const int m : { 0, 3 }) {
        const std::string name = "csv/varied_model" + std::to_string(m) + ".csv";
        const std::string csv = exportChannelCsv(variedImage(m));
        EXPECT_EQ(csv, korvane::test::expectedFile(name, csv)) << name;
    }
}

TEST(ChannelCsvExport, HeaderAloneWhenEveryChannelIsClosed)
{
    const std::string header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                               "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
                               "RPT2CALL,DVCODE,BusyLock,ClockShift,RxTwoTone,TxTwoTone,TxStep,TxFrequency,RawRecord\n";
    for (int m = 0; m < model::kModelCount; ++m)
        EXPECT_EQ(exportChannelCsv(model::defaultImage(m)), header);
}

// One channel per row of the table: the cells that say what its record holds.
TEST(ChannelCsvExport, CellsOfSingleChannels)
{
    struct Row {
        const char* what;
        Record record;
        std::string line;
    };
    auto open = [](std::int64_t rx, std::int64_t tx) { return openChannel(0, rx, tx, false, false); };
    Record tsql = open(145'000'000, 145'000'000);
    ctcss(tsql, Side::Transmit, 670);
    ctcss(tsql, Side::Receive, 670);
    Record low = open(145'000'000, 145'000'000);
    ctcss(low, Side::Transmit, 75); // a tone no tool uses still shows as "%.1f"
    Record far = openChannel(2, 400'000'000, 470'000'000, true, true);
    Record farther = openChannel(2, 400'000'000, 470'006'250, true, true);
    const std::string tail = ",,,,,,,,OFF,OFF,,,,,";
    Row rows[] = {
        { "simplex", open(145'500'000, 145'500'000),
            "1,,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,2.50,,,,,,,,OFF,OFF,,,,,"
            "58 E3 08 00 00 58 E3 08 00 00 00 00 00 00 00 00" },
        { "TSQL writes the tone in both tone cells", tsql,
            "1,,145.000000,,0.000000,TSQL,67.0,67.0,023,NN,023,Tone->Tone,FM,2.50" + tail },
        { "one integer digit", low, "1,,145.000000,,0.000000,Tone,7.5,88.5,023,NN,023,Tone->Tone,FM,2.50" + tail },
        { "a shift of exactly 70 MHz", far,
            "1,,400.000000,+,70.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25" + tail },
        { "beyond 70 MHz a split", farther,
            "1,,400.000000,split,470.006250,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25" + tail },
    };
    for (const Row& row : rows) {
        model::RadioImage image = model::defaultImage(0);
        image.channels[0] = row.record;
        const std::string csv = exportChannelCsv(image);
        const std::string line = csv.substr(csv.find('\n') + 1);
        // Compare without the raw record, except for the first row.
        const std::string shown
            = row.line.ends_with(",") ? line.substr(0, line.rfind(',') + 1) : line.substr(0, line.size() - 1);
        EXPECT_EQ(shown, row.line) << row.what;
    }
}
