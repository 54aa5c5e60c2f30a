// Undo, redo and the list of changes through the real main window
// (offscreen) on the full sample game: "Confirm Changes" with its status
// line, Undo and Redo with the form shown again, and opening the list of
// changes with 1,000 changed values.

#include "window_bench.h"

#include "changes/rostradb_changes.h"
#include "form/staff_hits_model.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// Loaded, with the Staff tab in front so that every change is painted.
struct Editor {
    Editor()
    {
        main.window->Open1Click();
        main.window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    }
    bench::MainWindowOnSample main;
};

// Made on first use, destroyed before the QApplication.
std::unique_ptr<Editor> theEditor;

Tfrm_main& window()
{
    if (!theEditor)
        theEditor = std::make_unique<Editor>();
    return *theEditor->main.window;
}

// Puts the person into the form as a click in the result list would.
void show(Tfrm_main& w, std::size_t position)
{
    auto* list = w.findChild<QListView*>(QStringLiteral("lbx_staff"));
    auto* hits = static_cast<StaffHitsModel*>(list->model());
    hits->setHits({rostradb::SearchHit{w.database().staff[position].displayName, position}});
    list->setCurrentIndex(hits->index(0, 0));
}

QLineEdit* box(Tfrm_main& w, const char* name) { return w.findChild<QLineEdit*>(QLatin1String(name)); }

void BM_ConfirmThroughWindow(benchmark::State& state)
{
    Tfrm_main& w = window();
    show(w, bench::personOfClass(w.database(), 3, w.database().staff.size() / 2));
    QLineEdit* pace = box(w, "ed_pace");
    int value = pace->text().toInt();
    for (auto _ : state) {
        state.PauseTiming();
        pace->setText(QString::number(++value % 200));
        state.ResumeTiming();
        w.Button1Click(); // the commit, the step and the status line
        QCoreApplication::processEvents();
    }
    state.counters["status"] = static_cast<double>(w.history().changedValues());
}
BENCHMARK(BM_ConfirmThroughWindow)->Unit(benchmark::kMicrosecond);

// The person shown is the one the step changed: each undo and redo also
// shows the person again.
void BM_UndoThroughWindow(benchmark::State& state)
{
    Tfrm_main& w = window();
    show(w, bench::personOfClass(w.database(), 3, w.database().staff.size() / 2 + 100));
    QLineEdit* pace = box(w, "ed_pace");
    pace->setText(QString::number((pace->text().toInt() + 1) % 200));
    w.Button1Click();
    for (auto _ : state) {
        w.undoClick();
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.redoClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoThroughWindow)->Unit(benchmark::kMillisecond);

void BM_RedoThroughWindow(benchmark::State& state)
{
    Tfrm_main& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        w.undoClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        w.redoClick();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RedoThroughWindow)->Unit(benchmark::kMillisecond);

// 250 people with four values each changed, then "Changes..." pressed: the
// window made (the first time), filled and painted.
void BM_OpenChangesList(benchmark::State& state)
{
    Tfrm_main& w = window();
    std::size_t person = 1000;
    while (w.history().changedValues() < 1000) {
        person = bench::personOfClass(w.database(), 2, person + 1);
        show(w, person);
        for (const char* name : {"ed_pace", "ed_gk", "ed_adap", "ed_temp"}) {
            QLineEdit* line = box(w, name);
            line->setText(QString::number((line->text().toInt() + 1) % 200));
        }
        w.Button1Click();
    }
    for (auto _ : state) {
        w.changesClick();
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.changesWindow()->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    const auto* list = w.changesWindow()->findChild<QTableView*>(QStringLiteral("lst_changes"));
    state.counters["rows"] = list->model()->rowCount();
}
BENCHMARK(BM_OpenChangesList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(bench::quietPlatform);
    return bench::runWindowBenchmarks(argc, argv, [] { theEditor.reset(); });
}
