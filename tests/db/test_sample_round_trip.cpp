// Open, edit and save over generated games: saving what was loaded gives the
// same file, and loading what was saved gives back every edited value.

#include "db/data_paths.h"
#include "db/loaders.h"
#include "db/staff_writer.h"
#include "support/recording_sink.h"
#include "support/expect_same_fields.h"
#include "support/staff_file_fields.h"
#include "support/temp_dir.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace rostradb
