// The staff file's three tables: every kept field read from its own bytes,
// the bytes that are not kept influencing nothing, and each table found only
// where its directory entry says.

#include "support/expect_same_fields.h"
#include "support/staff_file_fields.h"
#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::FileField;
using test::GameShape;
using test::readLittleEndian;
using test::SyntheticGame;

class StaffLoadingTest : public test::SyntheticGameTest {};

template <class Record>
void expectFieldsFromFile(const char* table, const Record& record, std::size_t k,
                          const std::vector<FileField<Record>>& fields, const std::vector<std::uint8_t>& file,
                          std::size_t recordStart)
{
    for (const auto& f : fields)
        EXPECT_EQ(f.get(record), readLittleEndian(file, recordStart + f.offset, f.width))
            << table << " record " << k << ", " << f.name << " at byte " << f.offset;
}

TEST_F(StaffLoadingTest, EveryKeptFieldComesFromItsOwnBytes)
{
    GameShape playersFirst;
    playersFirst.playersFirst = true;
    playersFirst.gapAfterStaff = 1;
    playersFirst.gapBetweenTables = 301;
    playersFirst.nonPlayers = 3;

    for (const GameShape& shape : {GameShape{}, playersFirst}) {
        SCOPED_TRACE(shape.playersFirst ? "player table first" : "non-player table first");
        game = SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), "(no error)");
        const auto& file = game.staff.bytes();

        ASSERT_EQ(db.staff.size(), shape.staff);
        for (std::size_t k = 0; k < shape.staff; ++k)
            expectFieldsFromFile("staff", db.staff[k], k, test::staffFileFields(), file, game.staffAt(k));
        ASSERT_EQ(db.nonPlayers.size(), shape.nonPlayers);
        for (std::size_t k = 0; k < shape.nonPlayers; ++k)
            expectFieldsFromFile("non-player", db.nonPlayers[k], k, test::nonPlayerFileFields(), file,
                                 game.nonPlayerAt(k));
        ASSERT_EQ(db.players.size(), shape.players);
        for (std::size_t k = 0; k < shape.players; ++k)
            expectFieldsFromFile("player", db.players[k], k, test::playerFileFields(), file, game.playerAt(k));
    }
}

TEST_F(StaffLoadingTest, BytesNotKeptInfluenceNothing)
{
    ASSERT_EQ(writeAndLoad(), "(no error)");
    const GameDatabase first = db;

    // Flip every byte of staff.dat that no kept field covers: the date tails,
    // bytes 24..25, each player record's byte 69, the gaps and the end.
    auto& staffFile = game.staff.bytes();
    std::vector<bool> kept(staffFile.size(), false);
    const auto mark = [&](std::size_t start, auto&& isKept, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i)
            if (isKept(i))
                kept[start + i] = true;
    };
    const auto& shape = game.shape();
    for (std::size_t k = 0; k < shape.staff; ++k)
        mark(game.staffAt(k), [](std::size_t i) { return test::isKeptByte(test::staffFileFields(), i); }, 157);
    for (std::size_t k = 0; k < shape.nonPlayers; ++k)
        mark(game.nonPlayerAt(k), [](std::size_t) { return true; }, 68);
    for (std::size_t k = 0; k < shape.players; ++k)
        mark(game.playerAt(k), [](std::size_t i) { return i < 69; }, 70);
    for (std::size_t i = 0; i < staffFile.size(); ++i)
        if (!kept[i])
            staffFile[i] = static_cast<std::uint8_t>(~staffFile[i]);

    // The dropped tails of nation and club records.
    for (std::size_t k = 0; k < shape.nations; ++k)
        game.nations.pattern(k * 290 + 286, 4, 99);
    for (std::size_t k = 0; k < shape.clubs; ++k)
        game.clubs.pattern(k * 581 + 475, 106, 99);

    // index.dat: the header, every entry's uninterpreted bytes, and the
    // offsets of the tables that are read from byte 0.
    auto& index = game.index.raw();
    index.pattern(0, 8, 99);
    for (std::size_t e = 0; e < 22; ++e) {
        const std::size_t start = test::IndexFileBuilder::entryStart(e);
        index.pattern(start, 55, 99 + static_cast<std::uint32_t>(e));
        index.pattern(start + 63, 4, 99 + static_cast<std::uint32_t>(e));
        if (e != SyntheticGame::kNonPlayerEntry && e != SyntheticGame::kPlayerEntry)
            index.pattern(start + 59, 4, 99 + static_cast<std::uint32_t>(e));
    }

    ASSERT_EQ(writeAndLoad(), "(no error)");
    test::expectSameFields("staff", first.staff, db.staff, test::staffFileFields());
    test::expectSameFields("non-player", first.nonPlayers, db.nonPlayers, test::nonPlayerFileFields());
    test::expectSameFields("player", first.players, db.players, test::playerFileFields());
    for (std::size_t k = 0; k < first.staff.size(); ++k)
        EXPECT_EQ(first.staff[k].displayName, db.staff[k].displayName);
    const auto sameBytes = [](const auto& a, const auto& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const auto& x, const auto& y) { return x.bytes == y.bytes; });
    };
    EXPECT_TRUE(sameBytes(first.nations, db.nations));
    EXPECT_TRUE(sameBytes(first.clubs, db.clubs));
}

TEST_F(StaffLoadingTest, DisplayNamesComeFromTheLoadedFirstAndSecondNames)
{
    GameShape shape;
    shape.staff = 5;
    game = SyntheticGame(shape);
    // record 3: no first name, although its common name is a valid position
    game.staff.u32(game.staffAt(3) + 4, 0xFFFFFFFF).u32(game.staffAt(3) + 12, 0);
    // record 4: second name just past the end of its table
    game.staff.u32(game.staffAt(4) + 8, shape.secondNames);

    ASSERT_EQ(writeAndLoad(), "(no error)");
    ASSERT_EQ(db.staff.size(), 5u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(db.staff[k].displayName,
                  "First" + std::to_string(k % shape.firstNames) + " Second" + std::to_string(k % shape.secondNames));
    EXPECT_EQ(db.staff[3].displayName, "");
    EXPECT_EQ(db.staff[4].displayName, "");
}

TEST_F(StaffLoadingTest, TablesMayHoldMoreRecordsThanSixteenBitsCount)
{
    GameShape shape;
    shape.commonNames = 65537;
    shape.staff = 65537;
    game = SyntheticGame(shape);

    ASSERT_EQ(writeAndLoad(), "(no error)");
    ASSERT_EQ(db.commonNames.size(), 65537u);
    EXPECT_EQ(db.commonNames.back().displayText(), "Common65536");
    ASSERT_EQ(db.staff.size(), 65537u);
    expectFieldsFromFile("staff", db.staff.back(), 65536, test::staffFileFields(), game.staff.bytes(),
                         game.staffAt(65536));
    EXPECT_EQ(db.staff.back().displayName,
              "First" + std::to_string(65536 % shape.firstNames) + " Second" + std::to_string(65536 % shape.secondNames));
    EXPECT_EQ(db.nonPlayers.size(), shape.nonPlayers);
    EXPECT_EQ(sink.count("max:65536"), 2u);
    EXPECT_EQ(sink.count("pos:65536"), 2u);
}

} // namespace
} // namespace rostradb
