// diff and apply: a game compared with itself differs nowhere, and the patch
// from a game to an edited copy of it turns another copy into that edit,
// byte for byte, unless the copy disagrees with the patch's old values.

#include "cli/game_diff.h"
#include "cli/game_files.h"
#include "cli_game.h"
#include "db/data_paths.h"
#include "db/staff_writer.h"
#include "support/recording_sink.h"
#include "tools/sample_game.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace rostradb::test {
namespace {

namespace fs = std::filesystem;

// A generated game OLD and an edited copy NEW, with a folder for more copies.
class CliDiff : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeSampleGame(oldGame(), SampleSize::Small, 11);
        copyGame(oldGame(), newGame());
        GameDatabase db = cli::loadGame(newGame().string());
        db.staff[3].wages = 2017;
        db.staff[40].preferenceSet2[1] = -7;
        db.players[5].pace = static_cast<std::uint8_t>(db.players[5].pace + 1);
        db.nonPlayers[2].extraValues[7] = -123456;
        oldWages3 = cli::loadGame(oldGame().string()).staff[3].wages;
        RecordingSink sink;
        saveStaffFile(db, newGame().string(), sink);
    }

    fs::path oldGame() const { return root.path() / "old"; }
    fs::path newGame() const { return root.path() / "new"; }
    fs::path patchFile() const { return root.path() / "patch.json"; }

    static void copyGame(const fs::path& from, const fs::path& to)
    {
        fs::copy(from, to, fs::copy_options::recursive);
    }
    static std::vector<std::uint8_t> staffOf(const fs::path& game) { return readFileBytes(game / "data" / "staff.dat"); }

    void writePatch(const std::string& json) const
    {
        writeFileBytes(patchFile(), std::vector<std::uint8_t>(json.begin(), json.end()));
    }
    std::string diffJson() const
    {
        const CliResult r = runCli({"diff", oldGame().string(), newGame().string(), "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }

    TempDir root;
    std::uint32_t oldWages3 = 0;
};

TEST_F(CliDiff, AGameComparedWithItselfDiffersNowhere)
{
    const CliResult text = runCli({"diff", oldGame().string(), oldGame().string()});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "");
    const CliResult json = runCli({"diff", oldGame().string(), oldGame().string(), "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::array());
}

TEST_F(CliDiff, ListsEveryEditedValueOnce)
{
    const nlohmann::json patch = nlohmann::json::parse(diffJson());
    std::vector<std::string> fields;
    for (const auto& change : patch)
        fields.push_back(change["table"].get<std::string>() + " " + std::to_string(change["position"].get<int>()) +
                         " " + change["field"].get<std::string>() + " " + change["new"].dump());
    EXPECT_EQ(fields, (std::vector<std::string>{"staff 3 wages 2017", "staff 40 preferenceSet2[1] -7",
                                                "player 5 pace " + patch[2]["new"].dump(),
                                                "nonPlayer 2 extraValues[7] -123456"}));
    EXPECT_EQ(patch[0]["old"], oldWages3);
    EXPECT_EQ(patch[2]["new"].get<int>(), patch[2]["old"].get<int>() + 1);

    const CliResult text = runCli({"diff", oldGame().string(), newGame().string()});
    const GameDatabase db = cli::loadGame(oldGame().string());
    const std::string name = db.staff[3].displayName; // generated names are ASCII
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "staff 3 (" + name + ") wages: " + std::to_string(oldWages3) + " -> 2017");
}

TEST_F(CliDiff, ApplyingTheDiffToACopyOfOldGivesNewsStaffFile)
{
    writePatch(diffJson());
    const fs::path copy = root.path() / "copy";
    copyGame(oldGame(), copy);
    const CliResult r = runCli({"apply", copy.string(), patchFile().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "4 values changed in 4 records\n");
    EXPECT_EQ(staffOf(copy), staffOf(newGame()));
}

// Another tool moved a person's link to their player record: a save never
// writes those bytes, so the text lists the difference and the patch leaves
// it out, and apply still turns OLD into NEW where a save can.
TEST_F(CliDiff, ALinkNoSaveWritesIsListedButNotPatched)
{
    std::vector<std::uint8_t> edited = staffOf(newGame());
    const std::size_t playerIdOfPerson7 = 7 * 157 + 145;
    edited[playerIdOfPerson7] ^= 0x01;
    writeFileBytes(newGame() / "data" / "staff.dat", edited);

    const CliResult text = runCli({"diff", oldGame().string(), newGame().string()});
    EXPECT_NE(text.out.find("staff 7 ("), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(") playerId: "), std::string::npos) << text.out;
    writePatch(diffJson());
    EXPECT_EQ(nlohmann::json::parse(diffJson()).size(), 4u);

    const fs::path copy = root.path() / "copy";
    copyGame(oldGame(), copy);
    const CliResult r = runCli({"apply", copy.string(), patchFile().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    edited[playerIdOfPerson7] ^= 0x01; // the one byte no save writes
    EXPECT_EQ(staffOf(copy), edited);
}

TEST_F(CliDiff, AConflictingPatchWritesNothingUnlessForced)
{
    writePatch(diffJson());
    const fs::path copy = root.path() / "copy";
    copyGame(oldGame(), copy);
    {
        // The copy's own edit of a value the patch changes too.
        GameDatabase db = cli::loadGame(copy.string());
        db.staff[3].wages = 1500;
        RecordingSink sink;
        saveStaffFile(db, copy.string(), sink);
    }
    const auto before = staffOf(copy);

    const CliResult refused = runCli({"apply", copy.string(), patchFile().string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("conflict: staff 3 (" + cli::loadGame(copy.string()).staff[3].displayName +
                               ") wages: the patch expects " + std::to_string(oldWages3) + ", the game holds 1500"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.err.find("conflict: player"), std::string::npos) << "only the one value conflicts";
    EXPECT_EQ(staffOf(copy), before);

    const CliResult dry = runCli({"apply", copy.string(), patchFile().string(), "--force", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("wages: 1500 -> 2017"), std::string::npos) << dry.out;
    EXPECT_EQ(staffOf(copy), before);

    const CliResult forced = runCli({"apply", copy.string(), patchFile().string(), "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(staffOf(copy), staffOf(newGame()));
}

TEST_F(CliDiff, GamesOfDifferentSizesAreRefused)
{
    const fs::path tiny = root.path() / "tiny";
    writeSampleGame(tiny, SampleSize::Tiny, 11);
    const CliResult r = runCli({"diff", oldGame().string(), tiny.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(cli::kDifferentShapes), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(CliDiff, PatchesThatCannotApplyAreRefusedWhole)
{
    const std::string good = R"({"table": "staff", "position": 3, "field": "wages", "old": )" +
                             std::to_string(oldWages3) + R"(, "new": 1})";
    struct Case {
        std::string patch;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"[" + good + ",", "not valid JSON"},
        {R"({"table": "staff"})", "a patch is an array of changes"},
        {"[" + good + R"(, {"table": "coach", "position": 0, "field": "wages", "old": 0, "new": 1}])",
         "change 2: unknown table \"coach\""},
        {"[" + good + R"(, {"table": "player", "position": 0, "field": "wages", "old": 0, "new": 1}])",
         "change 2: the player table has no field \"wages\""},
        {"[" + good + R"(, {"table": "player", "position": 99999, "field": "pace", "old": 0, "new": 1}])",
         "change 2: position 99999 lies outside the player table"},
        {"[" + good + R"(, {"table": "player", "position": 0, "field": "pace", "old": 0, "new": 256}])",
         "change 2: \"new\" 256 is out of range"},
        {"[" + good + R"(, {"table": "player", "position": 0, "field": "pace", "old": "1", "new": 2}])",
         "change 2: \"old\" must be a whole number"},
        {"[" + good + R"(, {"table": "staff", "position": 0, "field": "playerId", "old": 0, "new": 12345}])",
         "change 2: staff 0"},
        {"[" + good + R"(, {"table": "staff", "position": 3, "field": "wages", "old": 0, "new": 2}])",
         "change 2: staff 3"},
        // Beyond any double: the JSON reader's range error, not its syntax error.
        {"[" + good + R"(, {"table": "player", "position": 0, "field": "pace", "old": 0, "new": 1E400}])",
         "not valid JSON"},
    };
    const fs::path copy = root.path() / "copy";
    copyGame(oldGame(), copy);
    const auto before = staffOf(copy);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patch);
        writePatch(c.patch);
        const CliResult r = runCli({"apply", copy.string(), patchFile().string(), "--force"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(patchFile().string() + ": " + c.expected), std::string::npos) << r.err;
        EXPECT_EQ(staffOf(copy), before);
    }
}

} // namespace
} // namespace rostradb::test
