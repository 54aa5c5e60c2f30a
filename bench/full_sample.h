#pragma once
// The full-size sample game every benchmark runs on: generated once into the
// system's temporary folder and reused while it is there (the generator is
// deterministic, so a kept copy is the same game).

#include "tools/sample_game.h"

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

} // namespace bench
