#include "csv_import.h"

#include "csv.h"
#include "db/cp1252_text.h"
#include "db/record_layout.h"
#include "editor/lookup_tables.h"
#include "editor/people_columns.h"
#include "editor/person_links.h"
#include "import_cells.h"
#include "misread_text.h"

#include <algorithm>
#include <optional>

namespace rostradb::cli {

namespace {

// A text in double quotes, for messages.
std::string quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

class Importer {
public:
    Importer(const GameDatabase& db, std::string_view csv, const std::string& fileName)
        : db_(db), fileName_(fileName), reader_(csv, csvSeparatorOf(csv)), lineOfPerson_(db.staff.size(), 0)
    {
    }

    ImportPlan run()
    {
        if (!reader_.next(header_)) {
            if (!reader_.error())
                error(1, "position", "the file holds no header row");
        } else if (readHeader()) {
            CsvRow row;
            while (reader_.next(row))
                readRow(row);
        }
        if (const auto& syntax = reader_.error())
            error(syntax->line, headerName(syntax->cell), syntax->message);
        reportChangedTexts();
        if (!plan_.errors.empty())
            plan_.changes.clear();
        sortChanges(plan_.changes);
        return std::move(plan_);
    }

private:
    // Every message is one line: a CR or another control character in a
    // quoted cell is written out.
    void error(std::size_t line, std::string_view column, const std::string& what)
    {
        plan_.errors.push_back(
            shownInMessage(fileName_ + ":" + std::to_string(line) + ": column " + std::string(column) + ": " + what));
    }

    // The header's name for a cell, or "#N" (from 1) past the header's end
    // or for a cell the header leaves without a name.
    std::string headerName(std::size_t cell) const
    {
        if (cell < header_.cells.size() && !header_.cells[cell].empty())
            return std::string(header_.cells[cell]);
        std::string name(1, '#');
        name += std::to_string(cell + 1);
        return name;
    }

    // Maps every header cell to its column; false when the rows cannot be
    // read at all (no position column).
    bool readHeader()
    {
        cells_.assign(header_.cells.size(), HeaderCell{});
        for (std::size_t i = 0; i < header_.cells.size(); ++i) {
            const std::string_view name = header_.cells[i];
            if (name.empty()) {
                // A separator at the end of the header, most often.
                error(header_.line, headerName(i), "an empty column name at position " + std::to_string(i + 1));
                continue;
            }
            const PeopleColumn* column = columnNamed(name);
            if (!column) {
                // "ï»¿position": the byte order mark and the rest read as
                // Windows-1252. Said with the other misread texts; the
                // column it stood for is read.
                const std::optional<std::string> meant = textBeforeMisreading(name);
                if (!meant) {
                    error(header_.line, name, "unknown column");
                    continue;
                }
                changedTexts_.addMisread(header_.line, std::string(name), name, *meant);
                column = columnNamed(*meant);
                if (!column)
                    continue;
            }
            if (std::any_of(cells_.begin(), cells_.end(), [&](const HeaderCell& c) { return c.column == column; })) {
                error(header_.line, name, "the header names this column twice");
                continue;
            }
            cells_[i] = headerCellFor(*column);
            if (column->kind == ColumnKind::Position)
                positionCell_ = i;
            else if (column == &classificationColumn())
                classificationCell_ = i;
        }
        if (positionCell_ == kNoCell) {
            error(header_.line, "position", "missing: rows are found by their position");
            return false;
        }
        for (HeaderCell& cell : cells_) {
            if (!cell.column || cell.column->kind != ColumnKind::Text)
                continue;
            const PeopleColumn& code = fieldColumn(StaffTable::Staff, cell.column->field);
            const auto found =
                std::find_if(cells_.begin(), cells_.end(), [&](const HeaderCell& c) { return c.column == &code; });
            if (found != cells_.end())
                cell.codeCell = static_cast<std::size_t>(found - cells_.begin());
        }
        return true;
    }

    static const PeopleColumn& classificationColumn()
    {
        static const PeopleColumn& column = *columnNamed("classification");
        return column;
    }

    // The cell's number as the field's bits; reports and gives nullopt when
    // it is no decimal integer in the field's range.
    std::optional<std::uint32_t> readNumber(const CsvRow& row, std::size_t cell, const PeopleColumn& field)
    {
        const std::string text(row.cells[cell]);
        const std::optional<std::int64_t> number = cellNumber(text);
        if (!number) {
            error(row.line, headerName(cell), quoted(text) + " is not a whole number in decimal");
            return std::nullopt;
        }
        const std::optional<std::uint32_t> bits = bitsForNumber(field, *number);
        if (!bits)
            error(row.line, headerName(cell), text + " is out of range: the value " + rangeText(field));
        return bits;
    }

    std::optional<std::size_t> readPosition(const CsvRow& row)
    {
        const std::string_view cell = row.cells[positionCell_];
        const std::optional<std::int64_t> number = cellNumber(cell);
        if (!number) {
            error(row.line, "position",
                  cell.empty() ? std::string("empty: rows are found by their position")
                               : quoted(cell) + " is not a whole number in decimal");
            return std::nullopt;
        }
        if (*number < 0 || static_cast<std::uint64_t>(*number) >= db_.staff.size()) {
            error(row.line, "position",
                  "no person at position " + std::string(cell) + " (the staff table holds " +
                      std::to_string(db_.staff.size()) + " people)");
            return std::nullopt;
        }
        const auto position = static_cast<std::size_t>(*number);
        if (lineOfPerson_[position] != 0) {
            error(row.line, "position",
                  "position " + std::string(cell) + " is also on line " + std::to_string(lineOfPerson_[position]));
            return std::nullopt;
        }
        lineOfPerson_[position] = row.line;
        return position;
    }

    // The classification the row leaves: its own cell when that is a good
    // number, else the person's.
    std::uint8_t classificationOf(const CsvRow& row, const StaffRecord& person) const
    {
        if (classificationCell_ == kNoCell || row.cells[classificationCell_].empty())
            return person.classification;
        const auto number = cellNumber(row.cells[classificationCell_]);
        const auto bits = number ? bitsForNumber(classificationColumn(), *number) : std::nullopt;
        return bits ? static_cast<std::uint8_t>(*bits) : person.classification;
    }

    // The record of a table the row's person leads to, when the row's
    // classification leads there and the link lies inside the table.
    std::optional<std::uint32_t> recordOfRow(const StaffRecord& person, std::uint8_t classification,
                                             StaffTable table) const
    {
        if (!classificationLeadsTo(classification, table))
            return std::nullopt;
        return linkInside(db_, person, table);
    }

    void readRow(const CsvRow& row)
    {
        // What a spreadsheet leaves of a row whose cells were deleted.
        if (std::all_of(row.cells.begin(), row.cells.end(), [](std::string_view c) { return c.empty(); }))
            return;
        const std::size_t expected = cells_.size();
        if (row.cells.size() < expected) {
            error(row.line, headerName(row.cells.size()), "the row ends before this column");
            return;
        }
        if (row.cells.size() > expected) {
            error(row.line, headerName(expected), "the row has more cells than the header");
            return;
        }
        const std::optional<std::size_t> position = readPosition(row);
        if (!position)
            return;
        const StaffRecord& person = db_.staff[*position];
        const std::uint8_t classification = classificationOf(row, person);
        const std::optional<std::uint32_t> player = recordOfRow(person, classification, StaffTable::Player);
        const std::optional<std::uint32_t> nonPlayer = recordOfRow(person, classification, StaffTable::NonPlayer);

        // Records another person shares are checked across rows, in
        // readAttribute; the others are read here.
        const PlayerRecord* const ownPlayer = player && !sharedPlayers_[*player] ? &db_.players[*player] : nullptr;
        const NonPlayerRecord* const ownNonPlayer =
            nonPlayer && !sharedNonPlayers_[*nonPlayer] ? &db_.nonPlayers[*nonPlayer] : nullptr;
        const HeaderCell* const header = cells_.data();
        const std::string_view* const cells = row.cells.data();
        for (std::size_t i = 0; i < expected; ++i) {
            const std::string_view text = cells[i];
            // An empty cell leaves its value as it is.
            if (text.empty())
                continue;
            const HeaderCell& cell = header[i];
            // The common cell, a field's own value, is only parsed and compared.
            switch (cell.reading) {
            case HeaderCell::Reading::Skip:
                break;
            case HeaderCell::Reading::StaffField:
                if (!holdsValue(text, *cell.column, cell.staffGet(person)))
                    readStaffField(row, i, *cell.column, *position);
                break;
            case HeaderCell::Reading::PlayerField:
                if (!ownPlayer || !holdsValue(text, *cell.column, cell.playerGet(*ownPlayer)))
                    readAttribute(row, i, *cell.column, *position, classification);
                break;
            case HeaderCell::Reading::NonPlayerField:
                if (!ownNonPlayer || !holdsValue(text, *cell.column, cell.nonPlayerGet(*ownNonPlayer)))
                    readAttribute(row, i, *cell.column, *position, classification);
                break;
            case HeaderCell::Reading::DisplayName:
                if (!cp1252EqualsUtf8(person.displayName, text))
                    changedText(row, i, person.displayName,
                                "the display name cannot be changed: it is built from firstName and secondName");
                break;
            case HeaderCell::Reading::Text:
                readText(row, i, cell, *position);
                break;
            }
        }
    }

    // A text cell names the record its code column points at. It may change
    // together with that column when it names the new code's record.
    void readText(const CsvRow& row, std::size_t cell, const HeaderCell& header, std::size_t position)
    {
        const PeopleColumn& column = *header.column;
        const PeopleColumn& code = fieldColumn(StaffTable::Staff, column.field);
        const std::uint32_t current =
            currentValue(db_, ValueKey{StaffTable::Staff, static_cast<std::uint32_t>(position), code.field});
        const std::optional<std::uint32_t> typed = codeOfRow(row, header.codeCell, code);
        const std::uint32_t bits = typed.value_or(current);
        const std::string_view named = lookupText(db_, column.lookup, bits);
        if (cp1252EqualsUtf8(named, row.cells[cell]))
            return;
        if (bits != current) {
            error(row.line, column.name,
                  quoted(row.cells[cell]) + " contradicts " + code.name + " " +
                      std::to_string(columnNumberOf(code, bits)) + ", which is " + quoted(cp1252ToUtf8(named)));
            return;
        }
        changedText(row, cell, named,
                    "the text cannot be changed: it follows from " + code.name + "; change that column instead");
    }

    // The value the row gives the code field, when it has a readable cell
    // for it (a bad one is reported by the field's own column).
    static std::optional<std::uint32_t> codeOfRow(const CsvRow& row, std::size_t codeCell, const PeopleColumn& code)
    {
        if (codeCell == kNoCell || row.cells[codeCell].empty())
            return std::nullopt;
        const auto number = cellNumber(row.cells[codeCell]);
        return number ? bitsForNumber(code, *number) : std::nullopt;
    }

    // A display name or text that differs from the game's.
    void changedText(const CsvRow& row, std::size_t cell, std::string_view gameText, std::string what)
    {
        changedTexts_.add(row.line, headerName(cell), row.cells[cell], gameText, std::move(what));
    }

    void reportChangedTexts()
    {
        for (const ChangedTexts::Message& m : changedTexts_.messages())
            error(m.line, m.column, m.what);
    }

    void readStaffField(const CsvRow& row, std::size_t cell, const PeopleColumn& field, std::size_t position)
    {
        const std::optional<std::uint32_t> bits = readNumber(row, cell, field);
        if (!bits)
            return;
        const ValueKey key{StaffTable::Staff, static_cast<std::uint32_t>(position), field.field};
        const std::uint32_t current = currentValue(db_, key);
        if (*bits == current)
            return;
        if (!field.writable) {
            error(row.line, headerName(cell), "cannot be changed: the staff file keeps its own bytes there");
            return;
        }
        plan_.changes.push_back({key, current, *bits});
    }

    void readAttribute(const CsvRow& row, std::size_t cell, const PeopleColumn& field, std::size_t position,
                       std::uint8_t classification)
    {
        const std::optional<std::uint32_t> bits = readNumber(row, cell, field);
        if (!bits)
            return;
        const std::string tableText(tableName(field.table));
        if (!classificationLeadsTo(classification, field.table)) {
            error(row.line, headerName(cell),
                  "the person's classification " + std::to_string(classification) + " leads to no " + tableText +
                      " record");
            return;
        }
        const StaffRecord& person = db_.staff[position];
        const std::optional<std::uint32_t> record = linkInside(db_, person, field.table);
        if (!record) {
            const bool player = field.table == StaffTable::Player;
            error(row.line, headerName(cell),
                  std::string(player ? "playerId " : "nonPlayerId ") +
                      std::to_string(player ? person.playerId : person.nonPlayerId) + " lies outside the " + tableText +
                      " table");
            return;
        }

        const ValueKey key{field.table, *record, field.field};
        SettingsOfTable::Setting& setting =
            (field.table == StaffTable::Player ? playerSettings_ : nonPlayerSettings_).at(db_, key);
        if (setting.line != 0) {
            // Another person's row set this value of the shared record first.
            if (setting.bits != *bits)
                error(row.line, headerName(cell),
                      tableText + " record " + std::to_string(*record) + " is set to " + std::string(row.cells[cell]) +
                          " here and to " + formatValue(key, setting.bits) + " on line " +
                          std::to_string(setting.line));
            return;
        }
        setting = {*bits, static_cast<std::uint32_t>(row.line)};
        const std::uint32_t current = currentValue(db_, key);
        if (*bits != current)
            plan_.changes.push_back({key, current, *bits});
    }

    const GameDatabase& db_;
    const std::string& fileName_;
    CsvReader reader_;
    CsvRow header_;
    std::vector<HeaderCell> cells_; // per header cell
    std::size_t positionCell_ = kNoCell;
    std::size_t classificationCell_ = kNoCell;
    std::vector<std::size_t> lineOfPerson_; // 0: no row yet
    // Records more than one person links to: their values are checked
    // across rows (SettingsOfTable); the others are read from the row alone.
    std::vector<std::uint8_t> sharedPlayers_ = sharedRecords(db_, StaffTable::Player);
    std::vector<std::uint8_t> sharedNonPlayers_ = sharedRecords(db_, StaffTable::NonPlayer);
    SettingsOfTable playerSettings_;
    SettingsOfTable nonPlayerSettings_;
    ImportPlan plan_;

    ChangedTexts changedTexts_;
};

} // namespace

ImportPlan planImport(const GameDatabase& db, std::string_view csv, const std::string& fileName)
{
    return Importer(db, csv, fileName).run();
}

} // namespace rostradb::cli
