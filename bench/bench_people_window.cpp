// The people table through the real windows (offscreen) on the full sample
// game, 65,536 people: the window opened, a filter typed until its rows are
// painted, a sort by a column, a change of 10,000 people and its undo, and
// File > Open with the table open (with the peak memory after it).

#include "window_bench.h"

#include "people/people_model.h"
#include "people/rostradb_people.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

namespace {

struct Editor {
    Editor() { main.window->Open1Click(); }
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

// The main window's people table, open, showing everyone in table order.
Tfrm_people& peopleWindow()
{
    Tfrm_main& w = window();
    w.People1Click();
    Tfrm_people& people = *w.peopleWindow();
    people.findChild<QLineEdit*>(QStringLiteral("ed_people_filter"))->setText(QString());
    people.applyFilter();
    QCoreApplication::processEvents();
    return people;
}

int columnOf(const char* name) { return static_cast<int>(rostradb::columnIndex(*rostradb::columnNamed(name))); }

// The window made, filled with every person and painted, as View > People
// does the first time (the main window keeps its own, so each pass makes a
// window of the same kind over the same database).
void BM_OpenPeopleWindow(benchmark::State& state)
{
    Tfrm_main& w = window();
    for (auto _ : state) {
        auto people = std::make_unique<Tfrm_people>(w.database(), w.history());
        people->databaseLoaded();
        people->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        state.counters["rows"] = people->model()->rowCount();
        people.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPeopleWindow)->Unit(benchmark::kMillisecond);

// Three terms, then the empty filter again: each pass changes the rows.
void BM_FilterTypedUntilShown(benchmark::State& state)
{
    Tfrm_people& people = peopleWindow();
    auto* filter = people.findChild<QLineEdit*>(QStringLiteral("ed_people_filter"));
    const QString texts[] = {QStringLiteral("class=2 born>1975 wages>=1000"), QString()};
    std::size_t turn = 0;
    for (auto _ : state) {
        filter->setText(texts[turn++ % 2]);
        people.applyFilter(); // what the pause after the last key runs
        QCoreApplication::processEvents();
    }
    filter->setText(texts[0]);
    people.applyFilter();
    state.counters["rows"] = people.model()->rowCount();
}
BENCHMARK(BM_FilterTypedUntilShown)->Unit(benchmark::kMillisecond);

// A header click on wages, up and down in turn, with a cell selected.
void BM_SortByColumn(benchmark::State& state)
{
    Tfrm_people& people = peopleWindow();
    QTableView* table = people.table();
    table->setCurrentIndex(people.model()->index(100, columnOf("wages")));
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        table->sortByColumn(columnOf("wages"), order);
        QCoreApplication::processEvents();
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    state.counters["rows"] = people.model()->rowCount();
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

// "Add 1 to wages" for the first 10,000 people: the change as the dialog's
// OK asks for it (the step, the status line, the table repainted), then its
// undo, timed on their own.
PeopleChange tenThousandWages()
{
    Tfrm_people& people = peopleWindow();
    PeopleChange change;
    change.people.assign(people.model()->people().begin(), people.model()->people().begin() + 10000);
    change.change = {rostradb::columnNamed("wages"), rostradb::BulkHow::Add, 1};
    return change;
}

void BM_BulkChange10000(benchmark::State& state)
{
    const PeopleChange change = tenThousandWages();
    Tfrm_main& w = window();
    for (auto _ : state) {
        w.applyPeopleChange(change);
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.undoClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    w.applyPeopleChange(change);
    state.counters["changed"] = static_cast<double>(w.history().changedValues());
    w.undoClick();
}
BENCHMARK(BM_BulkChange10000)->Unit(benchmark::kMillisecond);

void BM_UndoBulkChange10000(benchmark::State& state)
{
    const PeopleChange change = tenThousandWages();
    Tfrm_main& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        w.applyPeopleChange(change);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        w.undoClick();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_UndoBulkChange10000)->Unit(benchmark::kMillisecond);

// File > Open while the table is open with a filter and a sort: the rows
// are made again.
void BM_OpenWithTableOpen(benchmark::State& state)
{
    Tfrm_people& people = peopleWindow();
    people.findChild<QLineEdit*>(QStringLiteral("ed_people_filter"))->setText(QStringLiteral("wages>=100"));
    people.applyFilter();
    people.table()->sortByColumn(columnOf("displayName"), Qt::AscendingOrder);
    Tfrm_main& w = window();
    for (auto _ : state) {
        w.Open1Click();
        QCoreApplication::processEvents();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["rows"] = people.model()->rowCount();
}
BENCHMARK(BM_OpenWithTableOpen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(bench::quietPlatform);
    // The table's chosen columns are settings: the benchmarks read and write
    // their own, with the default columns, not the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return bench::runWindowBenchmarks(argc, argv, [] { theEditor.reset(); });
}
