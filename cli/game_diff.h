#pragma once
// What differs between two copies of a game: every field of the three staff
// tables, record by record.

#include "field_changes.h"

#include <vector>

namespace rostradb::cli {

// Raised (as a DbError) when the two directories announce tables of
// different sizes: the records would not pair up.
inline constexpr const char* kDifferentShapes = "The two games' staff tables differ in size";

// Every field whose value differs, table by table (staff, player,
// non-player), in position and field order; old from `before`, new from
// `after`. Both databases must be loaded in full.
std::vector<FieldChange> diffGames(const GameDatabase& before, const GameDatabase& after);

// Every nation, name and club record whose name reads otherwise, over the
// positions both games hold: nations, first, second, common names, clubs.
// `before` and `after` of each change hold the two games' name fields.
std::vector<NameChange> diffNames(const GameDatabase& before, const GameDatabase& after);

// "clubs", "nations", "first-names", "second-names", "common-names": the
// table word of `export --table` and of a patch's renames.
const char* lookupTableWord(LookupTable table);

} // namespace rostradb::cli
