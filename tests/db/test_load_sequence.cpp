// File > Open as a whole: the order of the tables, what the progress sink is
// told, a second load, and how a load ends when a file is missing, too short
// or refused.

#include "support/open_files.h"
#include "support/read_only_file.h"
#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using test::GameShape;
using test::SyntheticGame;
using test::tablePassCalls;

constexpr const char* kNoError = "(no error)";

class LoadSequenceTest : public test::SyntheticGameTest {
protected:
    // nations, first, second and common names, staff, non-players, players, clubs
    std::array<std::size_t, 8> tableSizes() const
    {
        return {db.nations.size(), db.firstNames.size(), db.secondNames.size(), db.commonNames.size(),
                db.staff.size(),   db.nonPlayers.size(), db.players.size(),     db.clubs.size()};
    }
    static std::array<std::size_t, 8> shapeSizes(const GameShape& s)
    {
        return {s.nations, s.firstNames, s.secondNames, s.commonNames, s.staff, s.nonPlayers, s.players, s.clubs};
    }

    // A load that failed must still have hidden the sink it showed.
    void expectShownThenHiddenOnce() const
    {
        ASSERT_FALSE(sink.calls.empty());
        EXPECT_EQ(sink.calls.front(), "show");
        EXPECT_EQ(sink.calls.back(), "hide");
        EXPECT_EQ(sink.count("show"), 1u);
        EXPECT_EQ(sink.count("hide"), 1u);
    }
};

TEST_F(LoadSequenceTest, ReportsEachTableInLoadOrderWithNoBarForNations)
{
    GameShape single;
    single.nations = single.firstNames = single.secondNames = single.commonNames = 1;
    single.staff = single.nonPlayers = single.players = single.clubs = 1;
    GameShape uneven;
    uneven.nations = 3;
    uneven.staff = 4;
    uneven.players = 5;
    uneven.clubs = 1;

    for (const GameShape& s : {single, uneven}) {
        game = SyntheticGame(s);
        sink.calls.clear();
        ASSERT_EQ(writeAndLoad(), kNoError);
        EXPECT_EQ(tableSizes(), shapeSizes(s));

        std::vector<std::string> expected{"show"};
        expected.insert(expected.end(), s.nations, "pump");
        const auto pass = [&](const char* caption, std::uint32_t count) {
            const auto calls = tablePassCalls(caption, count - 1);
            expected.insert(expected.end(), calls.begin(), calls.end());
        };
        pass("Loading first names", s.firstNames);
        pass("Loading sir names", s.secondNames);
        pass("Loading common names", s.commonNames);
        pass("Loading Staff general", s.staff);
        pass("Loading Staff nonplaying", s.nonPlayers);
        pass("Loading Staff playing", s.players);
        pass("Loading clubs", s.clubs);
        expected.push_back("hide");
        EXPECT_EQ(sink.calls, expected);
    }
}

TEST_F(LoadSequenceTest, SecondLoadReplacesTheFirstAndSeesTheFilesAsTheyAreNow)
{
    ASSERT_EQ(writeAndLoad(), kNoError);
    const GameDatabase first = db;

    game.staff.u32(game.staffAt(1) + 78, 0x01020304); // wages of record 1
    writeGame();
    sink.calls.clear();
    ASSERT_EQ(load(), kNoError);

    EXPECT_EQ(tableSizes(), shapeSizes(game.shape()));
    EXPECT_EQ(db.staff[1].wages, 0x01020304u);
    EXPECT_EQ(db.staff[0].wages, first.staff[0].wages);
    EXPECT_EQ(db.staff[2].displayName, first.staff[2].displayName);
    EXPECT_EQ(db.nations[1].bytes, first.nations[1].bytes);
    expectShownThenHiddenOnce();
}

TEST_F(LoadSequenceTest, FailureStopsTheLoadKeepsWhatWasReadAndCleansUp)
{
    const auto shape = game.shape();
    const struct {
        const char* what;
        std::function<void(SyntheticGame&)> breakGame;
        const char* missingFile;
        std::string error; // empty: any error
        std::array<std::size_t, 8> sizes;
    } cases[] = {
        {"club.dat missing", {}, "club.dat", "File not found", {2, 3, 2, 2, 3, 2, 2, 0}},
        {"nation.dat missing", {}, "nation.dat", "File not found", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"staff.dat missing", {}, "staff.dat", "File not found", {2, 3, 2, 2, 0, 0, 0, 0}},
        {"second names one byte short",
         [](SyntheticGame& g) { g.secondNames.resize(2 * 60 - 1); },
         nullptr,
         "Read beyond end of file",
         {2, 3, 1, 0, 0, 0, 0, 0}},
        {"staff table ends inside record 2",
         [](SyntheticGame& g) { g.staff.resize(g.staffAt(2) + 100); },
         nullptr,
         "Read beyond end of file",
         {2, 3, 2, 2, 2, 0, 0, 0}},
        {"non-player table starts past the end",
         [](SyntheticGame& g) {
             g.index.raw().u32(test::IndexFileBuilder::entryStart(9) + 59,
                               static_cast<std::uint32_t>(g.staff.size() + 1000));
         },
         nullptr,
         "Read beyond end of file",
         {2, 3, 2, 2, 3, 0, 0, 0}},
        {"last player record lacks its byte 69",
         [](SyntheticGame& g) { g.staff.resize(g.playerAt(1) + 69); },
         nullptr,
         "Read beyond end of file",
         {2, 3, 2, 2, 3, 2, 1, 0}},
        {"nation table announced as 2^32 records",
         [](SyntheticGame& g) { g.index.raw().u32(test::IndexFileBuilder::entryStart(4) + 55, 0xFFFFFFFF); },
         nullptr,
         "Read beyond end of file",
         {2, 0, 0, 0, 0, 0, 0, 0}},
        {"common names announced as 2^31 records",
         [](SyntheticGame& g) { g.index.raw().u32(test::IndexFileBuilder::entryStart(17) + 55, 0x7FFFFFFF); },
         nullptr,
         "Read beyond end of file",
         {2, 3, 2, 2, 0, 0, 0, 0}},
        {"non-player table too large for the progress bar",
         [](SyntheticGame& g) {
             // placed after the player table, so that it overlaps nothing
             g.index.raw().u32(test::IndexFileBuilder::entryStart(9) + 59, 0x7FFFFFFF);
             g.index.raw().u32(test::IndexFileBuilder::entryStart(9) + 55, 0x80000000);
         },
         nullptr,
         "",
         {2, 3, 2, 2, 3, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game = SyntheticGame(shape);
        if (c.breakGame)
            c.breakGame(game);
        writeGame();
        if (c.missingFile)
            std::filesystem::remove(dir.file(c.missingFile));
        readDirectory();
        db.clearLoadedTables();
        sink.calls.clear();

        const std::size_t filesBefore = test::openFileCount();
        const std::string error = load();
        EXPECT_EQ(test::openFileCount(), filesBefore) << "a file was left open";

        if (c.error.empty())
            EXPECT_NE(error, kNoError);
        else
            EXPECT_EQ(error, c.error);
        EXPECT_EQ(tableSizes(), c.sizes);
        for (std::size_t k = 0; k < db.staff.size(); ++k)
            EXPECT_EQ(db.staff[k].staffId, static_cast<std::int32_t>(k));
        expectShownThenHiddenOnce();
    }
}

TEST_F(LoadSequenceTest, LastIndexTheBarCannotShowStopsBeforeSettingTheMaximum)
{
    game.index.raw().u32(test::IndexFileBuilder::entryStart(9) + 59, 0x7FFFFFFF);
    game.index.raw().u32(test::IndexFileBuilder::entryStart(9) + 55, 0x80000000);
    EXPECT_NE(writeAndLoad(), kNoError);
    const auto caption = std::find(sink.calls.begin(), sink.calls.end(), "caption:Loading Staff nonplaying");
    ASSERT_NE(caption, sink.calls.end());
    ASSERT_NE(caption + 1, sink.calls.end());
    EXPECT_EQ(*(caption + 1), "hide");

    game = SyntheticGame();
    game.index.raw().u32(test::IndexFileBuilder::entryStart(17) + 55, 0x7FFFFFFF);
    sink.calls.clear();
    EXPECT_EQ(writeAndLoad(), "Read beyond end of file");
    EXPECT_TRUE(sink.contains("max:2147483647"));
}

TEST_F(LoadSequenceTest, WithoutADirectoryTheFirstLookupFails)
{
    writeGame();
    EXPECT_EQ(load(), "List index out of bounds (4)");
    EXPECT_EQ(tableSizes(), (std::array<std::size_t, 8>{}));
    expectShownThenHiddenOnce();
}

TEST_F(LoadSequenceTest, ReadOnlyStaffFileIsRefused)
{
    writeGame();
    readDirectory();
    test::ReadOnlyFile readOnly(dir.file("staff.dat"));
    if (!readOnly.holds())
        GTEST_SKIP() << "cannot make a file read-only here";

    EXPECT_EQ(load(), "File access denied");
    EXPECT_EQ(tableSizes(), (std::array<std::size_t, 8>{2, 3, 2, 2, 0, 0, 0, 0}));
    expectShownThenHiddenOnce();
}

} // namespace
} // namespace rostradb
