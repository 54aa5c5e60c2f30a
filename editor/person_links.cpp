#include "person_links.h"

#include "field_change.h"

namespace rostradb {

std::optional<std::uint32_t> linkInside(const GameDatabase& db, const StaffRecord& person, StaffTable table)
{
    if (table == StaffTable::Staff)
        return std::nullopt;
    const std::int32_t link = table == StaffTable::Player ? person.playerId : person.nonPlayerId;
    if (link < 0 || static_cast<std::size_t>(link) >= recordCount(db, table))
        return std::nullopt;
    return static_cast<std::uint32_t>(link);
}

std::optional<std::uint32_t> linkedRecord(const GameDatabase& db, std::uint32_t staffPosition, StaffTable table)
{
    if (staffPosition >= db.staff.size())
        return std::nullopt;
    if (table == StaffTable::Staff)
        return staffPosition;
    const StaffRecord& person = db.staff[staffPosition];
    if (!classificationLeadsTo(person.classification, table))
        return std::nullopt;
    return linkInside(db, person, table);
}

} // namespace rostradb
