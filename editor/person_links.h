#pragma once
// Which records belong to a person. The general record always does; the
// classification says whether the person also has a player record (2, 3)
// and a non-player record (1, 3), found at the positions playerId and
// nonPlayerId hold. Other classifications (youth players, human managers,
// ...) have no attribute record the editor knows. Written once, here, for
// the form, the list of changes, the people table and the command line.

#include "db/game_database.h"
#include "staff_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace rostradb {

// Classification codes that lead to attribute records.
inline constexpr std::uint8_t kNonPlayer = 1;
inline constexpr std::uint8_t kPlayer = 2;
inline constexpr std::uint8_t kNonPlayerAndPlayer = 3;

// What a name, nation or club position holds when it names no record (the
// boxes' trailing "none"): it lies outside every table.
inline constexpr std::uint32_t kNoneMarker = 0xFEFFFFFF;

// Whether the classification leads to a record of `table` (the staff
// record: always).
constexpr bool classificationLeadsTo(std::uint8_t classification, StaffTable table)
{
    switch (table) {
    case StaffTable::Player:
        return classification == kPlayer || classification == kNonPlayerAndPlayer;
    case StaffTable::NonPlayer:
        return classification == kNonPlayer || classification == kNonPlayerAndPlayer;
    case StaffTable::Staff:
        break;
    }
    return true;
}

// The position the person's link to `table` holds when it lies inside the
// table, whatever the classification; none for the staff table itself.
std::optional<std::uint32_t> linkInside(const GameDatabase& db, const StaffRecord& person, StaffTable table);

// The person's record in `table`: the staff record's own position for the
// staff table, else the linked record when the classification leads there
// and the link lies inside the table. This is also the owner rule: a player
// or non-player record belongs to the first person, in table order, whose
// linkedRecord it is.
std::optional<std::uint32_t> linkedRecord(const GameDatabase& db, std::uint32_t staffPosition, StaffTable table);

} // namespace rostradb
