#include "core/edit/channel_clipboard.h"

#include "core/files/channel_csv.h"
#include "core/files/channel_csv_rows.h"
#include "core/files/channel_csv_text.h"
#include "core/model/record_layout.h"
#include "core/util/hex.h"

#include <algorithm>
#include <cstdio>

namespace korvane::edit {

namespace {

constexpr std::string_view kRecordsFirstLine = "korvane-channels 1\n";

std::vector<std::string> standardHeader()
{
    std::vector<std::string> header(files::kCsvStandardColumns.begin(), files::kCsvStandardColumns.end());
    header.insert(header.end(), files::kCsvExtraColumns.begin(), files::kCsvExtraColumns.end());
    return header;
}

std::vector<std::string> splitOn(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        fields.emplace_back(line.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

std::string joined(const std::vector<std::string>& fields, char separator, bool quoted)
{
    std::string line;
    for (std::size_t k = 0; k < fields.size(); ++k)
        line += (k > 0 ? std::string(1, separator) : "") + (quoted ? files::csvField(fields[k]) : fields[k]);
    return line + "\n";
}

bool isHeader(const std::vector<std::string>& fields)
{
    const auto has = [&](std::string_view name) {
        return std::any_of(fields.begin(), fields.end(),
            [&](const std::string& f) { return files::sameWord(files::trimmedCell(f), name); });
    };
    // Paste ignores Location, so a header may leave it out.
    return has("Location") || has("Frequency");
}

struct PastedRow {
    int line = 0; // in the text as pasted, from 1
    std::vector<std::string> fields;
};

// The rows of pasted text, split into fields; blank lines carry no row.
util::Result<std::vector<PastedRow>, int> pastedRows(std::string_view text)
{
    std::vector<PastedRow> rows;
    if (text.find('\t') == std::string_view::npos) {
        const auto csv = files::splitCsvRows(text);
        if (!csv) return csv.error();
        for (const files::CsvRow& row : *csv)
            rows.push_back({ row.line, row.fields });
        return rows;
    }
    int line = 0;
    for (std::string_view content : splitOn(text, '\n')) {
        ++line;
        if (content.ends_with('\r')) content.remove_suffix(1);
        if (!files::trimmedCell(content).empty()) rows.push_back({ line, splitOn(content, '\t') });
    }
    return rows;
}

// A refusal names the line of the text as the user pasted it.
util::Message onPastedLine(util::Message message, const std::vector<PastedRow>& rows)
{
    const std::string prefix = "第";
    const std::size_t end = message.text.find("行");
    if (!message.text.starts_with(prefix) || end == std::string::npos) return message;
    const auto row = static_cast<std::size_t>(std::stoi(message.text.substr(prefix.size(), end - prefix.size())) - 1);
    if (row < rows.size() && rows[row].line > 0)
        message.text = prefix + std::to_string(rows[row].line) + message.text.substr(end);
    return message;
}

model::Record closed(model::Record r)
{
    model::setBit(r[model::flagByte(model::Side::Receive)], model::kOpenBit, false);
    return r;
}

} // namespace

CopiedChannels copyChannels(const model::RadioImage& image, std::vector<int> chosen)
{
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    model::RadioImage only = image;
    for (int c = 0; c < model::kChannelCount; ++c)
        if (!std::binary_search(chosen.begin(), chosen.end(), c))
            only.channels[static_cast<std::size_t>(c)] = closed(only.channels[static_cast<std::size_t>(c)]);
    CopiedChannels copied;
    copied.records = kRecordsFirstLine;
    for (int c : chosen) {
        copied.records += util::hexBytes(image.channels[static_cast<std::size_t>(c)], "") + '\n';
    }
    const auto rows = files::splitCsvRows(files::exportChannelCsv(only));
    for (const files::CsvRow& row : *rows)
        copied.text += joined(row.fields, '\t', false);
    return copied;
}

std::optional<std::vector<model::Record>> parseCopiedRecords(std::string_view records)
{
    if (!records.starts_with(kRecordsFirstLine)) return std::nullopt;
    records.remove_prefix(kRecordsFirstLine.size());
    std::vector<model::Record> parsed;
    for (std::string_view line : splitOn(records, '\n')) {
        if (line.empty()) continue;
        if (line.size() != 2 * model::kRecordSize) return std::nullopt;
        model::Record r {};
        for (std::size_t b = 0; b < r.size(); ++b) {
            unsigned value = 0;
            if (std::sscanf(std::string(line.substr(2 * b, 2)).c_str(), "%2x", &value) != 1) return std::nullopt;
            r[b] = static_cast<std::uint8_t>(value);
        }
        parsed.push_back(r);
    }
    return parsed;
}

util::Result<model::ChannelTable> pasteRecords(
    const model::RadioImage& image, int first, const std::vector<model::Record>& records)
{
    // As the text form of the same channels would be refused: a header line, then a row each.
    const int fits = model::kChannelCount - first;
    if (static_cast<int>(records.size()) > fits) return files::pastePastLastChannel(fits + 2, first + 1);
    // The open ones go through the spreadsheet import, so that they meet its rules for this model.
    model::RadioImage placed = image;
    for (model::Record& r : placed.channels)
        r = closed(r);
    for (std::size_t k = 0; k < records.size(); ++k)
        placed.channels[static_cast<std::size_t>(first) + k] = records[k];
    const auto imported = files::importChannelCsv(files::exportChannelCsv(placed), image.modelIndex, image.channels);
    if (!imported) return imported.error();
    model::ChannelTable table = image.channels;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::size_t c = static_cast<std::size_t>(first) + k;
        table[c] = model::isChannelOpen(records[k]) ? (*imported)[c] : records[k];
    }
    return table;
}

util::Result<model::ChannelTable> pasteText(const model::RadioImage& image, int first, std::string_view text)
{
    auto pasted = pastedRows(text);
    if (!pasted) return files::csvRefusal(pasted.error(), "", "引号没有闭合");
    std::vector<PastedRow>& rows = *pasted;
    if (rows.empty() || !isHeader(rows.front().fields)) rows.insert(rows.begin(), { 0, standardHeader() });
    const int fits = model::kChannelCount - first;
    if (static_cast<int>(rows.size()) - 1 > fits)
        return files::pastePastLastChannel(rows[static_cast<std::size_t>(fits) + 1].line, first + 1);
    auto& header = rows.front().fields;
    const auto location = static_cast<std::size_t>(std::find_if(header.begin(), header.end(), [](const std::string& f) {
        return files::sameWord(files::trimmedCell(f), "Location");
    }) - header.begin());
    if (location == header.size()) header.emplace_back("Location");
    std::string csv;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (k > 0) {
            rows[k].fields.resize(std::max(rows[k].fields.size(), location + 1));
            rows[k].fields[location] = std::to_string(first + static_cast<int>(k));
        }
        csv += joined(rows[k].fields, ',', true);
    }
    const auto imported = files::importChannelCsv(csv, image.modelIndex, image.channels);
    if (!imported) return onPastedLine(imported.error(), rows);
    model::ChannelTable table = image.channels;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const auto c = static_cast<std::size_t>(first) + k - 1;
        table[c] = (*imported)[c];
    }
    return table;
}

} // namespace korvane::edit
