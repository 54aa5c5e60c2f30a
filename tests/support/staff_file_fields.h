#pragma once
// Where the kept fields of staff.dat's three record kinds lie in the file,
// written out here a second time, independently of db/record_layout.h, so
// that the tests compare the program against the file format and not
// against itself. Each entry gives the field's offset in its record, its
// width in the file and how to read and write it in the in-memory record.

#include "db/records.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace rostradb::test {

template <class Record>
struct FileField {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::uint32_t (*get)(const Record&);
    void (*set)(Record&, std::uint32_t);
};

// Whether byte `offset` of a record lies inside one of `fields`.
template <class Record>
bool isKeptByte(const std::vector<FileField<Record>>& fields, std::size_t offset)
{
    for (const auto& f : fields)
        if (offset >= f.offset && offset < f.offset + f.width)
            return true;
    return false;
}

#define ROSTRADB_TEST_FIELD(R, member, offset, width)                                                   \
    FileField<R>                                                                                         \
    {                                                                                                    \
        #member, offset, width, [](const R& r) { return static_cast<std::uint32_t>(r.member); },        \
            [](R& r, std::uint32_t v) { r.member = static_cast<std::remove_reference_t<decltype(r.member)>>(v); } \
    }

// 157-byte general record. Not kept: 20..25 (birth date tail and two bytes
// without a field), and the date tails 45..48, 53..56, 66..69, 74..77.
inline const std::vector<FileField<StaffRecord>>& staffFileFields()
{
    using R = StaffRecord;
    static const std::vector<FileField<R>> fields{
        ROSTRADB_TEST_FIELD(R, staffId, 0, 4),
        ROSTRADB_TEST_FIELD(R, firstName, 4, 4),
        ROSTRADB_TEST_FIELD(R, secondName, 8, 4),
        ROSTRADB_TEST_FIELD(R, commonName, 12, 4),
        ROSTRADB_TEST_FIELD(R, birthDay, 16, 2),
        ROSTRADB_TEST_FIELD(R, birthYear, 18, 2),
        ROSTRADB_TEST_FIELD(R, nation, 26, 4),
        ROSTRADB_TEST_FIELD(R, secondNation, 30, 4),
        ROSTRADB_TEST_FIELD(R, internationalCaps, 34, 1),
        ROSTRADB_TEST_FIELD(R, internationalGoals, 35, 1),
        ROSTRADB_TEST_FIELD(R, nationContracted, 36, 4),
        ROSTRADB_TEST_FIELD(R, jobForNation, 40, 1),
        ROSTRADB_TEST_FIELD(R, nationDate1Day, 41, 2),
        ROSTRADB_TEST_FIELD(R, nationDate1Year, 43, 2),
        ROSTRADB_TEST_FIELD(R, nationDate2Day, 49, 2),
        ROSTRADB_TEST_FIELD(R, nationDate2Year, 51, 2),
        ROSTRADB_TEST_FIELD(R, clubContracted, 57, 4),
        ROSTRADB_TEST_FIELD(R, jobForClub, 61, 1),
        ROSTRADB_TEST_FIELD(R, joinedDay, 62, 2),
        ROSTRADB_TEST_FIELD(R, joinedYear, 64, 2),
        ROSTRADB_TEST_FIELD(R, contractDay, 70, 2),
        ROSTRADB_TEST_FIELD(R, contractYear, 72, 2),
        ROSTRADB_TEST_FIELD(R, wages, 78, 4),
        ROSTRADB_TEST_FIELD(R, value, 82, 4),
        ROSTRADB_TEST_FIELD(R, adaptability, 86, 1),
        ROSTRADB_TEST_FIELD(R, ambition, 87, 1),
        ROSTRADB_TEST_FIELD(R, determination, 88, 1),
        ROSTRADB_TEST_FIELD(R, loyalty, 89, 1),
        ROSTRADB_TEST_FIELD(R, pressure, 90, 1),
        ROSTRADB_TEST_FIELD(R, professionalism, 91, 1),
        ROSTRADB_TEST_FIELD(R, sportsmanship, 92, 1),
        ROSTRADB_TEST_FIELD(R, temperament, 93, 1),
        ROSTRADB_TEST_FIELD(R, squad, 94, 1),
        ROSTRADB_TEST_FIELD(R, classification, 95, 1),
        ROSTRADB_TEST_FIELD(R, extraByte, 96, 1),
        ROSTRADB_TEST_FIELD(R, preferenceSet1[0], 97, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet1[1], 101, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet1[2], 105, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet2[0], 109, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet2[1], 113, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet2[2], 117, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet3[0], 121, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet3[1], 125, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet3[2], 129, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet4[0], 133, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet4[1], 137, 4),
        ROSTRADB_TEST_FIELD(R, preferenceSet4[2], 141, 4),
        ROSTRADB_TEST_FIELD(R, playerId, 145, 4),
        ROSTRADB_TEST_FIELD(R, extraIndex, 149, 4),
        ROSTRADB_TEST_FIELD(R, nonPlayerId, 153, 4),
    };
    return fields;
}

// The staff fields that are read but never written back.
inline bool isLinkField(const FileField<StaffRecord>& f) { return f.offset >= 145; }

// 68-byte non-player record, every byte kept; the eight 32-bit values start
// at the odd byte 35.
inline const std::vector<FileField<NonPlayerRecord>>& nonPlayerFileFields()
{
    using R = NonPlayerRecord;
    static const std::vector<FileField<R>> fields{
        ROSTRADB_TEST_FIELD(R, recordId, 0, 4),
        ROSTRADB_TEST_FIELD(R, currentAbility, 4, 2),
        ROSTRADB_TEST_FIELD(R, potentialAbility, 6, 2),
        ROSTRADB_TEST_FIELD(R, homeReputation, 8, 2),
        ROSTRADB_TEST_FIELD(R, currentReputation, 10, 2),
        ROSTRADB_TEST_FIELD(R, worldReputation, 12, 2),
        ROSTRADB_TEST_FIELD(R, attacking, 14, 1),
        ROSTRADB_TEST_FIELD(R, business, 15, 1),
        ROSTRADB_TEST_FIELD(R, coaching, 16, 1),
        ROSTRADB_TEST_FIELD(R, coachingGoalkeepers, 17, 1),
        ROSTRADB_TEST_FIELD(R, coachingTechnique, 18, 1),
        ROSTRADB_TEST_FIELD(R, directness, 19, 1),
        ROSTRADB_TEST_FIELD(R, discipline, 20, 1),
        ROSTRADB_TEST_FIELD(R, freeRoles, 21, 1),
        ROSTRADB_TEST_FIELD(R, interference, 22, 1),
        ROSTRADB_TEST_FIELD(R, judgement, 23, 1),
        ROSTRADB_TEST_FIELD(R, judgingPotential, 24, 1),
        ROSTRADB_TEST_FIELD(R, manHandling, 25, 1),
        ROSTRADB_TEST_FIELD(R, marking, 26, 1),
        ROSTRADB_TEST_FIELD(R, motivating, 27, 1),
        ROSTRADB_TEST_FIELD(R, offside, 28, 1),
        ROSTRADB_TEST_FIELD(R, pati, 29, 1),
        ROSTRADB_TEST_FIELD(R, phys, 30, 1),
        ROSTRADB_TEST_FIELD(R, prss, 31, 1),
        ROSTRADB_TEST_FIELD(R, reso, 32, 1),
        ROSTRADB_TEST_FIELD(R, tact, 33, 1),
        ROSTRADB_TEST_FIELD(R, youn, 34, 1),
        ROSTRADB_TEST_FIELD(R, extraValues[0], 35, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[1], 39, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[2], 43, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[3], 47, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[4], 51, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[5], 55, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[6], 59, 4),
        ROSTRADB_TEST_FIELD(R, extraValues[7], 63, 4),
        ROSTRADB_TEST_FIELD(R, trailingByte, 67, 1),
    };
    return fields;
}

// 70-byte player record: bytes 0..68 kept, byte 69 not.
inline const std::vector<FileField<PlayerRecord>>& playerFileFields()
{
    using R = PlayerRecord;
    static const std::vector<FileField<R>> fields{
        ROSTRADB_TEST_FIELD(R, recordId, 0, 4),
        ROSTRADB_TEST_FIELD(R, squadNumber, 4, 1),
        ROSTRADB_TEST_FIELD(R, currentAbility, 5, 2),
        ROSTRADB_TEST_FIELD(R, potentialAbility, 7, 2),
        ROSTRADB_TEST_FIELD(R, homeReputation, 9, 2),
        ROSTRADB_TEST_FIELD(R, currentReputation, 11, 2),
        ROSTRADB_TEST_FIELD(R, worldReputation, 13, 2),
        ROSTRADB_TEST_FIELD(R, goalkeeper, 15, 1),
        ROSTRADB_TEST_FIELD(R, sweeper, 16, 1),
        ROSTRADB_TEST_FIELD(R, defender, 17, 1),
        ROSTRADB_TEST_FIELD(R, defensiveMidfielder, 18, 1),
        ROSTRADB_TEST_FIELD(R, midfielder, 19, 1),
        ROSTRADB_TEST_FIELD(R, attackingMidfielder, 20, 1),
        ROSTRADB_TEST_FIELD(R, attacker, 21, 1),
        ROSTRADB_TEST_FIELD(R, wingBack, 22, 1),
        ROSTRADB_TEST_FIELD(R, rightSide, 23, 1),
        ROSTRADB_TEST_FIELD(R, leftSide, 24, 1),
        ROSTRADB_TEST_FIELD(R, centre, 25, 1),
        ROSTRADB_TEST_FIELD(R, freeRole, 26, 1),
        ROSTRADB_TEST_FIELD(R, acceleration, 27, 1),
        ROSTRADB_TEST_FIELD(R, aggression, 28, 1),
        ROSTRADB_TEST_FIELD(R, agility, 29, 1),
        ROSTRADB_TEST_FIELD(R, anticipation, 30, 1),
        ROSTRADB_TEST_FIELD(R, balance, 31, 1),
        ROSTRADB_TEST_FIELD(R, bravery, 32, 1),
        ROSTRADB_TEST_FIELD(R, consistency, 33, 1),
        ROSTRADB_TEST_FIELD(R, corners, 34, 1),
        ROSTRADB_TEST_FIELD(R, crossing, 35, 1),
        ROSTRADB_TEST_FIELD(R, decisions, 36, 1),
        ROSTRADB_TEST_FIELD(R, dirtiness, 37, 1),
        ROSTRADB_TEST_FIELD(R, dribbling, 38, 1),
        ROSTRADB_TEST_FIELD(R, finishing, 39, 1),
        ROSTRADB_TEST_FIELD(R, flair, 40, 1),
        ROSTRADB_TEST_FIELD(R, freeKicks, 41, 1),
        ROSTRADB_TEST_FIELD(R, handling, 42, 1),
        ROSTRADB_TEST_FIELD(R, heading, 43, 1),
        ROSTRADB_TEST_FIELD(R, importantMatches, 44, 1),
        ROSTRADB_TEST_FIELD(R, injuryProneness, 45, 1),
        ROSTRADB_TEST_FIELD(R, jumping, 46, 1),
        ROSTRADB_TEST_FIELD(R, leadership, 47, 1),
        ROSTRADB_TEST_FIELD(R, leftFoot, 48, 1),
        ROSTRADB_TEST_FIELD(R, longShots, 49, 1),
        ROSTRADB_TEST_FIELD(R, marking, 50, 1),
        ROSTRADB_TEST_FIELD(R, movement, 51, 1),
        ROSTRADB_TEST_FIELD(R, naturalFitness, 52, 1),
        ROSTRADB_TEST_FIELD(R, oneOnOnes, 53, 1),
        ROSTRADB_TEST_FIELD(R, pace, 54, 1),
        ROSTRADB_TEST_FIELD(R, passing, 55, 1),
        ROSTRADB_TEST_FIELD(R, penalties, 56, 1),
        ROSTRADB_TEST_FIELD(R, positioning, 57, 1),
        ROSTRADB_TEST_FIELD(R, reflexes, 58, 1),
        ROSTRADB_TEST_FIELD(R, rightFoot, 59, 1),
        ROSTRADB_TEST_FIELD(R, stamina, 60, 1),
        ROSTRADB_TEST_FIELD(R, strength, 61, 1),
        ROSTRADB_TEST_FIELD(R, tackling, 62, 1),
        ROSTRADB_TEST_FIELD(R, teamwork, 63, 1),
        ROSTRADB_TEST_FIELD(R, technique, 64, 1),
        ROSTRADB_TEST_FIELD(R, throwIns, 65, 1),
        ROSTRADB_TEST_FIELD(R, versatility, 66, 1),
        ROSTRADB_TEST_FIELD(R, vision, 67, 1),
        ROSTRADB_TEST_FIELD(R, workRate, 68, 1),
    };
    return fields;
}

#undef ROSTRADB_TEST_FIELD

} // namespace rostradb::test
