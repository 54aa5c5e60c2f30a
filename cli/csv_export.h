#pragma once
// Every person as one row of CSV, after a header row of the column names.

#include "db/game_database.h"

#include <string>

namespace rostradb::cli {

std::string exportCsv(const GameDatabase& db);

} // namespace rostradb::cli
