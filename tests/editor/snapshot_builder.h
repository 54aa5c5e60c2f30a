#pragma once
// The load snapshot of an in-memory test database: the file bytes its
// records would have been read from, every field (saved or not) at its
// offset and the bytes no field covers filled with a marker.

#include "db/game_database.h"
#include "db/record_layout.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace rostradb::testing {

template <class Record, std::size_t N>
TableRegion regionOf(const std::vector<Record>& records, const std::array<Field<Record>, N>& layout)
{
    TableRegion region;
    region.recordBytes = Record::kFileBytes;
    region.recordCount = records.size();
    region.bytes = ByteBuffer(records.size() * Record::kFileBytes);
    std::fill(region.bytes.bytes().begin(), region.bytes.bytes().end(), std::uint8_t{0xA5});
    for (std::size_t i = 0; i < records.size(); ++i)
        for (const auto& field : layout)
            le::store(region.record(i) + field.offset, field.access.width, field.access.get(records[i]));
    return region;
}

// Makes the records as they are now the database's snapshot, as a load or a
// save leaves it.
inline void takeSnapshot(GameDatabase& db)
{
    db.snapshot.staff = regionOf(db.staff, kStaffLayout);
    db.snapshot.nonPlayers = regionOf(db.nonPlayers, kNonPlayerLayout);
    db.snapshot.players = regionOf(db.players, kPlayerLayout);
}

// Every record's file bytes as they would be encoded now, for comparisons
// of whole tables byte for byte.
inline std::vector<std::uint8_t> encodedTables(const GameDatabase& db)
{
    std::vector<std::uint8_t> bytes;
    for (const TableRegion& region : {regionOf(db.staff, kStaffLayout), regionOf(db.nonPlayers, kNonPlayerLayout),
                                      regionOf(db.players, kPlayerLayout)})
        bytes.insert(bytes.end(), region.bytes.data(), region.bytes.data() + region.bytes.size());
    return bytes;
}

} // namespace rostradb::testing
