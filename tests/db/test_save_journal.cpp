// A save killed at any step, and what the next recovery makes of it: the
// file is the original or the saved one, never a mix, and no journal stays.
// Journals that do not fit are refused with the files left as they are.

#include "db/data_paths.h"
#include "db/save_journal.h"
#include "db/staff_file_lock.h"
#include "db/staff_writer.h"
#include "small_game_save_test.h"
#include "support/faulty_file.h"
#include "support/system_errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace rostradb {
namespace {

using test::FaultyFileSystem;
using test::Killed;
using test::kNoError;

class SaveJournalTest : public test::SmallGameSaveTest {
protected:
    // A whole journal with the same header and no runs, as no save writes.
    std::vector<std::uint8_t> journalWithoutRuns(const std::vector<std::uint8_t>& journal)
    {
        JournalHeader header;
        header.staffSize = original.size();
        header.entries = {db.directory.at(entry::kStaff), db.directory.at(entry::kNonPlayers),
                          db.directory.at(entry::kPlayers)};
        writeSaveJournal(realFileSystem(), dir.path(), header, {});
        std::vector<std::uint8_t> bytes = dir.read("staff.dat-journal");
        dir.write("staff.dat-journal", journal);
        return bytes;
    }

    // Loads the original again, edits, and saves through `files`; true when
    // the process was killed on the way.
    bool saveKilledBy(FaultyFileSystem& files)
    {
        dir.write("staff.dat", original);
        EXPECT_EQ(load(), kNoError);
        editOneRecordOfEachTable();
        try {
            saveStaffFile(db, dir.path(), sink, files);
        } catch (const Killed&) {
            return true;
        }
        return false;
    }
};

TEST_F(SaveJournalTest, ASaveKilledAtAnyStepIsUndoneOrDoneNeverHalfDone)
{
    FaultyFileSystem counted;
    ASSERT_FALSE(saveKilledBy(counted));
    const std::vector<std::uint8_t> saved = staffFile();
    ASSERT_NE(saved, original);
    const std::vector<std::string> steps = counted.kill.steps;
    // The journal's header, three runs (head, old bytes, hashes of the new)
    // and checksum, its flush and the folder's; three runs of staff.dat and
    // its flush; the deletion and the folder's flush.
    ASSERT_EQ(steps.size(), 11u + 2u + 4u + 2u) << ::testing::PrintToString(steps);
    const std::size_t journalWritten = 11;
    const std::size_t deletion = 18; // 1-based step of "remove staff.dat-journal"
    ASSERT_EQ(steps[deletion - 1], "remove staff.dat-journal");

    for (std::size_t n = 1; n <= steps.size(); ++n) {
        SCOPED_TRACE("killed at step " + std::to_string(n) + ": " + steps[n - 1]);
        FaultyFileSystem files;
        files.kill.killAtStep = static_cast<int>(n);
        ASSERT_TRUE(saveKilledBy(files));
        // The next process.
        const Recovery recovered = recoverInterruptedSave(dir.path());
        if (n > deletion) {
            EXPECT_EQ(recovered, Recovery::NoJournal);
            EXPECT_EQ(staffFile(), saved);
        } else {
            // A journal cut short was never acted on; a whole one is played
            // back, over the bytes the save wrote or the old ones.
            EXPECT_EQ(recovered, n > journalWritten ? Recovery::Undone : Recovery::Discarded);
            EXPECT_EQ(staffFile(), original);
        }
        EXPECT_FALSE(journalExists());
    }
}

TEST_F(SaveJournalTest, AJournalThatDoesNotFitStopsWithBothFilesAsTheyAre)
{
    // A complete journal of a save killed before its first staff.dat write,
    // with staff.dat then changed in ways the journal cannot undo.
    FaultyFileSystem files;
    files.kill.killAtStep = 14;
    ASSERT_TRUE(saveKilledBy(files));
    const std::vector<std::uint8_t> journal = dir.read("staff.dat-journal");

    std::vector<std::uint8_t> longer = original;
    longer.push_back(0);
    std::vector<std::uint8_t> foreign = journal;
    foreign[0] = 'X';
    std::vector<std::uint8_t> laterVersion = journal;
    laterVersion[8] = kJournalVersion + 1;
    const struct {
        const char* what;
        std::vector<std::uint8_t> staff;
        std::vector<std::uint8_t> journal;
        std::string message;
    } cases[] = {
        {"another size", longer, journal,
         journalPath() + " was written for a staff.dat of " + std::to_string(original.size()) +
             " bytes, but staff.dat holds " + std::to_string(longer.size()) +
             "; staff.dat and the journal were left as they are"},
        {"not a journal", original, foreign,
         journalPath() + " is not a journal this rostradb can read; staff.dat and the journal were left as they are"},
        {"a later version", original, laterVersion,
         journalPath() + " is not a journal this rostradb can read; staff.dat and the journal were left as they are"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("staff.dat", c.staff);
        dir.write("staff.dat-journal", c.journal);
        EXPECT_EQ(test::dbErrorOf([&] { recoverInterruptedSave(dir.path()); }), c.message);
        EXPECT_EQ(staffFile(), c.staff);
        EXPECT_EQ(dir.read("staff.dat-journal"), c.journal);
        // A save stops the same way before it writes.
        EXPECT_EQ(test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink); }), c.message);
        EXPECT_EQ(staffFile(), c.staff);
    }

    // Without a staff.dat there is nothing to roll back into.
    std::filesystem::remove(dir.file("staff.dat"));
    EXPECT_EQ(test::dbErrorOf([&] { recoverInterruptedSave(dir.path()); }),
              dir.file("staff.dat").string() + " is missing, but the journal of an interrupted save of it, " +
                  journalPath() + ", is there; both were left as they are: put staff.dat back and open the game again");
    EXPECT_TRUE(journalExists());

    // A journal that never reached the disk whole was never acted on: cut
    // short, zeroed by a power cut before its flush, or torn (checksum
    // wrong). It goes, and so does one that holds nothing to undo.
    std::vector<std::uint8_t> flipped = journal;
    flipped[300] ^= 0x01;
    std::vector<std::uint8_t> noRuns = journal;
    const auto cut = [&](std::size_t n) { return std::vector<std::uint8_t>(journal.begin(), journal.begin() + n); };
    const struct {
        const char* what;
        std::vector<std::uint8_t> journal;
        Recovery recovery;
    } dropped[] = {
        {"empty", cut(0), Recovery::Discarded},
        {"in its magic", cut(5), Recovery::Discarded},
        {"in its header", cut(100), Recovery::Discarded},
        {"before its checksum", cut(journal.size() - 1), Recovery::Discarded},
        {"zeroed", std::vector<std::uint8_t>(journal.size(), 0), Recovery::Discarded},
        {"a byte flipped", flipped, Recovery::Discarded},
        {"no runs", journalWithoutRuns(journal), Recovery::Empty},
    };
    for (const auto& c : dropped) {
        SCOPED_TRACE(c.what);
        dir.write("staff.dat", original);
        dir.write("staff.dat-journal", c.journal);
        EXPECT_EQ(recoverInterruptedSave(dir.path()), c.recovery);
        EXPECT_FALSE(journalExists());
        EXPECT_EQ(staffFile(), original);
    }
}

// Recovery puts old bytes back only over bytes that are the save's own.
// staff.dat changed after the crash (a backup put back, another program's
// edit of a journalled record), or a journal that would write where no save
// writes, leave both files as they are.
TEST_F(SaveJournalTest, AFileChangedAfterTheCrashOrAHostileJournalIsNotPlayedBack)
{
    FaultyFileSystem files;
    files.kill.killAtStep = 15; // the first run (staff record 1) is written
    ASSERT_TRUE(saveKilledBy(files));
    const std::vector<std::uint8_t> halfSaved = staffFile();
    const std::vector<std::uint8_t> journal = dir.read("staff.dat-journal");

    std::vector<std::uint8_t> backup = original; // an older backup: record 1's wages differ
    backup[game.staffAt(1) + 78] ^= 0x40;
    std::vector<std::uint8_t> editedUnwritten = halfSaved; // the journalled non-player record 2
    editedUnwritten[game.nonPlayerAt(2) + 20] ^= 0x01;
    std::vector<std::uint8_t> editedWritten = halfSaved; // the written staff record 1
    editedWritten[game.staffAt(1) + 30] ^= 0x01;

    // Hostile journals with a right checksum and the hashes of what the file
    // holds: one puts back a link a save never writes, one writes into the
    // gap between the tables.
    const std::size_t record = game.staffAt(4);
    std::vector<std::uint8_t> linkOld(original.begin() + record, original.begin() + record + 157);
    linkOld[146] ^= 0x01; // playerId
    const std::size_t gap = game.nonPlayerAt(0) - 4;
    const auto hostile = [&](std::size_t at, const std::vector<std::uint8_t>& old) {
        JournalHeader header;
        header.staffSize = original.size();
        header.entries = {db.directory.at(entry::kStaff), db.directory.at(entry::kNonPlayers),
                          db.directory.at(entry::kPlayers)};
        const std::span<const std::uint8_t> now(original.data() + at, old.size());
        writeSaveJournal(realFileSystem(), dir.path(), header, {JournalRun{at, old, now}});
        return dir.read("staff.dat-journal");
    };
    const std::vector<std::uint8_t> gapOld(4, 0xAB);

    const std::string kept =
        "; nothing was put back and " + journalPath() + " was kept: move it away only if you know staff.dat is whole";
    // Named by the piece of the run that holds the change.
    const auto changedAt = [&](std::size_t run, std::size_t at) {
        return "staff.dat was changed after the interrupted save (at byte " +
               std::to_string(std::max(run, at / kJournalPieceBytes * kJournalPieceBytes)) + ")" + kept;
    };
    const auto outsideAt = [&](std::size_t at) {
        return "the journal of the interrupted save would write where no save writes (byte " + std::to_string(at) +
               " of staff.dat)" + kept;
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> staff;
        std::vector<std::uint8_t> journal;
        std::string message;
    } cases[] = {
        {"a backup put back", backup, journal, changedAt(game.staffAt(1), game.staffAt(1) + 78)},
        {"an unwritten record edited", editedUnwritten, journal,
         changedAt(game.nonPlayerAt(2), game.nonPlayerAt(2) + 20)},
        {"a written record edited", editedWritten, journal, changedAt(game.staffAt(1), game.staffAt(1) + 30)},
        {"a link put back", original, hostile(record, linkOld), outsideAt(record + 146)},
        {"the gap between tables", original, hostile(gap, gapOld), outsideAt(gap)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("staff.dat", c.staff);
        dir.write("staff.dat-journal", c.journal);
        try {
            recoverInterruptedSave(dir.path());
            ADD_FAILURE() << "played back";
        } catch (const FilesMayBeChanged& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(staffFile(), c.staff);
        EXPECT_EQ(dir.read("staff.dat-journal"), c.journal);
    }
}

TEST_F(SaveJournalTest, ARollbackThatCannotWriteKeepsTheJournal)
{
    FaultyFileSystem killed;
    killed.kill.killAtStep = 15; // in the second run of staff.dat
    ASSERT_TRUE(saveKilledBy(killed));
    const std::vector<std::uint8_t> halfSaved = staffFile();
    ASSERT_NE(halfSaved, original);

    FaultyFileSystem failing;
    failing.staff.failAtWrite = 1;
    failing.staff.keepFailing = true;
    failing.staff.error = test::kWriteProtectedError;
    try {
        recoverInterruptedSave(dir.path(), failing);
        FAIL() << "the rollback succeeded";
    } catch (const FilesMayBeChanged& e) {
        EXPECT_EQ(std::string(e.what()), journalPath() + " could not be rolled back: File access denied; it is kept "
                                                         "and tried again the next time the game is opened");
    }
    ASSERT_TRUE(journalExists());
    EXPECT_EQ(recoverInterruptedSave(dir.path()), Recovery::Undone);
    EXPECT_EQ(staffFile(), original);
}

// Each refusal names the file or folder at fault and says what happened.
TEST_F(SaveJournalTest, EveryRefusalSaysWhatAndWhere)
{
    const std::string folder = dir.file("staff.dat").parent_path().string();
    editOneRecordOfEachTable();
    FaultyFileSystem readOnly;
    readOnly.failCreateWith = test::kAccessDeniedError;
    EXPECT_EQ(test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink, readOnly); }),
              folder + " is read-only: the journal a save writes first cannot be created there (File access denied); "
                       "nothing was saved");
    EXPECT_EQ(staffFile(), original);

    // A recovery that removed the journal but could not flush the folder.
    FaultyFileSystem killed;
    killed.kill.killAtStep = 15;
    ASSERT_TRUE(saveKilledBy(killed));
    FaultyFileSystem unflushed;
    unflushed.failSyncFolderWith = test::kDeviceError;
    EXPECT_EQ(test::dbErrorOf([&] { recoverInterruptedSave(dir.path(), unflushed); }),
              journalPath() + " was deleted, but the folder " + folder +
                  " could not be flushed to the disk (I/O error " + std::to_string(test::kDeviceError) +
                  "); staff.dat is whole, open the game again");
    EXPECT_EQ(staffFile(), original);
    EXPECT_FALSE(journalExists());

    // A file system without locks: the save goes on, and says so.
    FaultyFileSystem noLocks;
    noLocks.staff.noLocks = true;
    StaffFileSave save(db, dir.path(), noLocks);
    EXPECT_FALSE(save.locked());
    save.write(sink);
    EXPECT_NE(staffFile(), original);
    EXPECT_EQ(noLockWarning(dir.path()), "The file system of " + folder +
                                             " cannot lock files: staff.dat is used without a lock, so no other "
                                             "rostradb may save it meanwhile.");
}

// Two programs find the same journal: the one that gets the lock second
// waits, and then finds nothing left to do.
TEST_F(SaveJournalTest, ARecoveryThatLosesTheRaceWaitsAndFindsNothingToDo)
{
    FaultyFileSystem killed;
    killed.kill.killAtStep = 15;
    ASSERT_TRUE(saveKilledBy(killed));
    Recovery second = Recovery::Undone;
    std::string secondError;
    {
        StaffFileLock first(dir.path(), LockKind::Exclusive); // undoes the save under its lock
        EXPECT_EQ(first.recovery(), Recovery::Undone);
        dir.write("staff.dat-journal", std::vector<std::uint8_t>{'R', 'D'}); // still there for the second
        std::thread other([&] { secondError = test::dbErrorOf([&] { second = recoverInterruptedSave(dir.path()); }); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::filesystem::remove(journalPath());
        first.close();
        other.join();
    }
    EXPECT_EQ(secondError, kNoError);
    EXPECT_EQ(second, Recovery::NoJournal);
    EXPECT_EQ(staffFile(), original);
}

} // namespace
} // namespace rostradb
