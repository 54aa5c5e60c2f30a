// The window-free editor on the full sample game: a search over all 65,536
// people, computing one person's display, and one commit.

#include "full_sample.h"

#include "tests/editor/database_builder.h"

#include "editor/commit_edits.h"
#include "editor/staff_display.h"
#include "editor/staff_search.h"

#include <benchmark/benchmark.h>

namespace {

const rostradb::GameDatabase& loadedDatabase()
{
    static const rostradb::GameDatabase db = bench::loadFullSample();
    return db;
}

std::size_t personOfClass(const rostradb::GameDatabase& db, std::uint8_t c)
{
    return bench::personOfClass(db, c, db.staff.size() / 2);
}

void BM_SearchAllStaff(benchmark::State& state)
{
    const auto& db = loadedDatabase();
    // Three letters from the middle of a real name: a typical query.
    const std::string text = db.staff[personOfClass(db, 2)].displayName.substr(1, 3);
    std::size_t found = 0;
    for (auto _ : state) {
        auto hits = rostradb::searchStaff(text, db.staff, db.directory);
        found = hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchAllStaff)->Unit(benchmark::kMicrosecond);

void BM_ShowPersonWindowFree(benchmark::State& state)
{
    const auto& db = loadedDatabase();
    const auto& person = db.staff[personOfClass(db, 3)];
    const auto counts = rostradb::testing::loadedBoxCounts(db);
    std::vector<rostradb::FormUpdate> updates;
    for (auto _ : state) {
        updates.clear();
        rostradb::showStaffMember(db, &person, counts, updates);
        benchmark::DoNotOptimize(updates.data());
    }
    state.counters["updates"] = static_cast<double>(updates.size());
    state.counters["classification"] = person.classification;
}
BENCHMARK(BM_ShowPersonWindowFree)->Unit(benchmark::kMicrosecond);

void BM_CommitPerson(benchmark::State& state)
{
    rostradb::GameDatabase db = loadedDatabase();
    const std::size_t position = personOfClass(db, 3);
    std::vector<rostradb::FormUpdate> updates;
    rostradb::showStaffMember(db, &db.staff[position], rostradb::testing::loadedBoxCounts(db), updates);
    // The form as the display left it: what an unedited "Confirm Changes" sends.
    rostradb::FormValues form;
    for (const auto& u : updates) {
        const std::string name(u.control);
        if (u.kind == rostradb::FormUpdate::Kind::Text) {
            if (name == "id")
                form.staffPosition = std::stoi(u.text);
            else if (name == "idpl")
                form.playerPosition = std::stoi(u.text);
            else if (name == "idnp")
                form.nonPlayerPosition = std::stoi(u.text);
            else
                form.texts[name] = u.text;
        } else if (u.kind == rostradb::FormUpdate::Kind::ComboIndex) {
            form.selections[name] = form.shownSelections[name] = static_cast<std::int32_t>(u.index);
        }
    }
    for (auto _ : state) {
        rostradb::CommitOutcome outcome;
        rostradb::commitEdits(db, form, outcome);
        benchmark::DoNotOptimize(outcome.changedAnything);
    }
}
BENCHMARK(BM_CommitPerson)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
