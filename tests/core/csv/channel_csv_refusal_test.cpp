// Every way a spreadsheet is refused, each with its exact message, from tests/data/csv/refusals.txt:
// one case a line, the model, the spreadsheet (with \n, \r, \t, \xHH and \\ escapes) and the
// message, separated by tabs.

#include "core/files/channel_csv.h"

#include "core/model/defaults.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace korvane;
using namespace korvane::files;

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

std::string unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

// A generic row with some cells replaced.
std::string row(const std::string& location, const std::string& frequency, const std::string& duplexOffset = ",",
    const std::string& tones = ",88.5,88.5,023,NN,023,Tone->Tone", const std::string& modeStepSkip = "FM,2.50,")
{
    return location + ",," + frequency + "," + duplexOffset + "," + tones + "," + modeStepSkip + ",,,,,,\n";
}

} // namespace

TEST(ChannelCsvRefusal, EveryMessage)
{
    std::istringstream cases(korvane::test::dataFile("csv/refusals.txt"));
    int count = 0;
    for (std::string line; std::getline(cases, line); ++count) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        const int modelIndex = std::stoi(line.substr(0, first));
        const std::string csv = unescaped(line.substr(first + 1, second - first - 1));
        const auto table = importChannelCsv(csv, modelIndex, model::defaultImage(modelIndex).channels);
        ASSERT_FALSE(table.ok()) << line;
        EXPECT_EQ(table.error().text, line.substr(second + 1)) << line;
        EXPECT_EQ(table.error().title, "CSV错误");
        EXPECT_EQ(table.error().icon, util::MessageIcon::Exclamation);
    }
    EXPECT_EQ(count, 53);
}

// The first refusal in reading order is the one reported: rows top to bottom, and within a row
// Location, RawRecord, steps, frequencies, tones, the rest.
TEST(ChannelCsvRefusal, FirstProblemWins)
{
    const std::string csv = kHeader + "\n" + row("1", "145.0") + row("2", "999", ",", "Bad,,,,,,") + row("2", "x");
    const auto table = importChannelCsv(csv, 0, model::defaultImage(0).channels);
    ASSERT_FALSE(table.ok());
    EXPECT_EQ(
        table.error().text, "第3行，Frequency列：频率999.000000MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）");
}
