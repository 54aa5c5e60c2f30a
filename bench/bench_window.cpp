// The editor through its real windows (offscreen) on the full sample game:
// File > Open with the Status window and the combo boxes, showing a person,
// and opening the drop-down of a name box with 65,536 names.

#include "full_sample.h"

#include "message_boxes.h"
#include "rostradbmain.h"
#include "rostradbpos.h"
#include "staff_hits_model.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

struct Editor {
    Editor()
    {
        // The about text is read from the current folder.
        QFile about(work.filePath(QStringLiteral("rostradb.txt")));
        if (about.open(QIODevice::WriteOnly))
            about.write("rostradb benchmark\n");
        QDir::setCurrent(work.path());
        window = std::make_unique<Tfrm_main>(StartupOptions{QString::fromStdString(bench::fullSampleGame())});
        window->setProgressSink(&status);
        window->show();
    }
    QTemporaryDir work;
    Tfrm_pos status;
    std::unique_ptr<Tfrm_main> window;
};

// Owned by main() and made on first use: its widgets must be destroyed
// before the QApplication, which a static would outlive.
std::optional<Editor>* theEditor = nullptr;

Editor& editor()
{
    if (!theEditor->has_value())
        theEditor->emplace();
    return **theEditor;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::optional<Editor> editorOfThisRun; // declared after app, so destroyed before it
    theEditor = &editorOfThisRun;
    setErrorReporterForTesting([](const QString& text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
