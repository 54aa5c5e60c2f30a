#include "game_diff.h"

#include "db/errors.h"
#include "db/record_layout.h"

#include <string>

#include <algorithm>

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

std::vector<NameChange> diffNames(const GameDatabase& before, const GameDatabase& after)
{
    std::vector<NameChange> renames;
    for (const LookupTable table : {LookupTable::Nations, LookupTable::FirstNames, LookupTable::SecondNames,
                                    LookupTable::CommonNames, LookupTable::Clubs}) {
        const std::size_t count = std::min(lookupCount(before, table), lookupCount(after, table));
        for (std::uint32_t i = 0; i < count; ++i) {
            const NameKey key{table, i};
            const auto was = nameBytes(before, key);
            const auto is = nameBytes(after, key);
            if (nameFieldText(was.data()) == nameFieldText(is.data()))
                continue;
            NameChange change{key, {}, {}};
            std::copy(was.begin(), was.end(), change.before.begin());
            std::copy(is.begin(), is.end(), change.after.begin());
            renames.push_back(change);
        }
    }
    return renames;
}

const char* lookupTableWord(LookupTable table)
{
    switch (table) {
    case LookupTable::FirstNames:
        return "first-names";
    case LookupTable::SecondNames:
        return "second-names";
    case LookupTable::CommonNames:
        return "common-names";
    case LookupTable::Clubs:
        return "clubs";
    case LookupTable::Nations:
        break;
    }
    return "nations";
}

} // namespace rostradb::cli
