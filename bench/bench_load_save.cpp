// Loading the whole database and saving the staff file, window-free, on the
// full sample game; and, as the yardstick, reading the same files' bytes.

#include "full_sample.h"

#include "db/data_paths.h"
#include "db/loaders.h"
#include "db/staff_writer.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

namespace {

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

void BM_SaveStaffFile(benchmark::State& state)
{
    const std::string game = bench::fullSampleGame();
    rostradb::GameDatabase db = openedDatabase(game);
    rostradb::SilentProgress sink;
    rostradb::runLoadSequence(db, game, sink);
    for (auto _ : state)
        rostradb::saveStaffFile(db, game, sink); // includes the flush to disk
}
BENCHMARK(BM_SaveStaffFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
