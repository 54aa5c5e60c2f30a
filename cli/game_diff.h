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

} // namespace rostradb::cli
