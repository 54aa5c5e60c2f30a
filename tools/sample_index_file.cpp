#include "sample_index_file.h"

#include "record_bytes.h"
#include "sample_random.h"

#include <array>
#include <optional>
#include <string_view>

namespace rostradb::sample {
namespace {

constexpr std::uint64_t kIndexStream = 1;

// Each entry starts with a zero-padded table name, as a file of this kind
// plausibly would; nothing reads it.
constexpr std::size_t kEntryNameBytes = 32;
constexpr std::array<std::string_view, kIndexEntries> kEntryNames = {
    "club",          "club_competition", "competition_history", "continent", "nation",
    "nation_competition", "stadium",     "staff",               "staff_competition", "non_player",
    "player",        "staff_history",    "official",            "city",      "weather",
    "first_names",   "second_names",     "common_names",        "club_history", "nation_history",
    "staff_preferences", "reserved",
};

struct UsedEntry {
    std::uint32_t records;
    std::uint32_t offset;
};

} // namespace

std::vector<std::uint8_t> buildIndexFile(const SampleCounts& counts, std::uint32_t nonPlayerOffset,
                                         std::uint32_t playerOffset, std::uint64_t seed)
{
    SampleRandom random(seed, kIndexStream);
    std::vector<std::uint8_t> bytes(kIndexHeaderBytes + kIndexEntries * kIndexEntryBytes + random.between(1, 200));
    random.fill(bytes);

    // The entries the editor uses. The others keep random sizes and offsets.
    std::array<std::optional<UsedEntry>, kIndexEntries> used;
    used[0] = UsedEntry{counts.clubs, 0};
    used[4] = UsedEntry{counts.nations, 0};
    used[7] = UsedEntry{counts.staff, 0};
    used[9] = UsedEntry{counts.nonPlayers, nonPlayerOffset};
    used[10] = UsedEntry{counts.players, playerOffset};
    used[15] = UsedEntry{counts.firstNames, 0};
    used[16] = UsedEntry{counts.secondNames, 0};
    used[17] = UsedEntry{counts.commonNames, 0};

    for (std::size_t i = 0; i < kIndexEntries; ++i) {
        RecordBytes entry(bytes.data() + kIndexHeaderBytes + i * kIndexEntryBytes);
        entry.text(0, kEntryNameBytes, kEntryNames[i]);
        if (used[i]) {
            entry.u32(55, used[i]->records - 1); // lastIndex: a table holds lastIndex + 1 records
            entry.u32(59, used[i]->offset);
        }
    }
    return bytes;
}

} // namespace rostradb::sample
