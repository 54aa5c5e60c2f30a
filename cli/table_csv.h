#pragma once
// The nation, club and name tables as CSV (`export --table`, `import
// --table`): one row per record, position, name and the people using it.
// Import renames: only the name may change, and a row's people must be the
// game's count, so that a file made from another game is not taken for
// this one's.

#include "db/lookup_names.h"
#include "editor/field_change.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

// "clubs", "nations", "first-names", "second-names", "common-names".
std::optional<LookupTable> lookupTableNamed(std::string_view name);
inline constexpr const char* kTableNames = "clubs, nations, first-names, second-names or common-names";

// The header row "position,name,people" and a row per record, table order.
std::string exportTableCsv(const GameDatabase& db, LookupTable table);

struct RenamePlan {
    std::vector<std::string> errors; // "FILE:LINE: column NAME: what is wrong"
    std::vector<NameChange> renames; // only names that differ, in table order
};

// Plans the renames `csv` (UTF-8, ',' or ';') asks for, changing nothing.
// Refused: a missing position or name column, an unknown or repeated column,
// a position outside the table or given twice, a people cell that is not
// the game's count, a name the game's files cannot hold (the character or
// the length named), and names that are the game's own read in the wrong
// character set.
RenamePlan planRenames(const GameDatabase& db, LookupTable table, std::string_view csv, const std::string& fileName);

} // namespace rostradb::cli
