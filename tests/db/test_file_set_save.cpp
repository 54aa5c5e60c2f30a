// A save that writes staff.dat and lookup files commits them as one: killed
// at any write, flush or deletion, the next recovery leaves every file as
// before or every file as saved; a failed write leaves all as before; the
// lookup names are merged with another program's renames.

#include "db/save_journal.h"
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
        recoverInterruptedSave(dir.path()); // the next command that reads the game
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
