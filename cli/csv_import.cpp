#include "csv_import.h"

#include "csv.h"
#include "db/cp1252_text.h"
#include "db/record_layout.h"
#include "staff_columns.h"

#include <algorithm>
#include <optional>

namespace rostradb::cli {

namespace {

constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);

// Per player or non-player record, the rows that set fields of it. Several
// people may share one record; their rows must agree on every value.
using RowsOfRecord = std::vector<std::vector<std::size_t>>;

class Importer {
public:
    Importer(const GameDatabase& db, std::string_view csv, const std::string& fileName)
        : db_(db), fileName_(fileName), doc_(parseCsv(csv)), rowOfPerson_(db.staff.size(), kNoCell),
          playerRows_(db.players.size()), nonPlayerRows_(db.nonPlayers.size())
    {
    }

    ImportPlan run()
    {
        if (doc_.rows.empty() && !doc_.error) {
            error(1, "position", "the file holds no header row");
        } else if (!doc_.rows.empty() && readHeader()) {
            for (std::size_t r = 1; r < doc_.rows.size(); ++r)
                readRow(r);
        }
        if (doc_.error)
            error(doc_.error->line, headerName(doc_.error->cell), doc_.error->message);
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
        if (!doc_.rows.empty() && cell < doc_.rows[0].cells.size())
            return doc_.rows[0].cells[cell];
        std::string name(1, '#');
        name += std::to_string(cell + 1);
        return name;
    }

    // Maps every header cell to its column; false when the rows cannot be
    // read at all (no position column).
    bool readHeader()
    {
        const CsvRow& header = doc_.rows[0];
        columns_.assign(header.cells.size(), nullptr);
        for (std::size_t i = 0; i < header.cells.size(); ++i) {
            const std::string& name = header.cells[i];
            const StaffColumn* column = findStaffColumn(name);
            if (!column) {
                error(header.line, name, "unknown column");
                continue;
            }
            if (std::find(columns_.begin(), columns_.end(), column) != columns_.end()) {
                error(header.line, name, "the header names this column twice");
                continue;
            }
            columns_[i] = column;
            if (column->kind == StaffColumn::Kind::Position)
                positionCell_ = i;
            else if (column->field == classificationField())
                classificationCell_ = i;
        }
        if (positionCell_ == kNoCell) {
            error(header.line, "position", "missing: rows are found by their position");
            return false;
        }
        return true;
    }

    static const TableField* classificationField()
    {
        static const TableField& field = staffFieldOf(fieldAccess<&StaffRecord::classification>());
        return &field;
    }

    // The cell's number as the field's bits; reports and gives nullopt when
    // it is no decimal integer in the field's range.
    std::optional<std::uint32_t> readNumber(const CsvRow& row, std::size_t cell, const TableField& field)
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
        if (rowOfPerson_[position] != kNoCell) {
            error(row.line, "position",
                  "position " + text + " is also on line " + std::to_string(doc_.rows[rowOfPerson_[position]].line));
            return std::nullopt;
        }
        return position;
    }

    void readRow(std::size_t r)
    {
        const CsvRow& row = doc_.rows[r];
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
        rowOfPerson_[*position] = r;
        const StaffRecord& person = db_.staff[*position];

        // The attribute columns follow the classification the row leaves.
        std::uint8_t classification = person.classification;
        if (classificationCell_ != kNoCell && !row.cells[classificationCell_].empty()) {
            if (const auto bits = parseDecimal(row.cells[classificationCell_]);
                bits && bitsForNumber(*classificationField(), *bits))
                classification = static_cast<std::uint8_t>(*bits);
        }

        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const StaffColumn* column = columns_[i];
            if (!column || row.cells[i].empty() || i == positionCell_)
                continue;
            switch (column->kind) {
            case StaffColumn::Kind::Position:
                break;
            case StaffColumn::Kind::DisplayName:
                if (row.cells[i] != cp1252ToUtf8(person.displayName))
                    error(row.line, column->name,
                          "the display name cannot be changed: it is built from firstName and secondName");
                break;
            case StaffColumn::Kind::Text:
                if (row.cells[i] != cp1252ToUtf8(lookupText(db_, column->lookup, fieldBits(db_, *column->field, *position))))
                    error(row.line, column->name,
                          "the text cannot be changed: it follows from " + std::string(column->field->name) +
                              "; change that column instead");
                break;
            case StaffColumn::Kind::Field:
                readField(row, r, i, *column->field, *position, classification);
                break;
            }
        }
    }

    void readField(const CsvRow& row, std::size_t r, std::size_t cell, const TableField& field, std::size_t position,
                   std::uint8_t classification)
    {
        const std::optional<std::uint32_t> bits = readNumber(row, cell, field);
        if (!bits)
            return;
        if (field.table == Table::Staff) {
            const std::uint32_t current = fieldBits(db_, field, position);
            if (*bits == current)
                return;
            if (!field.saved) {
                error(row.line, headerName(cell), "cannot be changed: the staff file keeps its own bytes there");
                return;
            }
            plan_.changes.push_back({&field, position, current, *bits});
            return;
        }

        const std::string tableText(tableName(field.table));
        if (!classificationLeadsTo(classification, field.table)) {
            error(row.line, headerName(cell),
                  "the person's classification " + std::to_string(classification) + " leads to no " + tableText +
                      " record");
            return;
        }
        const std::optional<std::size_t> record = linkInside(db_, db_.staff[position], field.table);
        if (!record) {
            const TableField& link = linkField(field.table);
            error(row.line, headerName(cell),
                  std::string(link.name) + " " + formatField(link, fieldBits(db_, link, position)) +
                      " lies outside the " + tableText + " table");
            return;
        }
        if (!agreesWithEarlierRows(row, r, cell, field, *record, *bits))
            return;
        const std::uint32_t current = fieldBits(db_, field, *record);
        if (*bits != current && !setByEarlierRow(r, cell, field, *record))
            plan_.changes.push_back({&field, *record, current, *bits});
        rememberRow(field.table, *record, r);
    }

    RowsOfRecord& rowsOf(Table table) { return table == Table::Player ? playerRows_ : nonPlayerRows_; }

    void rememberRow(Table table, std::size_t record, std::size_t r)
    {
        auto& rows = rowsOf(table)[record];
        if (rows.empty() || rows.back() != r)
            rows.push_back(r);
    }

    // Rare: only people who share a record meet here.
    bool agreesWithEarlierRows(const CsvRow& row, std::size_t r, std::size_t cell, const TableField& field,
                               std::size_t record, std::uint32_t bits)
    {
        for (const std::size_t earlier : rowsOf(field.table)[record]) {
            if (earlier == r)
                continue;
            const std::string& other = doc_.rows[earlier].cells[cell];
            if (other.empty())
                continue;
            const auto otherNumber = parseDecimal(other);
            const auto otherBits = otherNumber ? bitsForNumber(field, *otherNumber) : std::nullopt;
            if (otherBits && *otherBits != bits) {
                error(row.line, headerName(cell),
                      std::string(tableName(field.table)) + " record " + std::to_string(record) + " is set to " +
                          row.cells[cell] + " here and to " + other + " on line " +
                          std::to_string(doc_.rows[earlier].line));
                return false;
            }
        }
        return true;
    }

    bool setByEarlierRow(std::size_t r, std::size_t cell, const TableField& field, std::size_t record)
    {
        const auto& rows = rowsOf(field.table)[record];
        return std::any_of(rows.begin(), rows.end(),
                           [&](std::size_t earlier) { return earlier != r && !doc_.rows[earlier].cells[cell].empty(); });
    }

    const GameDatabase& db_;
    const std::string& fileName_;
    CsvDocument doc_;
    std::vector<const StaffColumn*> columns_; // per header cell; null when unknown
    std::size_t positionCell_ = kNoCell;
    std::size_t classificationCell_ = kNoCell;
    std::vector<std::size_t> rowOfPerson_; // row index per staff position
    RowsOfRecord playerRows_;
    RowsOfRecord nonPlayerRows_;
    ImportPlan plan_;
};

} // namespace

ImportPlan planImport(const GameDatabase& db, std::string_view csv, const std::string& fileName)
{
    return Importer(db, csv, fileName).run();
}

} // namespace rostradb::cli
