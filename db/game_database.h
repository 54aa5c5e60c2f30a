#pragma once
// Everything the editor holds of one game: the table directory and the eight
// tables File > Open fills. A record's position in its table is its
// identifier; the staff fields that refer to a name, nation, club or record
// hold such positions.

#include "records.h"
#include "staff_snapshot.h"
#include "table_directory.h"

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <vector>

namespace rostradb {

// How far the last File > Open got. Save writes only after a complete one:
// the tables of a load that stopped part-way are not the file's. A load for
// reading only has every table but no snapshot, and is never saved.
enum class LoadState { NotLoaded, Partial, Complete, ForReading };

struct GameDatabase {
    TableDirectory directory;
    std::vector<NationRecord> nations;
    std::vector<NameRecord> firstNames;
    std::vector<NameRecord> secondNames;
    std::vector<NameRecord> commonNames;
    std::vector<StaffRecord> staff;
    std::vector<NonPlayerRecord> nonPlayers;
    std::vector<PlayerRecord> players;
    std::vector<ClubRecord> clubs;
    // staff.dat as the last load read it (or the last save wrote it).
    StaffFileSnapshot snapshot;
    // The name fields as the lookup files held them at the last load or
    // save, of the records renamed since: by table (nations, first, second,
    // common names, clubs) and position. A record missing here holds in
    // memory what the file holds.
    std::array<std::map<std::uint32_t, std::array<std::uint8_t, kNameFieldBytes>>, 5> namesInFile;
    LoadState loadState = LoadState::NotLoaded;

    // Empties the eight loaded tables and the snapshot (not the directory),
    // so that a new load holds exactly one copy of the files. Their memory
    // is kept for that load to read into (reserveReusing).
    void clearLoadedTables();
};

// True when `table` holds every record its directory entry announces, that
// is, its load ran to the end.
template <class Table>
bool tableIsComplete(const GameDatabase& db, const Table& table, std::size_t directoryPosition)
{
    return directoryPosition < db.directory.size() && table.size() == db.directory.at(directoryPosition).recordCount();
}

} // namespace rostradb
