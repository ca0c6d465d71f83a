// The channel spreadsheet: the cases in csv/cases.txt.

#include "case_table.h"
#include "core/files/channel_csv.h"
#include "core/files/channel_csv_file.h"
#include "core/files/channel_csv_rows.h"
#include "core/files/channel_csv_tones.h"
#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "support/temp_dir.h"

using namespace korvane;
using namespace korvane::files;
using namespace korvane::model;
using korvane::test::Args;
using Kind = CsvTone::Kind;

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

RadioImage variedImage(int modelIndex)
{
    return openDataFile(KORVANE_TEST_DATA "/csv/varied_model" + std::to_string(modelIndex) + ".rdw", {})->image;
}

ChannelTable defaults(int modelIndex) { return defaultImage(modelIndex).channels; }

// The export's rows of the channels that differ from the base ("closed" when only the open bit does).
std::string rowsOf(const ChannelTable& table, const ChannelTable& base)
{
    RadioImage image = defaultImage(0);
    image.channels = table;
    std::istringstream csv(exportChannelCsv(image));
    std::string out, line;
    std::getline(csv, line);
    for (std::size_t i = 0; i < table.size(); ++i) {
        Record closed = base[i];
        setBit(closed[flagByte(Side::Receive)], kOpenBit, false);
        const bool open = table[i] != base[i] && table[i] != closed;
        while (open && std::getline(csv, line) && !line.starts_with(std::to_string(i + 1) + ",")) { }
        if (table[i] != base[i])
            out += " / "
                + (open ? line + (isTransmitAllowed(table[i]) ? "" : " (transmit inhibited)")
                        : std::to_string(i + 1) + " closed");
    }
    return out.empty() ? "nothing open" : out.substr(3);
}

CsvTone tone(std::istringstream& in)
{
    std::string kind;
    int value = 0;
    in >> kind >> value;
    return { kind == "ctcss" ? Kind::Ctcss : kind == "none" ? Kind::None : Kind::Dcs, value, kind == "-dcs" };
}

std::string run(const Args& a)
{
    const std::string& op = a[0];
    if (op == "import") {
        const auto base = a.size() > 3 ? variedImage(0).channels : defaults(std::stoi(a[1]));
        const auto table
            = importChannelCsv(a[2].starts_with("@H") ? kHeader + a[2].substr(2) : a[2], std::stoi(a[1]), base);
        return table.ok() ? rowsOf(*table, base) : test::shown(table.error());
    }
    static const test::TempDir dir; // where the cases save and load files
    const int m = a.size() > 1 && a[1].size() == 1 && std::isdigit(a[1][0]) ? a[1][0] - '0' : 0;
    if (op == "fixture") { // the committed data file exports to the committed spreadsheet, which imports back
        const auto csv = exportChannelCsv(variedImage(m));
        return std::string(csv == test::dataFile("csv/varied_model" + a[1] + ".csv") ? "as committed" : "differs")
            + (importChannelCsv(csv, m, defaults(m)).value() == variedImage(m).channels ? ", imports back" : "");
    }
    if (op == "save") {
        const auto failed = saveChannelCsv(dir.file(a[2]), variedImage(m));
        const bool holds = test::readWholeFile(dir / a[2]) == exportChannelCsv(variedImage(m));
        return failed ? test::shown(*failed) : holds ? "saved, holds the export" : "saved";
    }
    if (op == "load") {
        const auto loaded = loadChannelCsv(dir.file(a[2]), m, defaults(m));
        return loaded.ok() ? rowsOf(*loaded, defaults(m)) : test::shown(loaded.error());
    }
    if (op == "export") {
        ChannelTable table = defaults(0);
        const auto bytes = test::bytesOf(a[1]);
        std::copy(bytes.begin(), bytes.end(), table[0].begin());
        return rowsOf(table, defaults(0));
    }
    const auto rows = splitCsvRows(op == "rows" ? a[1] : csvField(a[1]) + ",x\n");
    if (op == "field")
        return test::escaped(csvField(a[1])) + (rows->at(0).fields[0] == a[1] ? ", reads back" : ", changed");
    std::string out;
    for (std::size_t k = 0; op == "rows" && rows.ok() && k < rows->size(); ++k, out += " ")
        for (std::size_t f = 0; f < rows->at(k).fields.size(); ++f)
            out += (f ? "[" : std::to_string(rows->at(k).line) + ":[") + test::escaped(rows->at(k).fields[f]) + "]";
    if (op == "rows") return rows.ok() ? out : "unclosed quote on line " + std::to_string(rows.error());
    std::istringstream in(a[1]);
    const ChannelTones tones { tone(in), tone(in) };
    const ToneCells c = op == "tonecells" ? toneCells(tones) : ToneCells { a[1], a[2], a[3], a[4], a[5], a[6], a[7] };
    const auto back = parseToneCells(c);
    if (op == "tonecells")
        return c.tone + "," + c.rToneFreq + "," + c.cToneFreq + "," + c.dtcsCode + "," + c.dtcsPolarity + ","
            + c.rxDtcsCode + "," + c.crossMode + (back.ok() && *back == tones ? ", reads back" : ", changed");
    if (!back.ok()) return back.error().column + ": " + back.error().reason;
    for (const CsvTone& t : { back->transmit, back->receive })
        out += (out.empty() ? "tx " : ", rx ")
            + (t.kind == Kind::None ? "none"
                                    : (t.inverted ? "-" : "") + std::string(t.kind == Kind::Ctcss ? "ctcss " : "dcs ")
                        + std::to_string(t.value));
    return out;
}

} // namespace

TEST(CoreCsv, Cases) { test::expectCases("csv/cases.txt", run); }
