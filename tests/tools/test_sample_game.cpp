// Checks the generated files against the game's format byte by byte, with
// readers of their own: sizes, the table directory, record numbering, the
// links between the staff tables, value ranges, and the odd values a large
// world must contain.

#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace rostradb {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::array<const char*, 7> kFileNames = {
    "index.dat", "nation.dat", "first_names.dat", "second_names.dat", "common_names.dat", "club.dat", "staff.dat",
};

std::uint32_t le(const Bytes& b, std::size_t at, std::size_t width)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= std::uint32_t{b.at(at + i)} << (8 * i);
    return v;
}
std::uint32_t u32(const Bytes& b, std::size_t at) { return le(b, at, 4); }
std::int32_t i32(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(le(b, at, 4)); }

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder per use, removed afterwards.
class ScratchDir {
public:
    ScratchDir()
    {
        // Random, so that two runs of this program at once do not collide.
        path_ = fs::temp_directory_path() / ("rostradb-sample-test-" + std::to_string(std::random_device{}()));
        fs::remove_all(path_);
    }
    ~ScratchDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::map<std::string, Bytes> generate(SampleSize size, std::uint64_t seed)
{
    ScratchDir dir;
    writeSampleGame(dir.path(), size, seed);
    std::map<std::string, Bytes> files;
    for (const char* name : kFileNames)
        files[name] = readFile(dir.path() / "data" / name);
    return files;
}

// One generated world per size, shared by the tests of that size.
struct World {
    SampleCounts counts;
    std::map<std::string, Bytes> files;
    const Bytes& staffFile() const { return files.at("staff.dat"); }
    std::uint32_t entryLastIndex(std::size_t i) const { return u32(files.at("index.dat"), 8 + 67 * i + 55); }
    std::uint32_t entryOffset(std::size_t i) const { return u32(files.at("index.dat"), 8 + 67 * i + 59); }
    std::size_t staff(std::uint32_t k) const { return k * 157; }
    std::size_t nonPlayer(std::uint32_t k) const { return entryOffset(9) + k * 68; }
    std::size_t player(std::uint32_t k) const { return entryOffset(10) + k * 70; }
};

const World& world(SampleSize size)
{
    static std::map<SampleSize, std::unique_ptr<World>> worlds;
    auto& w = worlds[size];
    if (!w)
        w = std::make_unique<World>(World{sampleCounts(size), generate(size, 42)});
    return *w;
}

std::string sizeName(const testing::TestParamInfo<SampleSize>& info)
{
    switch (info.param) {
    case SampleSize::Tiny: return "Tiny";
    case SampleSize::Small: return "Small";
    case SampleSize::Full: return "Full";
    }
    return "Unknown";
}

bool inRange(std::int32_t position, std::uint32_t size)
{
    return position >= 0 && static_cast<std::uint32_t>(position) < size;
}

TEST(SampleGameTest, SameSeedGivesSameBytesAndAnotherSeedChangesEveryFile)
{
    for (SampleSize size : {SampleSize::Tiny, SampleSize::Small}) {
        const auto first = generate(size, 7);
        const auto again = generate(size, 7);
        const auto other = generate(size, 8);
        for (const char* name : kFileNames) {
            SCOPED_TRACE(name);
            ASSERT_FALSE(first.at(name).empty());
            // Compared as booleans: a failure should not print megabytes.
            EXPECT_TRUE(first.at(name) == again.at(name)) << "seed 7 gave different bytes twice";
            EXPECT_TRUE(first.at(name) != other.at(name)) << "seeds 7 and 8 gave the same bytes";
        }
    }
}

TEST(SampleGameTest, ReplacesExistingFiles)
{
    ScratchDir dir;
    writeSampleGame(dir.path(), SampleSize::Small, 3);
    writeSampleGame(dir.path(), SampleSize::Tiny, 3);
    EXPECT_EQ(fs::file_size(dir.path() / "data" / "first_names.dat"), sampleCounts(SampleSize::Tiny).firstNames * 60u);
}

class SampleWorldTest : public testing::TestWithParam<SampleSize> {
protected:
    const World& w() const { return world(GetParam()); }
    bool large() const { return GetParam() != SampleSize::Tiny; }
};

TEST_P(SampleWorldTest, DirectoryGivesEveryUsedTableItsSizeAndOffset)
{
    const World& w = this->w();
    EXPECT_GT(w.files.at("index.dat").size(), 8u + 22 * 67) << "bytes after the last entry";

    const SampleCounts& c = w.counts;
    const std::array<std::pair<std::size_t, std::uint32_t>, 8> used = {{
        {0, c.clubs}, {4, c.nations}, {7, c.staff}, {9, c.nonPlayers},
        {10, c.players}, {15, c.firstNames}, {16, c.secondNames}, {17, c.commonNames},
    }};
    for (const auto& [entry, count] : used) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(w.entryLastIndex(entry), count - 1);
        EXPECT_LE(w.entryLastIndex(entry), 65535u) << "the editor counts records in 16 bits";
    }
    EXPECT_EQ(w.entryOffset(7), 0u);
}

TEST_P(SampleWorldTest, FilesHoldExactlyTheirTablesAndTheStaffFileHasGaps)
{
    const World& w = this->w();
    const SampleCounts& c = w.counts;
    const std::array<std::tuple<const char*, std::uint32_t, std::size_t>, 5> lookups = {{
        {"nation.dat", c.nations, 290}, {"first_names.dat", c.firstNames, 60},
        {"second_names.dat", c.secondNames, 60}, {"common_names.dat", c.commonNames, 60},
        {"club.dat", c.clubs, 581},
    }};
    for (const auto& [name, count, recordBytes] : lookups)
        EXPECT_EQ(w.files.at(name).size(), count * recordBytes) << name;

    const std::size_t staffEnd = c.staff * 157;
    const std::size_t nonPlayerEnd = w.entryOffset(9) + c.nonPlayers * 68;
    const std::size_t playerEnd = w.entryOffset(10) + c.players * 70;
    EXPECT_GE(w.entryOffset(9), staffEnd + 1);
    EXPECT_LE(w.entryOffset(9), staffEnd + 300);
    EXPECT_GE(w.entryOffset(10), nonPlayerEnd + 1);
    EXPECT_LE(w.entryOffset(10), nonPlayerEnd + 300);
    EXPECT_GT(w.staffFile().size(), playerEnd);
    EXPECT_LE(w.staffFile().size(), playerEnd + 300);
}

TEST_P(SampleWorldTest, EveryRecordHoldsItsOwnPosition)
{
    const World& w = this->w();
    const Bytes& f = w.staffFile();
    for (std::uint32_t k = 0; k < w.counts.staff; ++k)
        ASSERT_EQ(i32(f, w.staff(k)), static_cast<std::int32_t>(k));
    for (std::uint32_t k = 0; k < w.counts.nonPlayers; ++k)
        ASSERT_EQ(i32(f, w.nonPlayer(k)), static_cast<std::int32_t>(k));
    for (std::uint32_t k = 0; k < w.counts.players; ++k)
        ASSERT_EQ(i32(f, w.player(k)), static_cast<std::int32_t>(k));
}

TEST_P(SampleWorldTest, ClassificationDecidesTheLinksAndEveryAttributeRecordHasOnePerson)
{
    const World& w = this->w();
    const Bytes& f = w.staffFile();
    const SampleCounts& c = w.counts;
    std::vector<int> playerOwners(c.players);
    std::vector<int> nonPlayerOwners(c.nonPlayers);
    std::array<int, 8> perClass{}; // 7 stands for every code above 6
    int brokenLinks = 0;
    int invalidWithLinks = 0;
    std::array<bool, 4> namedPerson{}; // someone of class 1, 2, 3 with both name positions valid

    for (std::uint32_t k = 0; k < c.staff; ++k) {
        const std::size_t at = w.staff(k);
        const std::uint8_t cls = f[at + 95];
        const std::int32_t playerId = i32(f, at + 145);
        const std::int32_t nonPlayerId = i32(f, at + 153);
        ++perClass[cls < 7 ? cls : 7];
        if (inRange(playerId, c.players))
            ++playerOwners[playerId];
        if (inRange(nonPlayerId, c.nonPlayers))
            ++nonPlayerOwners[nonPlayerId];

        SCOPED_TRACE("staff " + std::to_string(k) + " classification " + std::to_string(cls));
        const bool plays = cls == 2 || cls == 3 || cls == 4;
        const bool manages = cls == 1 || cls == 3 || cls == 5 || cls == 6;
        if (plays || manages) {
            if (!plays) {
                EXPECT_EQ(playerId, -1);
            }
            if (!manages) {
                EXPECT_EQ(nonPlayerId, -1);
            }
            if ((plays && !inRange(playerId, c.players)) || (manages && !inRange(nonPlayerId, c.nonPlayers)))
                ++brokenLinks;
        } else if (cls == 0) {
            invalidWithLinks += playerId != -1 || nonPlayerId != -1;
        } else {
            EXPECT_EQ(playerId, -1);
            EXPECT_EQ(nonPlayerId, -1);
        }
        if (cls >= 1 && cls <= 3 && u32(f, at + 4) < c.firstNames && u32(f, at + 8) < c.secondNames)
            namedPerson[cls] = true;
    }

    for (std::uint32_t k = 0; k < c.players; ++k)
        ASSERT_EQ(playerOwners[k], 1) << "player record " << k;
    for (std::uint32_t k = 0; k < c.nonPlayers; ++k)
        ASSERT_EQ(nonPlayerOwners[k], 1) << "non-player record " << k;
    for (int cls = 0; cls <= 6; ++cls)
        EXPECT_GT(perClass[cls], 0) << "classification " << cls;
    EXPECT_TRUE(namedPerson[1] && namedPerson[2] && namedPerson[3]);
    EXPECT_LT(invalidWithLinks, perClass[0]) << "most invalid people link nowhere";
    if (large()) {
        EXPECT_GT(perClass[7], 0);
        EXPECT_GT(brokenLinks, 0);
        EXPECT_GT(invalidWithLinks, 0);
    } else {
        EXPECT_EQ(perClass[7], 0);
        EXPECT_EQ(brokenLinks, 0);
    }
}

// Ranges of values the generator promises; a field written at a wrong
// offset would show random bytes here.
struct FieldRange {
    const char* name;
    std::size_t at;
    std::size_t width;
    std::size_t repeat; // fields of the same kind one after another
    std::uint32_t low;
    std::uint32_t high;
};

void expectRanges(const Bytes& f, std::size_t recordAt, const std::vector<FieldRange>& fields)
{
    for (const FieldRange& field : fields) {
        for (std::size_t i = 0; i < field.repeat; ++i) {
            const std::uint32_t v = le(f, recordAt + field.at + i * field.width, field.width);
            ASSERT_GE(v, field.low) << field.name << " " << i << " of the record at byte " << recordAt;
            ASSERT_LE(v, field.high) << field.name << " " << i << " of the record at byte " << recordAt;
        }
    }
}

TEST_P(SampleWorldTest, ValuesLieInTheirRanges)
{
    const World& w = this->w();
    const Bytes& f = w.staffFile();
    const std::vector<FieldRange> staff = {
        {"birthDay", 16, 2, 1, 1, 365}, {"joinedDay", 62, 2, 1, 1, 365},
        {"contractDay", 70, 2, 1, 1, 365}, {"mental attributes", 86, 1, 8, 1, 20},
    };
    const std::vector<FieldRange> nonPlayer = {
        {"abilities", 4, 2, 2, 1, 200}, {"reputations", 8, 2, 3, 1, 10000}, {"attributes", 14, 1, 21, 1, 20},
    };
    const std::vector<FieldRange> player = {
        {"abilities", 5, 2, 2, 1, 200}, {"reputations", 9, 2, 3, 1, 10000}, {"ratings and attributes", 15, 1, 54, 1, 20},
    };
    for (std::uint32_t k = 0; k < w.counts.staff; ++k)
        expectRanges(f, w.staff(k), staff);
    for (std::uint32_t k = 0; k < w.counts.nonPlayers; ++k)
        expectRanges(f, w.nonPlayer(k), nonPlayer);
    for (std::uint32_t k = 0; k < w.counts.players; ++k)
        expectRanges(f, w.player(k), player);
}

TEST_P(SampleWorldTest, LargeWorldsCarryOddValuesAndTheTinyOneNone)
{
    const World& w = this->w();
    const Bytes& f = w.staffFile();
    const SampleCounts& c = w.counts;
    int firstOutside = 0;
    int secondOutside = 0;
    int markers = 0;
    int validFirstNames = 0;
    int topBitMoney = 0;
    int unknownJobs = 0;
    int squadThree = 0;
    for (std::uint32_t k = 0; k < c.staff; ++k) {
        const std::size_t at = w.staff(k);
        const std::uint32_t first = u32(f, at + 4);
        const std::uint32_t second = u32(f, at + 8);
        validFirstNames += first < c.firstNames;
        firstOutside += first >= c.firstNames;
        secondOutside += second >= c.secondNames;
        markers += first == 0xFEFFFFFF || first == 0xFFFFFFFF || first == c.firstNames;
        topBitMoney += (u32(f, at + 78) >> 31) + (u32(f, at + 82) >> 31);
        unknownJobs += (f[at + 40] > 16) + (f[at + 61] > 16);
        squadThree += f[at + 94] == 3;
    }
    EXPECT_EQ(markers, firstOutside) << "an out-of-range first name is one of the three marker values";
    EXPECT_GE(validFirstNames, static_cast<int>(c.staff * 99 / 100)) << "nearly everyone can be found by name";
    if (large()) {
        EXPECT_GT(markers, 0);
        EXPECT_GT(secondOutside, 0);
        EXPECT_GT(topBitMoney, 0);
        EXPECT_GT(unknownJobs, 0);
        EXPECT_GT(squadThree, 0);
    } else {
        EXPECT_EQ(firstOutside + secondOutside, 0);
        EXPECT_EQ(topBitMoney + unknownJobs + squadThree, 0);
    }
}

TEST_P(SampleWorldTest, NameFieldsAreTextThenZerosWithEmptyAndFullWidthNames)
{
    const World& w = this->w();
    const std::array<std::tuple<const char*, std::size_t, std::size_t>, 5> tables = {{
        {"nation.dat", 290, 4}, {"first_names.dat", 60, 0}, {"second_names.dat", 60, 0},
        {"common_names.dat", 60, 0}, {"club.dat", 581, 4},
    }};
    for (const auto& [name, recordBytes, nameAt] : tables) {
        SCOPED_TRACE(name);
        const Bytes& f = w.files.at(name);
        int empty = 0;
        int fullWidth = 0;
        int accented = 0;
        for (std::size_t record = 0; record < f.size(); record += recordBytes) {
            const auto field = f.begin() + static_cast<std::ptrdiff_t>(record + nameAt);
            const auto end = std::find(field, field + 51, 0);
            ASSERT_TRUE(std::all_of(end, field + 51, [](std::uint8_t b) { return b == 0; }))
                << "bytes after the text of record " << record / recordBytes;
            empty += end == field;
            fullWidth += end == field + 51;
            accented += std::any_of(field, end, [](std::uint8_t b) { return b >= 0x80; });
        }
        EXPECT_GT(empty, 0);
        EXPECT_GT(fullWidth, 0);
        if (large()) {
            EXPECT_GT(accented, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SampleWorldTest,
                         testing::Values(SampleSize::Tiny, SampleSize::Small, SampleSize::Full), sizeName);

} // namespace
} // namespace rostradb
