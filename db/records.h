#pragma once
// The records of the game's tables as the editor keeps them in memory. Each
// is a plain struct with named fields; how they sit in the files is described
// once, in record_layout.h, and never by the struct's own memory image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rostradb {

// Text in the game's files is single-byte (Windows-1252): a 51-byte field
// whose text ends at the first zero byte, or fills all 51 bytes.
inline constexpr std::size_t kNameFieldBytes = 51;

inline std::string_view nameFieldText(const std::uint8_t* field)
{
    const void* end = std::memchr(field, 0, kNameFieldBytes);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - field) : kNameFieldBytes;
    return {reinterpret_cast<const char*>(field), length};
}

// Nation, name and club records: kept as the leading bytes of the file
// record, unchanged; only their name is ever interpreted.
template <std::size_t FileBytes, std::size_t KeptBytes, std::size_t NameOffset>
struct LookupRecord {
    static constexpr std::size_t kFileBytes = FileBytes;
    static constexpr std::size_t kKeptBytes = KeptBytes;
    static constexpr std::size_t kNameOffset = NameOffset;
    std::array<std::uint8_t, KeptBytes> bytes{};

    std::string_view displayText() const { return nameFieldText(bytes.data() + NameOffset); }
};

// nation.dat: 290-byte records, name at 4; bytes 286..289 are not kept.
struct NationRecord : LookupRecord<290, 286, 4> {};
// first_names.dat, second_names.dat, common_names.dat: 60 bytes, all kept.
struct NameRecord : LookupRecord<60, 60, 0> {};
// club.dat: 581-byte records, name at 4; bytes 475..580 are not kept.
struct ClubRecord : LookupRecord<581, 475, 4> {};

// One person's general record (157 bytes in staff.dat): every field but the
// five date tails and bytes 24..25, plus the name the search lists.
struct StaffRecord {
    static constexpr std::size_t kFileBytes = 157;
    static constexpr std::size_t kDisplayNameMax = 50;

    std::string displayName; // built at load time from the first and second name

    std::int32_t staffId = 0;
    std::uint32_t firstName = 0;
    std::uint32_t secondName = 0;
    std::uint32_t commonName = 0;
    std::uint16_t birthDay = 0;
    std::uint16_t birthYear = 0;
    std::uint32_t nation = 0;
    std::uint32_t secondNation = 0;
    std::uint8_t internationalCaps = 0;
    std::uint8_t internationalGoals = 0;
    std::uint32_t nationContracted = 0;
    std::uint8_t jobForNation = 0;
    std::uint16_t nationDate1Day = 0;
    std::uint16_t nationDate1Year = 0;
    std::uint16_t nationDate2Day = 0;
    std::uint16_t nationDate2Year = 0;
    std::uint32_t clubContracted = 0;
    std::uint8_t jobForClub = 0;
    std::uint16_t joinedDay = 0;
    std::uint16_t joinedYear = 0;
    std::uint16_t contractDay = 0;
    std::uint16_t contractYear = 0;
    std::uint32_t wages = 0;
    std::uint32_t value = 0;
    std::uint8_t adaptability = 0;
    std::uint8_t ambition = 0;
    std::uint8_t determination = 0;
    std::uint8_t loyalty = 0;
    std::uint8_t pressure = 0;
    std::uint8_t professionalism = 0;
    std::uint8_t sportsmanship = 0;
    std::uint8_t temperament = 0;
    std::uint8_t squad = 0;
    std::uint8_t classification = 0;
    std::uint8_t extraByte = 0;
    std::array<std::int32_t, 3> preferenceSet1{};
    std::array<std::int32_t, 3> preferenceSet2{};
    std::array<std::int32_t, 3> preferenceSet3{};
    std::array<std::int32_t, 3> preferenceSet4{};
    std::int32_t playerId = 0;
    std::int32_t extraIndex = 0;
    std::int32_t nonPlayerId = 0;
};

// Attributes of a non-playing member of staff: all 68 bytes of the record.
struct NonPlayerRecord {
    static constexpr std::size_t kFileBytes = 68;

    std::int32_t recordId = 0;
    std::uint16_t currentAbility = 0;
    std::uint16_t potentialAbility = 0;
    std::uint16_t homeReputation = 0;
    std::uint16_t currentReputation = 0;
    std::uint16_t worldReputation = 0;
    std::uint8_t attacking = 0;
    std::uint8_t business = 0;
    std::uint8_t coaching = 0;
    std::uint8_t coachingGoalkeepers = 0;
    std::uint8_t coachingTechnique = 0;
    std::uint8_t directness = 0;
    std::uint8_t discipline = 0;
    std::uint8_t freeRoles = 0;
    std::uint8_t interference = 0;
    std::uint8_t judgement = 0;
    std::uint8_t judgingPotential = 0;
    std::uint8_t manHandling = 0;
    std::uint8_t marking = 0;
    std::uint8_t motivating = 0;
    std::uint8_t offside = 0;
    std::uint8_t pati = 0;
    std::uint8_t phys = 0;
    std::uint8_t prss = 0;
    std::uint8_t reso = 0;
    std::uint8_t tact = 0;
    std::uint8_t youn = 0;
    std::array<std::int32_t, 8> extraValues{}; // from the odd byte 35
    std::uint8_t trailingByte = 0;             // byte 67
};

// Attributes of a player: the first 69 of the 70 bytes; byte 69 is not kept.
struct PlayerRecord {
    static constexpr std::size_t kFileBytes = 70;
    static constexpr std::size_t kKeptBytes = 69;

    std::int32_t recordId = 0;
    std::uint8_t squadNumber = 0;
    std::uint16_t currentAbility = 0;
    std::uint16_t potentialAbility = 0;
    std::uint16_t homeReputation = 0;
    std::uint16_t currentReputation = 0;
    std::uint16_t worldReputation = 0;
    // position and side ratings
    std::uint8_t goalkeeper = 0;
    std::uint8_t sweeper = 0;
    std::uint8_t defender = 0;
    std::uint8_t defensiveMidfielder = 0;
    std::uint8_t midfielder = 0;
    std::uint8_t attackingMidfielder = 0;
    std::uint8_t attacker = 0;
    std::uint8_t wingBack = 0;
    std::uint8_t rightSide = 0;
    std::uint8_t leftSide = 0;
    std::uint8_t centre = 0;
    std::uint8_t freeRole = 0;
    // the 42 player attributes
    std::uint8_t acceleration = 0;
    std::uint8_t aggression = 0;
    std::uint8_t agility = 0;
    std::uint8_t anticipation = 0;
    std::uint8_t balance = 0;
    std::uint8_t bravery = 0;
    std::uint8_t consistency = 0;
    std::uint8_t corners = 0;
    std::uint8_t crossing = 0;
    std::uint8_t decisions = 0;
    std::uint8_t dirtiness = 0;
    std::uint8_t dribbling = 0;
    std::uint8_t finishing = 0;
    std::uint8_t flair = 0;
    std::uint8_t freeKicks = 0;
    std::uint8_t handling = 0;
    std::uint8_t heading = 0;
    std::uint8_t importantMatches = 0;
    std::uint8_t injuryProneness = 0;
    std::uint8_t jumping = 0;
    std::uint8_t leadership = 0;
    std::uint8_t leftFoot = 0;
    std::uint8_t longShots = 0;
    std::uint8_t marking = 0;
    std::uint8_t movement = 0;
    std::uint8_t naturalFitness = 0;
    std::uint8_t oneOnOnes = 0;
    std::uint8_t pace = 0;
    std::uint8_t passing = 0;
    std::uint8_t penalties = 0;
    std::uint8_t positioning = 0;
    std::uint8_t reflexes = 0;
    std::uint8_t rightFoot = 0;
    std::uint8_t stamina = 0;
    std::uint8_t strength = 0;
    std::uint8_t tackling = 0;
    std::uint8_t teamwork = 0;
    std::uint8_t technique = 0;
    std::uint8_t throwIns = 0;
    std::uint8_t versatility = 0;
    std::uint8_t vision = 0;
    std::uint8_t workRate = 0;
};

} // namespace rostradb
