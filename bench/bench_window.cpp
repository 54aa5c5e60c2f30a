// The editor through its real windows (offscreen) on the full sample game:
// File > Open with the Status window and the combo boxes, showing a person,
// and opening the drop-down of a name box with 65,536 names.

#include "window_bench.h"

#include "progress/rostradbpos.h"
#include "form/staff_hits_model.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSpinBox>
#include <QTabWidget>

#include <sys/resource.h>

#include <optional>

namespace {

// The main window reports to a real Status window, which outlives it.
struct Editor {
    Tfrm_pos status;
    bench::MainWindowOnSample main{&status};
    Tfrm_main* window = main.window.get();
};

// Made on first use, destroyed before the QApplication.
std::optional<Editor> theEditor;

Editor& editor()
{
    if (!theEditor)
        theEditor.emplace();
    return *theEditor;
}

void BM_OpenThroughWindow(benchmark::State& state)
{
    Tfrm_main& window = *editor().window;
    for (auto _ : state)
        window.Open1Click();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["staff"] = static_cast<double>(window.database().staff.size());
}
BENCHMARK(BM_OpenThroughWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ShowPersonThroughWindow(benchmark::State& state)
{
    Tfrm_main& window = *editor().window;
    if (window.database().staff.empty())
        window.Open1Click();
    // Two people of different kinds, shown in turn so every pass changes the form.
    std::vector<std::size_t> people;
    for (std::size_t i = 1000; i < window.database().staff.size() && people.size() < 2; ++i) {
        const auto c = window.database().staff[i].classification;
        if ((c == 3 && people.empty()) || (c == 1 && people.size() == 1))
            people.push_back(i);
    }
    // The Staff tab in front, so each change is painted as the user sees it.
    window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    auto* list = window.findChild<QListView*>(QStringLiteral("lbx_staff"));
    window.findChild<QLineEdit*>(QStringLiteral("ed_staffsearch"))->setText(QString());
    window.Button2Click(); // empty search: an empty list
    std::size_t turn = 0;
    for (auto _ : state) {
        // Select through the list's model as the user's click would.
        state.PauseTiming();
        auto* hits = static_cast<StaffHitsModel*>(list->model());
        const std::size_t position = people[turn++ % people.size()];
        // a new row list: nothing is current until the click below
        hits->setHits({rostradb::SearchHit{window.database().staff[position].displayName, position}});
        state.ResumeTiming();
        list->setCurrentIndex(hits->index(0, 0)); // runs lbx_staffClick
        QCoreApplication::processEvents();       // and the repaint it causes
    }
    const auto* shown = window.findChild<QSpinBox*>(QStringLiteral("id"));
    if (shown->value() != window.database().staff[people[(turn - 1) % people.size()]].staffId)
        state.SkipWithError("the person was not shown");
}
BENCHMARK(BM_ShowPersonThroughWindow)->Unit(benchmark::kMillisecond);

void BM_NameBoxPopup(benchmark::State& state)
{
    Tfrm_main& window = *editor().window;
    if (window.database().staff.empty())
        window.Open1Click();
    auto* box = window.findChild<QComboBox*>(QStringLiteral("cbx_fname"));
    state.counters["items"] = box->count();
    for (auto _ : state) {
        box->showPopup();
        QCoreApplication::processEvents();
        box->hidePopup();
    }
}
BENCHMARK(BM_NameBoxPopup)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    return bench::runWindowBenchmarks(argc, argv, [] { theEditor.reset(); });
}
