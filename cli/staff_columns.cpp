#include "staff_columns.h"

#include "db/cp1252_text.h"
#include "db/record_layout.h"

#include <stdexcept>

namespace rostradb::cli {

namespace {

struct TextSource {
    FieldAccess<StaffRecord> field;
    LookupTable lookup;
};

// The positions whose texts a row shows, in the order of their columns.
const std::array<TextSource, 7> kTextSources{{
    {fieldAccess<&StaffRecord::firstName>(), LookupTable::FirstNames},
    {fieldAccess<&StaffRecord::secondName>(), LookupTable::SecondNames},
    {fieldAccess<&StaffRecord::commonName>(), LookupTable::CommonNames},
    {fieldAccess<&StaffRecord::nation>(), LookupTable::Nations},
    {fieldAccess<&StaffRecord::secondNation>(), LookupTable::Nations},
    {fieldAccess<&StaffRecord::nationContracted>(), LookupTable::Nations},
    {fieldAccess<&StaffRecord::clubContracted>(), LookupTable::Clubs},
}};

std::vector<StaffColumn> buildColumns()
{
    std::vector<StaffColumn> columns;
    columns.push_back({StaffColumn::Kind::Position, "position"});
    columns.push_back({StaffColumn::Kind::DisplayName, "displayName"});
    for (const TableField& f : fieldsOf(Table::Staff))
        columns.push_back({StaffColumn::Kind::Field, std::string(f.name), &f});
    for (const TextSource& source : kTextSources) {
        const TableField& f = staffFieldOf(source.field);
        columns.push_back({StaffColumn::Kind::Text, std::string(f.name) + "Text", &f, source.lookup});
    }
    for (const Table t : {Table::Player, Table::NonPlayer})
        for (const TableField& f : fieldsOf(t))
            columns.push_back({StaffColumn::Kind::Field, columnName(f), &f});
    return columns;
}


} // namespace

// Found by its getter in the layout, so that a column takes its name from
// the layout and nowhere else.
const TableField& staffFieldOf(const FieldAccess<StaffRecord>& access)
{
    for (std::size_t i = 0; i < kStaffLayout.size(); ++i)
        if (kStaffLayout[i].access.get == access.get)
            return fieldsOf(Table::Staff)[i];
    throw std::logic_error("a staff field missing from the layout");
}

const std::vector<StaffColumn>& staffColumns()
{
    static const std::vector<StaffColumn> columns = buildColumns();
    return columns;
}

const StaffColumn* findStaffColumn(std::string_view name)
{
    for (const StaffColumn& c : staffColumns())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::string columnName(const TableField& field)
{
    if (field.table == Table::Staff)
        return std::string(field.name);
    return std::string(tableName(field.table)) + "." + std::string(field.name);
}

bool classificationLeadsTo(std::uint8_t classification, Table table)
{
    switch (table) {
    case Table::Staff:
        return true;
    case Table::Player:
        return classification == kPlayer || classification == kNonPlayerAndPlayer;
    case Table::NonPlayer:
        break;
    }
    return classification == kNonPlayer || classification == kNonPlayerAndPlayer;
}

const TableField& linkField(Table table)
{
    static const TableField& player = staffFieldOf(fieldAccess<&StaffRecord::playerId>());
    static const TableField& nonPlayer = staffFieldOf(fieldAccess<&StaffRecord::nonPlayerId>());
    return table == Table::Player ? player : nonPlayer;
}

std::optional<std::size_t> linkedRecord(const GameDatabase& db, const StaffRecord& person, Table table)
{
    if (!classificationLeadsTo(person.classification, table))
        return std::nullopt;
    return linkInside(db, person, table);
}

std::optional<std::size_t> linkInside(const GameDatabase& db, const StaffRecord& person, Table table)
{
    if (table == Table::Staff)
        return std::nullopt;
    const std::int32_t link = table == Table::Player ? person.playerId : person.nonPlayerId;
    if (link < 0 || static_cast<std::size_t>(link) >= recordCount(db, table))
        return std::nullopt;
    return static_cast<std::size_t>(link);
}

void staffRowCells(const GameDatabase& db, std::size_t position, std::vector<std::string>& cells)
{
    const auto& columns = staffColumns();
    cells.resize(columns.size());
    const StaffRecord& person = db.staff[position];
    const std::optional<std::size_t> player = linkedRecord(db, person, Table::Player);
    const std::optional<std::size_t> nonPlayer = linkedRecord(db, person, Table::NonPlayer);

    for (std::size_t i = 0; i < columns.size(); ++i) {
        const StaffColumn& c = columns[i];
        std::string& cell = cells[i];
        switch (c.kind) {
        case StaffColumn::Kind::Position:
            cell = std::to_string(position);
            break;
        case StaffColumn::Kind::DisplayName:
            cell = cp1252ToUtf8(person.displayName);
            break;
        case StaffColumn::Kind::Text:
            cell = cp1252ToUtf8(lookupText(db, c.lookup, fieldBits(db, *c.field, position)));
            break;
        case StaffColumn::Kind::Field: {
            const std::optional<std::size_t> record =
                c.field->table == Table::Staff ? std::optional(position)
                                               : (c.field->table == Table::Player ? player : nonPlayer);
            if (record)
                cell = formatField(*c.field, fieldBits(db, *c.field, *record));
            else
                cell.clear();
            break;
        }
        }
    }
}

} // namespace rostradb::cli
