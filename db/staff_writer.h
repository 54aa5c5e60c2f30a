#pragma once
// File > Save: staff.dat is rewritten in place. Every field the loader kept
// goes back to the bytes it was read from; every byte it did not keep (the
// date tails, bytes 24..25 and 145..156 of a staff record, byte 69 of a player
// record, and everything between and after the tables) keeps what the file
// holds. The file is never created, truncated or extended.

#include "game_database.h"
#include "progress_sink.h"

#include <string>

namespace rostradb {

// Raises "List index out of bounds (N)" before touching the file when a
// table holds fewer records than its directory entry announces (N is the
// first missing position), and "Read beyond end of file" when a table would
// reach past the end of the file. The data is flushed to the disk before the
// file is closed; a failed write, flush or close raises its error.
void saveStaffFile(const GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink);

} // namespace rostradb
