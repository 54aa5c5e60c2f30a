#pragma once
// A small synthetic game for the command line's tests, five people whose
// classifications and links cover every case:
//   0: player (player record 0)           3: classification 0, links to 1 and 1
//   1: non-player (non-player record 1)   4: player sharing player record 0
//   2: both (player 1, non-player 0)
// First name 1 is `José "Pepe", Jr` and second name 1 holds a line break:
// people 1 and 4 carry a comma, quotes and an accent in their display
// names, people 1 and 3 a line break.

#include "cli_run.h"
#include "support/synthetic_game.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace rostradb::test {

// Offsets in the file's records, written out here rather than taken from
// the layouts, so the tests check the command line against the format.
namespace at {
inline constexpr std::size_t kBirthYear = 18, kWages = 78, kClassification = 95, kPreference1 = 97,
                             kPlayerId = 145, kNonPlayerId = 153; // staff record
inline constexpr std::size_t kPace = 54;                          // player record
inline constexpr std::size_t kCoaching = 16, kExtraValue0 = 35, kExtraValue7 = 63; // non-player record
} // namespace at

inline GameShape cliShape()
{
    GameShape shape;
    shape.staff = 5;
    return shape;
}

class CliGameTest : public ::testing::Test {
protected:
    CliGameTest() : game(cliShape())
    {
        person(0, 2, 0, 7);
        person(1, 1, 9, 1);
        person(2, 3, 1, 0);
        person(3, 0, 1, 1);
        person(4, 2, 0, 8);
        name(game.firstNames, 1, "Jos\xE9 \"Pepe\", Jr");
        name(game.secondNames, 1, "Line\nBreak");
        game.staff.u32(game.staffAt(2) + at::kWages, 123456);
        game.staff.u32(game.staffAt(0) + at::kPreference1, 0xFFFFFFFEu);
        game.staff.u8(game.playerAt(1) + at::kPace, 17);
        game.staff.u32(game.nonPlayerAt(0) + at::kExtraValue7, 0xFFFFFFF0u);
        game.writeTo(dir);
        original = staffBytes();
    }

    void person(std::size_t k, std::uint8_t classification, std::uint32_t playerId, std::uint32_t nonPlayerId)
    {
        game.staff.u8(game.staffAt(k) + at::kClassification, classification);
        game.staff.u32(game.staffAt(k) + at::kPlayerId, playerId);
        game.staff.u32(game.staffAt(k) + at::kNonPlayerId, nonPlayerId);
    }

    static void name(ByteBuilder& table, std::size_t k, std::string_view text)
    {
        table.text(k * SyntheticGame::kNameBytes, text).u8(k * SyntheticGame::kNameBytes + text.size(), 0);
    }

    std::vector<std::uint8_t> staffBytes() const { return dir.read("staff.dat"); }

    CsvTable exported()
    {
        const CliResult r = runCli({"export", dir.path()});
        EXPECT_EQ(r.status, 0) << r.err;
        return CsvTable::parse(r.out);
    }

    // Writes `csv` next to the game and imports it.
    CliResult import(const std::string& csv, std::vector<std::string> extra = {})
    {
        const std::string file = (files.path() / "people.csv").string();
        writeFileBytes(file, std::vector<std::uint8_t>(csv.begin(), csv.end()));
        std::vector<std::string> arguments{"import", dir.path(), file};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runCli(arguments);
    }

    std::string csvPath() const { return (files.path() / "people.csv").string(); }

    GameDir dir;
    TempDir files;
    SyntheticGame game;
    std::vector<std::uint8_t> original;
};

// The little-endian value of `width` bytes at `offset`.
inline std::uint32_t valueAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= std::uint32_t{bytes.at(offset + i)} << (8 * i);
    return v;
}

// The offsets at which two files of equal size differ.
inline std::vector<std::size_t> differingBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    EXPECT_EQ(a.size(), b.size());
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i])
            offsets.push_back(i);
    return offsets;
}

} // namespace rostradb::test
