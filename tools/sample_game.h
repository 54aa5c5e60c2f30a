#pragma once
// A synthetic game installation for trying the editor at once and for tests
// and benchmarks that need real-sized data. Every file is made by this code
// from a seed; no byte comes from the real game.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

// Tiny: a dozen people covering every classification. Small: a few thousand
// records, quick to load. Full: the largest tables the editor must handle
// (65,536 staff and first and second names).
enum class SampleSize { Tiny, Small, Full };

struct SampleCounts {
    std::uint32_t nations;
    std::uint32_t firstNames;
    std::uint32_t secondNames;
    std::uint32_t commonNames;
    std::uint32_t clubs;
    std::uint32_t staff;
    std::uint32_t nonPlayers;
    std::uint32_t players;
};

SampleCounts sampleCounts(SampleSize size);

// The files writeSampleGame writes into gameDir/data/, in the order it writes them.
inline constexpr std::array<std::string_view, 7> kSampleGameFiles = {
    "index.dat", "nation.dat", "first_names.dat", "second_names.dat", "common_names.dat", "club.dat", "staff.dat",
};

// The names of kSampleGameFiles that gameDir/data/ already holds, in that
// order. Anything of that name counts (a folder, a link to nowhere): writing
// there would replace or follow it. Empty when gameDir or its data folder is
// missing. Throws std::filesystem::filesystem_error when a name cannot be
// looked at (no permission to the folder, say), since "not there" would then
// be a guess.
std::vector<std::string> existingSampleGameFiles(const std::filesystem::path& gameDir);

// Creates gameDir/data/ (and gameDir) when missing and writes index.dat,
// nation.dat, first_names.dat, second_names.dat, common_names.dat, club.dat
// and staff.dat there, replacing files of those names. The same size and seed
// give the same bytes. Throws std::filesystem::filesystem_error when the
// folder cannot be created and std::runtime_error when a file cannot be
// written.
void writeSampleGame(const std::filesystem::path& gameDir, SampleSize size, std::uint64_t seed);

} // namespace rostradb
