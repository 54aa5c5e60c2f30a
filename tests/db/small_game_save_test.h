#pragma once
// The fixture the save tests share: a small game written and loaded, the
// staff.dat it started with kept in `original`, and three edits far apart,
// one in each table, so that a save writes three runs.

#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rostradb::test {

inline constexpr const char* kNoError = "(no error)";

class SmallGameSaveTest : public SyntheticGameTest {
protected:
    void SetUp() override
    {
        GameShape shape;
        shape.staff = 6;
        shape.nonPlayers = 4;
        shape.players = 4;
        game = SyntheticGame(shape);
        ASSERT_EQ(writeAndLoad(), kNoError);
        original = staffFile();
    }

    void editOneRecordOfEachTable()
    {
        db.staff[1].wages = 123456;
        db.nonPlayers[2].coaching = 77;
        db.players[3].pace = 5;
    }

    std::vector<std::uint8_t> staffFile() const { return dir.read("staff.dat"); }
    std::string journalPath() const { return dir.file("staff.dat-journal").string(); }
    bool journalExists() const { return std::filesystem::exists(journalPath()); }

    std::vector<std::uint8_t> original;
};

} // namespace rostradb::test
