#pragma once
// Where each field of the staff file's records lies: one table per record
// type, walked by the loader (decode), the writer (encode) and, through the
// same accessors, by the editor. A field is named, placed at its byte offset
// and given its width; the bytes no field covers are the ones the editor does
// not keep (staff date tails, bytes 24..25, the player's byte 69).

#include "little_endian.h"
#include "records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace rostradb {

// Reads and writes one field of a record as raw bits: get() zero-extends the
// stored value, set() keeps the low `width` bytes of what it is given.
template <class Record>
struct FieldAccess {
    std::uint8_t width = 0; // in bytes: 1, 2 or 4
    std::uint32_t (*get)(const Record&) = nullptr;
    void (*set)(Record&, std::uint32_t) = nullptr;
    // The member is a signed integer: its bits read as two's complement when
    // shown as a number (staffId, the links, the preference sets).
    bool isSigned = false;
};

template <class Member>
struct MemberTraits;
template <class R, class T>
struct MemberTraits<T R::*> {
    using Record = R;
    using Type = T;
};

template <auto Member>
constexpr auto fieldAccess()
{
    using Record = typename MemberTraits<decltype(Member)>::Record;
    using Type = typename MemberTraits<decltype(Member)>::Type;
    static_assert(sizeof(Type) == 1 || sizeof(Type) == 2 || sizeof(Type) == 4);
    return FieldAccess<Record>{
        sizeof(Type),
        [](const Record& r) { return static_cast<std::uint32_t>(r.*Member); },
        [](Record& r, std::uint32_t bits) { r.*Member = static_cast<Type>(bits); },
        std::is_signed_v<Type>,
    };
}

// One element of an array member, such as preferenceSet1[2].
template <auto Member, std::size_t Index>
constexpr auto elementAccess()
{
    using Record = typename MemberTraits<decltype(Member)>::Record;
    using Element = typename MemberTraits<decltype(Member)>::Type::value_type;
    return FieldAccess<Record>{
        sizeof(Element),
        [](const Record& r) { return static_cast<std::uint32_t>((r.*Member)[Index]); },
        [](Record& r, std::uint32_t bits) { (r.*Member)[Index] = static_cast<Element>(bits); },
        std::is_signed_v<Element>,
    };
}

template <class Record>
struct Field {
    const char* name;
    std::uint16_t offset;
    FieldAccess<Record> access;
    bool saved = true; // false: loaded and kept, but the file's bytes are never rewritten
};

#define ROSTRADB_FIELD(R, member, offset) ::rostradb::Field<R>{#member, offset, ::rostradb::fieldAccess<&R::member>()}
#define ROSTRADB_ELEMENT(R, member, index, offset) \
    ::rostradb::Field<R>{#member "[" #index "]", offset, ::rostradb::elementAccess<&R::member, index>()}

// staff.dat, first table: 157-byte records.
inline constexpr std::array kStaffLayout{
    ROSTRADB_FIELD(StaffRecord, staffId, 0),
    ROSTRADB_FIELD(StaffRecord, firstName, 4),
    ROSTRADB_FIELD(StaffRecord, secondName, 8),
    ROSTRADB_FIELD(StaffRecord, commonName, 12),
    ROSTRADB_FIELD(StaffRecord, birthDay, 16),
    ROSTRADB_FIELD(StaffRecord, birthYear, 18),
    // 20..23 birth date tail, 24..25 two bytes without a field
    ROSTRADB_FIELD(StaffRecord, nation, 26),
    ROSTRADB_FIELD(StaffRecord, secondNation, 30),
    ROSTRADB_FIELD(StaffRecord, internationalCaps, 34),
    ROSTRADB_FIELD(StaffRecord, internationalGoals, 35),
    ROSTRADB_FIELD(StaffRecord, nationContracted, 36),
    ROSTRADB_FIELD(StaffRecord, jobForNation, 40),
    ROSTRADB_FIELD(StaffRecord, nationDate1Day, 41),
    ROSTRADB_FIELD(StaffRecord, nationDate1Year, 43),
    // 45..48 date tail
    ROSTRADB_FIELD(StaffRecord, nationDate2Day, 49),
    ROSTRADB_FIELD(StaffRecord, nationDate2Year, 51),
    // 53..56 date tail
    ROSTRADB_FIELD(StaffRecord, clubContracted, 57),
    ROSTRADB_FIELD(StaffRecord, jobForClub, 61),
    ROSTRADB_FIELD(StaffRecord, joinedDay, 62),
    ROSTRADB_FIELD(StaffRecord, joinedYear, 64),
    // 66..69 date tail
    ROSTRADB_FIELD(StaffRecord, contractDay, 70),
    ROSTRADB_FIELD(StaffRecord, contractYear, 72),
    // 74..77 date tail
    ROSTRADB_FIELD(StaffRecord, wages, 78),
    ROSTRADB_FIELD(StaffRecord, value, 82),
    ROSTRADB_FIELD(StaffRecord, adaptability, 86),
    ROSTRADB_FIELD(StaffRecord, ambition, 87),
    ROSTRADB_FIELD(StaffRecord, determination, 88),
    ROSTRADB_FIELD(StaffRecord, loyalty, 89),
    ROSTRADB_FIELD(StaffRecord, pressure, 90),
    ROSTRADB_FIELD(StaffRecord, professionalism, 91),
    ROSTRADB_FIELD(StaffRecord, sportsmanship, 92),
    ROSTRADB_FIELD(StaffRecord, temperament, 93),
    ROSTRADB_FIELD(StaffRecord, squad, 94),
    ROSTRADB_FIELD(StaffRecord, classification, 95),
    ROSTRADB_FIELD(StaffRecord, extraByte, 96),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet1, 0, 97),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet1, 1, 101),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet1, 2, 105),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet2, 0, 109),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet2, 1, 113),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet2, 2, 117),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet3, 0, 121),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet3, 1, 125),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet3, 2, 129),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet4, 0, 133),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet4, 1, 137),
    ROSTRADB_ELEMENT(StaffRecord, preferenceSet4, 2, 141),
    // The links to the other two tables are kept in memory but never written
    // back: the file keeps its own bytes at 145..156.
    Field<StaffRecord>{"playerId", 145, fieldAccess<&StaffRecord::playerId>(), false},
    Field<StaffRecord>{"extraIndex", 149, fieldAccess<&StaffRecord::extraIndex>(), false},
    Field<StaffRecord>{"nonPlayerId", 153, fieldAccess<&StaffRecord::nonPlayerId>(), false},
};

// staff.dat, second table: 68-byte records, every byte kept.
inline constexpr std::array kNonPlayerLayout{
    ROSTRADB_FIELD(NonPlayerRecord, recordId, 0),
    ROSTRADB_FIELD(NonPlayerRecord, currentAbility, 4),
    ROSTRADB_FIELD(NonPlayerRecord, potentialAbility, 6),
    ROSTRADB_FIELD(NonPlayerRecord, homeReputation, 8),
    ROSTRADB_FIELD(NonPlayerRecord, currentReputation, 10),
    ROSTRADB_FIELD(NonPlayerRecord, worldReputation, 12),
    ROSTRADB_FIELD(NonPlayerRecord, attacking, 14),
    ROSTRADB_FIELD(NonPlayerRecord, business, 15),
    ROSTRADB_FIELD(NonPlayerRecord, coaching, 16),
    ROSTRADB_FIELD(NonPlayerRecord, coachingGoalkeepers, 17),
    ROSTRADB_FIELD(NonPlayerRecord, coachingTechnique, 18),
    ROSTRADB_FIELD(NonPlayerRecord, directness, 19),
    ROSTRADB_FIELD(NonPlayerRecord, discipline, 20),
    ROSTRADB_FIELD(NonPlayerRecord, freeRoles, 21),
    ROSTRADB_FIELD(NonPlayerRecord, interference, 22),
    ROSTRADB_FIELD(NonPlayerRecord, judgement, 23),
    ROSTRADB_FIELD(NonPlayerRecord, judgingPotential, 24),
    ROSTRADB_FIELD(NonPlayerRecord, manHandling, 25),
    ROSTRADB_FIELD(NonPlayerRecord, marking, 26),
    ROSTRADB_FIELD(NonPlayerRecord, motivating, 27),
    ROSTRADB_FIELD(NonPlayerRecord, offside, 28),
    ROSTRADB_FIELD(NonPlayerRecord, pati, 29),
    ROSTRADB_FIELD(NonPlayerRecord, phys, 30),
    ROSTRADB_FIELD(NonPlayerRecord, prss, 31),
    ROSTRADB_FIELD(NonPlayerRecord, reso, 32),
    ROSTRADB_FIELD(NonPlayerRecord, tact, 33),
    ROSTRADB_FIELD(NonPlayerRecord, youn, 34),
    // eight 32-bit values from the odd byte 35, right after the attributes
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 0, 35),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 1, 39),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 2, 43),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 3, 47),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 4, 51),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 5, 55),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 6, 59),
    ROSTRADB_ELEMENT(NonPlayerRecord, extraValues, 7, 63),
    ROSTRADB_FIELD(NonPlayerRecord, trailingByte, 67),
};

// staff.dat, third table: 70-byte records of which bytes 0..68 are kept.
inline constexpr std::array kPlayerLayout{
    ROSTRADB_FIELD(PlayerRecord, recordId, 0),
    ROSTRADB_FIELD(PlayerRecord, squadNumber, 4),
    ROSTRADB_FIELD(PlayerRecord, currentAbility, 5),
    ROSTRADB_FIELD(PlayerRecord, potentialAbility, 7),
    ROSTRADB_FIELD(PlayerRecord, homeReputation, 9),
    ROSTRADB_FIELD(PlayerRecord, currentReputation, 11),
    ROSTRADB_FIELD(PlayerRecord, worldReputation, 13),
    ROSTRADB_FIELD(PlayerRecord, goalkeeper, 15),
    ROSTRADB_FIELD(PlayerRecord, sweeper, 16),
    ROSTRADB_FIELD(PlayerRecord, defender, 17),
    ROSTRADB_FIELD(PlayerRecord, defensiveMidfielder, 18),
    ROSTRADB_FIELD(PlayerRecord, midfielder, 19),
    ROSTRADB_FIELD(PlayerRecord, attackingMidfielder, 20),
    ROSTRADB_FIELD(PlayerRecord, attacker, 21),
    ROSTRADB_FIELD(PlayerRecord, wingBack, 22),
    ROSTRADB_FIELD(PlayerRecord, rightSide, 23),
    ROSTRADB_FIELD(PlayerRecord, leftSide, 24),
    ROSTRADB_FIELD(PlayerRecord, centre, 25),
    ROSTRADB_FIELD(PlayerRecord, freeRole, 26),
    ROSTRADB_FIELD(PlayerRecord, acceleration, 27),
    ROSTRADB_FIELD(PlayerRecord, aggression, 28),
    ROSTRADB_FIELD(PlayerRecord, agility, 29),
    ROSTRADB_FIELD(PlayerRecord, anticipation, 30),
    ROSTRADB_FIELD(PlayerRecord, balance, 31),
    ROSTRADB_FIELD(PlayerRecord, bravery, 32),
    ROSTRADB_FIELD(PlayerRecord, consistency, 33),
    ROSTRADB_FIELD(PlayerRecord, corners, 34),
    ROSTRADB_FIELD(PlayerRecord, crossing, 35),
    ROSTRADB_FIELD(PlayerRecord, decisions, 36),
    ROSTRADB_FIELD(PlayerRecord, dirtiness, 37),
    ROSTRADB_FIELD(PlayerRecord, dribbling, 38),
    ROSTRADB_FIELD(PlayerRecord, finishing, 39),
    ROSTRADB_FIELD(PlayerRecord, flair, 40),
    ROSTRADB_FIELD(PlayerRecord, freeKicks, 41),
    ROSTRADB_FIELD(PlayerRecord, handling, 42),
    ROSTRADB_FIELD(PlayerRecord, heading, 43),
    ROSTRADB_FIELD(PlayerRecord, importantMatches, 44),
    ROSTRADB_FIELD(PlayerRecord, injuryProneness, 45),
    ROSTRADB_FIELD(PlayerRecord, jumping, 46),
    ROSTRADB_FIELD(PlayerRecord, leadership, 47),
    ROSTRADB_FIELD(PlayerRecord, leftFoot, 48),
    ROSTRADB_FIELD(PlayerRecord, longShots, 49),
    ROSTRADB_FIELD(PlayerRecord, marking, 50),
    ROSTRADB_FIELD(PlayerRecord, movement, 51),
    ROSTRADB_FIELD(PlayerRecord, naturalFitness, 52),
    ROSTRADB_FIELD(PlayerRecord, oneOnOnes, 53),
    ROSTRADB_FIELD(PlayerRecord, pace, 54),
    ROSTRADB_FIELD(PlayerRecord, passing, 55),
    ROSTRADB_FIELD(PlayerRecord, penalties, 56),
    ROSTRADB_FIELD(PlayerRecord, positioning, 57),
    ROSTRADB_FIELD(PlayerRecord, reflexes, 58),
    ROSTRADB_FIELD(PlayerRecord, rightFoot, 59),
    ROSTRADB_FIELD(PlayerRecord, stamina, 60),
    ROSTRADB_FIELD(PlayerRecord, strength, 61),
    ROSTRADB_FIELD(PlayerRecord, tackling, 62),
    ROSTRADB_FIELD(PlayerRecord, teamwork, 63),
    ROSTRADB_FIELD(PlayerRecord, technique, 64),
    ROSTRADB_FIELD(PlayerRecord, throwIns, 65),
    ROSTRADB_FIELD(PlayerRecord, versatility, 66),
    ROSTRADB_FIELD(PlayerRecord, vision, 67),
    ROSTRADB_FIELD(PlayerRecord, workRate, 68),
};

#undef ROSTRADB_FIELD
#undef ROSTRADB_ELEMENT

// How many bytes of a record the layout covers, and whether any two fields
// overlap or run past the record: checked at compile time below.
template <class Layout>
constexpr std::size_t coveredBytes(const Layout& layout, std::size_t recordBytes)
{
    std::array<bool, 256> used{};
    std::size_t covered = 0;
    for (const auto& f : layout) {
        for (std::size_t i = f.offset; i < std::size_t{f.offset} + f.access.width; ++i) {
            if (i >= recordBytes || used[i])
                return 0;
            used[i] = true;
            ++covered;
        }
    }
    return covered;
}

// Which bytes of a file record the writer puts fields into.
template <const auto& Layout, std::size_t RecordBytes>
constexpr std::array<bool, RecordBytes> savedBytes()
{
    std::array<bool, RecordBytes> saved{};
    for (const auto& f : Layout)
        if (f.saved)
            for (std::size_t i = f.offset; i < std::size_t{f.offset} + f.access.width; ++i)
                saved[i] = true;
    return saved;
}

static_assert(coveredBytes(kStaffLayout, StaffRecord::kFileBytes) == 135);
static_assert(coveredBytes(kNonPlayerLayout, NonPlayerRecord::kFileBytes) == 68);
static_assert(coveredBytes(kPlayerLayout, PlayerRecord::kFileBytes) == 69);

template <class Record>
inline void decodeField(const Field<Record>& f, const std::uint8_t* fileRecord, Record& record)
{
    f.access.set(record, le::load(fileRecord + f.offset, f.access.width));
}

// Writes a saved field into a file record; bytes no saved field covers are
// left exactly as the caller read them from the file.
template <class Record>
inline void encodeField(const Field<Record>& f, const Record& record, std::uint8_t* fileRecord)
{
    if (f.saved)
        le::store(fileRecord + f.offset, f.access.width, f.access.get(record));
}

template <class Record, std::size_t N>
void decodeFields(const std::array<Field<Record>, N>& layout, const std::uint8_t* fileRecord, Record& record)
{
    for (const auto& f : layout)
        decodeField(f, fileRecord, record);
}

template <class Record, std::size_t N>
void encodeFields(const std::array<Field<Record>, N>& layout, const Record& record, std::uint8_t* fileRecord)
{
    for (const auto& f : layout)
        encodeField(f, record, fileRecord);
}

// The same walks with the layout known at compile time, as the loader and the
// writer use them: every offset, width and accessor is a constant of the
// instantiation (not merely of the table), so each record becomes a run of
// plain loads and stores with no call through a pointer (some 200,000
// records pass through here on a full load).
template <const auto& Layout, std::size_t I, class Record>
inline void decodeFieldAt(const std::uint8_t* fileRecord, Record& record)
{
    constexpr auto f = Layout[I];
    constexpr auto set = f.access.set;
    set(record, le::loadFixed<f.access.width>(fileRecord + f.offset));
}

template <const auto& Layout, std::size_t I, class Record>
inline void encodeFieldAt(const Record& record, std::uint8_t* fileRecord)
{
    constexpr auto f = Layout[I];
    constexpr auto get = f.access.get;
    if constexpr (f.saved)
        le::storeFixed<f.access.width>(fileRecord + f.offset, get(record));
}

template <const auto& Layout, class Record>
void decodeRecord(const std::uint8_t* fileRecord, Record& record)
{
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (decodeFieldAt<Layout, I>(fileRecord, record), ...);
    }(std::make_index_sequence<Layout.size()>{});
}

template <const auto& Layout, class Record>
void encodeRecord(const Record& record, std::uint8_t* fileRecord)
{
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (encodeFieldAt<Layout, I>(record, fileRecord), ...);
    }(std::make_index_sequence<Layout.size()>{});
}

} // namespace rostradb
