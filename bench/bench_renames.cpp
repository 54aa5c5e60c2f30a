// Renaming on the full sample game: a first name used by 5,000 people renamed
// through the window with every view of names open (display names rebuilt,
// the boxes' items, the result list, the people, names, clubs and nation
// windows refreshed and painted); and the save of 1,000 renames over three
// lookup files, window-free, its flushes counted.

#include "counting_file_system.h"
#include "window_bench.h"

#include "db/data_paths.h"
#include "db/file_system.h"
#include "editor/game_save.h"
#include "editor/name_changes.h"

#include <QApplication>
#include <QLineEdit>

#include <fstream>

namespace {

constexpr std::uint32_t kSharedFirstName = 0;
constexpr std::size_t kSharers = 5000;

// A copy of the full sample in which 5,000 people (every 13th) have first
// name 0: staff.dat's records are 157 bytes, the first name at byte 4.
struct SharedNameGame {
    SharedNameGame()
    {
        std::fstream staff(scratch.path / "data" / "staff.dat", std::ios::in | std::ios::out | std::ios::binary);
        for (std::size_t k = 0; k < kSharers; ++k) {
            staff.seekp(static_cast<std::streamoff>(k * 13 * 157 + 4));
            const char zero[4] = {};
            staff.write(zero, 4);
        }
    }
    bench::ScratchGame scratch{"renames"};
};

void BM_RenameSharedFirstNameThroughWindow(benchmark::State& state)
{
    static SharedNameGame game;
    QTemporaryDir work;
    QFile about(work.filePath(QStringLiteral("rostradb.txt")));
    if (about.open(QIODevice::WriteOnly))
        about.write("rostradb benchmark\n");
    QDir::setCurrent(work.path());
    Tfrm_main window(StartupOptions{QString::fromStdString(game.scratch.dir())});
    window.show();
    window.Open1Click();
    window.People1Click();
    window.Names1Click();
    window.Clubs1Click();
    window.Nations1Click();
    // The result list shows people of that name.
    window.findChild<QLineEdit*>(QStringLiteral("ed_staffsearch"))->setText(QStringLiteral("a"));
    window.Button2Click();
    QApplication::processEvents();
    const rostradb::NameKey key{rostradb::LookupTable::FirstNames, kSharedFirstName};
    state.counters["people"] = static_cast<double>(rostradb::peopleUsing(window.database(), key));
    bool flip = false;
    for (auto _ : state) {
        window.renameRecord(key, flip ? QStringLiteral("Benchmark A") : QStringLiteral("Benchmark B"));
        QApplication::processEvents(); // the views repaint
        flip = !flip;
    }
}
BENCHMARK(BM_RenameSharedFirstNameThroughWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveThousandRenamesOverThreeFiles(benchmark::State& state)
{
    const bench::ScratchGame scratch{"save-renames"};
    rostradb::GameDatabase db;
    rostradb::SilentProgress sink;
    rostradb::readDirectoryAndLoad(db, scratch.dir(), sink);
    bench::CountingFileSystem files;
    const auto renameAll = [&](const char* text) {
        // 400 clubs, 300 first and 300 second names, spread over their files.
        for (const auto& [table, count, step] : {std::tuple{rostradb::LookupTable::Clubs, 400u, 29u},
                                                 std::tuple{rostradb::LookupTable::FirstNames, 300u, 211u},
                                                 std::tuple{rostradb::LookupTable::SecondNames, 300u, 211u}})
            for (std::uint32_t i = 0; i < count; ++i) {
                const rostradb::NameKey key{table, i * step};
                rostradb::NameField field;
                const auto bytes = rostradb::nameBytes(db, key);
                std::copy(bytes.begin(), bytes.end(), field.begin());
                rostradb::storeNameField(db, key, rostradb::withNameText(field, text));
            }
    };
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        renameAll(flip ? "Renamed A" : "Renamed B");
        flip = !flip;
        state.ResumeTiming();
        rostradb::GameSave(db, scratch.dir(), files).write(sink);
    }
    state.counters["flushes/save"] =
        benchmark::Counter(static_cast<double>(files.flushes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SaveThousandRenamesOverThreeFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char* argv[])
{
    return bench::runWindowBenchmarks(argc, argv, [] {});
}
