#include "game_database.h"

namespace rostradb {

void GameDatabase::clearLoadedTables()
{
    nations.clear();
    firstNames.clear();
    secondNames.clear();
    commonNames.clear();
    staff.clear();
    nonPlayers.clear();
    players.clear();
    clubs.clear();
    snapshot.clear();
    for (auto& names : namesInFile)
        names.clear();
}

} // namespace rostradb
