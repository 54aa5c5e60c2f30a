// File > Save: staff.dat rewritten in place. Only the bytes of the fields the
// loader kept may change, and only where the records differ from the file.

#include "db/staff_writer.h"
#include "support/open_files.h"
#include "support/read_only_file.h"
#include "support/staff_file_fields.h"
#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::FileField;
using test::GameShape;
using test::SyntheticGame;
using test::tablePassCalls;

constexpr const char* kNoError = "(no error)";

std::vector<std::size_t> differingBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            positions.push_back(i);
    return positions;
}

std::vector<std::size_t> range(std::size_t start, std::size_t count)
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < count; ++i)
        positions.push_back(start + i);
    return positions;
}

class StaffWriterTest : public test::SyntheticGameTest {
protected:
    std::string save()
    {
        return test::dbErrorOf([&] { saveStaffFile(db, dir.path(), sink); });
    }
    std::vector<std::uint8_t> staffFile() const { return dir.read("staff.dat"); }
    void restoreStaffFile() const { dir.write("staff.dat", game.staff.bytes()); }

    // Changes one field of one record to a value that differs from the old
    // one in every byte, saves, and checks which bytes of the file changed.
    template <class Record>
    void expectEditChangesOnlyItsBytes(const char* table, Record& record, std::size_t recordStart,
                                       const FileField<Record>& field, bool reachesFile)
    {
        SCOPED_TRACE(std::string(table) + "." + field.name);
        const std::uint32_t old = field.get(record);
        const std::uint32_t edited = ~old;
        field.set(record, edited);
        ASSERT_EQ(save(), kNoError);
        const auto after = staffFile();
        field.set(record, old);
        restoreStaffFile();

        ASSERT_EQ(after.size(), game.staff.size());
        const auto changed = differingBytes(game.staff.bytes(), after);
        if (!reachesFile) {
            EXPECT_TRUE(changed.empty()) << changed.size() << " bytes changed, first at " << changed.front();
            return;
        }
        EXPECT_EQ(changed, range(recordStart + field.offset, field.width));
        const std::uint32_t mask = field.width == 4 ? 0xFFFFFFFF : (1u << (8 * field.width)) - 1;
        EXPECT_EQ(test::readLittleEndian(after, recordStart + field.offset, field.width), edited & mask);
    }
};

TEST_F(StaffWriterTest, SaveAfterOpenLeavesTheFileAsItWasAndReportsEachTable)
{
    GameShape playersFirst;
    playersFirst.playersFirst = true;
    playersFirst.staff = 4;
    playersFirst.players = 3;

    for (const GameShape& shape : {GameShape{}, playersFirst}) {
        SCOPED_TRACE(shape.playersFirst ? "player table first" : "non-player table first");
        game = SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), kNoError);
        sink.calls.clear();

        const std::size_t filesBefore = test::openFileCount();
        ASSERT_EQ(save(), kNoError);
        EXPECT_EQ(test::openFileCount(), filesBefore);
        EXPECT_EQ(staffFile(), game.staff.bytes());

        std::vector<std::string> expected{"show"};
        for (const auto& [caption, count] : {std::pair{"Saving Staff general", shape.staff},
                                             std::pair{"Saving Staff non playing", shape.nonPlayers},
                                             std::pair{"Saving Staff playing", shape.players}}) {
            const auto calls = tablePassCalls(caption, count - 1);
            expected.insert(expected.end(), calls.begin(), calls.end());
        }
        expected.push_back("hide");
        EXPECT_EQ(sink.calls, expected);
    }
}

TEST_F(StaffWriterTest, EditedFieldChangesOnlyItsOwnBytesAndTheLinksNeverChange)
{
    ASSERT_EQ(writeAndLoad(), kNoError);
    const std::size_t staffK = 1, nonPlayerK = 1, playerK = 0;
    for (const auto& f : test::staffFileFields())
        expectEditChangesOnlyItsBytes("staff", db.staff[staffK], game.staffAt(staffK), f, !test::isLinkField(f));
    for (const auto& f : test::nonPlayerFileFields())
        expectEditChangesOnlyItsBytes("non-player", db.nonPlayers[nonPlayerK], game.nonPlayerAt(nonPlayerK), f,
                                      true);
    for (const auto& f : test::playerFileFields())
        expectEditChangesOnlyItsBytes("player", db.players[playerK], game.playerAt(playerK), f, true);
}

TEST_F(StaffWriterTest, BytesTheLoaderDidNotKeepAreNeverWritten)
{
    GameShape playersFirst;
    playersFirst.playersFirst = true;
    for (const GameShape& shape : {GameShape{}, playersFirst}) {
        SCOPED_TRACE(shape.playersFirst ? "player table first" : "non-player table first");
        game = SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), kNoError);

        // All-zero records: every byte the writer owns becomes 0, every
        // other byte must keep its pattern value (which is rarely 0).
        for (auto& r : db.staff)
            r = StaffRecord{};
        for (auto& r : db.nonPlayers)
            r = NonPlayerRecord{};
        for (auto& r : db.players)
            r = PlayerRecord{};
        ASSERT_EQ(save(), kNoError);

        std::vector<std::uint8_t> expected = game.staff.bytes();
        const auto clear = [&](std::size_t start, std::size_t bytes, auto&& written) {
            for (std::size_t i = 0; i < bytes; ++i)
                if (written(i))
                    expected[start + i] = 0;
        };
        for (std::size_t k = 0; k < shape.staff; ++k)
            clear(game.staffAt(k), 157, [](std::size_t i) {
                return test::isKeptByte(test::staffFileFields(), i) && i < 145;
            });
        for (std::size_t k = 0; k < shape.nonPlayers; ++k)
            clear(game.nonPlayerAt(k), 68, [](std::size_t) { return true; });
        for (std::size_t k = 0; k < shape.players; ++k)
            clear(game.playerAt(k), 70, [](std::size_t i) { return i < 69; });

        const auto after = staffFile();
        ASSERT_EQ(after.size(), expected.size());
        for (const std::size_t i : differingBytes(expected, after))
            ADD_FAILURE() << "byte " << i << " is " << int{after[i]} << ", expected " << int{expected[i]};
    }
}

TEST_F(StaffWriterTest, IncompleteTablesAreRefusedBeforeAnythingIsWritten)
{
    const struct {
        const char* what;
        std::function<void(GameDatabase&)> shorten;
        const char* error;
    } cases[] = {
        {"nothing loaded", [](GameDatabase& d) { d.clearLoadedTables(); }, "List index out of bounds (0)"},
        {"staff one short", [](GameDatabase& d) { d.staff.pop_back(); }, "List index out of bounds (2)"},
        {"no non-players", [](GameDatabase& d) { d.nonPlayers.clear(); }, "List index out of bounds (0)"},
        {"players one short", [](GameDatabase& d) { d.players.pop_back(); }, "List index out of bounds (1)"},
        {"staff and players short",
         [](GameDatabase& d) {
             d.staff.pop_back();
             d.players.clear();
         },
         "List index out of bounds (2)"},
        {"non-players and players short",
         [](GameDatabase& d) {
             d.nonPlayers.pop_back();
             d.players.clear();
         },
         "List index out of bounds (1)"},
    };
    ASSERT_EQ(writeAndLoad(), kNoError);
    const GameDatabase loaded = db;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        db = loaded;
        // Edits that would show in the file if anything were written.
        for (auto& r : db.staff)
            r.wages = ~r.wages;
        for (auto& r : db.nonPlayers)
            r.currentAbility = static_cast<std::uint16_t>(~r.currentAbility);
        c.shorten(db);
        sink.calls.clear();

        const std::size_t filesBefore = test::openFileCount();
        EXPECT_EQ(save(), c.error);
        EXPECT_EQ(test::openFileCount(), filesBefore);
        EXPECT_EQ(staffFile(), game.staff.bytes());
        EXPECT_EQ(sink.count("show"), sink.count("hide"));
        EXPECT_FALSE(sink.contains("pump"));
    }
}

TEST_F(StaffWriterTest, TableReachingPastTheEndOfTheFileIsNotWrittenAndTheFileKeepsItsLength)
{
    GameShape playersFirst;
    playersFirst.playersFirst = true;
    for (const GameShape& shape : {GameShape{}, playersFirst}) {
        SCOPED_TRACE(shape.playersFirst ? "non-player table last" : "player table last");
        game = SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), kNoError);
        // The file loses its end after the load: the last table's last
        // record now stops after 40 bytes.
        const std::size_t lastRecord = shape.playersFirst ? game.nonPlayerAt(shape.nonPlayers - 1)
                                                          : game.playerAt(shape.players - 1);
        game.staff.resize(lastRecord + 40);
        restoreStaffFile();
        if (shape.playersFirst)
            db.nonPlayers.back().recordId = ~db.nonPlayers.back().recordId;
        else
            db.players.back().recordId = ~db.players.back().recordId;
        sink.calls.clear();

        EXPECT_EQ(save(), "Read beyond end of file");
        EXPECT_EQ(staffFile(), game.staff.bytes());
        EXPECT_EQ(sink.count("show"), sink.count("hide"));
    }
}

TEST_F(StaffWriterTest, ReadOnlyStaffFileIsRefusedAndKeepsItsBytes)
{
    ASSERT_EQ(writeAndLoad(), kNoError);
    for (auto& r : db.staff)
        r.wages = ~r.wages;
    {
        test::ReadOnlyFile readOnly(dir.file("staff.dat"));
        if (!readOnly.holds())
            GTEST_SKIP() << "cannot make a file read-only here";
        sink.calls.clear();
        EXPECT_EQ(save(), "File access denied");
        EXPECT_EQ(sink.count("show"), sink.count("hide"));
    }
    EXPECT_EQ(staffFile(), game.staff.bytes());
}

TEST_F(StaffWriterTest, MissingStaffFileIsReportedAndNotCreated)
{
    ASSERT_EQ(writeAndLoad(), kNoError);
    std::filesystem::remove(dir.file("staff.dat"));
    EXPECT_EQ(save(), "File not found");
    EXPECT_FALSE(std::filesystem::exists(dir.file("staff.dat")));
}

TEST_F(StaffWriterTest, WritesRecordsBeyondSixteenBitPositions)
{
    GameShape shape;
    shape.staff = 65537;
    game = SyntheticGame(shape);
    ASSERT_EQ(writeAndLoad(), kNoError);
    ASSERT_EQ(db.staff.size(), 65537u);

    db.staff.back().wages = ~db.staff.back().wages;
    ASSERT_EQ(save(), kNoError);
    EXPECT_EQ(differingBytes(game.staff.bytes(), staffFile()), range(game.staffAt(65536) + 78, 4));
    EXPECT_EQ(sink.count("pos:65536"), 2u); // one load, one save
}

} // namespace
} // namespace rostradb
