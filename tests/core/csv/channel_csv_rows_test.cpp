#include "core/files/channel_csv_rows.h"

#include <gtest/gtest.h>

using namespace korvane::files;

namespace {

using Rows = std::vector<CsvRow>;

Rows split(std::string_view text)
{
    auto rows = splitCsvRows(text);
    EXPECT_TRUE(rows.ok()) << text;
    return rows.ok() ? *rows : Rows {};
}

} // namespace

TEST(ChannelCsvRows, LinesAndFields)
{
    struct Row {
        const char* what;
        std::string text;
        Rows rows;
    } rows[] = {
        { "LF", "a,b\n1,2\n", { { 1, { "a", "b" } }, { 2, { "1", "2" } } } },
        { "CR LF", "a,b\r\n1,2\r\n", { { 1, { "a", "b" } }, { 2, { "1", "2" } } } },
        { "lone CR", "a,b\r1,2", { { 1, { "a", "b" } }, { 2, { "1", "2" } } } },
        { "no final line end", "a", { { 1, { "a" } } } },
        { "empty fields", ",,x,", { { 1, { "", "", "x", "" } } } },
        { "byte order mark",
            "\xEF\xBB\xBF"
            "a,b\n",
            { { 1, { "a", "b" } } } },
        { "blank and comment lines count but give no row", "# made by hand\n\na\n  \n#x,y\n,,\nb\n",
            { { 3, { "a" } }, { 7, { "b" } } } },
        { "a '#' later in a line is text", "a#,b\n", { { 1, { "a#", "b" } } } },
        { "quoted comma, doubled quote", "\"a,b\",\"say \"\"hi\"\"\",c\n", { { 1, { "a,b", "say \"hi\"", "c" } } } },
        { "line ends inside quotes", "\"x\r\ny\",z\n2\n", { { 1, { "x\r\ny", "z" } }, { 3, { "2" } } } },
        { "quoted empty", "\"\",a\n", { { 1, { "", "a" } } } },
        { "text after a closing quote", "\"a\"b,c\n", { { 1, { "ab", "c" } } } },
        { "a quote inside unquoted text is text", "a\"b,c\n", { { 1, { "a\"b", "c" } } } },
        { "empty text", "", {} },
    };
    for (const Row& row : rows)
        EXPECT_EQ(split(row.text), row.rows) << row.what;
}

TEST(ChannelCsvRows, UnclosedQuoteGivesItsLine)
{
    const auto rows = splitCsvRows("a,b\n1,\"open\n\n");
    ASSERT_FALSE(rows.ok());
    EXPECT_EQ(rows.error(), 2);
}

TEST(ChannelCsvRows, FieldsReadBackAsWritten)
{
    const std::vector<std::string> values { "", "plain", "a,b", "say \"hi\"", "line\nend", "cr\rend", "#x", " lead",
        "trail ", "中文", "x\"" };
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i)
        line += (i > 0 ? "," : "") + csvField(values[i]);
    const Rows rows = split(line + "\n");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].fields, values);
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
}
