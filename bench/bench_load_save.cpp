// Loading the whole database and saving the staff file, window-free, on the
// full sample game; and, as the yardstick, reading the same files' bytes.

#include "full_sample.h"

#include "db/data_paths.h"
#include "db/loaders.h"
#include "db/staff_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The scratch copy, loaded: what the save benchmarks write back.
struct LoadedScratchGame {
    LoadedScratchGame()
    {
        db.directory.read(rostradb::dataFilePath(game, rostradb::datafile::kIndex));
        rostradb::runLoadSequence(db, game, sink);
    }
    void save() { rostradb::saveStaffFile(db, game, sink); } // includes the flush to disk

    const bench::ScratchGame scratch{"save"};
    const std::string game = scratch.dir();
    rostradb::GameDatabase db;
    rostradb::SilentProgress sink;
};

rostradb::GameDatabase openedDatabase(const std::string& game)
{
    rostradb::GameDatabase db;
    db.directory.read(rostradb::dataFilePath(game, rostradb::datafile::kIndex));
    return db;
}

void BM_ReadFileBytes(benchmark::State& state)
{
    const std::string game = bench::fullSampleGame();
    using namespace rostradb::datafile;
    for (auto _ : state) {
        std::size_t total = 0;
        for (auto name : {kNations, kFirstNames, kSecondNames, kCommonNames, kStaff, kClubs}) {
            std::ifstream in(rostradb::dataFilePath(game, name), std::ios::binary | std::ios::ate);
            std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
            in.seekg(0);
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            total += bytes.size();
            benchmark::DoNotOptimize(bytes.data());
        }
        state.counters["bytes"] = static_cast<double>(total);
    }
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadSequence(benchmark::State& state)
{
    const std::string game = bench::fullSampleGame();
    rostradb::GameDatabase db = openedDatabase(game);
    rostradb::SilentProgress sink;
    for (auto _ : state) {
        rostradb::runLoadSequence(db, game, sink);
        benchmark::DoNotOptimize(db.staff.data());
    }
    state.counters["staff"] = static_cast<double>(db.staff.size());
}
BENCHMARK(BM_LoadSequence)->Unit(benchmark::kMillisecond);

// Save looks at the disk (index.dat and the three regions, compared with the
// load snapshot) and writes only the records that change, then flushes.
void BM_SaveUnedited(benchmark::State& state)
{
    LoadedScratchGame scratch;
    for (auto _ : state)
        scratch.save();
}
BENCHMARK(BM_SaveUnedited)->Unit(benchmark::kMillisecond);

void BM_SaveOneEdit(benchmark::State& state)
{
    LoadedScratchGame scratch;
    auto& db = scratch.db;
    std::size_t person = 0;
    for (auto _ : state) {
        db.staff[person].wages ^= 1; // every save has one record to write
        scratch.save();
        person = (person + 4099) % db.staff.size();
    }
}
BENCHMARK(BM_SaveOneEdit)->Unit(benchmark::kMillisecond);

// The worst case: every record of the three tables changes.
void BM_SaveEveryRecordChanged(benchmark::State& state)
{
    LoadedScratchGame scratch;
    auto& db = scratch.db;
    for (auto _ : state) {
        for (auto& r : db.staff)
            r.wages ^= 1;
        for (auto& r : db.nonPlayers)
            r.coaching ^= 1;
        for (auto& r : db.players)
            r.pace ^= 1;
        scratch.save();
    }
}
BENCHMARK(BM_SaveEveryRecordChanged)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
