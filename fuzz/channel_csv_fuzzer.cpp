// Importing a channel spreadsheet from arbitrary text. The first byte picks the model whose
// entry limits apply (or none); the rest is the spreadsheet.
//
// Rows written back field by field split into the same fields; an imported table lists only
// open channels inside the model's limits, leaves unlisted channels as the base had them but
// closed, and exported and imported again is the same table.

#include "core/files/channel_csv.h"
#include "core/files/channel_csv_rows.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "fuzz/fuzz_support.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using korvane::fuzz::check;

using namespace korvane;

void checkRowsRewrite(const std::vector<files::CsvRow>& rows)
{
    // A comment line first, so that a field starting with a byte order mark stays a field.
    std::string text = "#\n";
    for (const files::CsvRow& row : rows) {
        check(row.line >= 1, "rows count lines from 1");
        for (std::size_t k = 0; k < row.fields.size(); ++k) {
            if (k > 0) text += ',';
            text += files::csvField(row.fields[k]);
        }
        text += "\r\n";
    }
    const auto again = files::splitCsvRows(text);
    check(again.ok(), "written rows split");
    check(again->size() == rows.size(), "written rows keep their number");
    for (std::size_t i = 0; i < rows.size(); ++i)
        check((*again)[i].fields == rows[i].fields, "written fields read back");
}

void checkTable(const model::ChannelTable& table, const model::ChannelTable& base, int modelIndex)
{
    const model::EntryLimits limits = model::entryLimits(modelIndex);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const model::Record& r = table[i];
        if (!model::isChannelOpen(r)) {
            model::Record closed = base[i];
            model::setBit(closed[model::flagByte(model::Side::Receive)], model::kOpenBit, false);
            check(r == closed, "an unlisted channel is the base's record, closed");
            continue;
        }
        for (const model::Side s : { model::Side::Receive, model::Side::Transmit }) {
            const std::int64_t hz = model::frequencyHz(r, s);
            check(hz >= limits.lowerHz && hz < limits.upperHz, "a listed frequency lies inside the limits");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const int modelIndex = static_cast<int>(data[0] % (model::kModelCount + 1)) - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto rows = files::splitCsvRows(text);
    if (rows) checkRowsRewrite(*rows);

    const model::ChannelTable& base = fuzz::defaultsOf(modelIndex).channels;
    const auto table = files::importChannelCsv(text, modelIndex, base);
    if (!table) {
        check(!table.error().text.empty(), "a refusal says why");
        return 0;
    }
    checkTable(*table, base, modelIndex);

    model::RadioImage image = fuzz::defaultsOf(modelIndex);
    image.channels = *table;
    const std::string exported = files::exportChannelCsv(image);
    const auto again = files::importChannelCsv(exported, modelIndex, base);
    if (!again) std::fprintf(stderr, "%s\n%s\n", exported.c_str(), again.error().text.c_str());
    check(again.ok(), "an exported table imports");
    check(*again == *table, "an exported table imports as the same table");
    return 0;
}
