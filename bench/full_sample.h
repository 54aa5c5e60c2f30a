#pragma once
// The full-size sample game every benchmark runs on: generated once into the
// system's temporary folder and reused while it is there (the generator is
// deterministic, so a kept copy is the same game).

#include "db/data_paths.h"
#include "db/loaders.h"
#include "tools/sample_game.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

inline std::string fullSampleGame()
{
    const auto dir = std::filesystem::temp_directory_path() / "rostradb-bench-full-seed1";
    if (!std::filesystem::exists(dir / "data" / "index.dat"))
        rostradb::writeSampleGame(dir, rostradb::SampleSize::Full, 1);
    return dir.string();
}

// A folder of one benchmark's own, removed with everything in it at the end;
// with `withGame`, holding a copy of the full sample game to write to, so
// that the shared one stays as the generator made it.
struct ScratchGame {
    explicit ScratchGame(const std::string& name, bool withGame = true)
        : path(std::filesystem::temp_directory_path() / ("rostradb-bench-" + name))
    {
        std::filesystem::remove_all(path);
        if (withGame)
            std::filesystem::copy(fullSampleGame(), path, std::filesystem::copy_options::recursive);
        else
            std::filesystem::create_directories(path);
    }
    ~ScratchGame() { std::filesystem::remove_all(path); }
    ScratchGame(const ScratchGame&) = delete;
    ScratchGame& operator=(const ScratchGame&) = delete;
    std::string dir() const { return path.string(); }
    std::filesystem::path path;
};

// The full sample game loaded as File > Open loads it (start-up's directory
// read included), without windows.
inline rostradb::GameDatabase loadFullSample()
{
    const std::string game = fullSampleGame();
    rostradb::GameDatabase db;
    rostradb::SilentProgress sink;
    rostradb::readDirectoryAndLoad(db, game, sink);
    return db;
}

// The first person of classification `c` with a name, from position `from`
// on; 0 when there is none.
inline std::size_t personOfClass(const rostradb::GameDatabase& db, std::uint8_t c, std::size_t from)
{
    for (std::size_t i = from; i < db.staff.size(); ++i)
        if (db.staff[i].classification == c && !db.staff[i].displayName.empty())
            return i;
    return 0;
}

} // namespace bench
