#include "editor/edit_history.h"

#include "db/errors.h"
#include "editor/commit_step.h"
#include "editor/database_builder.h"
#include "editor/snapshot_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <set>

namespace rostradb {
namespace {

using testing::encodedTables;
using testing::takeSnapshot;

FormValues shownForm(const GameDatabase& db, std::size_t position)
{
    std::vector<FormUpdate> updates;
    showStaffMember(db, &db.staff.at(position), testing::loadedBoxCounts(db), updates);
    return testing::applyUpdates(updates);
}

// "Confirm Changes" as the window runs it: the records copied, the commit,
// the step recorded even when the commit stopped part-way.
void confirm(GameDatabase& db, EditHistory& history, const FormValues& form)
{
    const CommitCapture capture(db, form);
    CommitOutcome outcome;
    try {
        commitEdits(db, form, outcome);
    } catch (const DbError&) {
    }
    history.record(db, capture.step(db));
}

// A load: the records as they are become the snapshot, the history starts.
void load(GameDatabase& db, EditHistory& history)
{
    takeSnapshot(db);
    history.reset(db);
}

// A save: what is in memory is what the file now holds.
void save(GameDatabase& db, EditHistory& history)
{
    takeSnapshot(db);
    history.saved(db);
}

// The text of a box changed to a value that differs in the field's low byte.
void bump(FormValues& form, const std::string& control)
{
    form.texts.at(control) = std::to_string(std::stoul(form.texts.at(control)) + 1);
}

// Every box of the form given another value that still fits its field, and
// every name and nation box another item.
FormValues everythingEdited(const GameDatabase& db, FormValues form)
{
    for (auto& [control, text] : form.texts)
        if (control != "ed_wages" && control != "ed_value")
            text = std::to_string((std::stoul(text) + 1) % 256);
        else
            text = std::to_string(std::stoul(text) ^ 0x01010101u);
    form.selections["cbx_fname"] = (form.selections["cbx_fname"] + 1) % static_cast<int>(db.firstNames.size());
    form.selections["cbx_snation"] = (form.selections["cbx_snation"] + 1) % static_cast<int>(db.nations.size());
    return form;
}

// What differs from the snapshot, found the long way: each snapshot record
// decoded whole and compared with memory field by field.
template <class Record, std::size_t N>
void addDifferences(const std::array<Field<Record>, N>& layout, const std::vector<Record>& records,
                    const TableRegion& region, StaffTable table, std::set<ValueKey>& out)
{
    for (std::size_t i = 0; i < records.size() && (i + 1) * region.recordBytes <= region.bytes.size(); ++i) {
        Record inFile;
        decodeFields(layout, region.record(i), inFile);
        for (std::size_t f = 0; f < N; ++f)
            if (layout[f].saved && layout[f].access.get(inFile) != layout[f].access.get(records[i]))
                out.insert({table, static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(f)});
    }
}

std::set<ValueKey> differencesFromSnapshot(const GameDatabase& db)
{
    std::set<ValueKey> out;
    addDifferences(kStaffLayout, db.staff, db.snapshot.staff, StaffTable::Staff, out);
    addDifferences(kNonPlayerLayout, db.nonPlayers, db.snapshot.nonPlayers, StaffTable::NonPlayer, out);
    addDifferences(kPlayerLayout, db.players, db.snapshot.players, StaffTable::Player, out);
    return out;
}

TEST(UndoRedo, ConfirmOfSomeoneOfBothKindsComesBackByteForByte)
{
    GameDatabase db = testing::peopleDatabase({1, 3, 2});
    EditHistory history;
    load(db, history);
    const auto original = encodedTables(db);

    confirm(db, history, everythingEdited(db, shownForm(db, 1)));
    const auto confirmed = encodedTables(db);
    ASSERT_TRUE(history.canUndo());
    const std::size_t changed = history.undoStep()->changes.size();
    // 18 general values, 2 boxes, 55 player and 26 non-player values.
    EXPECT_EQ(changed, 101u);
    EXPECT_EQ(history.changedValues(), changed);
    EXPECT_EQ(history.undoStep()->name, "Confirm Changes of Person 1");

    ASSERT_NE(history.undo(db), nullptr);
    EXPECT_EQ(encodedTables(db), original);
    EXPECT_EQ(history.changedValues(), 0u);
    EXPECT_FALSE(history.canUndo());
    ASSERT_TRUE(history.canRedo());

    ASSERT_NE(history.redo(db), nullptr);
    EXPECT_EQ(encodedTables(db), confirmed);
    EXPECT_EQ(history.changedValues(), changed);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.redo(db), nullptr);
}

TEST(UndoRedo, ANewStepDropsOnlyTheStepsThatCouldBeRedone)
{
    GameDatabase db = testing::peopleDatabase({2, 2});
    EditHistory history;
    load(db, history);
    const auto original = encodedTables(db);
    const auto originalPace = db.players[1].pace;

    FormValues first = shownForm(db, 0);
    bump(first, "ed_pace");
    confirm(db, history, first);
    FormValues second = shownForm(db, 1);
    bump(second, "ed_pace");
    confirm(db, history, second);
    history.undo(db);

    // A Confirm that changes nothing is no step, and keeps Redo.
    confirm(db, history, shownForm(db, 0));
    EXPECT_EQ(history.stepCount(), 2u);
    ASSERT_TRUE(history.canRedo());
    EXPECT_EQ(history.redoStep()->name, "Confirm Changes of Person 1");

    FormValues third = shownForm(db, 1);
    bump(third, "ed_stami");
    confirm(db, history, third);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.stepCount(), 2u);
    EXPECT_EQ(db.players[1].pace, originalPace) << "the dropped step stays undone";

    history.undo(db);
    history.undo(db);
    EXPECT_EQ(encodedTables(db), original);
    EXPECT_FALSE(history.canUndo());
}

TEST(Confirm, CommitStoppedPartWayRecordsTheWritesItMade)
{
    GameDatabase db = testing::peopleDatabase({2});
    EditHistory history;
    load(db, history);
    FormValues form = shownForm(db, 0);
    form.playerPosition = 5; // outside the player table
    bump(form, "ed_wages");
    bump(form, "ed_accel");
    confirm(db, history, form);
    ASSERT_TRUE(history.canUndo());
    const auto& changes = history.undoStep()->changes;
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].key.table, StaffTable::Staff);
    EXPECT_STREQ(fieldName(StaffTable::Staff, changes[0].key.field), "wages");
    EXPECT_EQ(changes[0].after, changes[0].before + 1);
}

TEST(Revert, OneValuePutsBackThatFieldAlone)
{
    GameDatabase db = testing::peopleDatabase({2, 1});
    EditHistory history;
    load(db, history);
    FormValues form = shownForm(db, 0);
    bump(form, "ed_wages");
    bump(form, "ed_accel");
    bump(form, "ed_workr");
    confirm(db, history, form);
    ASSERT_EQ(history.changedValues(), 3u);
    const auto confirmed = db;

    const ValueKey accel = history.undoStep()->changes[1].key;
    ASSERT_STREQ(fieldName(accel.table, accel.field), "acceleration");
    const EditStep* step = history.revert(db, {accel, accel});
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->name, "Revert 1 value");
    EXPECT_EQ(step->changes.size(), 1u);

    // Only the acceleration bytes of player 0 differ from just before.
    auto now = encodedTables(db);
    auto then = encodedTables(confirmed);
    const std::size_t at = db.staff.size() * 157 + db.nonPlayers.size() * 68 + 27;
    EXPECT_NE(now[at], then[at]);
    now[at] = then[at];
    EXPECT_EQ(now, then);
    EXPECT_EQ(currentValue(db, accel), *snapshotValue(db.snapshot, accel));
    EXPECT_EQ(history.changedValues(), 2u);
    EXPECT_FALSE(history.pending().contains(accel));

    history.undo(db);
    EXPECT_EQ(encodedTables(db), encodedTables(confirmed));
    EXPECT_EQ(history.changedValues(), 3u);
}

TEST(PendingChanges, FollowAFieldByFieldComparisonThroughRandomEdits)
{
    GameDatabase db = testing::peopleDatabase({0, 1, 2, 3, 1, 2, 3});
    EditHistory history;
    load(db, history);
    std::mt19937 random(20261208);
    const auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };

    for (int round = 0; round < 400; ++round) {
        const std::size_t what = below(10);
        if (what < 5) {
            FormValues form = shownForm(db, below(db.staff.size()));
            for (std::size_t n = below(4) + 1; n > 0; --n) {
                auto it = std::next(form.texts.begin(), static_cast<std::ptrdiff_t>(below(form.texts.size())));
                it->second = std::to_string(below(3) == 0 ? 0 : random() % 70000);
            }
            confirm(db, history, form);
        } else if (what < 7) {
            history.undo(db);
        } else if (what < 8) {
            history.redo(db);
        } else if (what < 9 && history.changedValues() > 0) {
            std::vector<ValueKey> chosen;
            for (const auto& key : history.pending().keys())
                if (below(3) == 0)
                    chosen.push_back(key);
            history.revert(db, chosen);
        } else if (below(4) == 0) {
            save(db, history);
        }
        ASSERT_EQ(history.pending().keys(), differencesFromSnapshot(db)) << "round " << round;
    }
}

} // namespace
} // namespace rostradb
