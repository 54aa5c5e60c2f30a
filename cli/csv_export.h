#pragma once
// People as rows of CSV, after a header row of the column names.

#include "db/game_database.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rostradb::cli {

// Every person in table order, or only the staff positions `people` lists,
// in that order.
std::string exportCsv(const GameDatabase& db, const std::vector<std::uint32_t>* people = nullptr);

} // namespace rostradb::cli
