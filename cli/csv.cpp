#include "csv.h"

#include "db/cp1252_text.h"

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

bool isWellFormedUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode's end.
        const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

DecodedText decodeCsvBytes(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    if (isWellFormedUtf8(bytes))
        return {std::string(bytes), false};
    return {cp1252ToUtf8(bytes), true};
}

char csvSeparatorOf(std::string_view text)
{
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted; // a doubled quote toggles twice
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator)
{
    if (text_.starts_with(kUtf8ByteOrderMark))
        at_ = kUtf8ByteOrderMark.size();
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
        ++at_; // the separator
    }
    row.cells.resize(count);
    return true;
}

bool CsvReader::readCell(std::string& cell, std::size_t index)
{
    if (at_ < text_.size() && text_[at_] == '"')
        return readQuotedCell(cell, index);
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] != separator_ && !atLineEnd()) {
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
        if (at_ < text_.size() && text_[at_] != separator_ && !atLineEnd())
            return fail(line_, index, "text after the closing quote of a cell");
        return true;
    }
}

CsvDocument parseCsv(std::string_view text, char separator)
{
    CsvDocument doc;
    CsvReader reader(text, separator);
    CsvRow row;
    while (reader.next(row))
        doc.rows.push_back(row);
    doc.error = reader.error();
    return doc;
}

} // namespace rostradb::cli
