// A save killed at any step, and what the next recovery makes of it: the
// file is the original or the saved one, never a mix, and no journal stays.
// Journals that do not fit are refused with the files left as they are.

#include "db/data_paths.h"
#include "db/save_journal.h"
#include "db/staff_writer.h"
#include "small_game_save_test.h"
#include "support/faulty_file.h"
#include "support/system_errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::FaultyFileSystem;
using test::Killed;
using test::kNoError;

class SaveJournalTest : public test::SmallGameSaveTest {
protected:
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
    // The journal's header, three runs (head and bytes) and checksum, its
    // flush and the folder's; three runs of staff.dat and its flush; the
    // deletion and the folder's flush.
    ASSERT_EQ(steps.size(), 8u + 2u + 4u + 2u) << ::testing::PrintToString(steps);
    const std::size_t journalWritten = 8;
    const std::size_t deletion = 15; // 1-based step of "remove staff.dat-journal"
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
    files.kill.killAtStep = 10;
    ASSERT_TRUE(saveKilledBy(files));
    const std::vector<std::uint8_t> journal = dir.read("staff.dat-journal");

    std::vector<std::uint8_t> longer = original;
    longer.push_back(0);
    std::vector<std::uint8_t> foreign = journal;
    foreign[0] = 'X';
    std::vector<std::uint8_t> laterVersion = journal;
    laterVersion[8] = 2;
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
              journalPath() + " could not be rolled back: File not found; staff.dat and the journal were left as they are");
    EXPECT_TRUE(journalExists());

    // A torn journal of any length was never acted on: it just goes.
    for (std::size_t cut : {std::size_t{0}, std::size_t{5}, std::size_t{100}, journal.size() - 1}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        dir.write("staff.dat", original);
        dir.write("staff.dat-journal", std::vector<std::uint8_t>(journal.begin(), journal.begin() + cut));
        EXPECT_EQ(recoverInterruptedSave(dir.path()), Recovery::Discarded);
        EXPECT_FALSE(journalExists());
        EXPECT_EQ(staffFile(), original);
    }
}

TEST_F(SaveJournalTest, ARollbackThatCannotWriteKeepsTheJournal)
{
    FaultyFileSystem killed;
    killed.kill.killAtStep = 12; // in the second run of staff.dat
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

} // namespace
} // namespace rostradb
