#include "csv.h"

#include "db/cp1252_text.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    const char* const data = bytes.data();
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII eight bytes at a time: most of a file of numbers.
        while (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            if ((word & 0x8080808080808080u) != 0)
                break;
            i += 8;
        }
        if (i >= bytes.size())
            break;
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

DecodedText decodeCsvBytes(std::string bytes)
{
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.erase(0, kUtf8ByteOrderMark.size());
    if (isWellFormedUtf8(bytes))
        return {std::move(bytes), false};
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

namespace {

constexpr std::size_t kBlock = 64;

// One bit per byte of the 64 at `p` (all readable) that is the separator, a
// quote, a CR or an LF: the only bytes the reader stops at.
std::uint64_t specialsOf(const char* p, char separator)
{
#if defined(__SSE2__)
    const __m128i sep = _mm_set1_epi8(separator);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    std::uint64_t mask = 0;
    for (unsigned part = 0; part < kBlock / 16; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, sep), _mm_cmpeq_epi8(bytes, quote)),
                                          _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << (16 * part);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kBlock; ++i) {
        const char c = p[i];
        mask |= std::uint64_t{c == separator || c == '"' || c == '\n' || c == '\r'} << i;
    }
    return mask;
#endif
}

} // namespace

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator)
{
    if (text_.starts_with(kUtf8ByteOrderMark))
        at_ = kUtf8ByteOrderMark.size();
    startBlockAt(at_);
}

void CsvReader::startBlockAt(std::size_t at)
{
    blockAt_ = at;
    if (at + kBlock <= text_.size()) {
        specials_ = specialsOf(text_.data() + at, separator_);
    } else if (at < text_.size()) {
        // The last bytes, padded with a byte that is never special.
        char tail[kBlock];
        std::memset(tail, 'x', kBlock);
        std::memcpy(tail, text_.data() + at, text_.size() - at);
        specials_ = specialsOf(tail, separator_);
    } else {
        specials_ = 0;
    }
}

// The position after the line end at `at` (CRLF, LF or CR), counting it.
std::size_t CsvReader::stepOverLineEnd(std::size_t at)
{
    ++line_;
    return text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n' ? at + 2 : at + 1;
}

bool CsvReader::fail(std::size_t line, std::size_t cell, std::string message)
{
    error_ = CsvSyntaxError{line, cell, std::move(message)};
    at_ = text_.size();
    return false;
}

bool CsvReader::next(CsvRow& row)
{
    while (at_ < text_.size() && (text_[at_] == '\n' || text_[at_] == '\r'))
        at_ = stepOverLineEnd(at_);
    if (at_ >= text_.size())
        return false;

    row.line = line_;
    row.unquoted.clear();
    unquotedCells_.clear();
    // The loop over the cells keeps its state in locals, which the stores of
    // the cells cannot alias: this is where a large file spends its time.
    const char* const data = text_.data();
    const std::size_t size = text_.size();
    const char separator = separator_;
    std::vector<std::string_view>& cells = row.cells;
    std::string_view* out = cells.data();
    std::size_t room = cells.size();
    std::size_t count = 0;
    std::size_t at = at_;
    std::size_t blockAt = blockAt_;
    std::uint64_t specials = specials_;
    while (true) {
        // The next separator, quote or line end at or after `at`.
        std::size_t end = size;
        while (true) {
            while (specials == 0 && blockAt + kBlock < size) {
                blockAt += kBlock;
                startBlockAt(blockAt);
                specials = specials_;
            }
            if (specials == 0)
                break;
            end = blockAt + static_cast<std::size_t>(std::countr_zero(specials));
            specials &= specials - 1;
            if (end >= at)
                break;
            end = size;
        }
        if (count == room) {
            cells.resize(2 * count + 16);
            out = cells.data();
            room = cells.size();
        }
        char c = end < size ? data[end] : '\n';
        if (c == separator) { // the common cell
            out[count++] = std::string_view(data + at, end - at);
            at = end + 1;
            continue;
        }
        if (c == '"') {
            if (end != at) {
                at_ = at;
                return fail(line_, count, "a quote inside a cell that does not start with one");
            }
            at_ = at;
            if (!readQuotedCell(row, count))
                return false;
            ++count;
            at = end = at_;
            blockAt = blockAt_;
            specials = specials_;
            c = end < size ? data[end] : '\n';
            if (c == separator) {
                at = end + 1;
                continue;
            }
        } else {
            out[count++] = std::string_view(data + at, end - at);
        }
        at = end < size ? stepOverLineEnd(end) : size;
        break;
    }
    at_ = at;
    blockAt_ = blockAt;
    specials_ = specials;
    cells.resize(count);
    for (const UnquotedCell& c : unquotedCells_)
        cells[c.cell] = std::string_view(row.unquoted).substr(c.offset, c.size);
    return true;
}

// A cell that begins with a quote, up to its closing quote; at_ is left on
// the byte after it.
bool CsvReader::readQuotedCell(CsvRow& row, std::size_t index)
{
    const std::size_t startLine = line_;
    const char* const data = text_.data();
    const std::size_t open = at_;
    std::size_t from = open + 1;
    std::size_t close = 0;
    bool doubled = false;
    while (true) {
        const void* quote = std::memchr(data + from, '"', text_.size() - from);
        if (!quote)
            return fail(startLine, index, "a quoted cell that is never closed");
        close = static_cast<std::size_t>(static_cast<const char*>(quote) - data);
        if (close + 1 < text_.size() && data[close + 1] == '"') {
            doubled = true;
            from = close + 2;
            continue;
        }
        break;
    }
    const std::string_view inside = text_.substr(open + 1, close - open - 1);
    // Line breaks inside a quoted cell belong to the cell but still count.
    for (std::size_t i = 0; i < inside.size(); ++i)
        if (inside[i] == '\n' || (inside[i] == '\r' && (i + 1 == inside.size() || inside[i + 1] != '\n')))
            ++line_;
    if (doubled) {
        const std::size_t offset = row.unquoted.size();
        for (std::size_t i = 0; i < inside.size(); ++i) {
            row.unquoted += inside[i];
            if (inside[i] == '"')
                ++i; // the second of the pair
        }
        unquotedCells_.push_back({index, offset, row.unquoted.size() - offset});
    } else {
        row.cells[index] = inside;
    }
    at_ = close + 1;
    if (at_ < text_.size() && data[at_] != separator_ && data[at_] != '\n' && data[at_] != '\r')
        return fail(line_, index, "text after the closing quote of a cell");
    startBlockAt(at_);
    return true;
}

CsvDocument parseCsv(std::string_view text, char separator)
{
    CsvDocument doc;
    CsvReader reader(text, separator);
    CsvRow row;
    while (reader.next(row))
        doc.rows.push_back({row.line, std::vector<std::string>(row.cells.begin(), row.cells.end())});
    doc.error = reader.error();
    return doc;
}

} // namespace rostradb::cli
