#pragma once
// The sample "index.dat", the game's table directory: an 8-byte header, 22
// entries of 67 bytes, then bytes nobody reads. An entry holds the position
// of its table's last record (lastIndex, at byte 55) and the table's byte
// offset in its file (at 59); the rest of it is a table name and filler.

#include "sample_game.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rostradb::sample {

inline constexpr std::size_t kIndexHeaderBytes = 8;
inline constexpr std::size_t kIndexEntryBytes = 67;
inline constexpr std::size_t kIndexEntries = 22;

std::vector<std::uint8_t> buildIndexFile(const SampleCounts& counts, std::uint32_t nonPlayerOffset,
                                         std::uint32_t playerOffset, std::uint64_t seed);

} // namespace rostradb::sample
