#include "csv.h"

namespace rostradb::cli {

void appendCsvCell(std::string& out, std::string_view cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendCsvRow(std::string& out, const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ',';
        appendCsvCell(out, cells[i]);
    }
    out += '\n';
}

namespace {

class CsvParser {
public:
    explicit CsvParser(std::string_view text) : text_(text)
    {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            at_ = 3;
    }

    CsvDocument run()
    {
        CsvDocument doc;
        while (at_ < text_.size()) {
            if (skipEmptyLine())
                continue;
            CsvRow row{line_, {}};
            if (!readRow(row.cells)) {
                doc.error = error_;
                break;
            }
            doc.rows.push_back(std::move(row));
        }
        return doc;
    }

private:
    bool atLineEnd() const
    {
        return text_[at_] == '\n' || (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n');
    }
    void stepOverLineEnd()
    {
        at_ += text_[at_] == '\r' ? 2 : 1;
        ++line_;
    }
    bool skipEmptyLine()
    {
        if (!atLineEnd())
            return false;
        stepOverLineEnd();
        return true;
    }

    bool fail(std::size_t line, std::size_t cell, std::string message)
    {
        error_ = CsvSyntaxError{line, cell, std::move(message)};
        return false;
    }

    // Reads cells up to and past the row's line end (or the end of the text).
    bool readRow(std::vector<std::string>& cells)
    {
        while (true) {
            std::string& cell = cells.emplace_back();
            if (!readCell(cell, cells.size() - 1))
                return false;
            if (at_ >= text_.size())
                return true;
            if (atLineEnd()) {
                stepOverLineEnd();
                return true;
            }
            ++at_; // the comma
        }
    }

    bool readCell(std::string& cell, std::size_t index)
    {
        if (at_ < text_.size() && text_[at_] == '"')
            return readQuotedCell(cell, index);
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] != ',' && !atLineEnd()) {
            if (text_[at_] == '"')
                return fail(line_, index, "a quote inside a cell that does not start with one");
            ++at_;
        }
        cell.assign(text_.substr(start, at_ - start));
        return true;
    }

    bool readQuotedCell(std::string& cell, std::size_t index)
    {
        const std::size_t startLine = line_;
        ++at_; // the opening quote
        while (true) {
            const std::size_t quote = text_.find('"', at_);
            if (quote == std::string_view::npos)
                return fail(startLine, index, "a quoted cell that is never closed");
            appendCounting(cell, text_.substr(at_, quote - at_));
            at_ = quote + 1;
            if (at_ < text_.size() && text_[at_] == '"') {
                cell += '"';
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] != ',' && !atLineEnd())
                return fail(line_, index, "text after the closing quote of a cell");
            return true;
        }
    }

    // Line breaks inside a quoted cell belong to the cell but still count.
    void appendCounting(std::string& cell, std::string_view part)
    {
        for (const char c : part)
            if (c == '\n')
                ++line_;
        cell += part;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    CsvSyntaxError error_{};
};

} // namespace

CsvDocument parseCsv(std::string_view text)
{
    return CsvParser(text).run();
}

} // namespace rostradb::cli
