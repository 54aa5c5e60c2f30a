#include "csv_import.h"

#include "csv.h"
#include "db/cp1252_text.h"
#include "db/record_layout.h"
#include "editor/lookup_tables.h"
#include "editor/people_columns.h"
#include "editor/person_links.h"

#include <algorithm>
#include <optional>

namespace rostradb::cli {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// What the rows so far set in the fields of one table's records, so that
// people who share a player or non-player record can be made to agree on
// every value of it. Sized on first use: a file without such columns
// needs none of it.
class SettingsOfTable {
public:
    struct Setting {
        std::uint32_t bits = 0;
        std::uint32_t line = 0; // 0: no row has set the field
    };

    Setting& at(const GameDatabase& db, const ValueKey& key)
    {
        const std::size_t fields = fieldCount(key.table);
        if (settings_.empty())
            settings_.resize(recordCount(db, key.table) * fields);
        return settings_[key.position * fields + key.field];
    }

private:
    std::vector<Setting> settings_;
};

class Importer {
public:
    Importer(const GameDatabase& db, std::string_view csv, const std::string& fileName)
        : db_(db), fileName_(fileName), reader_(csv), lineOfPerson_(db.staff.size(), 0)
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
        if (!plan_.errors.empty())
            plan_.changes.clear();
        sortChanges(plan_.changes);
        return std::move(plan_);
    }

private:
    void error(std::size_t line, std::string_view column, const std::string& what)
    {
        plan_.errors.push_back(fileName_ + ":" + std::to_string(line) + ": column " + std::string(column) + ": " +
                               what);
    }

    // The header's name for a cell, or "#N" (from 1) past the header's end.
    std::string headerName(std::size_t cell) const
    {
        if (cell < header_.cells.size())
            return header_.cells[cell];
        std::string name(1, '#');
        name += std::to_string(cell + 1);
        return name;
    }

    // Maps every header cell to its column; false when the rows cannot be
    // read at all (no position column).
    bool readHeader()
    {
        columns_.assign(header_.cells.size(), nullptr);
        for (std::size_t i = 0; i < header_.cells.size(); ++i) {
            const std::string& name = header_.cells[i];
            const PeopleColumn* column = columnNamed(name);
            if (!column) {
                error(header_.line, name, "unknown column");
                continue;
            }
            if (std::find(columns_.begin(), columns_.end(), column) != columns_.end()) {
                error(header_.line, name, "the header names this column twice");
                continue;
            }
            columns_[i] = column;
            if (column->kind == ColumnKind::Position)
                positionCell_ = i;
            else if (column == &classificationColumn())
                classificationCell_ = i;
        }
        if (positionCell_ == kNone) {
            error(header_.line, "position", "missing: rows are found by their position");
            return false;
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
        const std::string& text = row.cells[cell];
        const std::optional<std::int64_t> number = parseDecimal(text);
        if (!number) {
            error(row.line, headerName(cell), "\"" + text + "\" is not a whole number in decimal");
            return std::nullopt;
        }
        const std::optional<std::uint32_t> bits = bitsForNumber(field, *number);
        if (!bits)
            error(row.line, headerName(cell), text + " is out of range: the value " + rangeText(field));
        return bits;
    }

    std::optional<std::size_t> readPosition(const CsvRow& row)
    {
        const std::string& text = row.cells[positionCell_];
        const std::optional<std::int64_t> number = parseDecimal(text);
        if (!number) {
            error(row.line, "position", "\"" + text + "\" is not a whole number in decimal");
            return std::nullopt;
        }
        if (*number < 0 || static_cast<std::uint64_t>(*number) >= db_.staff.size()) {
            error(row.line, "position",
                  "no person at position " + text + " (the staff table holds " + std::to_string(db_.staff.size()) +
                      " people)");
            return std::nullopt;
        }
        const auto position = static_cast<std::size_t>(*number);
        if (lineOfPerson_[position] != 0) {
            error(row.line, "position", "position " + text + " is also on line " + std::to_string(lineOfPerson_[position]));
            return std::nullopt;
        }
        lineOfPerson_[position] = row.line;
        return position;
    }

    // The classification the row leaves: its own cell when that is a good
    // number, else the person's.
    std::uint8_t classificationOf(const CsvRow& row, const StaffRecord& person) const
    {
        if (classificationCell_ == kNone || row.cells[classificationCell_].empty())
            return person.classification;
        const auto number = parseDecimal(row.cells[classificationCell_]);
        const auto bits = number ? bitsForNumber(classificationColumn(), *number) : std::nullopt;
        return bits ? static_cast<std::uint8_t>(*bits) : person.classification;
    }

    void readRow(const CsvRow& row)
    {
        const std::size_t expected = columns_.size();
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

        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const PeopleColumn* column = columns_[i];
            // An empty cell leaves its value as it is.
            if (!column || row.cells[i].empty())
                continue;
            switch (column->kind) {
            case ColumnKind::Position:
                break;
            case ColumnKind::DisplayName:
                if (!cp1252EqualsUtf8(person.displayName, row.cells[i]))
                    error(row.line, column->name,
                          "the display name cannot be changed: it is built from firstName and secondName");
                break;
            case ColumnKind::Text:
                if (!cp1252EqualsUtf8(columnText(db_, static_cast<std::uint32_t>(*position), *column), row.cells[i]))
                    error(row.line, column->name,
                          "the text cannot be changed: it follows from " +
                              std::string(fieldName(StaffTable::Staff, column->field)) + "; change that column instead");
                break;
            case ColumnKind::Field:
                if (column->table == StaffTable::Staff)
                    readStaffField(row, i, *column, *position);
                else
                    readAttribute(row, i, *column, *position, classification);
                break;
            }
        }
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
                      std::to_string(player ? person.playerId : person.nonPlayerId) + " lies outside the " +
                      tableText + " table");
            return;
        }

        const ValueKey key{field.table, *record, field.field};
        SettingsOfTable::Setting& setting =
            (field.table == StaffTable::Player ? playerSettings_ : nonPlayerSettings_).at(db_, key);
        if (setting.line != 0) {
            // Another person's row set this value of the shared record first.
            if (setting.bits != *bits)
                error(row.line, headerName(cell),
                      tableText + " record " + std::to_string(*record) + " is set to " + row.cells[cell] +
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
    std::vector<const PeopleColumn*> columns_; // per header cell; null when unknown
    std::size_t positionCell_ = kNone;
    std::size_t classificationCell_ = kNone;
    std::vector<std::size_t> lineOfPerson_; // 0: no row yet
    SettingsOfTable playerSettings_;
    SettingsOfTable nonPlayerSettings_;
    ImportPlan plan_;
};

} // namespace

ImportPlan planImport(const GameDatabase& db, std::string_view csv, const std::string& fileName)
{
    return Importer(db, csv, fileName).run();
}

} // namespace rostradb::cli
