#include "core/files/channel_csv_rows.h"

namespace korvane::files {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlankRow(const std::vector<std::string>& fields)
{
    for (const std::string& f : fields)
        for (char c : f)
            if (c != ' ' && c != '\t') return false;
    return true;
}

} // namespace

util::Result<std::vector<CsvRow>, int> splitCsvRows(std::string_view text)
{
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    std::vector<CsvRow> rows;
    std::size_t i = 0;
    int line = 1;
    const std::size_t n = text.size();

    // Steps over one line end at i, if there is one, and counts it.
    auto takeLineEnd = [&]() {
        if (i < n && text[i] == '\r') {
            ++i;
            if (i < n && text[i] == '\n') ++i;
            ++line;
            return true;
        }
        if (i < n && text[i] == '\n') {
            ++i;
            ++line;
            return true;
        }
        return false;
    };

    while (i < n) {
        const int rowLine = line;
        if (text[i] == '#') {
            while (i < n && text[i] != '\r' && text[i] != '\n')
                ++i;
            takeLineEnd();
            continue;
        }
        CsvRow row { rowLine, {} };
        std::string field;
        bool rowDone = false;
        while (!rowDone) {
            if (i < n && text[i] == '"') {
                const int quoteLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == '\r' || c == '\n') {
                        // A line end inside quotes belongs to the field; lines still count.
                        const std::size_t start = i;
                        takeLineEnd();
                        field.append(text.substr(start, i - start));
                        continue;
                    }
                    field += c;
                    ++i;
                }
                if (!closed) return quoteLine;
            }
            // Unquoted text, or whatever follows a closing quote, up to the next comma or line end.
            while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                field += text[i++];
            row.fields.push_back(std::move(field));
            field.clear();
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            takeLineEnd();
            rowDone = true;
        }
        if (!isBlankRow(row.fields)) rows.push_back(std::move(row));
    }
    return rows;
}

std::string csvField(std::string_view value)
{
    bool quote = !value.empty()
        && (value.front() == '#' || value.front() == ' ' || value.front() == '\t' || value.back() == ' '
            || value.back() == '\t');
    for (char c : value)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
    if (!quote) return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace korvane::files
