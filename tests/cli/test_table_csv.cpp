// export --table / import --table: renames through a spreadsheet's CSV, with
// the refusals of the people import.

#include "cli_game.h"
#include "db/cp1252_text.h"

#include <gtest/gtest.h>

namespace rostradb::test {
namespace {

using CliTables = CliGameTest;

CsvTable exportedTable(const GameDir& dir, const std::string& table)
{
    const CliResult r = runCli({"export", dir.path(), "--table", table, "--no-bom"});
    EXPECT_EQ(r.status, 0) << r.err;
    return CsvTable::parse(r.out);
}

TEST_F(CliTables, RoundTripRenamesOnlyTheEditedNamesBytes)
{
    const auto firstNamesBefore = dir.read("first_names.dat");
    CsvTable t = exportedTable(dir, "first-names");
    ASSERT_EQ(t.header, (std::vector<std::string>{"position", "name", "people"}));
    EXPECT_EQ(t.cell(1, "name"), cp1252ToUtf8("Jos\xE9 \"Pepe\", Jr"));
    // Unchanged, the file changes nothing.
    CliResult r = import(t.text(), {"--table", "first-names"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("first_names.dat"), firstNamesBefore);

    t.cell(1, "name") = "Jos\xC3\xA9";
    r = import(t.text(), {"--table", "first-names", "--dry-run"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("first_names.dat"), firstNamesBefore);
    r = import(t.text(), {"--table", "first-names"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1 name renamed"), std::string::npos) << r.out;
    const auto after = dir.read("first_names.dat");
    // "José" and one zero over the old name; every other byte as it was.
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool inNewName = i >= SyntheticGame::kNameBytes && i < SyntheticGame::kNameBytes + 5;
        if (!inNewName) {
            EXPECT_EQ(after[i], firstNamesBefore[i]) << i;
        }
    }
    EXPECT_EQ(exportedTable(dir, "first-names").cell(1, "name"), "Jos\xC3\xA9");
    // The display names follow.
    const CliResult found = runCli({"search", dir.path(), "Jos\xC3\xA9 "});
    EXPECT_NE(found.out.find("Jos\xC3\xA9 "), std::string::npos) << found.out;
}

TEST_F(CliTables, RefusalsNameTheCellAndWriteNothing)
{
    const auto clubsBefore = dir.read("club.dat");
    const struct {
        std::string csv;
        std::string said;
    } cases[] = {
        {"position,name\n0,\xC5\x81\xC3\xB3\x64\xC5\xBA\n", ":2: column name: The character \"\xC5\x81\" (U+0141)"},
        {"position,name\n0," + std::string(52, 'a') + "\n", ":2: column name: The name is 52 bytes long"},
        {"position,name,people\n0,New,999\n", ":2: column people:"},
        {"position,name\n9,New\n", ":2: column position:"},
        {"position,name,colour\n", ":1: column colour: unknown column"},
        {"position,name\n0,A\n0,B\n", ":3: column position: 0 comes twice"},
    };
    for (const auto& c : cases) {
        const CliResult r = import(c.csv, {"--table", "clubs"});
        EXPECT_EQ(r.status, 1) << c.csv;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
    EXPECT_EQ(dir.read("club.dat"), clubsBefore);
}

TEST_F(CliTables, NamesReadInTheWrongCharacterSetAreRefusedOnce)
{
    // The first name "José..." saved by a spreadsheet that read UTF-8 as
    // Windows-1252: "JosÃ©...".
    CsvTable t = exportedTable(dir, "first-names");
    std::string misread;
    for (const char c : t.cell(1, "name"))
        misread += cp1252ToUtf8(std::string(1, c));
    t.cell(1, "name") = misread;
    const CliResult r = import(t.text(), {"--table", "first-names"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("wrong character set"), std::string::npos) << r.err;
}

TEST_F(CliTables, APatchCarriesRenamesToAnotherCopy)
{
    GameDir modded;
    GameDir copy;
    game.writeTo(modded);
    game.writeTo(copy);
    const std::string csv = "position,name\n1,Real Name FC\n";
    writeFileBytes(csvPath(), std::vector<std::uint8_t>(csv.begin(), csv.end()));
    ASSERT_EQ(runCli({"import", modded.path(), csvPath(), "--table", "clubs"}).status, 0);

    const CliResult diff = runCli({"diff", dir.path(), modded.path(), "--json"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    EXPECT_NE(diff.out.find(R"("table":"clubs","position":1,"field":"name")"), std::string::npos) << diff.out;
    const std::string patch = (files.path() / "mod.json").string();
    writeFileBytes(patch, std::vector<std::uint8_t>(diff.out.begin(), diff.out.end()));
    const CliResult applied = runCli({"apply", copy.path(), patch});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(copy.read("club.dat"), modded.read("club.dat"));
    // Applied twice, the old name no longer matches: a conflict.
    EXPECT_EQ(runCli({"apply", copy.path(), patch}).status, 1);
}

} // namespace
} // namespace rostradb::test
