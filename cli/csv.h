#pragma once
// Comma-separated values as RFC 4180 describes them: cells separated by
// commas, a cell that holds a comma, a quote or a line break enclosed in
// quotes with its quotes doubled. We write LF line ends and read LF or CRLF.
// Spreadsheets set to a language that writes decimal commas separate cells
// with ';' instead, and many save in the Windows code page: the reader takes
// either separator, and decodeCsvBytes turns such a file into UTF-8.

#include <cstddef>
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
// saving in the Windows code page writes.
struct DecodedText {
    std::string utf8;
    bool readAsWindows1252 = false;
};
DecodedText decodeCsvBytes(std::string_view bytes);
bool isWellFormedUtf8(std::string_view bytes);

// The separator of a file: ';' when its first line holds more semicolons
// than commas outside quotes, else ','.
char csvSeparatorOf(std::string_view text);

// Appends one cell, quoted only when it has to be.
void appendCsvCell(std::string& out, std::string_view cell);
// Appends one row of cells and its LF.
void appendCsvRow(std::string& out, const std::vector<std::string>& cells);

struct CsvRow {
    std::size_t line; // where the row starts, counted from 1
    std::vector<std::string> cells;
};

// Where reading stopped: the rows before it are still good.
struct CsvSyntaxError {
    std::size_t line;
    std::size_t cell; // index of the cell being read, from 0
    std::string message;
};

struct CsvDocument {
    std::vector<CsvRow> rows;
    std::optional<CsvSyntaxError> error;
};

// Reads row after row, reusing the caller's row so that a large file costs
// no allocation per cell. A UTF-8 byte order mark at the start is skipped
// (some spreadsheets write one), lines that hold nothing at all are skipped,
// and the last row may lack its line end. Reading stops at the first
// malformed row: a quote inside an unquoted cell, text after a closing
// quote, or a quoted cell that never closes.
class CsvReader {
public:
    explicit CsvReader(std::string_view text, char separator = ',');

    // The next row into `row`; false at the end of the text or at a
    // malformed row (error() then says where).
    bool next(CsvRow& row);
    const std::optional<CsvSyntaxError>& error() const { return error_; }

private:
    bool atLineEnd() const;
    void stepOverLineEnd();
    bool fail(std::size_t line, std::size_t cell, std::string message);
    bool readCell(std::string& cell, std::size_t index);
    bool readQuotedCell(std::string& cell, std::size_t index);

    std::string_view text_;
    char separator_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    std::optional<CsvSyntaxError> error_;
};

// Every row at once, for small files.
CsvDocument parseCsv(std::string_view text, char separator = ',');

} // namespace rostradb::cli
