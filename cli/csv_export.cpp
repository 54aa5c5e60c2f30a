#include "csv_export.h"

#include "csv.h"
#include "db/cp1252_text.h"
#include "db/record_layout.h"
#include "editor/lookup_tables.h"
#include "editor/people_columns.h"
#include "editor/person_links.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace rostradb::cli {

namespace {

// The rows are written straight into one buffer, field by field through the
// layouts known at compile time: a full game has some eleven million cells,
// and a string or a capacity check per cell would cost more than the rest
// of the export. The cells and their order are those of peopleColumns(), as
// cellText() gives them one by one for `show`.
class RowWriter {
public:
    explicit RowWriter(std::string& out) : out_(out), used_(out.size()) {}
    ~RowWriter() { out_.resize(used_); }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // Makes room for the longest row: some 180 numbers of at most 11
    // characters and 8 texts of 51 bytes, each byte at most 3 in UTF-8 and
    // doubled when it is a quote.
    void beginRow()
    {
        constexpr std::size_t kLongestRow = 16 * 1024;
        if (out_.size() - used_ < kLongestRow)
            out_.resize(std::max(out_.size() * 2, used_ + kLongestRow));
        at_ = out_.data() + used_;
    }
    void endRow()
    {
        *at_++ = '\n';
        used_ = static_cast<std::size_t>(at_ - out_.data());
    }

    void put(char c) { *at_++ = c; }
    void cell(std::string_view ready) { at_ = std::copy(ready.begin(), ready.end(), at_); }
    void commas(std::size_t count) { at_ = std::fill_n(at_, count, ','); }
    [[gnu::always_inline]] void number(std::int64_t n)
    {
        // Most cells are one-byte attributes (one to three digits); days,
        // years and abilities have four or five.
        if (n >= 0 && n < 10) {
            put(static_cast<char>('0' + n));
        } else if (n >= 10 && n < 100) {
            put(static_cast<char>('0' + n / 10));
            put(static_cast<char>('0' + n % 10));
        } else if (n >= 100 && n < 1000) {
            put(static_cast<char>('0' + n / 100));
            put(static_cast<char>('0' + n / 10 % 10));
            put(static_cast<char>('0' + n % 10));
        } else {
            at_ = std::to_chars(at_, at_ + 24, n).ptr;
        }
    }

    void text(std::string_view gameText)
    {
        // The characters that call for quotes are ASCII, the same in both code pages.
        const bool quoted = gameText.find_first_of(",\"\r\n") != std::string_view::npos;
        if (quoted)
            put('"');
        for (const char byte : gameText) {
            if (byte == '"')
                put('"');
            const Utf8Char& c = utf8Of(static_cast<unsigned char>(byte));
            at_ = std::copy_n(c.bytes, c.size, at_);
        }
        if (quoted)
            put('"');
    }

    template <const auto& Layout, class Record>
    void fields(const Record* record)
    {
        if (!record) {
            commas(Layout.size());
            return;
        }
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (field<Layout, I>(*record), ...);
        }(std::make_index_sequence<Layout.size()>{});
    }

private:
    template <const auto& Layout, std::size_t I, class Record>
    void field(const Record& record)
    {
        constexpr const auto& f = Layout[I];
        put(',');
        number(numberFromBits(f.access.get(record), f.access.width, f.access.isSigned));
    }

    std::string& out_;
    std::size_t used_;
    char* at_ = nullptr;
};

// Every text of a lookup table as its finished cell (UTF-8, quoted when it
// must be), made once: a name or a nation is named by many people.
class LookupCells {
public:
    LookupCells(const GameDatabase& db, LookupTable table)
    {
        cells_.resize(lookupCount(db, table));
        for (std::size_t i = 0; i < cells_.size(); ++i)
            appendCsvCell(cells_[i], cp1252ToUtf8(lookupText(db, table, static_cast<std::uint32_t>(i))));
    }
    // Empty for a position outside the table.
    std::string_view at(std::uint32_t position) const
    {
        return position < cells_.size() ? std::string_view(cells_[position]) : std::string_view{};
    }

private:
    std::vector<std::string> cells_;
};

template <class Record>
const Record* recordOrNull(const std::vector<Record>& table, std::optional<std::uint32_t> position)
{
    return position ? &table[*position] : nullptr;
}

} // namespace

std::string exportCsv(const GameDatabase& db, const std::vector<std::uint32_t>* people)
{
    struct TextColumn {
        std::uint16_t field; // of the staff layout
        const LookupCells* cells;
    };
    // One set of cells per table: three columns name nations.
    std::map<LookupTable, LookupCells> cellsOfTable;
    std::vector<std::string> header;
    std::vector<TextColumn> texts;
    for (const PeopleColumn& c : peopleColumns()) {
        header.push_back(c.name);
        if (c.kind == ColumnKind::Text)
            texts.push_back({c.field, &cellsOfTable.try_emplace(c.lookup, db, c.lookup).first->second});
    }
    std::string out;
    appendCsvRow(out, header);
    // About 500 bytes a person: one allocation for the whole table.
    const std::size_t rows = people ? people->size() : db.staff.size();
    out.reserve(out.size() + (rows + 32) * 560);
    {
        RowWriter row(out);
        for (std::size_t i = 0; i < rows; ++i) {
            const auto position = people ? (*people)[i] : static_cast<std::uint32_t>(i);
            const StaffRecord& person = db.staff.at(position);
            row.beginRow();
            row.number(static_cast<std::int64_t>(position));
            row.put(',');
            row.text(person.displayName);
            row.fields<kStaffLayout>(&person);
            for (const TextColumn& c : texts) {
                row.put(',');
                row.cell(c.cells->at(kStaffLayout[c.field].access.get(person)));
            }
            row.fields<kPlayerLayout>(recordOrNull(db.players, linkedRecord(db, position, StaffTable::Player)));
            row.fields<kNonPlayerLayout>(
                recordOrNull(db.nonPlayers, linkedRecord(db, position, StaffTable::NonPlayer)));
            row.endRow();
        }
    }
    return out;
}

} // namespace rostradb::cli
