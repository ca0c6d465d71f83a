#include "core/files/channel_csv.h"

#include "core/model/defaults.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::files;

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// A generic row with some cells replaced.
std::string row(const std::string& location, const std::string& frequency, const std::string& duplexOffset = ",",
    const std::string& tones = ",88.5,88.5,023,NN,023,Tone->Tone", const std::string& modeStepSkip = "FM,2.50,")
{
    return location + ",," + frequency + "," + duplexOffset + "," + tones + "," + modeStepSkip + ",,,,,,\n";
}

} // namespace

TEST(ChannelCsvRefusal, EveryMessage)
{
    const std::string ok = row("1", "145.000000");
    const std::string extra = "Location,Frequency,TStep,TxStep,RxTwoTone,TxTwoTone,BusyLock,ClockShift,TxFrequency,"
                              "Duplex,Tone,rToneFreq,RawRecord\n";
    struct Row {
        int modelIndex;
        std::string csv;
        std::string message;
    } rows[] = {
        // The text and the header.
        { 0, "", "CSV文件中没有标题行（应以Location,Name,Frequency,...开头）" },
        { 0, "# only a comment\n\n", "CSV文件中没有标题行（应以Location,Name,Frequency,...开头）" },
        { 0, kHeader + "\n" + ok + "2,\"open,145.0\n3,,146.0\n", "第3行：引号没有闭合" },
        { 0, "Name,Frequency\n", "第1行：标题行缺少Location列" },
        { 0, "# made by hand\nLocation,Name\n", "第2行：标题行缺少Frequency列" },
        { 0, "Location,Frequency,frequency\n", "第1行：标题行中frequency列出现了两次" },
        // Location.
        { 0, kHeader + "\n" + row("0", "145.0"), "第2行，Location列：“0”不是1至16之间的信道号" },
        { 0, kHeader + "\n" + row("17", "145.0"), "第2行，Location列：“17”不是1至16之间的信道号" },
        { 0, kHeader + "\n" + row("", "145.0"), "第2行，Location列：“”不是1至16之间的信道号" },
        { 0, kHeader + "\n" + row("1.0", "145.0"), "第2行，Location列：“1.0”不是1至16之间的信道号" },
        { 0, kHeader + "\n" + ok + "\n" + row("1", "146.0"), "第4行，Location列：信道1已在第2行出现过" },
        // Frequencies.
        { 0, kHeader + "\n" + row("1", "abc"), "第2行，Frequency列：“abc”不是频率数值（单位MHz）" },
        { 0, kHeader + "\n" + row("1", ""), "第2行，Frequency列：缺少频率" },
        { 0, kHeader + "\n" + row("1", "119.997500"),
            "第2行，Frequency列：频率119.997500MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）" },
        { 0, kHeader + "\n" + row("1", "190.000000"),
            "第2行，Frequency列：频率190.000000MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）" },
        { 2, kHeader + "\n" + row("1", "145.000000"),
            "第2行，Frequency列：频率145.000000MHz超出本机型的输入范围（380.0MHz至510.0MHz以下）" },
        { 5, kHeader + "\n" + row("1", "410.0"),
            "第2行，Frequency列：频率410.000000MHz超出本机型的输入范围（330.0MHz至410.0MHz以下）" },
        { 0, kHeader + "\n" + row("1", "145.001000"),
            "第2行，Frequency列：频率145.001000MHz不在2.5kHz或6.25kHz的频率栅格上" },
        { 0, kHeader + "\n" + row("1", "145.0000001"),
            "第2行，Frequency列：频率“145.0000001”不在2.5kHz或6.25kHz的频率栅格上" },
        { 0, kHeader + "\n" + row("1", "145.0", "+,0.601"),
            "第2行，Offset列：发射频率145.601000MHz不在2.5kHz或6.25kHz的频率栅格上" },
        { 0, kHeader + "\n" + row("1", "145.0", "+,50.0"),
            "第2行，Offset列：发射频率195.000000MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）" },
        { 0, kHeader + "\n" + row("1", "145.0", "split,100.0"),
            "第2行，Offset列：发射频率100.000000MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）" },
        { 0, kHeader + "\n" + row("1", "145.0", "+,"), "第2行，Offset列：缺少频差" },
        { 0, kHeader + "\n" + row("1", "145.0", "-,x"), "第2行，Offset列：“x”不是频差数值（单位MHz）" },
        { 0, kHeader + "\n" + row("1", "145.0", "-,-0.6"),
            "第2行，Offset列：“-0.6”不是频差数值（应不小于0，单位MHz）" },
        { 0, kHeader + "\n" + row("1", "145.0", "duplex,0.6"),
            "第2行，Duplex列：未知的收发方式“duplex”（可用：空、+、-、split、off）" },
        { 0, extra + "1,145.0,,,,,,,200.0,off,,,\n",
            "第2行，TxFrequency列：发射频率200.000000MHz超出本机型的输入范围（120.0MHz至190.0MHz以下）" },
        { 0, extra + "1,145.0,,,,,,,15O.0,off,,,\n", "第2行，TxFrequency列：“15O.0”不是发射频率数值（单位MHz）" },
        // Steps.
        { 0, kHeader + "\n" + row("1", "145.0", ",", ",88.5,88.5,023,NN,023,Tone->Tone", "FM,2.5kHz,"),
            "第2行，TStep列：“2.5kHz”不是步进数值（应为2.50或6.25，单位kHz）" },
        { 0, extra + "1,145.0,,fine,,,,,,,,,\n", "第2行，TxStep列：“fine”不是步进数值（应为2.50或6.25，单位kHz）" },
        // Tones.
        { 0, kHeader + "\n" + row("1", "145.0", ",", "TSQL-R,88.5,88.5,023,NN,023,Tone->Tone"),
            "第2行，Tone列：未知的亚音方式“TSQL-R”（可用：空、Tone、TSQL、DTCS、Cross）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Cross,88.5,88.5,023,NN,023,Tone->TSQL"),
            "第2行，CrossMode列：未知的交叉方式“Tone->TSQL”（可用：Tone->Tone、DTCS->、->DTCS、Tone->DTCS、DTCS->"
            "Tone、->Tone、"
            "DTCS->DTCS、Tone->）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Cross,88.5,88.5,023,NN,023,"),
            "第2行，CrossMode列：未知的交叉方式“”（可用：Tone->Tone、DTCS->、->DTCS、Tone->DTCS、DTCS->Tone、->Tone、"
            "DTCS->DTCS、Tone->）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Tone,59.9,88.5,023,NN,023,Tone->Tone"),
            "第2行，rToneFreq列：未知的CTCSS频率“59.9”（应为60.0至260.0Hz、至多一位小数）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Tone,88.55,88.5,023,NN,023,Tone->Tone"),
            "第2行，rToneFreq列：未知的CTCSS频率“88.55”（应为60.0至260.0Hz、至多一位小数）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "TSQL,88.5,260.1,023,NN,023,Tone->Tone"),
            "第2行，cToneFreq列：未知的CTCSS频率“260.1”（应为60.0至260.0Hz、至多一位小数）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Cross,88.5,,023,NN,023,->Tone"),
            "第2行，cToneFreq列：缺少CTCSS频率（应为60.0至260.0Hz、至多一位小数）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "DTCS,88.5,88.5,089,NN,023,Tone->Tone"),
            "第2行，DtcsCode列：“089”不是八进制的CDCSS码（应为000至777，只含数字0～7）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "DTCS,88.5,88.5,0231,NN,023,Tone->Tone"),
            "第2行，DtcsCode列：“0231”不是八进制的CDCSS码（应为000至777，只含数字0～7）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Cross,88.5,88.5,,NN,023,DTCS->"),
            "第2行，DtcsCode列：缺少CDCSS码（应为000至777，只含数字0～7）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "Cross,88.5,88.5,023,NN,D754N,Tone->DTCS"),
            "第2行，RxDtcsCode列：“D754N”不是八进制的CDCSS码（应为000至777，只含数字0～7）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", "DTCS,88.5,88.5,023,NX,023,Tone->Tone"),
            "第2行，DtcsPolarity列：未知的极性“NX”（可用：NN、NR、RN、RR）" },
        // The radio's own columns.
        { 0, extra + "1,145.0,,,256,,,,,,,,\n", "第2行，RxTwoTone列：“256”不是0至255之间的2-Tone编号" },
        { 0, extra + "1,145.0,,,,-1,,,,,,,\n", "第2行，TxTwoTone列：“-1”不是0至255之间的2-Tone编号" },
        { 0, extra + "1,145.0,,,,5,,,,,Tone,88.5,\n", "第2行，TxTwoTone列：发射已设CTCSS或CDCSS，不能同时用2-Tone" },
        { 0, kHeader + ",RxTwoTone\n1,,145.0,,,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,2.50,,,,,,,,3\n",
            "第2行，RxTwoTone列：接收已设CTCSS或CDCSS，不能同时用2-Tone" },
        { 0, extra + "1,145.0,,,,,yes,,,,,,\n", "第2行，BusyLock列：未知的值“yes”（可用：ON、OFF）" },
        { 0, extra + "1,145.0,,,,,,1,,,,,\n", "第2行，ClockShift列：未知的值“1”（可用：ON、OFF）" },
        { 0, extra + "1,145.0,,,,,,,,,,,00 11\n", "第2行，RawRecord列：“00 11”不是16个十六进制字节" },
        { 0, extra + "1,145.0,,,,,,,,,,,00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FG\n",
            "第2行，RawRecord列：“00 11 22 33 44 55 66 77 88 99 AA BB CC D…”不是16个十六进制字节" },
        // Mode and scan.
        { 0, kHeader + "\n" + row("1", "145.0", ",", ",88.5,88.5,023,NN,023,Tone->Tone", "AM,2.50,"),
            "第2行，Mode列：未知的带宽方式“AM”（可用：FM、NFM）" },
        { 0, kHeader + "\n" + row("1", "145.0", ",", ",88.5,88.5,023,NN,023,Tone->Tone", "FM,2.50,X"),
            "第2行，Skip列：未知的扫描方式“X”（可用：空、S、P）" },
        // A control character in a quoted value.
        { 0, kHeader + "\n" + row("1", "\"1\t4\x01\"", ","), "第2行，Frequency列：“1?4?”不是频率数值（单位MHz）" },
    };
    for (const Row& r : rows) {
        const auto table = importChannelCsv(r.csv, r.modelIndex, model::defaultImage(r.modelIndex).channels);
        ASSERT_FALSE(table.ok()) << r.csv;
        EXPECT_EQ(table.error().text, r.message) << r.csv;
        EXPECT_EQ(table.error().title, "CSV错误");
        EXPECT_EQ(table.error().icon, util::MessageIcon::Exclamation);
    }
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
