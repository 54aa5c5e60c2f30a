#pragma once
// Decides who everyone in the sample staff table is: a classification per
// person and which attribute records they link to. The numbers are balanced
// so that every player record and every non-player record belongs to exactly
// one person, as in a consistent game world, while a few people carry the odd
// values a real data file also holds.

#include "sample_game.h"
#include "sample_random.h"

#include <cstdint>
#include <vector>

namespace rostradb::sample {

// Classification codes as the game stores them in the staff record.
enum Classification : std::uint8_t {
    kInvalidClassification = 0,
    kNonPlayer = 1,
    kPlayer = 2,
    kNonPlayerAndPlayer = 3,
    kYouthPlayer = 4,
    kNewHumanManager = 5,
    kSpareNonPlayer = 6,
};

struct Role {
    std::uint8_t classification = kInvalidClassification;
    // The link fields: a position in the player or non-player table, or -1.
    std::int32_t playerId = -1;
    std::int32_t nonPlayerId = -1;
    // Whether the person does the job of a player or of a non-player, which
    // decides the kind of club job, wages and so on. Differs from the links
    // only for the people given broken links on purpose.
    bool plays = false;
    bool manages = false;
};

// Large worlds (from this many staff up) also get odd values: unknown
// classifications, links past the end of a table, names out of range. The
// tiny world stays clean, so that everyone in it can be found and shown.
inline constexpr std::uint32_t kOdditiesFromStaff = 1000;

// One role per staff record, in staff order. Throws std::logic_error when the
// counts cannot be balanced (more records than people could link to).
std::vector<Role> castRoles(const SampleCounts& counts, SampleRandom& random);

} // namespace rostradb::sample
