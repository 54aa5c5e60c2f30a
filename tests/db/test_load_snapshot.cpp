// File > Open reads the directory as the files have it now, refuses a staff
// file whose tables overlap, and keeps the staff file's regions as read.

#include "db/loaders.h"
#include "db/staff_writer.h"
#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace rostradb {
namespace {

using test::GameShape;
using test::IndexFileBuilder;
using test::SyntheticGame;

constexpr const char* kNoError = "(no error)";

class LoadSnapshotTest : public test::SyntheticGameTest {};

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + count)};
}

std::vector<std::uint8_t> asVector(const ByteBuffer& buffer) { return {buffer.data(), buffer.data() + buffer.size()}; }

TEST_F(LoadSnapshotTest, KeepsTheThreeRegionsAsReadAndTheDirectoryItUsed)
{
    ASSERT_EQ(writeAndLoad(), kNoError);
    const GameShape& shape = game.shape();
    const auto& file = game.staff.bytes();
    EXPECT_EQ(asVector(db.snapshot.staff.bytes), slice(file, 0, shape.staff * 157));
    EXPECT_EQ(asVector(db.snapshot.nonPlayers.bytes), slice(file, game.nonPlayerAt(0), shape.nonPlayers * 68));
    EXPECT_EQ(asVector(db.snapshot.players.bytes), slice(file, game.playerAt(0), shape.players * 70));
    EXPECT_EQ(db.snapshot.players.offset, game.playerAt(0));
    EXPECT_TRUE(db.snapshot.complete());
    ASSERT_EQ(db.snapshot.directory.size(), 22u);
    EXPECT_EQ(db.snapshot.directory[9].bytes, db.directory.at(9).bytes);
}

// A load for reading keeps no snapshot, so a save from it has nothing to
// compare the disk with: it is refused before staff.dat is opened.
TEST_F(LoadSnapshotTest, ALoadForReadingKeepsNoRegionsAndCannotBeSaved)
{
    writeGame();
    readDirectoryAndLoad(db, dir.path(), sink, nullptr, LoadThreads::Two, LoadFor::Reading);
    EXPECT_EQ(db.loadState, LoadState::ForReading);
    EXPECT_EQ(db.staff.size(), game.shape().staff);
    EXPECT_EQ(db.snapshot.staff.bytes.size() + db.snapshot.nonPlayers.bytes.size(), 0u);
    db.staff[0].wages += 1;
    EXPECT_THROW(saveStaffFile(db, dir.path(), sink), std::logic_error);
    EXPECT_EQ(dir.read("staff.dat"), game.staff.bytes());
}

// A load reads into the memory of the tables it replaces: nothing of them
// may show through, whether the game has the same size, a little fewer
// records (the same room) or far fewer (new room, the old given back).
TEST_F(LoadSnapshotTest, LoadingAgainLeavesNothingOfTheLastLoad)
{
    GameShape shape;
    shape.staff = 40;
    shape.nonPlayers = shape.players = 20;
    game = SyntheticGame(shape);
    ASSERT_EQ(writeAndLoad(), kNoError);
    for (const std::uint32_t staff : {40u, 40u, 30u, 3u}) {
        SCOPED_TRACE(staff);
        shape.staff = staff;
        shape.nonPlayers = shape.players = staff / 2;
        game = SyntheticGame(shape);
        game.staff.u32(game.staffAt(1) + 4, 2); // person 1's first name, unlike the last load's
        ASSERT_EQ(writeAndLoad(), kNoError);
        const auto& file = game.staff.bytes();
        EXPECT_EQ(asVector(db.snapshot.staff.bytes), slice(file, 0, staff * 157));
        EXPECT_EQ(asVector(db.snapshot.players.bytes), slice(file, game.playerAt(0), shape.players * 70));
        ASSERT_EQ(db.staff.size(), staff);
        EXPECT_EQ(db.staff[1].firstName, 2u);
        EXPECT_EQ(db.staff.back().staffId, static_cast<std::int32_t>(staff - 1));
        EXPECT_LE(db.staff.capacity(), 2 * staff);
        EXPECT_LE(db.players.capacity(), 2 * shape.players);
    }
}

TEST_F(LoadSnapshotTest, OpenUsesTheDirectoryTheFilesHaveNowNotTheOneReadAtStartUp)
{
    writeGame();
    readDirectory(); // start-up
    // The game is replaced while the editor runs: more people, other offsets.
    GameShape bigger;
    bigger.staff = 5;
    bigger.nonPlayers = 3;
    bigger.gapAfterStaff = 29;
    game = SyntheticGame(bigger);
    writeGame();

    ASSERT_EQ(load(), kNoError);
    EXPECT_EQ(db.staff.size(), 5u);
    ASSERT_EQ(db.nonPlayers.size(), 3u);
    EXPECT_EQ(db.snapshot.nonPlayers.offset, game.nonPlayerAt(0));
    EXPECT_EQ(db.directory.at(7).lastIndex(), 4u);
    // Saved unedited, the new game stays byte for byte as it is.
    ASSERT_EQ(test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink); }), kNoError);
    EXPECT_EQ(dir.read("staff.dat"), game.staff.bytes());

    // A directory that cannot be read now stops the load with its error.
    std::filesystem::remove(dir.file("index.dat"));
    EXPECT_EQ(load(), "File not found");
    EXPECT_TRUE(db.staff.empty());
}

TEST_F(LoadSnapshotTest, OverlappingTablesStopTheLoadBeforeTheStaffTable)
{
    const std::size_t nonPlayerOffset = IndexFileBuilder::entryStart(SyntheticGame::kNonPlayerEntry) + 59;
    const std::size_t playerOffset = IndexFileBuilder::entryStart(SyntheticGame::kPlayerEntry) + 59;
    const struct {
        const char* what;
        std::size_t entryOffsetAt;
        std::uint32_t offset; // in records' terms below
    } cases[] = {
        {"non-player table inside the staff table", nonPlayerOffset, 157 * 3 - 1},
        {"player table over the non-player table's last byte", playerOffset, 157 * 3 + 13 + 68 * 2 - 1},
        {"player table at byte 0", playerOffset, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game = SyntheticGame();
        game.index.raw().u32(c.entryOffsetAt, c.offset);
        EXPECT_EQ(writeAndLoad(), kTablesOverlap);
        EXPECT_EQ(db.nations.size(), 2u); // the tables before stay
        EXPECT_EQ(db.commonNames.size(), 2u);
        EXPECT_TRUE(db.staff.empty());
        EXPECT_TRUE(db.nonPlayers.empty());
        EXPECT_EQ(test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink); }), kNotCompletelyLoaded);
        EXPECT_EQ(dir.read("staff.dat"), game.staff.bytes());
    }

    // Tables that touch without sharing a byte are fine.
    game = SyntheticGame();
    game.index.raw().u32(nonPlayerOffset, 157 * 3);
    game.index.raw().u32(playerOffset, 157 * 3 + 68 * 2);
    EXPECT_EQ(writeAndLoad(), kNoError);
}

} // namespace
} // namespace rostradb
