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

// One character of well-formed UTF-8 (the import's text always is).
char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = tail == 0 ? lead : lead & (0x3F >> tail);
    for (int i = 0; i < tail && at < text.size(); ++i)
        code = code << 6 | (static_cast<unsigned char>(text[at++]) & 0x3Fu);
    return code;
}

} // namespace

// Whether `cell` is the game's text in UTF-8 with each of its bytes taken
// for a Windows-1252 character. The five bytes the code page leaves
// undefined come back as their C1 control, as U+FFFD or as '?',
// depending on the program that read them.
bool isMisreadUtf8(std::string_view gameText, std::string_view cell)
{
    const std::string utf8 = cp1252ToUtf8(gameText);
    if (utf8 == cell)
        return false;
    std::size_t at = 0;
    for (const char byte : utf8) {
        if (at >= cell.size())
            return false;
        const char32_t read = nextCodePoint(cell, at);
        const char32_t meant = cp1252CodePoint(static_cast<unsigned char>(byte));
        const bool undefined = meant >= 0x80 && meant < 0xA0;
        if (read != meant && !(undefined && (read == 0xFFFD || read == U'?')))
            return false;
    }
    return at == cell.size();
}

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
                    changedText(row, i, person.displayName,
                                "the display name cannot be changed: it is built from firstName and secondName");
                break;
            case ColumnKind::Text:
                readText(row, i, *column, *position);
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

    // A text cell names the record its code column points at. It may change
    // together with that column when it names the new code's record.
    void readText(const CsvRow& row, std::size_t cell, const PeopleColumn& column, std::size_t position)
    {
        const PeopleColumn& code = fieldColumn(StaffTable::Staff, column.field);
        const std::uint32_t current =
            currentValue(db_, ValueKey{StaffTable::Staff, static_cast<std::uint32_t>(position), code.field});
        const std::optional<std::uint32_t> typed = codeOfRow(row, code);
        const std::uint32_t bits = typed.value_or(current);
        const std::string_view named = lookupText(db_, column.lookup, bits);
        if (cp1252EqualsUtf8(named, row.cells[cell]))
            return;
        if (bits != current) {
            error(row.line, column.name,
                  "\"" + row.cells[cell] + "\" contradicts " + code.name + " " +
                      std::to_string(columnNumberOf(code, bits)) + ", which is \"" + cp1252ToUtf8(named) + "\"");
            return;
        }
        changedText(row, cell, named,
                    "the text cannot be changed: it follows from " + code.name + "; change that column instead");
    }

    // The value the row gives the code field, when it has a readable cell
    // for it (a bad one is reported by the field's own column).
    std::optional<std::uint32_t> codeOfRow(const CsvRow& row, const PeopleColumn& code) const
    {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const PeopleColumn* column = columns_[i];
            if (column != &code || row.cells[i].empty())
                continue;
            const auto number = parseDecimal(row.cells[i]);
            return number ? bitsForNumber(code, *number) : std::nullopt;
        }
        return std::nullopt;
    }

    // A display name or text that differs from the game's. When every such
    // cell is the game's text read in the wrong character set ("StanhÃ©im"
    // for "Stanhéim": UTF-8 opened as Windows-1252 and saved again), the
    // cause is one, and so is the message.
    void changedText(const CsvRow& row, std::size_t cell, std::string_view gameText, std::string what)
    {
        const bool misread = isMisreadUtf8(gameText, row.cells[cell]);
        if (misread && !firstMisread_)
            firstMisread_ = MisreadText{row.line, headerName(cell), row.cells[cell], cp1252ToUtf8(gameText)};
        changedTexts_.push_back({row.line, headerName(cell), std::move(what), misread});
    }

    void reportChangedTexts()
    {
        const bool allMisread = !changedTexts_.empty() &&
                                std::all_of(changedTexts_.begin(), changedTexts_.end(),
                                            [](const ChangedText& t) { return t.misread; });
        if (allMisread) {
            const MisreadText& first = *firstMisread_;
            error(first.line, first.column,
                  "the spreadsheet read the file in the wrong character set: open it as UTF-8 (\"" + first.cell +
                      "\" stands for \"" + first.meant + "\"; " + std::to_string(changedTexts_.size()) +
                      " texts like it)");
            return;
        }
        for (const ChangedText& t : changedTexts_)
            error(t.line, t.column, t.what);
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

    struct ChangedText {
        std::size_t line;
        std::string column;
        std::string what;
        bool misread;
    };
    struct MisreadText {
        std::size_t line;
        std::string column;
        std::string cell;
        std::string meant;
    };
    std::vector<ChangedText> changedTexts_;
    std::optional<MisreadText> firstMisread_;
};

} // namespace

ImportPlan planImport(const GameDatabase& db, std::string_view csv, const std::string& fileName)
{
    return Importer(db, csv, fileName).run();
}

} // namespace rostradb::cli
