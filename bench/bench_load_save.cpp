// Loading the whole database and saving the staff file, window-free, on the
// full sample game; and, as the yardstick, reading the same files' bytes.

#include "counting_file_system.h"
#include "full_sample.h"

#include "db/data_paths.h"
#include "db/file_system.h"
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
    // The journal, the records, the flushes and the journal's deletion.
    void save() { rostradb::saveStaffFile(db, game, sink, files); }
    void reportFlushes(benchmark::State& state) const
    {
        state.counters["flushes/save"] =
            benchmark::Counter(static_cast<double>(files.flushes), benchmark::Counter::kAvgIterations);
    }

    const bench::ScratchGame scratch{"save"};
    const std::string game = scratch.dir();
    rostradb::GameDatabase db;
    rostradb::SilentProgress sink;
    bench::CountingFileSystem files;
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

// The load as File > Open and rostradb-cli run it (the staff file on a second
// thread), and on one thread: the difference is what the second core gives.
void BM_LoadSequence(benchmark::State& state, rostradb::LoadThreads threads)
{
    const std::string game = bench::fullSampleGame();
    rostradb::GameDatabase db = openedDatabase(game);
    rostradb::SilentProgress sink;
    for (auto _ : state) {
        rostradb::runLoadSequence(db, game, sink, nullptr, threads);
        benchmark::DoNotOptimize(db.staff.data());
    }
    state.counters["staff"] = static_cast<double>(db.staff.size());
}
BENCHMARK_CAPTURE(BM_LoadSequence, twoThreads, rostradb::LoadThreads::Two)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadSequence, oneThread, rostradb::LoadThreads::One)->Unit(benchmark::kMillisecond)->UseRealTime();

// Save looks at the disk (index.dat and the three regions, merged with the
// load snapshot and memory) and writes only the records that change, after
// their old bytes are flushed to the journal.
void BM_SaveUnedited(benchmark::State& state)
{
    LoadedScratchGame scratch;
    for (auto _ : state)
        scratch.save();
    scratch.reportFlushes(state);
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
    scratch.reportFlushes(state);
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
    scratch.reportFlushes(state);
}
BENCHMARK(BM_SaveEveryRecordChanged)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
