// Save looks at the disk before it writes: the directory must still place the
// tables where the load found them, another program's changes are noticed,
// only the records that change are written, and a write or flush that fails
// leaves the file exactly as it was.

#include "db/staff_writer.h"
#include "support/faulty_file.h"
#include "support/synthetic_game_test.h"
#include "support/system_errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::FaultPlan;
using test::GameShape;
using test::IndexFileBuilder;

constexpr const char* kNoError = "(no error)";

class CheckedSaveTest : public test::SyntheticGameTest {
protected:
    void SetUp() override
    {
        GameShape shape;
        shape.staff = 6;
        shape.nonPlayers = 4;
        shape.players = 4;
        game = test::SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), kNoError);
        original = staffFile();
    }

    std::string save(FaultPlan& plan)
    {
        return test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink, test::faultyOpener(plan)); });
    }
    std::string save()
    {
        FaultPlan none;
        return save(none);
    }
    std::vector<std::uint8_t> staffFile() const { return dir.read("staff.dat"); }
    void putStaffFile(const std::vector<std::uint8_t>& bytes) const { dir.write("staff.dat", bytes); }

    // Three edits far apart, one in each table: a save writes three runs.
    void editOneRecordOfEachTable()
    {
        db.staff[1].wages = 123456;
        db.nonPlayers[2].coaching = 77;
        db.players[3].pace = 5;
    }
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

    std::vector<std::uint8_t> original;
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
        EXPECT_EQ(sink.count("show"), sink.count("hide"));
        // The edits are still unsaved: the next save writes them all.
        EXPECT_EQ(db.staff[1].wages, 123456u);
    }
    ASSERT_EQ(save(), kNoError);
    EXPECT_EQ(staffFile(), withTheThreeEdits());
}

TEST_F(CheckedSaveTest, AValueChangedOnDiskIsNoticedAndOnlyReplacedWhenTheSaveGoesOn)
{
    // Another program raises person 4's wages and rewrites a date tail of
    // person 2 after the load.
    std::vector<std::uint8_t> elsewhere = original;
    elsewhere[game.staffAt(4) + 80] ^= 0x40;
    elsewhere[game.staffAt(2) + 21] ^= 0x11;
    putStaffFile(elsewhere);
    db.staff[0].loyalty ^= 0x0F;

    {
        StaffFileSave looked(db, dir.path());
        EXPECT_TRUE(looked.diskChangedSinceLoad());
        // Cancel: nothing is written.
    }
    EXPECT_EQ(staffFile(), elsewhere);

    StaffFileSave save(db, dir.path());
    EXPECT_EQ(save.recordsToWrite(), 2u); // the edit and the replaced wages
    save.write(sink);
    std::vector<std::uint8_t> expected = elsewhere;
    expected[game.staffAt(4) + 80] = original[game.staffAt(4) + 80]; // the editor's value
    expected[game.staffAt(0) + 89] = static_cast<std::uint8_t>(db.staff[0].loyalty);
    EXPECT_EQ(staffFile(), expected); // the date tail stays as the disk has it
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
    EXPECT_FALSE(save.diskChangedSinceLoad());
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
