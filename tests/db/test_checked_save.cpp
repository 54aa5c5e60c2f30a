// Save looks at the disk before it writes: the directory must still place the
// tables where the load found them, another program's changes are merged
// field by field, only the records that change are written, a write or flush
// that fails leaves the file exactly as it was, and one save runs at a time.

#include "db/save_journal.h"
#include "db/staff_writer.h"
#include "editor/pending_changes.h"
#include "editor/save_conflicts.h"
#include "small_game_save_test.h"
#include "support/faulty_file.h"
#include "support/system_errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace rostradb {
namespace {

using test::FaultPlan;
using test::FaultyFileSystem;
using test::IndexFileBuilder;
using test::kNoError;

class CheckedSaveTest : public test::SmallGameSaveTest {
protected:
    std::string save(FaultyFileSystem& files)
    {
        return test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink, files); });
    }
    std::string save(FaultPlan& plan)
    {
        FaultyFileSystem files;
        files.staff = plan;
        const std::string error = save(files);
        plan = files.staff;
        return error;
    }
    std::string save()
    {
        FaultPlan none;
        return save(none);
    }
    void putStaffFile(const std::vector<std::uint8_t>& bytes) const { dir.write("staff.dat", bytes); }

    std::vector<std::uint8_t> withTheThreeEdits() const
    {
        std::vector<std::uint8_t> bytes = original;
        const auto put32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        put32(game.staffAt(1) + 78, 123456);
        bytes[game.nonPlayerAt(2) + 16] = 77;
        bytes[game.playerAt(3) + 54] = 5;
        return bytes;
    }
};

TEST_F(CheckedSaveTest, WritesOnlyTheRecordsThatChangeAndLeavesWhatAFullRewriteWould)
{
    FaultPlan plan;
    ASSERT_EQ(save(plan), kNoError);
    EXPECT_TRUE(plan.writes.empty()) << "an unedited save wrote " << plan.writes.size() << " times";
    EXPECT_EQ(staffFile(), original);

    editOneRecordOfEachTable();
    plan = FaultPlan{};
    sink.calls.clear();
    ASSERT_EQ(save(plan), kNoError);
    ASSERT_EQ(plan.writes.size(), 3u);
    EXPECT_EQ(plan.writes[0].at, game.staffAt(1));
    EXPECT_EQ(plan.writes[0].bytes, 157u);
    EXPECT_EQ(plan.writes[1].at, game.nonPlayerAt(2));
    EXPECT_EQ(plan.writes[1].bytes, 68u);
    EXPECT_EQ(plan.writes[2].at, game.playerAt(3));
    EXPECT_EQ(plan.writes[2].bytes, 70u);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
    // The Status window still walks every record of every table.
    EXPECT_EQ(sink.count("pump"), 6u + 4u + 4u);

    // Neighbours go out in one piece; the saved state is the new base.
    db.staff[2].ambition ^= 0xFF;
    db.staff[3].ambition ^= 0xFF;
    plan = FaultPlan{};
    ASSERT_EQ(save(plan), kNoError);
    ASSERT_EQ(plan.writes.size(), 1u);
    EXPECT_EQ(plan.writes[0].at, game.staffAt(2));
    EXPECT_EQ(plan.writes[0].bytes, 2u * 157u);
}

TEST_F(CheckedSaveTest, AFailedWriteOrFlushPutsEveryByteBackAndReportsTheFirstError)
{
    const std::string deviceErrorMessage = "I/O error " + std::to_string(test::kDeviceError);
    const struct {
        const char* what;
        int failAtWrite;
        bool failFlush;
        int error;
        std::string message;
    } cases[] = {
        {"first write", 1, false, test::kDiskFullError, "Disk full"},
        {"middle write", 2, false, test::kDeviceError, deviceErrorMessage},
        {"last write", 3, false, test::kDiskFullError, "Disk full"},
        {"flush", 0, true, test::kDeviceError, deviceErrorMessage},
    };
    editOneRecordOfEachTable();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FaultPlan plan;
        plan.failAtWrite = c.failAtWrite;
        plan.failFlush = c.failFlush;
        plan.error = c.error;
        sink.calls.clear();
        EXPECT_EQ(save(plan), c.message);
        EXPECT_EQ(staffFile(), original);
        EXPECT_FALSE(journalExists());
        EXPECT_EQ(sink.count("show"), sink.count("hide"));
        // The edits are still unsaved: the next save writes them all.
        EXPECT_EQ(db.staff[1].wages, 123456u);
    }
    ASSERT_EQ(save(), kNoError);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
}

TEST_F(CheckedSaveTest, WhenPuttingBackFailsTooBothErrorsAreSaidAndTheJournalUndoesTheSaveLater)
{
    editOneRecordOfEachTable();
    FaultyFileSystem files;
    files.staff.failAtWrite = 2;
    files.staff.keepFailing = true;
    files.staff.error = test::kDeviceError;
    try {
        saveStaffFile(db, dir.path(), sink, files);
        FAIL() << "the save succeeded";
    } catch (const FilesMayBeChanged& e) {
        const std::string deviceError = "I/O error " + std::to_string(test::kDeviceError) + ". ";
        EXPECT_EQ(std::string(e.what()), deviceError + deviceError + kRestoredFromJournalLater);
    }
    EXPECT_NE(staffFile(), original); // half of the second run is on the disk
    ASSERT_TRUE(journalExists());
    EXPECT_EQ(recoverInterruptedSave(dir.path()), Recovery::Undone);
    EXPECT_EQ(staffFile(), original);
    EXPECT_FALSE(journalExists());
}

// A journal left behind would undo the save at the next open: a save whose
// journal cannot be deleted is undone at once and reported as failed.
TEST_F(CheckedSaveTest, ASaveWhoseJournalCannotBeDeletedIsNotReportedAsDone)
{
    editOneRecordOfEachTable();
    FaultyFileSystem files;
    files.failRemoveWith = test::kAccessDeniedError;
    EXPECT_EQ(save(files), dir.file("staff.dat-journal").string() +
                               " could not be deleted: File access denied; nothing was saved");
    EXPECT_EQ(staffFile(), original);
    EXPECT_EQ(db.staff[1].wages, 123456u); // still unsaved
    EXPECT_EQ(recoverInterruptedSave(dir.path()), Recovery::Undone);
    EXPECT_EQ(staffFile(), original);
    ASSERT_EQ(save(), kNoError);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
}

TEST_F(CheckedSaveTest, AnotherProgramsChangesAreMergedFieldByField)
{
    const auto wagesAt = [&](std::size_t k) { return game.staffAt(k) + 78; };
    const auto put32 = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    // Another program: person 4's wages (only it), person 5's wages (both,
    // to the same value), person 0's wages (both, differently), and a date
    // tail of person 2, which the editor does not keep.
    std::vector<std::uint8_t> elsewhere = original;
    put32(elsewhere, wagesAt(4), 4444);
    put32(elsewhere, wagesAt(5), 5555);
    put32(elsewhere, wagesAt(0), 1000);
    elsewhere[game.staffAt(2) + 21] ^= 0x11;
    putStaffFile(elsewhere);
    // The editor: person 1 (only it), 5 (the same value), 0 (another value).
    db.staff[1].wages = 111;
    db.staff[5].wages = 5555;
    db.staff[0].wages = 2000;
    const std::uint32_t person4Before = db.staff[4].wages;

    {
        StaffFileSave looked(db, dir.path());
        ASSERT_EQ(looked.conflicts().size(), 1u);
        EXPECT_EQ(looked.conflicts()[0].position, 0u);
        EXPECT_EQ(looked.conflicts()[0].disk, 1000u);
        EXPECT_EQ(looked.conflicts()[0].editor, 2000u);
        ASSERT_EQ(looked.changedOnDiskOnly().size(), 1u);
        EXPECT_EQ(looked.changedOnDiskOnly()[0].position, 4u);
        // Cancel: nothing is written, nothing taken in.
    }
    EXPECT_EQ(staffFile(), elsewhere);
    EXPECT_EQ(db.staff[4].wages, person4Before);

    StaffFileSave save(db, dir.path());
    EXPECT_EQ(save.recordsToWrite(), 2u); // person 1, and person 0 where the editor wins
    save.write(sink);
    std::vector<std::uint8_t> expected = elsewhere;
    put32(expected, wagesAt(1), 111);
    put32(expected, wagesAt(0), 2000);
    EXPECT_EQ(staffFile(), expected);
    EXPECT_EQ(db.staff[4].wages, 4444u); // taken into memory
    // Memory, snapshot and disk agree: nothing is left to save.
    PendingChanges pending;
    pending.recount(db);
    EXPECT_EQ(pending.count(), 0u);
    EXPECT_EQ(std::vector<std::uint8_t>(db.snapshot.staff.bytes.data(),
                                        db.snapshot.staff.bytes.data() + db.snapshot.staff.bytes.size()),
              std::vector<std::uint8_t>(expected.begin(), expected.begin() + 6 * 157));
}

TEST_F(CheckedSaveTest, OneSaveAtATimeAndOnlyAfterACompleteLoad)
{
    editOneRecordOfEachTable();
    {
        StaffFileSave first(db, dir.path());
        EXPECT_EQ(save(), kBeingSavedElsewhere);
        // A recovery must not roll back the journal of a save in progress.
        dir.write("staff.dat-journal", std::vector<std::uint8_t>{'R', 'D'});
        FaultyFileSystem files;
        EXPECT_EQ(test::dbErrorOf([&] { recoverInterruptedSave(dir.path(), files); }), kBeingSavedElsewhere);
        EXPECT_TRUE(journalExists());
    }
    // No lock is kept between saves; the stray journal is dealt with first.
    EXPECT_EQ(save(), kNoError);
    EXPECT_FALSE(journalExists());
    EXPECT_EQ(staffFile(), withTheThreeEdits());

    db.loadState = LoadState::Partial;
    db.staff[1].wages = 1;
    EXPECT_EQ(save(), kNotCompletelyLoaded);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
}

TEST_F(CheckedSaveTest, ChangesToBytesTheEditorDoesNotWriteNeedNoQuestion)
{
    std::vector<std::uint8_t> elsewhere = original;
    elsewhere[game.staffAt(3) + 22] ^= 0x01;  // birth date tail
    elsewhere[game.staffAt(3) + 146] ^= 0x01; // playerId: kept, never written
    elsewhere[game.playerAt(1) + 69] ^= 0x01; // the player's last byte
    elsewhere[game.nonPlayerAt(0) - 1] ^= 0x01; // the gap before the table
    putStaffFile(elsewhere);

    StaffFileSave save(db, dir.path());
    EXPECT_TRUE(save.conflicts().empty());
    EXPECT_TRUE(save.changedOnDiskOnly().empty());
    EXPECT_EQ(save.recordsToWrite(), 0u);
    save.write(sink);
    EXPECT_EQ(staffFile(), elsewhere);
}

TEST_F(CheckedSaveTest, ADirectoryThatMovedTheTablesSinceTheLoadStopsTheSave)
{
    editOneRecordOfEachTable();
    for (const std::size_t changed : {test::SyntheticGame::kStaffEntry, std::size_t{9}, std::size_t{10}}) {
        SCOPED_TRACE("entry " + std::to_string(changed));
        IndexFileBuilder index = game.index;
        const std::size_t byte = IndexFileBuilder::entryStart(changed) + 3; // not even a field the load uses
        index.raw().u8(byte, static_cast<std::uint8_t>(index.bytes()[byte] ^ 0x5A));
        dir.write("index.dat", index.bytes());
        EXPECT_EQ(save(), kDirectoryChanged);
        EXPECT_EQ(staffFile(), original);
    }
    // An entry the staff file does not use may change.
    IndexFileBuilder index = game.index;
    index.raw().u32(IndexFileBuilder::entryStart(3) + IndexFileBuilder::kOffsetAt, 999);
    dir.write("index.dat", index.bytes());
    EXPECT_EQ(save(), kNoError);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
}

} // namespace
} // namespace rostradb

namespace rostradb {
namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Another program swaps the player records of persons 1 and 2 between the
// load and the save: the edit made to person 1's player record must not land
// on person 2, not even when the editor's values win.
TEST_F(CheckedSaveTest, AnEditNeverGoesThroughALinkChangedSinceTheLoad)
{
    constexpr std::size_t kPlayerLink = 145;
    std::vector<std::uint8_t> linked = original;
    put32(linked, game.staffAt(1) + kPlayerLink, 0);
    put32(linked, game.staffAt(2) + kPlayerLink, 3);
    putStaffFile(linked);
    ASSERT_EQ(load(), kNoError);
    db.players[0].pace = 5; // person 1's
    db.staff[1].wages = 111;
    std::vector<std::uint8_t> swapped = linked;
    put32(swapped, game.staffAt(1) + kPlayerLink, 3);
    put32(swapped, game.staffAt(2) + kPlayerLink, 0);
    putStaffFile(swapped);

    {
        StaffFileSave looked(db, dir.path());
        ASSERT_EQ(looked.conflicts().size(), 1u);
        const MergedValue& link = looked.conflicts()[0];
        EXPECT_TRUE(isLinkConflict(link));
        EXPECT_EQ(link.position, 1u);
        EXPECT_EQ(link.disk, 3u);
        EXPECT_EQ(link.editor, 0u);
        const std::string line = conflictLines(db, looked.conflicts())[0];
        EXPECT_TRUE(line.starts_with(db.staff[1].displayName + ": ")) << line;
        EXPECT_NE(line.find(" was changed by another program from 0 to 3; this person's attribute changes are not "
                            "saved"),
                  std::string::npos)
            << line;
    }
    // Saved with the editor winning, twice: the wages go, the pace never.
    std::vector<std::uint8_t> expected = swapped;
    put32(expected, game.staffAt(1) + 78, 111);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(save(), kNoError);
        EXPECT_EQ(staffFile(), expected);
    }
}

// A reader that comes while a save is between two writes waits for it and
// reads the saved file, never a mix of the two.
TEST_F(CheckedSaveTest, AReaderDuringASaveWaitsForItAndNeverSeesAMix)
{
    editOneRecordOfEachTable();
    std::promise<void> paused;
    std::promise<void> resume;
    std::shared_future<void> resumed = resume.get_future().share();
    FaultyFileSystem files;
    int staffWrites = 0;
    files.kill.beforeStep = [&](const std::string& step) {
        if (step == "write staff.dat" && ++staffWrites == 2) {
            paused.set_value();
            resumed.wait();
        }
    };
    std::thread saving([&] { saveStaffFile(db, dir.path(), sink, files); });
    paused.get_future().wait();
    GameDatabase seen;
    std::future<std::string> reading = std::async(std::launch::async, [&] {
        test::RecordingSink readerSink;
        return test::dbErrorOf([&] { readDirectoryAndLoad(seen, dir.path(), readerSink); });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the reader is on its way
    resume.set_value();
    saving.join();
    ASSERT_EQ(reading.get(), kNoError);
    EXPECT_EQ(seen.staff[1].wages, 123456u);
    EXPECT_EQ(seen.nonPlayers[2].coaching, 77u);
    EXPECT_EQ(seen.players[3].pace, 5u);
}

} // namespace
} // namespace rostradb
