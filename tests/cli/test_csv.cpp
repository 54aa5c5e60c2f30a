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

// What a spreadsheet saves: UTF-8 with or without a byte order mark, or the
// Windows code page; cells separated by ',' or, in many countries, ';'.
TEST(Csv, DecodesTheCharacterSetsAndFindsTheSeparator)
{
    struct Decoding {
        std::string bytes;
        std::string utf8;
        bool windows1252;
    };
    for (const Decoding& c : {
             Decoding{"Jos\xC3\xA9", "Jos\xC3\xA9", false},
             Decoding{"\xEF\xBB\xBFJos\xC3\xA9", "Jos\xC3\xA9", false},
             Decoding{"Jos\xE9", "Jos\xC3\xA9", true},
             Decoding{"\x80 \xC3", "\xE2\x82\xAC \xC3\x83", true}, // a lead byte without its tail
             Decoding{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", true}, // a surrogate is not UTF-8
             Decoding{"\xC0\xAF", "\xC3\x80\xC2\xAF", true},                     // nor an overlong form
         }) {
        const DecodedText d = decodeCsvBytes(c.bytes);
        EXPECT_EQ(d.utf8, c.utf8) << c.bytes;
        EXPECT_EQ(d.readAsWindows1252, c.windows1252) << c.bytes;
    }

    EXPECT_EQ(csvSeparatorOf("position;wages\n1,5;2\n"), ';');
    EXPECT_EQ(csvSeparatorOf("position,wages;x\n"), ',');
    EXPECT_EQ(csvSeparatorOf("\"a;b;c\",d\n"), ','); // quoted separators do not count
    EXPECT_EQ(csvSeparatorOf("position"), ',');
    const CsvDocument doc = parseCsv("a;\"b;c\"\n1,5;2\n", ';');
    ASSERT_FALSE(doc.error);
    EXPECT_EQ(cellsOf(doc), (std::vector<Cells>{{"a", "b;c"}, {"1,5", "2"}}));
}

} // namespace
} // namespace rostradb::cli
