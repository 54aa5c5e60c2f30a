#pragma once
// A small, complete game installation built byte by byte: index.dat and the
// six data files, every byte given a position-dependent value so that no
// field can be right by accident. Lookup records carry readable names
// ("Nation0", "First1", ...); staff record k holds staffId k and the name
// positions k mod the name tables' sizes, everything else is pattern.
//
// The staff file holds its three tables with gaps between and after them,
// and the entries of tables read from byte 0 carry junk offsets, so a loader
// or writer that finds a table anywhere but where the directory says fails.

#include "support/byte_builder.h"
#include "support/index_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace rostradb::test {

struct GameShape {
    // record counts (each table's last index is one less)
    std::uint32_t nations = 2;
    std::uint32_t firstNames = 3;
    std::uint32_t secondNames = 2;
    std::uint32_t commonNames = 2;
    std::uint32_t staff = 3;
    std::uint32_t nonPlayers = 2;
    std::uint32_t players = 2;
    std::uint32_t clubs = 2;
    // staff.dat: bytes after the staff table, between the other two, at the end
    std::size_t gapAfterStaff = 13;
    std::size_t gapBetweenTables = 7;
    std::size_t trailingBytes = 11;
    // put the player table before the non-player table
    bool playersFirst = false;
};

class SyntheticGame {
public:
    static constexpr std::size_t kNationBytes = 290;
    static constexpr std::size_t kNameBytes = 60;
    static constexpr std::size_t kClubBytes = 581;
    static constexpr std::size_t kStaffBytes = 157;
    static constexpr std::size_t kNonPlayerBytes = 68;
    static constexpr std::size_t kPlayerBytes = 70;

    // Directory positions of the tables.
    static constexpr std::size_t kClubEntry = 0, kNationEntry = 4, kStaffEntry = 7, kNonPlayerEntry = 9,
                                 kPlayerEntry = 10, kFirstNameEntry = 15, kSecondNameEntry = 16,
                                 kCommonNameEntry = 17;

    explicit SyntheticGame(GameShape shape = {}) : shape_(shape)
    {
        index.raw().pattern(0, IndexFileBuilder::kFileBytes, 1);
        setCount(kNationEntry, shape.nations);
        setCount(kFirstNameEntry, shape.firstNames);
        setCount(kSecondNameEntry, shape.secondNames);
        setCount(kCommonNameEntry, shape.commonNames);
        setCount(kStaffEntry, shape.staff);
        setCount(kNonPlayerEntry, shape.nonPlayers);
        setCount(kPlayerEntry, shape.players);
        setCount(kClubEntry, shape.clubs);

        fillLookup(nations, shape.nations, kNationBytes, 4, "Nation", 2);
        fillLookup(firstNames, shape.firstNames, kNameBytes, 0, "First", 3);
        fillLookup(secondNames, shape.secondNames, kNameBytes, 0, "Second", 4);
        fillLookup(commonNames, shape.commonNames, kNameBytes, 0, "Common", 5);
        fillLookup(clubs, shape.clubs, kClubBytes, 4, "Club", 6);

        const std::size_t staffEnd = shape.staff * kStaffBytes;
        const std::size_t nonPlayerBytes = shape.nonPlayers * kNonPlayerBytes;
        const std::size_t playerBytes = shape.players * kPlayerBytes;
        if (shape.playersFirst) {
            playerOffset_ = staffEnd + shape.gapAfterStaff;
            nonPlayerOffset_ = playerOffset_ + playerBytes + shape.gapBetweenTables;
        } else {
            nonPlayerOffset_ = staffEnd + shape.gapAfterStaff;
            playerOffset_ = nonPlayerOffset_ + nonPlayerBytes + shape.gapBetweenTables;
        }
        const std::size_t tablesEnd = std::max(nonPlayerOffset_ + nonPlayerBytes, playerOffset_ + playerBytes);
        staff.pattern(0, tablesEnd + shape.trailingBytes, 7);
        index.raw().u32(IndexFileBuilder::entryStart(kNonPlayerEntry) + IndexFileBuilder::kOffsetAt,
                        static_cast<std::uint32_t>(nonPlayerOffset_));
        index.raw().u32(IndexFileBuilder::entryStart(kPlayerEntry) + IndexFileBuilder::kOffsetAt,
                        static_cast<std::uint32_t>(playerOffset_));
        for (std::uint32_t k = 0; k < shape.staff; ++k) {
            staff.u32(staffAt(k), k);
            staff.u32(staffAt(k) + 4, k % shape.firstNames);
            staff.u32(staffAt(k) + 8, k % shape.secondNames);
        }
    }

    std::size_t staffAt(std::size_t k) const { return k * kStaffBytes; }
    std::size_t nonPlayerAt(std::size_t k) const { return nonPlayerOffset_ + k * kNonPlayerBytes; }
    std::size_t playerAt(std::size_t k) const { return playerOffset_ + k * kPlayerBytes; }
    const GameShape& shape() const { return shape_; }

    // Writes index.dat and the six data files into `dir`'s data folder.
    void writeTo(const GameDir& dir) const
    {
        dir.write("index.dat", index.bytes());
        dir.write("nation.dat", nations.bytes());
        dir.write("first_names.dat", firstNames.bytes());
        dir.write("second_names.dat", secondNames.bytes());
        dir.write("common_names.dat", commonNames.bytes());
        dir.write("staff.dat", staff.bytes());
        dir.write("club.dat", clubs.bytes());
    }

    IndexFileBuilder index;
    ByteBuilder nations;
    ByteBuilder firstNames;
    ByteBuilder secondNames;
    ByteBuilder commonNames;
    ByteBuilder staff;
    ByteBuilder clubs;

private:
    void setCount(std::size_t entry, std::uint32_t count)
    {
        index.raw().u32(IndexFileBuilder::entryStart(entry) + IndexFileBuilder::kLastIndexAt, count - 1);
    }

    static void fillLookup(ByteBuilder& file, std::uint32_t count, std::size_t recordBytes, std::size_t nameAt,
                           const std::string& stem, std::uint32_t seed)
    {
        file.pattern(0, count * recordBytes, seed);
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::string name = stem + std::to_string(k);
            file.text(k * recordBytes + nameAt, name).u8(k * recordBytes + nameAt + name.size(), 0);
        }
    }

    GameShape shape_;
    std::size_t nonPlayerOffset_ = 0;
    std::size_t playerOffset_ = 0;
};

} // namespace rostradb::test
