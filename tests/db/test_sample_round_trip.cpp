// Open, edit and save over generated games: saving what was loaded gives the
// same file, and loading what was saved gives back every edited value.

#include "db/data_paths.h"
#include "db/errors.h"
#include "db/loaders.h"
#include "db/staff_writer.h"
#include "support/recording_sink.h"
#include "support/expect_same_fields.h"
#include "support/staff_file_fields.h"
#include "support/temp_dir.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

namespace rostradb {
namespace {

using test::FileField;

TEST(SampleRoundTrip, SaveKeepsTheFileAndReloadGivesBackEveryEdit)
{
    for (const auto size : {SampleSize::Tiny, SampleSize::Small}) {
        for (const std::uint64_t seed : {1u, 7u, 20240u}) {
            SCOPED_TRACE((size == SampleSize::Tiny ? "tiny, seed " : "small, seed ") + std::to_string(seed));
            test::TempDir dir;
            const std::string game = dir.path().string();
            writeSampleGame(dir.path(), size, seed);
            const auto original = test::readFileBytes(dataFilePath(game, datafile::kStaff));

            test::RecordingSink sink;
            GameDatabase db;
            db.directory.read(dataFilePath(game, datafile::kIndex));
            runLoadSequence(db, game, sink);
            const SampleCounts counts = sampleCounts(size);
            ASSERT_EQ(db.staff.size(), counts.staff);
            ASSERT_EQ(db.nonPlayers.size(), counts.nonPlayers);
            ASSERT_EQ(db.players.size(), counts.players);

            saveStaffFile(db, game, sink);
            ASSERT_EQ(test::readFileBytes(dataFilePath(game, datafile::kStaff)), original);

            // Change one field of every kind in every record, differently per record.
            for (std::size_t k = 0; k < db.staff.size(); ++k) {
                db.staff[k].wages ^= static_cast<std::uint32_t>(k * 2654435761u + 1);
                db.staff[k].birthYear = static_cast<std::uint16_t>(1950 + k % 50);
                db.staff[k].temperament = static_cast<std::uint8_t>(~db.staff[k].temperament);
            }
            for (std::size_t k = 0; k < db.nonPlayers.size(); ++k) {
                db.nonPlayers[k].extraValues[7] ^= static_cast<std::int32_t>(k + 1);
                db.nonPlayers[k].trailingByte = static_cast<std::uint8_t>(k);
            }
            for (std::size_t k = 0; k < db.players.size(); ++k) {
                db.players[k].workRate = static_cast<std::uint8_t>(~db.players[k].workRate);
                db.players[k].currentAbility = static_cast<std::uint16_t>(k * 3);
            }
            saveStaffFile(db, game, sink);
            EXPECT_EQ(test::readFileBytes(dataFilePath(game, datafile::kStaff)).size(), original.size());

            GameDatabase reloaded;
            reloaded.directory = db.directory;
            runLoadSequence(reloaded, game, sink);
            test::expectSameFields("staff", db.staff, reloaded.staff, test::staffFileFields());
            test::expectSameFields("non-player", db.nonPlayers, reloaded.nonPlayers, test::nonPlayerFileFields());
            test::expectSameFields("player", db.players, reloaded.players, test::playerFileFields());
        }
    }
}

// A game copied from Windows media may spell its files in capitals, and
// Windows runs it all the same: it loads and saves here too, in place.
TEST(SampleRoundTrip, FilesInAnotherLetterCaseAreFoundAndSavedInPlace)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores letter case by itself";
#endif
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string game = dir.path().string();
    writeSampleGame(dir.path(), SampleSize::Tiny, 3);
    const fs::path data = dir.path() / "Data";
    fs::rename(dir.path() / "data", data);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(data)) {
        std::string upper = entry.path().filename().string();
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        fs::rename(entry.path(), data / upper);
        names.insert(upper);
    }

    test::RecordingSink sink;
    GameDatabase db;
    db.directory.read(dataFilePath(game, datafile::kIndex));
    runLoadSequence(db, game, sink);
    ASSERT_EQ(db.staff.size(), sampleCounts(SampleSize::Tiny).staff);
    db.staff[0].wages ^= 0x5A5A;
    saveStaffFile(db, game, sink); // its journal comes and goes in Data/

    std::set<std::string> after;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        after.insert(entry.path().filename().string());
    EXPECT_EQ(after, std::set<std::string>{"Data"});
    after.clear();
    for (const auto& entry : fs::directory_iterator(data))
        after.insert(entry.path().filename().string());
    EXPECT_EQ(after, names);
    GameDatabase reloaded;
    reloaded.directory = db.directory;
    runLoadSequence(reloaded, game, sink);
    EXPECT_EQ(reloaded.staff[0].wages, db.staff[0].wages);

    // Two spellings of one file: which one the game means cannot be told.
    fs::copy_file(data / "STAFF.DAT", data / "Staff.dat");
    try {
        runLoadSequence(reloaded, game, sink);
        ADD_FAILURE() << "two files standing for staff.dat were taken";
    } catch (const DbError& error) {
        const std::string prefix = game + "/Data/";
        EXPECT_EQ(std::string(error.what()), prefix + "STAFF.DAT and " + prefix +
                                                 "Staff.dat both stand for staff.dat when letter case is "
                                                 "ignored; rename or remove one");
    }
}

} // namespace
} // namespace rostradb
