#pragma once
// A test fixture around a SyntheticGame: the game's files in a temporary
// folder, the database they load into and a sink that records the progress.
// Tests change `game` (or its shape) first, then write and load it.

#include "db/data_paths.h"
#include "db/game_database.h"
#include "db/loaders.h"
#include "support/error_text.h"
#include "support/recording_sink.h"
#include "support/synthetic_game.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace rostradb::test {

class SyntheticGameTest : public ::testing::Test {
protected:
    void writeGame() { game.writeTo(dir); }

    // What start-up does: read index.dat into the directory.
    void readDirectory()
    {
        db.directory.clear();
        db.directory.read(dataFilePath(dir.path(), datafile::kIndex));
    }

    // File > Open; the error text, or "(no error)".
    std::string load()
    {
        return dbErrorOf([&] { runLoadSequence(db, dir.path(), sink); });
    }

    std::string writeAndLoad()
    {
        writeGame();
        readDirectory();
        return load();
    }

    GameDir dir;
    SyntheticGame game;
    GameDatabase db;
    RecordingSink sink;
};

} // namespace rostradb::test
