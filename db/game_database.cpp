#include "game_database.h"

namespace rostradb {

void GameDatabase::clearLoadedTables()
{
    // Assigned empty rather than cleared, so the memory goes too: a load
    // builds its tables anew (the staff tables on another thread), and the
    // old ones' room would otherwise be held beside them until the end.
    nations = {};
    firstNames = {};
    secondNames = {};
    commonNames = {};
    staff = {};
    nonPlayers = {};
    players = {};
    clubs = {};
    snapshot.clear();
    for (auto& names : namesInFile)
        names.clear();
}

} // namespace rostradb
