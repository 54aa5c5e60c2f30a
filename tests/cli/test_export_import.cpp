// export and import: a spreadsheet round trip leaves the file as it was, an
// edited cell changes exactly its field's bytes, and every kind of wrong
// input is refused with its place named and nothing written.

#include "cli/game_files.h"
#include "cli/test_kill_hook.h"
#include "cli_game.h"
#include "db/cp1252_text.h"
#include "db/save_journal.h"
#include "editor/people_columns.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace rostradb::test {
namespace {

using CliExport = CliGameTest;

TEST_F(CliExport, RowsHoldTheFilesValuesAndTheRecordsTheClassificationLeadsTo)
{
    CsvTable t = exported();
    ASSERT_EQ(t.rows.size(), 5u);
    EXPECT_EQ(t.header[0], "position");
    EXPECT_EQ(t.header[1], "displayName");
    EXPECT_EQ(t.cell(2, "wages"), "123456");
    EXPECT_EQ(t.cell(0, "preferenceSet1[0]"), "-2");     // a 32-bit integer is signed
    EXPECT_EQ(t.cell(2, "player.pace"), "17");
    EXPECT_EQ(t.cell(2, "nonPlayer.extraValues[7]"), "-16");
    EXPECT_EQ(t.cell(1, "displayName"), "José \"Pepe\", Jr Line\nBreak");
    EXPECT_EQ(t.cell(1, "firstNameText"), "José \"Pepe\", Jr");
    EXPECT_EQ(t.cell(1, "commonNameText"), "");           // the pattern's position lies outside

    // Player columns for 2 and 3, non-player columns for 1 and 3, none for 0.
    const std::vector<std::pair<bool, bool>> filled{{true, false}, {false, true}, {true, true}, {false, false},
                                                    {true, false}};
    for (std::size_t row = 0; row < filled.size(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(!t.cell(row, "player.recordId").empty(), filled[row].first);
        EXPECT_EQ(!t.cell(row, "player.workRate").empty(), filled[row].first);
        EXPECT_EQ(!t.cell(row, "nonPlayer.recordId").empty(), filled[row].second);
        EXPECT_EQ(!t.cell(row, "nonPlayer.trailingByte").empty(), filled[row].second);
    }
}

TEST(CliExportSample, TheFastRowsAreTheCellsShowUses)
{
    // export writes its rows without going through the column list; they
    // must still be the cells, column for column, that show prints.
    TempDir dir;
    writeSampleGame(dir.path(), SampleSize::Small, 3);
    const GameDatabase db = cli::loadGame(dir.path().string());
    const CsvTable t = CsvTable::parse(runCli({"export", dir.path().string()}).out);
    ASSERT_EQ(t.rows.size(), db.staff.size());
    std::vector<std::string> cells;
    for (std::uint32_t k = 0; k < db.staff.size(); ++k) {
        cells.clear();
        for (const PeopleColumn& c : peopleColumns())
            cells.push_back(cp1252ToUtf8(cellText(db, k, c)));
        ASSERT_EQ(t.rows[k], cells) << "row " << k;
    }
}

TEST_F(CliExport, ExportThenImportChangesNothing)
{
    const CliResult r = import(runCli({"export", dir.path()}).out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 values changed in 0 records\n");
    EXPECT_EQ(staffBytes(), original);
}

TEST(CliExportSample, ExportThenImportOfAGeneratedGameChangesNothing)
{
    TempDir dir;
    writeSampleGame(dir.path(), SampleSize::Small, 5);
    const std::string game = dir.path().string();
    const std::string csv = (dir.path() / "people.csv").string();
    const auto before = readFileBytes(dir.path() / "data" / "staff.dat");
    ASSERT_EQ(runCli({"export", game, "-o", csv}).status, 0);
    const CliResult r = runCli({"import", game, csv});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 values changed in 0 records\n");
    EXPECT_EQ(readFileBytes(dir.path() / "data" / "staff.dat"), before);
}

TEST_F(CliExport, AnEditedCellChangesExactlyItsFieldsBytes)
{
    struct Edit {
        std::size_t row;
        const char* column;
        const char* value;
        std::size_t fileOffset; // of the field
        std::size_t width;
        std::uint32_t bits;
    };
    for (const Edit& e : {
             Edit{2, "wages", "4000000000", game.staffAt(2) + at::kWages, 4, 4000000000u},
             Edit{3, "birthYear", "1987", game.staffAt(3) + at::kBirthYear, 2, 1987},
             Edit{0, "preferenceSet1[0]", "-300", game.staffAt(0) + at::kPreference1, 4, static_cast<std::uint32_t>(-300)},
             Edit{2, "player.pace", "3", game.playerAt(1) + at::kPace, 1, 3},
             Edit{1, "nonPlayer.coaching", "20", game.nonPlayerAt(1) + at::kCoaching, 1, 20},
             Edit{2, "nonPlayer.extraValues[0]", "-5", game.nonPlayerAt(0) + at::kExtraValue0, 4, static_cast<std::uint32_t>(-5)},
         }) {
        SCOPED_TRACE(e.column);
        game.writeTo(dir);
        CsvTable t = exported();
        t.cell(e.row, e.column) = e.value;
        const CliResult r = import(t.text());
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "1 values changed in 1 records\n");
        const auto after = staffBytes();
        for (const std::size_t offset : differingBytes(original, after))
            EXPECT_TRUE(offset >= e.fileOffset && offset < e.fileOffset + e.width) << "byte " << offset;
        EXPECT_EQ(valueAt(after, e.fileOffset, e.width), e.bits);
    }
}

TEST_F(CliExport, OnlyTheGivenRowsAndColumnsAreRead)
{
    // A sheet of two columns and one row, in another order, with CRLF ends.
    const CliResult r = import("wages,position\r\n77,4\r\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto after = staffBytes();
    EXPECT_EQ(valueAt(after, game.staffAt(4) + at::kWages, 4), 77u);
    for (const std::size_t offset : differingBytes(original, after))
        EXPECT_TRUE(offset >= game.staffAt(4) + at::kWages && offset < game.staffAt(4) + at::kWages + 4) << offset;
}

TEST_F(CliExport, ARowMayLeadToARecordThroughTheClassificationItSets)
{
    // Person 3 becomes a player; the row fills the player record it links to.
    const CliResult r = import("position,classification,player.pace\n3,2,9\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2 values changed in 2 records\n");
    EXPECT_EQ(valueAt(staffBytes(), game.playerAt(1) + at::kPace, 1), 9u);
}

TEST_F(CliExport, PeopleWhoShareARecordMustAgreeOnIt)
{
    CsvTable t = exported();
    t.cell(0, "player.pace") = "5";
    t.cell(4, "player.pace") = "5";
    const CliResult r = import(t.text());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 values changed in 1 records\n");
}

TEST_F(CliExport, DryRunListsTheChangesAndWritesNothing)
{
    const CliResult r = import("position,wages\n2,5\n", {"--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "staff 2 (First2 Second0) wages: 123456 -> 5\n1 values changed in 1 records\n"
                     "Dry run: nothing was written.\n");
    EXPECT_EQ(staffBytes(), original);
}

struct RefusedCsv {
    const char* what;
    std::function<void(CsvTable&)> spoil;
    std::string expected; // the error's text after "FILE:"
};

// People 1 and 3 have a line break in displayName and in secondNameText:
// rows 0..4 start on lines 2, 3, 6, 7 and 10.

TEST_F(CliExport, EveryKindOfRefusedInputIsNamedAndLeavesTheFileUntouched)
{
    const std::vector<RefusedCsv> cases{
        {"unknown column", [](CsvTable& t) { t.header.push_back("shoeSize"); for (auto& r : t.rows) r.push_back("9"); },
         "1: column shoeSize: unknown column"},
        {"repeated column", [](CsvTable& t) { t.header[3] = "wages"; }, "1: column wages: the header names this column twice"},
        {"no position column", [](CsvTable& t) { t.header[0] = "shoeSize"; }, "1: column position: missing"},
        {"repeated position", [](CsvTable& t) { t.rows[3][0] = "0"; }, "7: column position: position 0 is also on line 2"},
        {"position outside the table", [](CsvTable& t) { t.rows[3][0] = "5"; }, "7: column position: no person at position 5"},
        {"negative position", [](CsvTable& t) { t.rows[3][0] = "-1"; }, "7: column position: no person at position -1"},
        {"not a decimal", [](CsvTable& t) { t.cell(0, "wages") = "12a"; }, "2: column wages: \"12a\" is not a whole number"},
        {"a space in a number", [](CsvTable& t) { t.cell(0, "wages") = " 12"; }, "2: column wages: \" 12\" is not"},
        {"hexadecimal", [](CsvTable& t) { t.cell(0, "squad") = "0x1"; }, "2: column squad: \"0x1\" is not"},
        {"too large for a byte", [](CsvTable& t) { t.cell(2, "player.pace") = "256"; }, "6: column player.pace: 256 is out of range"},
        {"negative unsigned", [](CsvTable& t) { t.cell(0, "wages") = "-1"; }, "2: column wages: -1 is out of range"},
        {"too small for 32 bits", [](CsvTable& t) { t.cell(0, "staffId") = "-2147483649"; }, "2: column staffId: -2147483649 is out of range"},
        {"changed display name", [](CsvTable& t) { t.cell(0, "displayName") = "Someone Else"; }, "2: column displayName:"},
        {"changed text", [](CsvTable& t) { t.cell(1, "firstNameText") = "Josef"; }, "3: column firstNameText:"},
        {"changed link", [](CsvTable& t) { t.cell(0, "playerId") = "1"; }, "2: column playerId: cannot be changed"},
        {"player value of a non-player", [](CsvTable& t) { t.cell(1, "player.pace") = "3"; },
         "3: column player.pace: the person's classification 1 leads to no player record"},
        {"classification set to none", [](CsvTable& t) { t.cell(1, "classification") = "0"; },
         "3: column nonPlayer.recordId: the person's classification 0 leads to no nonPlayer record"},
        {"link outside the table", [](CsvTable& t) { t.cell(1, "classification") = "3"; t.cell(1, "player.pace") = "3"; },
         "3: column player.pace: playerId 9 lies outside the player table"},
        {"shared record set twice", [](CsvTable& t) { t.cell(0, "player.pace") = "2"; t.cell(4, "player.pace") = "1"; },
         "10: column player.pace: player record 0 is set to 1 here and to 2 on line 2"},
        {"short row", [](CsvTable& t) { t.rows[2].pop_back(); }, "6: column nonPlayer.trailingByte: the row ends before this column"},
        {"long row", [](CsvTable& t) { t.rows[2].push_back("1"); }, "6: column #"},
    };
    for (const RefusedCsv& c : cases) {
        SCOPED_TRACE(c.what);
        CsvTable t = exported();
        // A good edit elsewhere: the refusal must keep it from being written.
        t.cell(3, "wages") = "31";
        c.spoil(t);
        const CliResult r = import(t.text());
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(csvPath() + ":" + c.expected), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(staffBytes(), original);
    }
}

TEST_F(CliExport, AllErrorsAreListedAndBrokenQuotingIsPlaced)
{
    const CliResult r = import("position,wages,squad\n0,x,1\n1,2,y\n2,\"3\n");
    EXPECT_EQ(r.status, 1);
    const std::string file = csvPath();
    EXPECT_NE(r.err.find(file + ":2: column wages:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(file + ":3: column squad:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(file + ":4: column wages: a quoted cell that is never closed"), std::string::npos) << r.err;
    EXPECT_EQ(staffBytes(), original);
}

// What a spreadsheet writes back after the user changed person 1's wages.
TEST_F(CliExport, SpreadsheetFormsImportAsSaved)
{
    CsvTable t = exported();
    t.cell(1, "wages") = "4321";
    std::string semicolons; // a Windows-1252 file with ';', no byte order mark
    for (const auto* row : {&t.header, &t.rows[0], &t.rows[1], &t.rows[2], &t.rows[3], &t.rows[4]}) {
        std::string line;
        for (std::size_t i = 0; i < row->size(); ++i) {
            std::string cell = (*row)[i];
            line += i ? ";" : "";
            if (cell.find_first_of(";\"\n") != std::string::npos) {
                for (std::size_t q = cell.find('"'); q != std::string::npos; q = cell.find('"', q + 2))
                    cell.insert(q, 1, '"');
                cell = "\"" + cell + "\"";
            }
            line += cell;
        }
        semicolons += line + "\r\n";
    }
    semicolons = *utf8ToCp1252(semicolons);
    CliResult r = import(semicolons);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 values changed in 1 records\n");
    EXPECT_EQ(r.err, "rostradb-cli: " + csvPath() + " is not UTF-8: read as Windows-1252\n");
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(1) + at::kWages, 4), 4321u);

    // Opened as Windows-1252, saved as UTF-8: "José" comes back as "JosÃ©"
    // in the name and its text, and that is said once, with the fix.
    game.writeTo(dir);
    t = exported();
    for (const char* column : {"displayName", "firstNameText"})
        t.cell(1, column) = cp1252ToUtf8(t.cell(1, column)); // its UTF-8 bytes taken for Windows-1252
    r = import(t.text());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the spreadsheet read the file in the wrong character set: open it as UTF-8"),
              std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("cannot be changed"), std::string::npos) << r.err;
    EXPECT_EQ(staffBytes(), original);
}

// What spreadsheets leave in a file: rows emptied of their cells, old Mac
// line ends (CR alone), an empty column after the last, a byte order mark
// read as text. Each refusal is the one line it should be.
TEST_F(CliExport, SpreadsheetLeftoversAreReadOrNamedExactly)
{
    CliResult r = import("position,wages\r1,4321\r,\r3,31\r");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(1) + at::kWages, 4), 4321u);
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(3) + at::kWages, 4), 31u);
    game.writeTo(dir);

    const std::vector<std::pair<std::string, std::string>> cases{
        {"position,wages,\n0,5,\n", "1: column #3: an empty column name at position 3"},
        {"position,wages\n,5\n", "2: column position: empty: rows are found by their position"},
        {"position,wages\n0,\"12\r\"\n", "2: column wages: \"12\\r\" is not a whole number in decimal"},
        {"\xC3\xAF\xC2\xBB\xC2\xBFposition,wages\n0,5\n",
         "1: column \xC3\xAF\xC2\xBB\xC2\xBFposition: the spreadsheet read the file in the wrong character set: "
         "open it as UTF-8 (\"\xC3\xAF\xC2\xBB\xC2\xBFposition\" stands for \"position\")"},
    };
    for (const auto& [csv, message] : cases) {
        r = import(csv);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, csvPath() + ":" + message + "\nrostradb-cli: " + csvPath() + ": 1 error; nothing was written\n");
        EXPECT_EQ(staffBytes(), original);
    }
}

TEST_F(CliExport, ATextMayChangeWithItsCode)
{
    CsvTable t = exported();
    const std::string secondName = t.cell(1, "secondNameText"); // second name 1, "Line\nBreak"
    t.cell(0, "secondName") = "1";
    t.cell(0, "secondNameText") = secondName;
    CliResult r = import(t.text());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(0) + 8, 4), 1u); // secondName

    game.writeTo(dir);
    t = exported();
    t.cell(0, "secondName") = "1";
    t.cell(0, "secondNameText") = "Smith";
    r = import(t.text());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(":2: column secondNameText: \"Smith\" contradicts secondName 1, which is \"" + secondName + "\""),
              std::string::npos) << r.err;
    EXPECT_EQ(staffBytes(), original);
}

// /dev/full takes no byte: what was done is said on stderr, and the status
// tells whether the game was saved.
TEST_F(CliExport, OutputThatCannotBeWrittenIsReported)
{
    CsvTable t = exported();
    t.cell(1, "wages") = "4321";
    const std::string file = csvPath();
    const std::string csv = t.text();
    writeFileBytes(file, std::vector<std::uint8_t>(csv.begin(), csv.end()));
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string err;
    };
    for (const Case& c : {
             Case{{"export", dir.path()}, 1, "rostradb-cli: the output cannot be written\n"},
             Case{{"import", dir.path(), file, "--dry-run"}, 1, "rostradb-cli: the output cannot be written\n"},
             Case{{"import", dir.path(), file}, 0, "rostradb-cli: the output cannot be written; the game was saved\n"},
         }) {
        std::ofstream full("/dev/full");
        std::ostringstream err;
        EXPECT_EQ(cli::runCli(c.arguments, full, err), c.status) << c.arguments[0];
        EXPECT_EQ(err.str(), c.err);
    }
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(1) + at::kWages, 4), 4321u);
}

TEST_F(CliExport, ExportStartsWithAByteOrderMarkUnlessAskedNot)
{
    EXPECT_TRUE(runCli({"export", dir.path()}).out.starts_with("\xEF\xBB\xBFposition,"));
    EXPECT_TRUE(runCli({"export", dir.path(), "--no-bom"}).out.starts_with("position,"));
}

TEST_F(CliExport, AnotherProgramsChangesAreKeptAndConflictsRefusedUnlessForced)
{
    const std::uint16_t wages = columnNamed("wages")->field;
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force ? "--force" : "no --force");
        game.writeTo(dir);
        GameDatabase db = cli::loadGame(dir.path());
        // Another program changes person 1's wages (kept) and person 2's,
        // which the command changes too (a conflict).
        std::vector<std::uint8_t> elsewhere = staffBytes();
        for (const auto& [person, value] : {std::pair{1, 999u}, std::pair{2, 777u}})
            for (int i = 0; i < 4; ++i)
                elsewhere[game.staffAt(person) + at::kWages + i] = static_cast<std::uint8_t>(value >> (8 * i));
        dir.write("staff.dat", elsewhere);

        std::ostringstream out;
        std::ostringstream err;
        const auto save = [&] {
            StaffFileLock lock(dir.path(), LockKind::Exclusive);
            cli::saveChanges(db, dir.path(), lock,
                             {{{StaffTable::Staff, 2, wages}, 123456, 5},
                              {{StaffTable::Staff, 3, wages}, valueAt(original, game.staffAt(3) + at::kWages, 4), 6}},
                             false, force, out, err);
        };
        EXPECT_EQ(err.str(), "");
        if (!force) {
            EXPECT_THROW(save(), cli::Refused);
            EXPECT_EQ(staffBytes(), elsewhere);
            EXPECT_EQ(out.str(), "");
        } else {
            save();
            std::vector<std::uint8_t> expected = elsewhere;
            expected[game.staffAt(2) + at::kWages] = 5;
            for (int i = 1; i < 4; ++i)
                expected[game.staffAt(2) + at::kWages + i] = 0;
            expected[game.staffAt(3) + at::kWages] = 6;
            for (int i = 1; i < 4; ++i)
                expected[game.staffAt(3) + at::kWages + i] = 0;
            EXPECT_EQ(staffBytes(), expected);
            EXPECT_EQ(db.staff[1].wages, 999u);
        }
        EXPECT_EQ(err.str(),
                  "conflict: " + cp1252ToUtf8(db.staff[2].displayName) + ": Wages: on disk 777, in the editor 5\n");
    }
}

// Runs the real rostradb-cli's import with the kill hook set to die before
// write `killAtWrite`, and says how the process ended: "killed", or how else.
#ifdef _WIN32
std::wstring wideText(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string importKilledAtWrite(int killAtWrite, const std::string& game, const std::string& csv)
{
    // A cross build knows the program only by the build machine's path, so
    // it is found from this test's own: the build's cli/ beside tests/cli/.
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    const std::filesystem::path program =
        std::filesystem::path(self).parent_path().parent_path().parent_path() / "cli" / "rostradb-cli.exe";
    std::wstring commandLine =
        L"\"" + program.wstring() + L"\" import \"" + wideText(game) + L"\" \"" + wideText(csv) + L"\"";

    // The child inherits the variable; this process's C runtime never sees it.
    const std::wstring variable = wideText(cli::kTestKillVariable);
    ::SetEnvironmentVariableW(variable.c_str(), std::to_wstring(killAtWrite).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    const DWORD startError = ::GetLastError();
    ::SetEnvironmentVariableW(variable.c_str(), nullptr);
    if (!started)
        return "not started: error " + std::to_string(startError);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code == cli::kTestKillExitCode ? "killed" : "exit " + std::to_string(code);
}
#else
std::string importKilledAtWrite(int killAtWrite, const std::string& game, const std::string& csv)
{
    const std::string command = std::string(cli::kTestKillVariable) + "=" + std::to_string(killAtWrite) +
                                " exec '" ROSTRADB_CLI_PATH "' import '" + game + "' '" + csv + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return "killed";
    return "wait status " + std::to_string(status);
}
#endif

TEST_F(CliExport, AnImportKilledMidSaveIsUndoneByTheNextCommand)
{
    // Three people far apart: the save writes a journal of eleven pieces
    // (header, three run heads, their old bytes and the hashes of the new,
    // checksum), then three runs of staff.dat. The process dies before its
    // second staff.dat write.
    CsvTable csv = exported();
    for (const std::size_t row : {0, 2, 4})
        csv.cell(row, "wages") = std::to_string(1000 + row);
    const std::string file = csvPath();
    const std::string text = csv.text();
    writeFileBytes(file, std::vector<std::uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(importKilledAtWrite(13, dir.path(), file), "killed");
    ASSERT_TRUE(std::filesystem::exists(dir.file("staff.dat-journal")));
    // Half saved: person 0 written, person 2 not.
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(0) + at::kWages, 4), 1000u);
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(2) + at::kWages, 4),
              valueAt(original, game.staffAt(2) + at::kWages, 4));

    // A backup put back over the half-saved file: nothing is put back over
    // it, the journal stays, and the command stops with status 3.
    const std::vector<std::uint8_t> halfSaved = staffBytes();
    std::vector<std::uint8_t> backup = original;
    backup[game.staffAt(4) + at::kWages] ^= 0x01;
    dir.write("staff.dat", backup);
    const CliResult refused = runCli({"search", dir.path(), "zzz"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("staff.dat was changed after the interrupted save"), std::string::npos) << refused.err;
    EXPECT_EQ(staffBytes(), backup);
    ASSERT_TRUE(std::filesystem::exists(dir.file("staff.dat-journal")));
    dir.write("staff.dat", halfSaved);

    const CliResult next = runCli({"search", dir.path(), "zzz"});
    EXPECT_EQ(next.status, 0);
    EXPECT_EQ(next.err, std::string(kSaveUndone) + "\n");
    EXPECT_EQ(staffBytes(), original);
    EXPECT_FALSE(std::filesystem::exists(dir.file("staff.dat-journal")));

    EXPECT_EQ(runCli({"import", dir.path(), file}).status, 0);
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(4) + at::kWages, 4), 1004u);
    EXPECT_EQ(runCli({"search", dir.path(), "zzz"}).err, "");
}

} // namespace
} // namespace rostradb::test
