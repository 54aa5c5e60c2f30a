#include "sample_game.h"

#include "record_bytes.h"
#include "sample_index_file.h"
#include "sample_names.h"
#include "sample_random.h"
#include "sample_staff_file.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace rostradb {
namespace {

using sample::NameKind;
using sample::RecordBytes;
using sample::SampleRandom;

// A lookup file: records of a fixed size, the name field at `nameAt`, every
// other byte random.
struct LookupFormat {
    const char* fileName;
    NameKind kind;
    std::size_t recordBytes;
    std::size_t nameAt;
    std::uint64_t stream; // random stream of this file, see SampleRandom
};

constexpr LookupFormat kNations{"nation.dat", NameKind::Nation, 290, 4, 2};
constexpr LookupFormat kFirstNames{"first_names.dat", NameKind::First, 60, 0, 3};
constexpr LookupFormat kSecondNames{"second_names.dat", NameKind::Second, 60, 0, 4};
constexpr LookupFormat kCommonNames{"common_names.dat", NameKind::Common, 60, 0, 5};
constexpr LookupFormat kClubs{"club.dat", NameKind::Club, 581, 4, 6};

std::vector<std::uint8_t> buildLookupFile(const LookupFormat& format, std::uint32_t count, std::uint64_t seed)
{
    SampleRandom random(seed, format.stream);
    const std::vector<std::string> names = sample::inventNames(format.kind, count, random);
    std::vector<std::uint8_t> bytes(count * format.recordBytes);
    random.fill(bytes);
    for (std::uint32_t i = 0; i < count; ++i)
        RecordBytes(bytes.data() + i * format.recordBytes).text(format.nameAt, sample::kNameFieldBytes, names[i]);
    return bytes;
}

// One write per file: the full sample is tens of megabytes.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out)
        out.close();
    if (!out)
        throw std::runtime_error("Cannot write " + path.string());
}

} // namespace

SampleCounts sampleCounts(SampleSize size)
{
    switch (size) {
    case SampleSize::Tiny:
        return {.nations = 5, .firstNames = 10, .secondNames = 10, .commonNames = 4, .clubs = 6,
                .staff = 12, .nonPlayers = 5, .players = 8};
    case SampleSize::Small:
        return {.nations = 60, .firstNames = 1500, .secondNames = 1500, .commonNames = 300, .clubs = 400,
                .staff = 2000, .nonPlayers = 800, .players = 1300};
    case SampleSize::Full:
        break;
    }
    return {.nations = 250, .firstNames = 65536, .secondNames = 65536, .commonNames = 8000, .clubs = 12000,
            .staff = 65536, .nonPlayers = 25000, .players = 45000};
}

std::vector<std::string> existingSampleGameFiles(const std::filesystem::path& gameDir)
{
    std::vector<std::string> present;
    for (std::string_view name : kSampleGameFiles) {
        // symlink_status: a dangling link is there too, and status() would say not_found.
        if (std::filesystem::symlink_status(gameDir / "data" / name).type() != std::filesystem::file_type::not_found)
            present.emplace_back(name);
    }
    return present;
}

void writeSampleGame(const std::filesystem::path& gameDir, SampleSize size, std::uint64_t seed)
{
    const SampleCounts counts = sampleCounts(size);
    const std::filesystem::path data = gameDir / "data";
    std::filesystem::create_directories(data);

    const sample::StaffFile staff = sample::buildStaffFile(counts, seed);
    writeFile(data / "index.dat", sample::buildIndexFile(counts, staff.nonPlayerOffset, staff.playerOffset, seed));
    writeFile(data / kNations.fileName, buildLookupFile(kNations, counts.nations, seed));
    writeFile(data / kFirstNames.fileName, buildLookupFile(kFirstNames, counts.firstNames, seed));
    writeFile(data / kSecondNames.fileName, buildLookupFile(kSecondNames, counts.secondNames, seed));
    writeFile(data / kCommonNames.fileName, buildLookupFile(kCommonNames, counts.commonNames, seed));
    writeFile(data / kClubs.fileName, buildLookupFile(kClubs, counts.clubs, seed));
    writeFile(data / "staff.dat", staff.bytes);
}

} // namespace rostradb
