// The program's arguments: usage errors, --help, and the two commands that
// only look (search, show).

#include "cli_game.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace rostradb::test {
namespace {

TEST(CliUsage, AWrongCommandLineIsAUsageError)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"export"}, {"import", "game"}, {"diff", "old"}, {"apply", "game"},
             {"search", "game"}, {"show", "game"}, {"export", "game", "--bogus"}, {"diff", "a", "b", "c"}}) {
        std::string joined;
        for (const auto& a : arguments)
            joined += a + " ";
        SCOPED_TRACE(joined);
        const CliResult r = runCli(arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CliUsage, HelpDescribesEveryCommandAndItsOptions)
{
    const CliResult top = runCli({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"export", "import", "diff", "apply", "search", "show"})
        EXPECT_NE(top.out.find(command), std::string::npos) << command;
    EXPECT_NE(top.out.find("Exit status"), std::string::npos);

    const std::vector<std::pair<std::string, std::vector<std::string>>> commands{
        {"export", {"GAME", "--output", "player.*"}},
        {"import", {"GAME", "FILE", "--dry-run", "FILE:LINE: column NAME"}},
        {"diff", {"OLD", "NEW", "--json"}},
        {"apply", {"GAME", "PATCH", "--dry-run", "--force"}},
        {"search", {"GAME", "TEXT"}},
        {"show", {"GAME", "POSITION", "--json"}},
    };
    for (const auto& [command, words] : commands) {
        SCOPED_TRACE(command);
        const CliResult r = runCli({command, "--help"});
        EXPECT_EQ(r.status, 0);
        for (const std::string& word : words)
            EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

TEST(CliUsage, VersionAndTheColumnCatalogueNeedNoGame)
{
    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("rostradb-cli ")) << version.out;

    const CliResult columns = runCli({"columns"});
    EXPECT_EQ(columns.status, 0);
    for (const char* line : {"column\ttype\trange\twritable\taliases\n", "\nposition\tnumber\t0..4294967295\tno\t\n",
                             "\ndisplayName\ttext\t\tno\tname\n", "\nwages\tnumber\t",
                             "\nclubContractedText\ttext\t\tno\tclub\n", "\tyes\tca\n"})
        EXPECT_NE(columns.out.find(line), std::string::npos) << line;
}

TEST(CliUsage, AGameThatCannotBeLoadedIsRefused)
{
    TempDir empty;
    const CliResult r = runCli({"export", empty.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(empty.path().string() + ": "), std::string::npos) << r.err;
}

using CliLookups = CliGameTest;

TEST_F(CliLookups, SearchListsPositionAndNameWithTheWindowsRule)
{
    // a..z fold, accented letters only find themselves.
    EXPECT_EQ(runCli({"search", dir.path(), "JOS"}).out,
              "1\tJosé \"Pepe\", Jr Line\nBreak\n4\tJosé \"Pepe\", Jr Second0\n");
    // A quote that begins a word opens a quoted text, in which "" is one quote.
    EXPECT_EQ(runCli({"search", dir.path(), "\"é \"\"p\""}).out.substr(0, 2), "1\t");
    EXPECT_EQ(runCli({"search", dir.path(), "JOSÉ"}).out, "");
    EXPECT_EQ(runCli({"search", dir.path(), "second0"}).out,
              "0\tFirst0 Second0\n2\tFirst2 Second0\n4\tJosé \"Pepe\", Jr Second0\n");

    const CliResult unmappable = runCli({"search", dir.path(), "Łukasz"});
    EXPECT_EQ(unmappable.status, 1);
    EXPECT_EQ(unmappable.out, "");
}

TEST_F(CliLookups, ShowPrintsEveryFieldOfThePersonsRecords)
{
    const CliResult both = runCli({"show", dir.path(), "2"});
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.out.substr(0, both.out.find('\n', 12)), "position: 2\ndisplayName: First2 Second0");
    EXPECT_NE(both.out.find("\nwages: 123456\n"), std::string::npos);
    EXPECT_NE(both.out.find("\nplayer.pace: 17\n"), std::string::npos);
    EXPECT_NE(both.out.find("\nnonPlayer.extraValues[7]: -16\n"), std::string::npos);

    const CliResult nobody = runCli({"show", dir.path(), "3"});
    EXPECT_EQ(nobody.out.find("player."), std::string::npos) << "classification 0 leads nowhere";
    EXPECT_NE(nobody.out.find("\nnonPlayerId: 1\n"), std::string::npos);

    const auto json = nlohmann::json::parse(runCli({"show", dir.path(), "2", "--json"}).out);
    EXPECT_EQ(json["position"], 2);
    EXPECT_EQ(json["staff"]["wages"], 123456);
    EXPECT_EQ(json["player"]["pace"], 17);
    EXPECT_EQ(json["nonPlayer"]["extraValues[7]"], -16);
    EXPECT_EQ(json["texts"]["firstNameText"], "First2");
    const auto nonPlayer = nlohmann::json::parse(runCli({"show", dir.path(), "1", "--json"}).out);
    EXPECT_EQ(nonPlayer["displayName"], "José \"Pepe\", Jr Line\nBreak");
    EXPECT_TRUE(nonPlayer["player"].is_null());
    EXPECT_TRUE(nonPlayer["nonPlayer"].is_object());
}

TEST_F(CliLookups, ShowRefusesAPositionNobodyHolds)
{
    EXPECT_EQ(runCli({"show", dir.path(), "5"}).status, 1);
    EXPECT_EQ(runCli({"show", dir.path(), "x"}).status, 2);
    EXPECT_EQ(runCli({"show", dir.path(), "-1"}).status, 2);
}

} // namespace
} // namespace rostradb::test
