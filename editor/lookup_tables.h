#pragma once
// The five tables a name, nation or club position leads into, reached by
// which of them a box or a column lists.

#include "db/game_database.h"
#include "form_controls.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rostradb {

// The display text of the record at `position`, in the game's bytes; empty
// when the position lies outside the table (the none marker, say).
std::string_view lookupText(const GameDatabase& db, LookupTable table, std::uint32_t position);

} // namespace rostradb
