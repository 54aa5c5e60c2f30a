// The people table's core on the full sample game: a filter of three terms
// over all 65,536 people, sorting by a column, and a change of one column of
// 10,000 people recorded as one undo step, and its undo.

#include "full_sample.h"

#include "editor/bulk_change.h"
#include "editor/edit_history.h"
#include "editor/people_filter.h"
#include "editor/people_sort.h"

#include <benchmark/benchmark.h>

#include <numeric>

namespace {

const rostradb::GameDatabase& loadedDatabase()
{
    static const rostradb::GameDatabase db = bench::loadFullSample();
    return db;
}

// A name part, a number on the player record (classification checked) and
// a text of a position: each kind of term once.
constexpr const char* kThreeTerms = "a player.currentAbility>=50 nationText:e";

void BM_FilterThreeTerms(benchmark::State& state)
{
    const auto& db = loadedDatabase();
    const rostradb::PeopleFilter filter = rostradb::PeopleFilter::parse(kThreeTerms);
    std::size_t found = 0;
    for (auto _ : state) {
        const auto people = rostradb::matchingPeople(db, filter);
        found = people.size();
        benchmark::DoNotOptimize(people.data());
    }
    state.counters["people"] = static_cast<double>(db.staff.size());
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_FilterThreeTerms)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state, const char* column)
{
    const auto& db = loadedDatabase();
    std::vector<std::uint32_t> all(db.staff.size());
    for (auto _ : state) {
        std::iota(all.begin(), all.end(), 0u);
        rostradb::sortPeople(db, all, *rostradb::columnNamed(column));
        benchmark::DoNotOptimize(all.data());
    }
}
BENCHMARK_CAPTURE(BM_SortByColumn, wages, "wages")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortByColumn, displayName, "displayName")->Unit(benchmark::kMillisecond);

// Every sixth person up to 10,000 of them: spread over the whole table.
std::vector<std::uint32_t> tenThousandPeople(const rostradb::GameDatabase& db)
{
    std::vector<std::uint32_t> people;
    for (std::uint32_t p = 0; p < db.staff.size() && people.size() < 10000; p += 6)
        people.push_back(p);
    return people;
}

struct BulkFixture {
    BulkFixture() : db(loadedDatabase()), people(tenThousandPeople(db)) { history.reset(db); }
    rostradb::GameDatabase db;
    rostradb::EditHistory history;
    std::vector<std::uint32_t> people;
    const rostradb::BulkChange change{rostradb::columnNamed("wages"), rostradb::BulkHow::Add, 5};
};

void BM_BulkChangeTenThousand(benchmark::State& state)
{
    BulkFixture f;
    std::size_t changed = 0;
    for (auto _ : state) {
        changed = rostradb::applyBulkChange(f.db, f.history, f.people, f.change).changed();
        state.PauseTiming();
        f.history.undo(f.db);
        state.ResumeTiming();
    }
    state.counters["changed"] = static_cast<double>(changed);
}
BENCHMARK(BM_BulkChangeTenThousand)->Unit(benchmark::kMillisecond);

void BM_BulkChangeUndo(benchmark::State& state)
{
    BulkFixture f;
    for (auto _ : state) {
        state.PauseTiming();
        rostradb::applyBulkChange(f.db, f.history, f.people, f.change);
        state.ResumeTiming();
        f.history.undo(f.db);
    }
    state.counters["pending"] = static_cast<double>(f.history.changedValues());
}
BENCHMARK(BM_BulkChangeUndo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
