#include "game_diff.h"

#include "db/errors.h"
#include "db/record_layout.h"

#include <string>

namespace rostradb::cli {

namespace {

std::string shapeText(const GameDatabase& db)
{
    return std::to_string(db.directory.at(entry::kStaff).recordCount()) + " staff, " +
           std::to_string(db.directory.at(entry::kPlayers).recordCount()) + " player and " +
           std::to_string(db.directory.at(entry::kNonPlayers).recordCount()) + " non-player records";
}

template <const auto& Layout, class Record>
void diffTable(StaffTable table, const std::vector<Record>& before, const std::vector<Record>& after,
               std::vector<FieldChange>& changes)
{
    for (std::size_t p = 0; p < before.size(); ++p) {
        for (std::size_t i = 0; i < Layout.size(); ++i) {
            const std::uint32_t oldBits = Layout[i].access.get(before[p]);
            const std::uint32_t newBits = Layout[i].access.get(after[p]);
            if (oldBits != newBits)
                changes.push_back(
                    {{table, static_cast<std::uint32_t>(p), static_cast<std::uint16_t>(i)}, oldBits, newBits});
        }
    }
}

} // namespace

std::vector<FieldChange> diffGames(const GameDatabase& before, const GameDatabase& after)
{
    for (const std::size_t e : {entry::kStaff, entry::kNonPlayers, entry::kPlayers}) {
        if (before.directory.at(e).recordCount() != after.directory.at(e).recordCount())
            throw DbError(std::string(kDifferentShapes) + ": " + shapeText(before) + " against " + shapeText(after));
    }
    // A load that ran to its end holds what the directory announces; pair
    // only what both hold in any case.
    if (before.staff.size() != after.staff.size() || before.players.size() != after.players.size() ||
        before.nonPlayers.size() != after.nonPlayers.size())
        throw DbError(kDifferentShapes);

    std::vector<FieldChange> changes;
    diffTable<kStaffLayout>(StaffTable::Staff, before.staff, after.staff, changes);
    diffTable<kPlayerLayout>(StaffTable::Player, before.players, after.players, changes);
    diffTable<kNonPlayerLayout>(StaffTable::NonPlayer, before.nonPlayers, after.nonPlayers, changes);
    return changes;
}

} // namespace rostradb::cli
