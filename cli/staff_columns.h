#pragma once
// The columns of a person's row, as export writes them and import reads
// them: position and display name, every StaffRecord field in file order,
// the texts the name, nation and club positions stand for, then the
// PlayerRecord ("player.*") and NonPlayerRecord ("nonPlayer.*") fields.

#include "editor/form_controls.h"
#include "editor/lookup_tables.h"
#include "table_fields.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

struct StaffColumn {
    enum class Kind { Position, DisplayName, Field, Text };
    Kind kind;
    std::string name;
    // Field: the column's field (of any table). Text: the staff field whose
    // position the text stands for.
    const TableField* field = nullptr;
    LookupTable lookup = LookupTable::Nations; // Text: the table it names a record of
};

const std::vector<StaffColumn>& staffColumns();
const StaffColumn* findStaffColumn(std::string_view name);
// "player." and "nonPlayer." before an attribute field's name.
std::string columnName(const TableField& field);

// Whether the classification leads to a record of `table` (1 and 3 to the
// non-player record, 2 and 3 to the player record; the staff record always).
bool classificationLeadsTo(std::uint8_t classification, Table table);
// The position the person's link to `table` holds, when it lies inside the
// table, whatever the classification.
std::optional<std::size_t> linkInside(const GameDatabase& db, const StaffRecord& person, Table table);
// The person's record in `table` when the classification leads there and
// the link's position lies inside the table.
std::optional<std::size_t> linkedRecord(const GameDatabase& db, const StaffRecord& person, Table table);
// The staff field behind an accessor, as the layout names it.
const TableField& staffFieldOf(const FieldAccess<StaffRecord>& access);
// The staff field's link to `table` (playerId, nonPlayerId).
const TableField& linkField(Table table);


// The person's cells, one per column, in UTF-8; the cells of a record the
// person does not lead to are empty. `cells` is reused from row to row.
void staffRowCells(const GameDatabase& db, std::size_t position, std::vector<std::string>& cells);

} // namespace rostradb::cli
