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

CsvReader::CsvReader(std::string_view text) : text_(text)
{
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        at_ = 3;
}

bool CsvReader::atLineEnd() const
{
    return text_[at_] == '\n' || (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n');
}

void CsvReader::stepOverLineEnd()
{
    at_ += text_[at_] == '\r' ? 2 : 1;
    ++line_;
}

bool CsvReader::fail(std::size_t line, std::size_t cell, std::string message)
{
    error_ = CsvSyntaxError{line, cell, std::move(message)};
    at_ = text_.size();
    return false;
}

bool CsvReader::next(CsvRow& row)
{
    while (at_ < text_.size() && atLineEnd())
        stepOverLineEnd();
    if (at_ >= text_.size())
        return false;

    row.line = line_;
    std::size_t count = 0;
    while (true) {
        if (count == row.cells.size())
            row.cells.emplace_back();
        if (!readCell(row.cells[count], count))
            return false;
        ++count;
        if (at_ >= text_.size())
            break;
        if (atLineEnd()) {
            stepOverLineEnd();
            break;
        }
        ++at_; // the comma
    }
    row.cells.resize(count);
    return true;
}

bool CsvReader::readCell(std::string& cell, std::size_t index)
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

bool CsvReader::readQuotedCell(std::string& cell, std::size_t index)
{
    const std::size_t startLine = line_;
    cell.clear();
    ++at_; // the opening quote
    while (true) {
        const std::size_t quote = text_.find('"', at_);
        if (quote == std::string_view::npos)
            return fail(startLine, index, "a quoted cell that is never closed");
        const std::string_view part = text_.substr(at_, quote - at_);
        // Line breaks inside a quoted cell belong to the cell but still count.
        for (const char c : part)
            if (c == '\n')
                ++line_;
        cell += part;
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

CsvDocument parseCsv(std::string_view text)
{
    CsvDocument doc;
    CsvReader reader(text);
    CsvRow row;
    while (reader.next(row))
        doc.rows.push_back(row);
    doc.error = reader.error();
    return doc;
}

} // namespace rostradb::cli
