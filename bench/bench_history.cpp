// The history of edits on the full sample game, without windows: a Confirm
// recorded as a step, undo and redo, the status line after a Confirm, and
// the full comparison with the snapshot that runs after a load and a save.

#include "full_sample.h"

#include "tests/editor/database_builder.h"

#include "editor/change_list.h"
#include "editor/commit_step.h"
#include "editor/edit_history.h"
#include "editor/staff_display.h"

#include <benchmark/benchmark.h>

namespace {

rostradb::GameDatabase& loadedDatabase()
{
    static rostradb::GameDatabase db = bench::loadFullSample();
    return db;
}

std::size_t personOfClass(const rostradb::GameDatabase& db, std::uint8_t c)
{
    return bench::personOfClass(db, c, db.staff.size() / 2);
}

// The form as the window hands it back after showing the person.
rostradb::FormValues shownForm(const rostradb::GameDatabase& db, std::size_t person)
{
    std::vector<rostradb::FormUpdate> updates;
    rostradb::showStaffMember(db, &db.staff[person], rostradb::testing::loadedBoxCounts(db), updates);
    return rostradb::testing::applyUpdates(updates);
}

// One Confirm as the window runs it: copy, commit, step recorded.
void confirm(rostradb::GameDatabase& db, rostradb::EditHistory& history, const rostradb::FormValues& form)
{
    const rostradb::CommitCapture capture(db, form);
    rostradb::CommitOutcome outcome;
    rostradb::commitEdits(db, form, outcome);
    history.record(db, capture.step(db));
}

// Two forms of someone who is both kinds that differ in four boxes, so that
// each Confirm changes values.
struct TwoForms {
    rostradb::FormValues a, b;
};
TwoForms twoForms(const rostradb::GameDatabase& db)
{
    TwoForms forms{shownForm(db, personOfClass(db, 3)), {}};
    forms.b = forms.a;
    for (const char* box : {"ed_wages", "ed_pace", "ed_tact", "ed_cabl"})
        forms.b.texts[box] = std::to_string(std::stoul(forms.a.texts[box]) + 1);
    return forms;
}

void BM_ConfirmAsAStep(benchmark::State& state)
{
    auto& db = loadedDatabase();
    rostradb::EditHistory history;
    history.reset(db);
    const TwoForms forms = twoForms(db);
    bool flip = false;
    for (auto _ : state) {
        confirm(db, history, (flip = !flip) ? forms.b : forms.a);
        benchmark::DoNotOptimize(history.changedValues());
    }
    state.counters["steps"] = static_cast<double>(history.stepCount());
}
BENCHMARK(BM_ConfirmAsAStep)->Unit(benchmark::kMicrosecond);

void BM_StatusLineAfterConfirm(benchmark::State& state)
{
    auto& db = loadedDatabase();
    rostradb::EditHistory history;
    history.reset(db);
    const TwoForms forms = twoForms(db);
    bool flip = false;
    std::string line;
    for (auto _ : state) {
        confirm(db, history, (flip = !flip) ? forms.b : forms.a);
        line = rostradb::statusLine(rostradb::LoadState::Complete, history.changedValues(), false);
        benchmark::DoNotOptimize(line.data());
    }
}
BENCHMARK(BM_StatusLineAfterConfirm)->Unit(benchmark::kMicrosecond);

void BM_Undo(benchmark::State& state)
{
    auto& db = loadedDatabase();
    rostradb::EditHistory history;
    history.reset(db);
    const TwoForms forms = twoForms(db);
    confirm(db, history, forms.b);
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(db));
        state.PauseTiming();
        history.redo(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMicrosecond);

void BM_UndoThenRedo(benchmark::State& state)
{
    auto& db = loadedDatabase();
    rostradb::EditHistory history;
    history.reset(db);
    const TwoForms forms = twoForms(db);
    confirm(db, history, forms.b);
    state.counters["values"] = static_cast<double>(history.undoStep()->changes.size());
    for (auto _ : state) {
        history.undo(db);
        benchmark::DoNotOptimize(history.redo(db));
    }
}
BENCHMARK(BM_UndoThenRedo)->Unit(benchmark::kMicrosecond);

// Every value against the snapshot: what the tests take as the truth, and
// what a load or a save no longer needs to do.
void BM_FullComparison(benchmark::State& state)
{
    auto& db = loadedDatabase();
    rostradb::PendingChanges pending;
    for (auto _ : state) {
        pending.recount(db);
        benchmark::DoNotOptimize(pending.count());
    }
    state.counters["records"] = static_cast<double>(db.staff.size() + db.players.size() + db.nonPlayers.size());
}
BENCHMARK(BM_FullComparison)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
