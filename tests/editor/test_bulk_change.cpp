// Changing one column of many people as one step: limited at both ends of
// each width, skipping people without the column, undone whole.

#include "editor/bulk_change.h"

#include "db/errors.h"
#include "editor/database_builder.h"
#include "editor/person_links.h"
#include "editor/snapshot_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rostradb {
namespace {

const PeopleColumn& column(std::string_view name) { return *columnNamed(name); }

std::int64_t numberOf(const GameDatabase& db, std::uint32_t person, std::string_view name)
{
    return columnNumber(db, person, column(name)).value();
}

void setNumber(GameDatabase& db, std::uint32_t person, std::string_view name, std::int64_t number)
{
    const PeopleColumn& c = column(name);
    setValue(db, {c.table, person, c.field}, *bitsForNumber(c, number)); // person k owns records k
}

// Person 0 a player, 1 a non-player, 2 both, 3 neither; loaded, no edits.
class BulkChangeTest : public ::testing::Test {
protected:
    BulkChangeTest() : db(testing::peopleDatabase({kPlayer, kNonPlayer, kNonPlayerAndPlayer, 0}))
    {
        testing::takeSnapshot(db);
        history.reset(db);
    }

    GameDatabase db;
    EditHistory history;
    const std::vector<std::uint32_t> everyone{0, 1, 2, 3};
};

TEST_F(BulkChangeTest, AddIsLimitedAtBothEndsOfEachWidth)
{
    struct Case {
        std::string column;
        std::int64_t start;
        std::int64_t add;
        std::int64_t expected;
    };
    const std::vector<Case> cases{
        {"internationalCaps", 250, 10, 255},
        {"internationalCaps", 3, -10, 0},
        {"birthYear", 65530, 10, 65535},
        {"birthYear", 5, -10, 0},
        {"wages", 4294967290LL, 10, 4294967295LL},
        {"wages", 5, -10, 0},
        {"preferenceSet1[0]", 2147483640, 10, 2147483647},
        {"preferenceSet1[0]", -2147483640, -10, -2147483648LL},
        {"player.pace", 250, 1000000, 255},
        {"nonPlayer.extraValues[3]", -2147483640, -4611686018427387904LL, -2147483648LL},
        {"wages", 7, 3, 10}, // inside the range: not limited
    };
    for (const Case& c : cases) {
        setNumber(db, 2, c.column, c.start);
        const std::vector<std::uint32_t> person{2};
        const BulkOutcome outcome = applyBulkChange(db, history, person, {&column(c.column), BulkHow::Add, c.add});
        EXPECT_EQ(numberOf(db, 2, c.column), c.expected) << c.column << " " << c.start << " + " << c.add;
        EXPECT_EQ(outcome.limited, c.start + c.add != c.expected ? 1u : 0u) << c.column;
    }
}

TEST_F(BulkChangeTest, PeopleWithoutTheColumnAreSkippedAndSharedRecordsChangeOnce)
{
    db.staff[0].playerId = 2; // person 0 shares person 2's player record
    setNumber(db, 2, "player.pace", 100);
    const BulkOutcome outcome = applyBulkChange(db, history, everyone, {&column("player.pace"), BulkHow::Add, 5});
    EXPECT_EQ(numberOf(db, 2, "player.pace"), 105);
    EXPECT_EQ(outcome.people, 2u);
    EXPECT_EQ(outcome.skipped, 2u);
    EXPECT_EQ(outcome.changed(), 1u);
    EXPECT_EQ(outcome.step.name, "Add 5 to player.pace of 2 people (2 skipped)");
}

TEST_F(BulkChangeTest, OneStepThatUndoTakesBackWhole)
{
    for (std::uint32_t p = 0; p < 4; ++p)
        db.staff[p].wages = p < 3 ? 10 * p : 4294967295u; // the last will be limited
    testing::takeSnapshot(db);
    history.reset(db);
    const auto bytesBefore = testing::encodedTables(db);

    const BulkOutcome outcome = applyBulkChange(db, history, everyone, {&column("wages"), BulkHow::Add, 1});
    EXPECT_EQ(outcome.step.name, "Add 1 to wages of 4 people (1 limited)");
    ASSERT_EQ(history.stepCount(), 1u);
    EXPECT_EQ(history.changedValues(), 3u);
    EXPECT_EQ(db.staff[0].wages, 1u);

    history.undo(db);
    EXPECT_EQ(testing::encodedTables(db), bytesBefore);
    history.redo(db);
    EXPECT_EQ(db.staff[1].wages, 11u);
    EXPECT_EQ(history.changedValues(), 3u);
}

TEST_F(BulkChangeTest, SetToIsLimitedAndNamed)
{
    const std::vector<std::uint32_t> people{0, 1};
    BulkOutcome outcome = applyBulkChange(db, history, people, {&column("player.pace"), BulkHow::SetTo, 300});
    EXPECT_EQ(numberOf(db, 0, "player.pace"), 255);
    EXPECT_EQ(outcome.step.name, "Set player.pace of 1 person to 300 (1 skipped, 1 limited)");
    outcome = applyBulkChange(db, history, people, {&column("wages"), BulkHow::Add, -3});
    EXPECT_EQ(outcome.step.name.substr(0, 30), "Subtract 3 from wages of 2 peo");
}

TEST_F(BulkChangeTest, CellEditsOutsideTheRangeOrOfFixedColumnsChangeNothing)
{
    const auto bytesBefore = testing::encodedTables(db);
    const std::vector<std::pair<std::string, std::int64_t>> refused{
        {"player.pace", 256},   {"player.pace", -1},       {"staffId", 2147483648LL},
        {"playerId", 1},        {"clubContractedText", 1}, {"displayName", 1},
    };
    for (const auto& [name, value] : refused)
        EXPECT_THROW(setCells(db, history, everyone, column(name), value), DbError) << name << " " << value;
    EXPECT_EQ(testing::encodedTables(db), bytesBefore);
    EXPECT_EQ(history.stepCount(), 0u);

    setCells(db, history, everyone, column("staffId"), -1);
    EXPECT_EQ(db.staff[3].staffId, -1);
    EXPECT_EQ(history.stepCount(), 1u);
    EXPECT_THROW(wholeNumberOf("12a"), DbError);
    EXPECT_EQ(wholeNumberOf("-12"), -12);
}

} // namespace
} // namespace rostradb
