// A load that reads the staff file on a second thread gives what a load on
// one thread gives: every table, every display name, the snapshot and the
// Status window's conversation, on the full sample game and on one whose
// staff file ends early; a load for reading only gives the same tables
// without the snapshot. Also run under ThreadSanitizer.

#include "db/data_paths.h"
#include "db/loaders.h"
#include "support/expect_same_fields.h"
#include "support/recording_sink.h"
#include "support/staff_file_fields.h"
#include "support/temp_dir.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace rostradb {
namespace {

struct Load {
    GameDatabase db;
    test::RecordingSink sink;
    std::string error;
};

Load loadWith(const std::string& game, LoadThreads threads, LoadFor purpose = LoadFor::Editing)
{
    Load load;
    try {
        readDirectoryAndLoad(load.db, game, load.sink, nullptr, threads, purpose);
    } catch (const std::exception& e) {
        load.error = e.what();
    }
    return load;
}

template <class Table>
void expectSameLookups(const char* name, const Table& expected, const Table& actual)
{
    ASSERT_EQ(expected.size(), actual.size()) << name;
    for (std::size_t k = 0; k < expected.size(); ++k)
        ASSERT_EQ(expected[k].bytes, actual[k].bytes) << name << " record " << k;
}

// The same tables, names, progress and error; the same snapshot too unless
// `two` was loaded only for reading, which keeps none.
void expectSameLoads(const Load& one, const Load& two)
{
    EXPECT_EQ(one.error, two.error);
    EXPECT_EQ(one.sink.calls, two.sink.calls);
    const bool forReading = two.db.loadState == LoadState::ForReading;
    if (forReading)
        EXPECT_EQ(one.db.loadState, LoadState::Complete);
    else
        EXPECT_EQ(one.db.loadState, two.db.loadState);
    expectSameLookups("nations", one.db.nations, two.db.nations);
    expectSameLookups("first names", one.db.firstNames, two.db.firstNames);
    expectSameLookups("second names", one.db.secondNames, two.db.secondNames);
    expectSameLookups("common names", one.db.commonNames, two.db.commonNames);
    expectSameLookups("clubs", one.db.clubs, two.db.clubs);
    test::expectSameFields("staff", one.db.staff, two.db.staff, test::staffFileFields());
    test::expectSameFields("non-players", one.db.nonPlayers, two.db.nonPlayers, test::nonPlayerFileFields());
    test::expectSameFields("players", one.db.players, two.db.players, test::playerFileFields());
    for (std::size_t k = 0; k < one.db.staff.size(); ++k)
        ASSERT_EQ(one.db.staff[k].displayName, two.db.staff[k].displayName) << "person " << k;
    if (forReading) {
        EXPECT_EQ(two.db.snapshot.staff.bytes.size() + two.db.snapshot.players.bytes.size(), 0u);
        return;
    }
    const auto sameRegion = [](const TableRegion& a, const TableRegion& b) {
        return a.offset == b.offset && a.recordCount == b.recordCount && a.recordBytes == b.recordBytes &&
               std::equal(a.bytes.bytes().begin(), a.bytes.bytes().end(), b.bytes.bytes().begin(),
                          b.bytes.bytes().end());
    };
    EXPECT_TRUE(sameRegion(one.db.snapshot.staff, two.db.snapshot.staff));
    EXPECT_TRUE(sameRegion(one.db.snapshot.nonPlayers, two.db.snapshot.nonPlayers));
    EXPECT_TRUE(sameRegion(one.db.snapshot.players, two.db.snapshot.players));
}

TEST(ThreadedLoad, GivesWhatALoadOnOneThreadGives)
{
    test::TempDir dir;
    const std::string game = dir.path().string();
    writeSampleGame(dir.path(), SampleSize::Full, 1);
    const Load one = loadWith(game, LoadThreads::One);
    ASSERT_EQ(one.error, "");
    ASSERT_EQ(one.db.staff.size(), sampleCounts(SampleSize::Full).staff);
    for (int run = 0; run < 3; ++run) // the threads meet at different points each time
        expectSameLoads(one, loadWith(game, LoadThreads::Two));
    expectSameLoads(one, loadWith(game, LoadThreads::Two, LoadFor::Reading));

    // The staff file ends inside the non-player table: the same records,
    // the same last position and the same error from both.
    const auto staffPath = dataFilePath(game, datafile::kStaff);
    const GameDatabase& full = one.db;
    std::filesystem::resize_file(staffPath, full.snapshot.nonPlayers.offset + 1000 * NonPlayerRecord::kFileBytes + 5);
    const Load shortOne = loadWith(game, LoadThreads::One);
    ASSERT_EQ(shortOne.error, "Read beyond end of file");
    ASSERT_EQ(shortOne.db.nonPlayers.size(), 1000u);
    expectSameLoads(shortOne, loadWith(game, LoadThreads::Two));
    const Load shortForReading = loadWith(game, LoadThreads::Two, LoadFor::Reading);
    EXPECT_EQ(shortForReading.db.loadState, LoadState::Partial);
    EXPECT_EQ(shortForReading.error, shortOne.error);
    EXPECT_EQ(shortForReading.sink.calls, shortOne.sink.calls);
    EXPECT_EQ(shortForReading.db.nonPlayers.size(), 1000u);
}

// club.dat is read while the staff file is, and its progress and error are
// given at its turn: a cut or missing club.dat ends both loads alike, after
// every staff table is in.
TEST(ThreadedLoad, ClubsReadAheadEndLikeClubsReadInTurn)
{
    using Damage = std::function<void(const std::filesystem::path&)>;
    const Damage cutInsideRecord300 = [](const std::filesystem::path& clubs) {
        std::filesystem::resize_file(clubs, 300 * ClubRecord::kFileBytes + 7);
    };
    const Damage removed = [](const std::filesystem::path& clubs) { std::filesystem::remove(clubs); };
    for (const Damage& damage : {cutInsideRecord300, removed}) {
        test::TempDir dir;
        const std::string game = dir.path().string();
        writeSampleGame(dir.path(), SampleSize::Small, 1);
        damage(dataFilePath(game, datafile::kClubs));
        const Load one = loadWith(game, LoadThreads::One);
        ASSERT_NE(one.error, "");
        ASSERT_EQ(one.db.staff.size(), sampleCounts(SampleSize::Small).staff);
        expectSameLoads(one, loadWith(game, LoadThreads::Two));
    }
}

} // namespace
} // namespace rostradb
