#include "game_database.h"

namespace rostradb {

void GameDatabase::clearLoadedTables()
{
    // Cleared, with their room kept: the load that follows reads into it.
    nations.clear();
    firstNames.clear();
    secondNames.clear();
    commonNames.clear();
    staff.clear();
    nonPlayers.clear();
    players.clear();
    clubs.clear();
    snapshot.clearKeepingRoom();
    for (auto& names : namesInFile)
        names.clear();
}

} // namespace rostradb
