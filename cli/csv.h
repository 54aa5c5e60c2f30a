#pragma once
// Comma-separated values as RFC 4180 describes them: cells separated by
// commas, a cell that holds a comma, a quote or a line break enclosed in
// quotes with its quotes doubled. We write LF line ends and read LF, CRLF
// or CR alone (what old Mac spreadsheets write). Spreadsheets set to a
// language that writes decimal commas separate cells with ';' instead, and
// many save in the Windows code page: the reader takes either separator, and
// decodeCsvBytes turns such a file into UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

// The UTF-8 byte order mark. Export writes it first, so that a spreadsheet
// that guesses the character set of a file reads accented names right.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A file's text as UTF-8, without its byte order mark. A file that is not
// well-formed UTF-8 is read as Windows-1252, which is what a spreadsheet
// saving in the Windows code page writes. Taken by value: a UTF-8 file (the
// usual case) keeps its bytes where they are.
struct DecodedText {
    std::string utf8;
    bool readAsWindows1252 = false;
};
DecodedText decodeCsvBytes(std::string bytes);
bool isWellFormedUtf8(std::string_view bytes);

// The separator of a file: ';' when its first line holds more semicolons
// than commas outside quotes, else ','.
char csvSeparatorOf(std::string_view text);

// Appends one cell, quoted only when it has to be.
void appendCsvCell(std::string& out, std::string_view cell);
// Appends one row of cells and its LF.
void appendCsvRow(std::string& out, const std::vector<std::string>& cells);

// One row as the reader found it. The cells are views into the text read,
// or, for a quoted cell with doubled quotes, into the row's own copy of it
// without them; they stay valid until the row is read into again.
struct CsvRow {
    std::size_t line = 0; // where the row starts, counted from 1
    std::vector<std::string_view> cells;
    std::string unquoted; // the cells whose doubled quotes were undone
};

// Where reading stopped: the rows before it are still good.
struct CsvSyntaxError {
    std::size_t line;
    std::size_t cell; // index of the cell being read, from 0
    std::string message;
};

// Reads row after row over the whole text at once: it looks for the next
// separator, quote or line end many bytes at a time and copies no cell,
// so that a large file costs no allocation per cell or row. A UTF-8 byte
// order mark at the start is skipped (some spreadsheets write one), lines
// that hold nothing at all are skipped, and the last row may lack its line
// end. Reading stops at the first malformed row: a quote inside an unquoted
// cell, text after a closing quote, or a quoted cell that never closes.
class CsvReader {
public:
    explicit CsvReader(std::string_view text, char separator = ',');

    // The next row into `row`; false at the end of the text or at a
    // malformed row (error() then says where).
    bool next(CsvRow& row);
    const std::optional<CsvSyntaxError>& error() const { return error_; }

private:
    void startBlockAt(std::size_t at);
    std::size_t stepOverLineEnd(std::size_t at);
    bool fail(std::size_t line, std::size_t cell, std::string message);
    bool readQuotedCell(CsvRow& row, std::size_t index);

    std::string_view text_;
    char separator_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    // The separators, quotes and line ends of the 64 bytes from blockAt_
    // not yet passed, one bit per byte.
    std::size_t blockAt_ = 0;
    std::uint64_t specials_ = 0;
    // The cells of the row being read that point into its `unquoted`, set
    // once the row is whole (the string may move while it grows).
    struct UnquotedCell {
        std::size_t cell;
        std::size_t offset;
        std::size_t size;
    };
    std::vector<UnquotedCell> unquotedCells_;
    std::optional<CsvSyntaxError> error_;
};

// A row that owns its cells, for small files and tests.
struct CsvTextRow {
    std::size_t line;
    std::vector<std::string> cells;
};
struct CsvDocument {
    std::vector<CsvTextRow> rows;
    std::optional<CsvSyntaxError> error;
};

// Every row at once, for small files.
CsvDocument parseCsv(std::string_view text, char separator = ',');

} // namespace rostradb::cli
