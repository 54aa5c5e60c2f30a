// A save that writes staff.dat and lookup files commits them as one: killed
// at any write, flush or deletion, the next recovery leaves every file as
// before or every file as saved; a failed write leaves all as before; the
// lookup names are merged with another program's renames.

#include "db/save_journal.h"
#include "db/staff_file_lock.h"
#include "editor/game_save.h"
#include "small_game_save_test.h"
#include "support/faulty_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::FaultyFileSystem;
using test::Killed;

const std::vector<std::string> kFiles = {"staff.dat", "club.dat", "first_names.dat"};

class FileSetSaveTest : public test::SmallGameSaveTest {
protected:
    void SetUp() override
    {
        SmallGameSaveTest::SetUp();
        for (const auto& name : kFiles)
            before[name] = dir.read(name);
    }

    // One edit in staff.dat and a rename in each of two lookup files.
    void edit()
    {
        editOneRecordOfEachTable();
        renameTo({LookupTable::Clubs, 1}, "Renamed Club");
        renameTo({LookupTable::FirstNames, 2}, "Zed");
    }
    void renameTo(const NameKey& key, std::string_view text)
    {
        NameField field{};
        const auto bytes = nameBytes(db, key);
        std::copy(bytes.begin(), bytes.end(), field.begin());
        storeNameField(db, key, withNameText(field, text));
    }

    std::map<std::string, std::vector<std::uint8_t>> filesNow() const
    {
        std::map<std::string, std::vector<std::uint8_t>> now;
        for (const auto& name : kFiles)
            now[name] = dir.read(name);
        return now;
    }
    void putBack()
    {
        for (const auto& [name, bytes] : before)
            dir.write(name, bytes);
        db = GameDatabase{};
        readDirectory();
        ASSERT_EQ(load(), test::kNoError);
    }
    bool journalsLeft() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(dir.file("")))
            if (entry.path().filename().string().find("journal") != std::string::npos ||
                entry.path().filename().string().find("master") != std::string::npos)
                return true;
        return false;
    }

    std::map<std::string, std::vector<std::uint8_t>> before;
};

TEST_F(FileSetSaveTest, KilledAtAnyStepEveryFileIsBeforeOrEveryFileIsAfter)
{
    edit();
    GameSave(db, dir.path()).write(sink);
    const auto after = filesNow();
    for (const auto& name : kFiles)
        ASSERT_NE(after.at(name), before.at(name)) << name;
    // Only the 51 name bytes of the renamed club changed in club.dat.
    std::size_t differing = 0;
    for (std::size_t i = 0; i < after.at("club.dat").size(); ++i)
        differing += after.at("club.dat")[i] != before.at("club.dat")[i] ? 1 : 0;
    EXPECT_LE(differing, kNameFieldBytes);

    int beforeCount = 0;
    int afterCount = 0;
    int undone = 0;
    for (int step = 1;; ++step) {
        putBack();
        edit();
        FaultyFileSystem files;
        files.kill.killAtStep = step;
        bool killed = false;
        try {
            GameSave(db, dir.path(), files).write(sink);
        } catch (const Killed&) {
            killed = true;
        }
        if (!killed)
            break;
        // The next command that reads the game.
        const Recovery recovery = recoverInterruptedSave(dir.path());
        EXPECT_NE(recovery, Recovery::Undone) << "the notice would name staff.dat alone";
        undone += recovery == Recovery::FilesUndone ? 1 : 0;
        const auto now = filesNow();
        const std::string where = "killed at " + files.kill.steps.back() + " (step " + std::to_string(step) + ")";
        if (now == before)
            ++beforeCount;
        else if (now == after)
            ++afterCount;
        else
            ADD_FAILURE() << "files mixed, " << where;
        EXPECT_FALSE(journalsLeft()) << where;
    }
    // The sweep reached both sides of the commit.
    EXPECT_GT(beforeCount, 3);
    EXPECT_GT(afterCount, 0);
    EXPECT_GT(undone, 0);
}

// Killed once every file holds the save's bytes, before the save was done:
// what recovery finds decides whether it may put the old bytes back.
class InterruptedFileSetTest : public FileSetSaveTest {
protected:
    void SetUp() override
    {
        FileSetSaveTest::SetUp();
        edit();
        GameSave(db, dir.path()).write(sink);
        saved = filesNow();
        for (int step = 1;; ++step) {
            putBack();
            edit();
            FaultyFileSystem files;
            files.kill.killAtStep = step;
            try {
                GameSave(db, dir.path(), files).write(sink);
            } catch (const Killed&) {
            }
            ASSERT_EQ(files.kill.steps.size(), static_cast<std::size_t>(step)) << "no step left every file saved";
            if (filesNow() == saved && std::filesystem::exists(dir.file("rostradb-save.master")))
                return;
        }
    }
    // What the next command meets: refused, every file and journal left.
    void expectLeftAsTheyAre(const std::string& message)
    {
        const auto now = filesNow();
        try {
            recoverInterruptedSave(dir.path());
            ADD_FAILURE() << "recovered";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(filesNow(), now);
        EXPECT_TRUE(std::filesystem::exists(dir.file("rostradb-save.master")));
        EXPECT_TRUE(std::filesystem::exists(dir.file("club.dat-mjournal")));
    }

    std::map<std::string, std::vector<std::uint8_t>> saved;
};

TEST_F(InterruptedFileSetTest, AReaderUndoesItBeforeReading)
{
    // export, show, search and diff read under the shared lock: never the
    // half of a save that recovery would undo.
    const StaffFileLock reading(dir.path(), LockKind::Shared);
    EXPECT_EQ(reading.recovery(), Recovery::FilesUndone);
    EXPECT_EQ(filesNow(), before);
    EXPECT_FALSE(journalsLeft());
}

TEST_F(InterruptedFileSetTest, AFileChangedSinceIsNotWrittenOver)
{
    // Another program renamed the same club before the next command.
    std::vector<std::uint8_t> club = dir.read("club.dat");
    const std::string theirs = "Third";
    std::copy(theirs.begin(), theirs.end(), club.begin() + 581 + 4);
    dir.write("club.dat", club);
    expectLeftAsTheyAre("club.dat was changed after the interrupted save (at byte ");
}

TEST_F(InterruptedFileSetTest, ANewerRostradbsJournalIsLeftAlone)
{
    // The master journal with a later version and a checksum that holds.
    std::vector<std::uint8_t> master = dir.read("rostradb-save.master");
    master[8] = 2;
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i + 8 < master.size(); ++i)
        hash = (hash ^ master[i]) * 0x100000001b3ull;
    for (std::size_t i = 0; i < 8; ++i)
        master[master.size() - 8 + i] = static_cast<std::uint8_t>(hash >> (8 * i));
    dir.write("rostradb-save.master", master);
    expectLeftAsTheyAre("rostradb-save.master is not a journal this rostradb can read");
}

TEST_F(FileSetSaveTest, AFailedWriteInTheSecondFileLeavesEveryFileAsBefore)
{
    edit();
    FaultyFileSystem files;
    files.others["club.dat"].failAtWrite = 1;
    EXPECT_THROW(GameSave(db, dir.path(), files).write(sink), DbError);
    EXPECT_EQ(filesNow(), before);
    EXPECT_FALSE(journalsLeft());
}

TEST_F(FileSetSaveTest, AnotherProgramsRenameIsTakenInOrAConflict)
{
    // Another program renames club 0 and club 1; the editor renamed club 1
    // otherwise.
    std::vector<std::uint8_t> club = before.at("club.dat");
    const auto putName = [&](std::size_t record, const std::string& text) {
        std::copy(text.begin(), text.end(), club.begin() + static_cast<std::ptrdiff_t>(record * 581 + 4));
        club[record * 581 + 4 + text.size()] = 0;
    };
    putName(0, "Theirs");
    putName(1, "Other");
    dir.write("club.dat", club);
    edit();
    GameSave save(db, dir.path());
    ASSERT_EQ(save.nameConflicts().size(), 1u);
    EXPECT_EQ(save.nameConflicts()[0].key, (NameKey{LookupTable::Clubs, 1}));
    ASSERT_EQ(save.namesChangedOnDiskOnly().size(), 1u);
    save.write(sink);
    EXPECT_EQ(db.clubs[0].displayText(), "Theirs");
    EXPECT_EQ(db.clubs[1].displayText(), "Renamed Club");
    const auto now = dir.read("club.dat");
    EXPECT_EQ(nameFieldText(now.data() + 4), "Theirs");
    EXPECT_EQ(nameFieldText(now.data() + 581 + 4), "Renamed Club");
}

} // namespace
} // namespace rostradb
