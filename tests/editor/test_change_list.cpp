#include "editor/change_list.h"

#include "editor/database_builder.h"
#include "editor/edit_history.h"
#include "editor/save_conflicts.h"
#include "editor/snapshot_builder.h"

#include <gtest/gtest.h>

#include <string_view>

namespace rostradb {
namespace {

std::uint16_t fieldIndex(StaffTable table, std::string_view name)
{
    for (std::uint16_t i = 0; i < fieldCount(table); ++i)
        if (name == fieldName(table, i))
            return i;
    ADD_FAILURE() << "no field " << name;
    return 0;
}

ChangeRow rowAfterSetting(GameDatabase& db, StaffTable table, std::uint32_t position, std::string_view field,
                          std::uint32_t value)
{
    const ValueKey key{table, position, fieldIndex(table, field)};
    setValue(db, key, value);
    RecordOwners owners;
    owners.build(db);
    return describeChange(db, owners, key);
}

TEST(ChangeRows, NameTheRecordAndTheValuesInFileAndNow)
{
    GameDatabase db = testing::peopleDatabase({2, 1, 2});
    db.staff[1].wages = 1500;
    testing::takeSnapshot(db);

    const ChangeRow wages = rowAfterSetting(db, StaffTable::Staff, 1, "wages", 4294967295u);
    EXPECT_EQ(wages.record, "staff 1");
    EXPECT_EQ(wages.field, "Wages");
    EXPECT_EQ(wages.person, "Person 1");
    EXPECT_EQ(wages.personPosition, 1u);
    EXPECT_EQ(wages.inFile, "1500");
    EXPECT_EQ(wages.now, "4294967295");

    const ChangeRow youn = rowAfterSetting(db, StaffTable::NonPlayer, 1, "youn", 3);
    EXPECT_EQ(youn.record, "non-player 1");
    EXPECT_EQ(youn.now, "3");
    EXPECT_EQ(youn.person, "Person 1");
    // The form's label where a box shows the field, the format's name where none does.
    EXPECT_EQ(rowAfterSetting(db, StaffTable::NonPlayer, 1, "currentAbility", 3).field, "Current ability");
    EXPECT_EQ(rowAfterSetting(db, StaffTable::NonPlayer, 1, "extraValues[3]", 3).field, "extraValues[3]");
    // One label for a date's day and year: the field's own name tells them apart.
    EXPECT_EQ(rowAfterSetting(db, StaffTable::Staff, 1, "birthYear", 1999).field, "Birth (birthYear)");
    EXPECT_EQ(rowAfterSetting(db, StaffTable::Staff, 1, "wages", 3).field, "Wages");
}

// Positions in the name, nation and club tables read better with the entry
// they lead to; one outside its table is what the form shows as "none".
TEST(ChangeRows, LookupPositionsCarryTheirEntryInBrackets)
{
    GameDatabase db = testing::peopleDatabase({2, 2});
    db.staff[0].nation = 0;
    db.staff[0].clubContracted = 6;
    db.staff[0].commonName = 2;
    testing::takeSnapshot(db);

    const ChangeRow nation = rowAfterSetting(db, StaffTable::Staff, 0, "nationContracted", 2);
    EXPECT_EQ(nation.now, "2 (Nation2)");
    const ChangeRow club = rowAfterSetting(db, StaffTable::Staff, 0, "clubContracted", 0xFEFFFFFF);
    EXPECT_EQ(club.inFile, "6 (Club6)");
    EXPECT_EQ(club.now, "4278190079 (none)");
    const ChangeRow common = rowAfterSetting(db, StaffTable::Staff, 0, "commonName", 5);
    EXPECT_EQ(common.inFile, "2 (Common2)");
    EXPECT_EQ(common.now, "5 (Common5)");
    // A number that only looks like a position stays a number.
    const ChangeRow caps = rowAfterSetting(db, StaffTable::Staff, 0, "internationalCaps", 2);
    EXPECT_EQ(caps.now, "2");
}

// An attribute record belongs to the person whose link leads there and who
// is shown with that kind of record; others pointing there do not count.
TEST(ChangeRows, AttributeRecordsBelongToThePersonWhoseLinkLeadsThere)
{
    GameDatabase db = testing::peopleDatabase({2, 1, 3, 2, 2});
    db.staff[0].playerId = 3;
    db.staff[3].playerId = 0;
    db.staff[4].playerId = 3; // shares person 0's record, which stays person 0's
    db.staff[1].playerId = 1; // a non-player: the player record is not his
    db.staff[2].nonPlayerId = 1;
    db.staff[1].nonPlayerId = 2;
    testing::takeSnapshot(db);

    EXPECT_EQ(rowAfterSetting(db, StaffTable::Player, 3, "pace", 1).person, "Person 0");
    EXPECT_EQ(rowAfterSetting(db, StaffTable::Player, 0, "pace", 1).person, "Person 3");
    const ChangeRow unowned = rowAfterSetting(db, StaffTable::Player, 1, "pace", 1);
    EXPECT_EQ(unowned.person, "");
    EXPECT_FALSE(unowned.personPosition);
    EXPECT_EQ(rowAfterSetting(db, StaffTable::NonPlayer, 1, "tact", 1).person, "Person 2");
    EXPECT_EQ(rowAfterSetting(db, StaffTable::NonPlayer, 2, "tact", 1).personPosition, 1u);
}

// Save's question: who, which field, both values; ten lines at most.
TEST(SaveConflictLines, NameThePersonTheFieldAndBothValuesAndCountTheRest)
{
    GameDatabase db = testing::peopleDatabase({2, 1, 2});
    const std::uint16_t wages = fieldIndex(StaffTable::Staff, "wages");
    const std::uint16_t nation = fieldIndex(StaffTable::Staff, "nation");
    const std::vector<MergedValue> conflicts(12, MergedValue{StaffTable::Staff, 1, wages, 1000, 2000, false});
    const std::vector<std::string> lines = conflictLines(db, conflicts);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "Person 1: Wages: on disk 1000, in the editor 2000");
    EXPECT_EQ(lines[10], "and 2 more");
    EXPECT_EQ(conflictLines(db, {conflicts.begin(), conflicts.begin() + 10}).size(), 10u);

    // Lookups read with their entry; a record nobody owns by its table.
    EXPECT_EQ(conflictLines(db, {{StaffTable::Staff, 0, nation, 1, 9}}),
              std::vector<std::string>{"Person 0: First Nation: on disk 1 (Nation1), in the editor 9 (none)"});
    db.staff[0].classification = 0;
    db.staff[2].classification = 0;
    const std::uint16_t pace = fieldIndex(StaffTable::Player, "pace");
    EXPECT_EQ(conflictLines(db, {{StaffTable::Player, 2, pace, 3, 4}}),
              std::vector<std::string>{"player 2: " + fieldLabel(StaffTable::Player, pace) +
                                       ": on disk 3, in the editor 4"});
}

TEST(StatusLine, SaysWhetherTheLoadCompletedBeforeCountingChanges)
{
    EXPECT_EQ(statusLine(LoadState::NotLoaded, 0, false), "No database loaded");
    EXPECT_EQ(statusLine(LoadState::Partial, 3, true),
              "Not completely loaded: changes cannot be saved - typed changes not confirmed");
    EXPECT_EQ(statusLine(LoadState::Complete, 1, false), "1 value changed since the last save");
}

} // namespace
} // namespace rostradb
