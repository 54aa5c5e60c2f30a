#pragma once
// `show`: every field of one person's records, as "name: value" lines or as
// one JSON object.

#include "db/game_database.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>

namespace rostradb::cli {

// One line per column of the person's row, as export names them; the
// player.* and nonPlayer.* lines only for the records the person leads to.
std::string personText(const GameDatabase& db, std::size_t position);

// {"position", "displayName", "staff": {...}, "texts": {...},
//  "player": {...} or null, "nonPlayer": {...} or null}
nlohmann::ordered_json personJson(const GameDatabase& db, std::size_t position);

} // namespace rostradb::cli
