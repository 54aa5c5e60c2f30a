#pragma once
// Ordering people by a column, for the people table's header clicks.

#include "db/game_database.h"
#include "people_columns.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace rostradb {

// -1, 0 or 1 as `a` sorts before, with or after `b` by the name search's
// rule: bytes, a..z without regard to case.
int compareFolded(std::string_view a, std::string_view b);

// Sorts the staff positions by the column: numbers as numbers, texts by
// compareFolded. Stable, so equal values keep their order; people without
// the column come last either way.
void sortPeople(const GameDatabase& db, std::vector<std::uint32_t>& people, const PeopleColumn& column,
                bool descending = false);

} // namespace rostradb
