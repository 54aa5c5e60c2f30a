#pragma once
// The sample "staff.dat": the staff table from byte 0, then the non-player
// and the player table, each after a gap of random bytes of varying size, and
// random bytes after the last table. The game finds the two later tables only
// through the offsets in its table directory, so the gaps make sure nothing
// can get by on assuming the tables sit back to back.

#include "sample_game.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rostradb::sample {

inline constexpr std::size_t kStaffRecordBytes = 157;
inline constexpr std::size_t kNonPlayerRecordBytes = 68;
inline constexpr std::size_t kPlayerRecordBytes = 70;

struct StaffFile {
    std::vector<std::uint8_t> bytes;
    std::uint32_t nonPlayerOffset = 0;
    std::uint32_t playerOffset = 0;
};

StaffFile buildStaffFile(const SampleCounts& counts, std::uint64_t seed);

} // namespace rostradb::sample
