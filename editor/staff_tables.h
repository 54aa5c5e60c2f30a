#pragma once
// The three staff-file tables behind one switch: hands a generic function the
// table's layout, its records in memory and its region of the load snapshot,
// so that code walking "every value" is written once for all three.

#include "db/game_database.h"
#include "db/record_layout.h"
#include "field_change.h"

namespace rostradb::staff_tables {

template <class Db, class Function>
decltype(auto) visit(Db& db, StaffTable table, Function&& function)
{
    switch (table) {
    case StaffTable::NonPlayer:
        return function(kNonPlayerLayout, db.nonPlayers, db.snapshot.nonPlayers);
    case StaffTable::Player:
        return function(kPlayerLayout, db.players, db.snapshot.players);
    case StaffTable::Staff:
        break;
    }
    return function(kStaffLayout, db.staff, db.snapshot.staff);
}

// The same, for code that needs only the layout.
template <class Function>
decltype(auto) visitLayout(StaffTable table, Function&& function)
{
    switch (table) {
    case StaffTable::NonPlayer:
        return function(kNonPlayerLayout);
    case StaffTable::Player:
        return function(kPlayerLayout);
    case StaffTable::Staff:
        break;
    }
    return function(kStaffLayout);
}

// Whole records in a snapshot region (the bytes of a load that stopped early
// may end inside one).
inline std::size_t regionRecords(const TableRegion& region)
{
    return region.recordBytes == 0 ? 0 : region.bytes.size() / region.recordBytes;
}

} // namespace rostradb::staff_tables
