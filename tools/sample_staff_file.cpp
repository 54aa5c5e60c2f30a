#include "sample_staff_file.h"

#include "record_bytes.h"
#include "sample_cast.h"
#include "sample_random.h"

#include <array>
#include <span>

namespace rostradb::sample {
namespace {

constexpr std::uint64_t kStaffStream = 7;

// Marks a name or nation field that points nowhere: the none marker the editor
// stores, and the all-ones value found in game files.
constexpr std::uint32_t kNoneMarker = 0xFEFFFFFF;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFF;

// Job codes (JOB_PLAYER and the jobs a playing person may combine with it).
constexpr std::uint8_t kNoJob = 0;
constexpr std::uint8_t kJobPlayer = 11;
constexpr std::array<std::uint8_t, 4> kPlayingStaffJobs = {12, 13, 14, 15};
constexpr std::array<std::uint8_t, 14> kStaffJobs = {1, 2, 3, 4, 5, 6, 7, 8, 8, 8, 9, 9, 10, 16};
constexpr std::array<std::uint8_t, 3> kNationStaffJobs = {5, 6, 8};
constexpr std::uint8_t kSeniorSquad = 1;
constexpr std::uint8_t kReserveSquad = 2;
constexpr std::array<std::uint8_t, 2> kNationSquads = {4, 8};

// The season the sample world is set in; dates are chosen around it.
constexpr std::uint32_t kSeason = 2001;

// Context shared by every record of one build.
struct Builder {
    const SampleCounts& counts;
    SampleRandom& r;
    bool oddities;

    // A position in a table of `size` records, or now and then (large worlds
    // only) one of the values that point outside it.
    std::uint32_t position(std::uint32_t size)
    {
        if (oddities && r.oneIn(400)) {
            const std::array<std::uint32_t, 3> outside = {kNoneMarker, kAllOnes, size};
            return r.pick(outside);
        }
        return r.below(size);
    }

    // Usually a position, otherwise "nobody/nothing".
    std::uint32_t optionalPosition(std::uint32_t size, std::uint32_t percentSet)
    {
        if (r.percent(percentSet))
            return position(size);
        return r.oneIn(10) ? kNoneMarker : kAllOnes;
    }

    std::uint8_t job(std::uint8_t usual)
    {
        if (oddities && r.oneIn(700))
            return static_cast<std::uint8_t>(r.between(17, 255));
        return usual;
    }

    std::uint32_t money(std::uint32_t amount)
    {
        if (oddities && r.oneIn(800))
            return amount | 0x80000000u;
        return amount;
    }

    // A day number and a year; the 4-byte tail after them stays random.
    void date(RecordBytes rec, std::size_t at, std::uint32_t firstYear, std::uint32_t lastYear)
    {
        rec.u16(at, r.between(1, 365));
        rec.u16(at + 2, r.between(firstYear, lastYear));
    }

    void staffRecord(RecordBytes rec, std::uint32_t k, const Role& role);
    void nonPlayerRecord(RecordBytes rec, std::uint32_t k);
    void playerRecord(RecordBytes rec, std::uint32_t k);
};

void Builder::staffRecord(RecordBytes rec, std::uint32_t k, const Role& role)
{
    // Bytes 20..25 (birth date tail and two bytes without a field) and the
    // other date tails are left as the random fill made them.
    rec.i32(0, static_cast<std::int32_t>(k));
    rec.u32(4, position(counts.firstNames));
    rec.u32(8, position(counts.secondNames));
    rec.u32(12, optionalPosition(counts.commonNames, 25));
    if (role.classification == kYouthPlayer)
        date(rec, 16, kSeason - 18, kSeason - 15);
    else if (role.plays)
        date(rec, 16, kSeason - 36, kSeason - 17);
    else
        date(rec, 16, kSeason - 75, kSeason - 28);

    rec.u32(26, position(counts.nations));
    rec.u32(30, optionalPosition(counts.nations, 15));

    const bool forNation = r.percent(role.plays ? 8 : 2);
    std::uint32_t caps = 0;
    std::uint32_t goals = 0;
    if (role.plays && (forNation || r.percent(10))) {
        caps = r.between(1, 120);
        goals = r.below(caps / 2 + 1);
    }
    rec.u8(34, caps);
    rec.u8(35, goals);
    rec.u32(36, forNation ? position(counts.nations) : kAllOnes);
    rec.u8(40, forNation ? job(role.plays ? kJobPlayer : r.pick(kNationStaffJobs)) : kNoJob);
    if (forNation) {
        date(rec, 41, kSeason - 10, kSeason);
        date(rec, 49, kSeason, kSeason + 4);
    } else {
        rec.u16(41, 0);
        rec.u16(43, 0);
        rec.u16(49, 0);
        rec.u16(51, 0);
    }

    const bool atClub = role.plays || role.manages ? r.percent(90) : r.percent(30);
    rec.u32(57, atClub ? position(counts.clubs) : kAllOnes);
    std::uint8_t clubJob = kNoJob;
    if (atClub) {
        if (role.plays && role.manages)
            clubJob = r.pick(kPlayingStaffJobs);
        else if (role.plays)
            clubJob = kJobPlayer;
        else if (role.manages)
            clubJob = r.pick(kStaffJobs);
    }
    rec.u8(61, job(clubJob));
    date(rec, 62, kSeason - 12, kSeason);
    date(rec, 70, kSeason, kSeason + 5);

    const std::uint32_t wages = role.plays ? r.between(2, 600) * 100 : r.between(1, 150) * 100;
    const std::uint32_t value = role.plays ? r.between(0, 3000) * 5000 : 0;
    rec.u32(78, money(wages));
    rec.u32(82, money(value));
    for (std::size_t i = 0; i < 8; ++i) // adaptability .. temperament
        rec.u8(86 + i, r.between(1, 20));

    std::uint8_t squad = 0;
    if (role.plays && atClub)
        squad = r.percent(70) ? kSeniorSquad : kReserveSquad;
    if (role.plays && forNation && r.percent(50))
        squad = r.pick(kNationSquads);
    if (oddities && r.oneIn(900))
        squad = 3;
    rec.u8(94, squad);
    rec.u8(95, role.classification);
    // Byte 96 (extraByte) stays random.

    // Four preference sets of three values: mostly empty.
    for (std::size_t i = 0; i < 12; ++i)
        rec.i32(97 + 4 * i, r.percent(60) ? -1 : static_cast<std::int32_t>(r.below(counts.staff)));
    rec.i32(145, role.playerId);
    rec.i32(149, r.percent(70) ? -1 : static_cast<std::int32_t>(r.below(counts.staff)));
    rec.i32(153, role.nonPlayerId);
}

void Builder::nonPlayerRecord(RecordBytes rec, std::uint32_t k)
{
    rec.i32(0, static_cast<std::int32_t>(k));
    const std::uint32_t current = r.between(1, 200);
    rec.u16(4, current);
    rec.u16(6, r.between(current, 200));
    for (std::size_t i = 0; i < 3; ++i) // home, current and world reputation
        rec.u16(8 + 2 * i, r.between(1, 10000));
    for (std::size_t i = 0; i < 21; ++i)
        rec.u8(14 + i, r.between(1, 20));
    // The eight extra values at 35 and the trailing byte at 67 are kept by
    // the editor but mean nothing to it; half of the values are -1.
    for (std::size_t i = 0; i < 8; ++i) {
        if (r.percent(50))
            rec.i32(35 + 4 * i, -1);
    }
}

void Builder::playerRecord(RecordBytes rec, std::uint32_t k)
{
    rec.i32(0, static_cast<std::int32_t>(k));
    rec.u8(4, r.percent(20) ? 0 : r.between(1, 45));
    const std::uint32_t current = r.between(1, 200);
    rec.u16(5, current);
    rec.u16(7, r.between(current, 200));
    for (std::size_t i = 0; i < 3; ++i)
        rec.u16(9 + 2 * i, r.between(1, 10000));

    // Position and side ratings: goalkeepers are keepers only, outfield
    // players are good in one position and mixed elsewhere.
    const bool keeper = r.percent(10);
    rec.u8(15, keeper ? 20 : 1);
    for (std::size_t i = 1; i < 12; ++i)
        rec.u8(15 + i, keeper ? r.between(1, 3) : r.between(1, 20));
    if (!keeper)
        rec.u8(16 + r.below(6), 20); // one of sweeper .. attacker
    for (std::size_t i = 0; i < 42; ++i)
        rec.u8(27 + i, r.between(1, 20));
    // Byte 69 has no field; it stays random.
}

} // namespace

StaffFile buildStaffFile(const SampleCounts& counts, std::uint64_t seed)
{
    SampleRandom random(seed, kStaffStream);
    const std::vector<Role> roles = castRoles(counts, random);

    const std::size_t staffBytes = counts.staff * kStaffRecordBytes;
    const std::uint32_t gapBeforeNonPlayers = random.between(1, 300);
    const std::uint32_t gapBeforePlayers = random.between(1, 300);
    const std::uint32_t trailing = random.between(1, 300);

    StaffFile file;
    file.nonPlayerOffset = static_cast<std::uint32_t>(staffBytes + gapBeforeNonPlayers);
    file.playerOffset =
        static_cast<std::uint32_t>(file.nonPlayerOffset + counts.nonPlayers * kNonPlayerRecordBytes + gapBeforePlayers);
    file.bytes.resize(file.playerOffset + counts.players * kPlayerRecordBytes + trailing);
    random.fill(file.bytes);

    Builder builder{counts, random, counts.staff >= kOdditiesFromStaff};
    std::uint8_t* const first = file.bytes.data();
    for (std::uint32_t k = 0; k < counts.staff; ++k)
        builder.staffRecord(RecordBytes(first + k * kStaffRecordBytes), k, roles[k]);
    for (std::uint32_t k = 0; k < counts.nonPlayers; ++k)
        builder.nonPlayerRecord(RecordBytes(first + file.nonPlayerOffset + k * kNonPlayerRecordBytes), k);
    for (std::uint32_t k = 0; k < counts.players; ++k)
        builder.playerRecord(RecordBytes(first + file.playerOffset + k * kPlayerRecordBytes), k);
    return file;
}

} // namespace rostradb::sample
