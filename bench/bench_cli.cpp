// The command line on the full sample game: export, import of the exported
// file with 1,000 cells changed, and diff of the game with that edit. Each
// command is timed whole (load, work, output) as a user runs it.

#include "full_sample.h"

#include "cli/commands.h"
#include "cli/csv.h"
#include "cli/csv_export.h"
#include "cli/csv_import.h"
#include "cli/game_files.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

// Output nobody reads: formatting happens, writing costs nothing.
struct Discard {
    std::ostream stream{nullptr};
};

// A copy of the full game to change, and the exported CSV with 1,000 cells
// edited: wages of 500 people, the pace of 250 players, the coaching of 250
// non-players, spread over the table.
struct EditedExport {
    const bench::ScratchGame scratch{"cli"};
    fs::path game = scratch.path;
    fs::path csv = scratch.path / "edited.csv";
    std::vector<std::uint8_t> staffBytes;

    EditedExport()
    {
        const rostradb::GameDatabase db = rostradb::cli::loadGame(game.string());
        rostradb::cli::CsvDocument doc = rostradb::cli::parseCsv(rostradb::cli::exportCsv(db));
        auto& header = doc.rows[0].cells;
        auto column = [&](const std::string& name) {
            const auto it = std::find(header.begin(), header.end(), name);
            if (it == header.end())
                throw std::logic_error("the export has no column " + name);
            return static_cast<std::size_t>(it - header.begin());
        };
        const std::size_t wages = column("wages"), pace = column("player.pace"),
                          coaching = column("nonPlayer.coaching");
        int edited[3] = {0, 0, 0};
        for (std::size_t r = 1; r < doc.rows.size(); r += 37) {
            auto& cells = doc.rows[r].cells;
            if (edited[0] < 500) {
                cells[wages] = std::to_string(std::stoul(cells[wages]) + 1);
                ++edited[0];
            }
            if (edited[1] < 250 && !cells[pace].empty() && cells[pace] != "255") {
                cells[pace] = std::to_string(std::stoul(cells[pace]) + 1);
                ++edited[1];
            }
            if (edited[2] < 250 && !cells[coaching].empty() && cells[coaching] != "255") {
                cells[coaching] = std::to_string(std::stoul(cells[coaching]) + 1);
                ++edited[2];
            }
        }
        std::string text;
        for (const auto& row : doc.rows)
            rostradb::cli::appendCsvRow(text, row.cells);
        std::ofstream(csv, std::ios::binary) << text;
        staffBytes = readStaff();
    }

    fs::path staffFile() const { return game / "data" / "staff.dat"; }
    std::vector<std::uint8_t> readStaff() const
    {
        std::ifstream in(staffFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void restoreStaff() const
    {
        std::fstream out(staffFile(), std::ios::binary | std::ios::in | std::ios::out);
        out.write(reinterpret_cast<const char*>(staffBytes.data()), static_cast<std::streamsize>(staffBytes.size()));
    }
};

void BM_Export(benchmark::State& state)
{
    const std::string game = bench::fullSampleGame();
    const bench::ScratchGame out{"export", false};
    const std::string csv = (out.path / "export.csv").string();
    Discard err;
    for (auto _ : state) {
        if (rostradb::cli::runExport({game, csv, false, ""}, err.stream, err.stream) != 0)
            state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(csv));
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

// The CSV alone, from a loaded database.
void BM_ExportFormatting(benchmark::State& state)
{
    const rostradb::GameDatabase db = rostradb::cli::loadGame(bench::fullSampleGame());
    for (auto _ : state) {
        std::string csv = rostradb::cli::exportCsv(db);
        benchmark::DoNotOptimize(csv.data());
    }
}
BENCHMARK(BM_ExportFormatting)->Unit(benchmark::kMillisecond);

void BM_ImportThousandCells(benchmark::State& state)
{
    const EditedExport edited;
    std::ostringstream out;
    Discard err;
    for (auto _ : state) {
        state.PauseTiming();
        edited.restoreStaff();
        out.str("");
        state.ResumeTiming();
        if (rostradb::cli::runImport({edited.game.string(), edited.csv.string(), false}, out, err.stream) != 0)
            state.SkipWithError("import failed");
    }
    state.SetLabel(out.str().substr(0, out.str().find('\n')));
}
BENCHMARK(BM_ImportThousandCells)->Unit(benchmark::kMillisecond);

// The reader alone over the whole export: every row and cell found, none
// copied. Bytes per second is the reading speed.
void BM_CsvReading(benchmark::State& state)
{
    const std::string csv = rostradb::cli::exportCsv(rostradb::cli::loadGame(bench::fullSampleGame()));
    std::size_t cells = 0;
    for (auto _ : state) {
        rostradb::cli::CsvReader reader(csv);
        rostradb::cli::CsvRow row;
        cells = 0;
        while (reader.next(row))
            cells += row.cells.size();
        benchmark::DoNotOptimize(cells);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.size()));
    state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_CsvReading)->Unit(benchmark::kMillisecond);

// What import does with the whole unchanged export once the game is loaded:
// the character set checked, every cell read and compared with the game's.
void BM_ImportPlanOfWholeExport(benchmark::State& state)
{
    const rostradb::GameDatabase db = rostradb::cli::loadGame(bench::fullSampleGame());
    const std::string csv = rostradb::cli::exportCsv(db);
    std::size_t errors = 0;
    for (auto _ : state) {
        const rostradb::cli::DecodedText text = rostradb::cli::decodeCsvBytes(csv);
        errors = rostradb::cli::planImport(db, text.utf8, "people.csv").errors.size();
    }
    if (errors != 0)
        state.SkipWithError("the export was refused");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.size()));
}
BENCHMARK(BM_ImportPlanOfWholeExport)->Unit(benchmark::kMillisecond);

void BM_DiffTwoGames(benchmark::State& state)
{
    const EditedExport edited;
    std::ostringstream out;
    Discard err;
    rostradb::cli::runImport({edited.game.string(), edited.csv.string(), false}, out, err.stream);
    const bool json = state.range(0) != 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        std::ostringstream diff;
        if (rostradb::cli::runDiff({bench::fullSampleGame(), edited.game.string(), json}, diff, err.stream) != 0)
            state.SkipWithError("diff failed");
        const std::string text = diff.str();
        lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_DiffTwoGames)->Arg(0)->Arg(1)->ArgName("json")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
