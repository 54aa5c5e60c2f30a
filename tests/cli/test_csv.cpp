// The CSV reader and writer: what a spreadsheet writes must come back cell
// for cell, and a malformed row must be reported where it starts.

#include "cli/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rostradb::cli {
namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> cellsOf(const CsvDocument& doc)
{
    std::vector<Cells> rows;
    for (const auto& row : doc.rows)
        rows.push_back(row.cells);
    return rows;
}

TEST(Csv, AwkwardCellsAreQuotedAndReadBackUnchanged)
{
    const std::vector<Cells> rows{
        {"plain", "with, comma", "say \"hi\"", "two\nlines"},
        {"", "\"", "José Ødegård", "cr\r\nlf"},
        {"trailing space ", " leading", ",", ""},
    };
    std::string text;
    for (const auto& row : rows)
        appendCsvRow(text, row);
    EXPECT_EQ(text, "plain,\"with, comma\",\"say \"\"hi\"\"\",\"two\nlines\"\n"
                    ",\"\"\"\",José Ødegård,\"cr\r\nlf\"\n"
                    "trailing space , leading,\",\",\n");

    const CsvDocument doc = parseCsv(text);
    ASSERT_FALSE(doc.error) << doc.error->message;
    EXPECT_EQ(cellsOf(doc), rows);
    // Lines are counted across the line breaks inside quoted cells.
    ASSERT_EQ(doc.rows.size(), 3u);
    EXPECT_EQ(doc.rows[1].line, 3u);
    EXPECT_EQ(doc.rows[2].line, 5u);
}

TEST(Csv, ReadsWhatSpreadsheetsWrite)
{
    // Byte order mark, CRLF line ends, a blank line, no final line end.
    const CsvDocument doc = parseCsv("\xEF\xBB\xBF" "a,b\r\n1,\"x\r\ny\"\r\n\r\n2,3");
    ASSERT_FALSE(doc.error);
    EXPECT_EQ(cellsOf(doc), (std::vector<Cells>{{"a", "b"}, {"1", "x\r\ny"}, {"2", "3"}}));
    EXPECT_EQ(doc.rows[2].line, 5u);
    EXPECT_EQ(cellsOf(parseCsv("a,,\n")), (std::vector<Cells>{{"a", "", ""}}));
}

TEST(Csv, MalformedRowsStopTheReadingWhereTheyAre)
{
    struct Case {
        const char* text;
        std::size_t line;
        std::size_t cell;
        std::size_t goodRows;
    };
    for (const Case& c : {
             Case{"a,b\n1,x\"y\n", 2, 1, 1},           // quote inside an unquoted cell
             Case{"a,b\n\"1\"2,3\n", 2, 0, 1},          // text after the closing quote
             Case{"a\nb\n\"open\nstill open\n", 3, 0, 2}, // never closed: the line it opened on
         }) {
        SCOPED_TRACE(c.text);
        const CsvDocument doc = parseCsv(c.text);
        ASSERT_TRUE(doc.error.has_value());
        EXPECT_EQ(doc.error->line, c.line);
        EXPECT_EQ(doc.error->cell, c.cell);
        EXPECT_EQ(doc.rows.size(), c.goodRows);
    }
}

} // namespace
} // namespace rostradb::cli
