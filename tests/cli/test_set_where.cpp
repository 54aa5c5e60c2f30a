// search, export --where and set: the filter language from the command line,
// and set's changes written through the checked save exactly as the window's
// bulk change would write them.

#include "cli/game_files.h"
#include "cli_game.h"
#include "db/cp1252_text.h"
#include "db/progress_sink.h"
#include "db/staff_file_lock.h"
#include "db/staff_writer.h"
#include "editor/bulk_change.h"
#include "editor/people_filter.h"
#include "editor/staff_search.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <optional>
#include <thread>

namespace rostradb::test {
namespace {

// The fixture's game with player record 0's pace at 3 and everyone's wages
// but person 2's (123456) at 1000.
class CliSet : public CliGameTest {
protected:
    CliSet()
    {
        game.staff.u8(game.playerAt(0) + at::kPace, 3);
        for (const std::size_t k : {0, 1, 3, 4})
            game.staff.u32(game.staffAt(k) + at::kWages, 1000);
        game.writeTo(dir);
        original = staffBytes();
    }
};

TEST_F(CliSet, ChangesTheMatchingPeopleLimitedAndSkipping)
{
    // People 0 and 4 share player record 0, person 2 has record 1 (pace 17);
    // 1 and 3 have no player record.
    const CliResult r = runCli({"set", dir.path(), "", "player.pace+=250"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Add 250 to player.pace of 3 people (2 skipped, 1 limited)\n2 values changed in 2 records\n");
    const auto after = staffBytes();
    EXPECT_EQ(differingBytes(original, after),
              (std::vector<std::size_t>{game.playerAt(0) + at::kPace, game.playerAt(1) + at::kPace}));
    EXPECT_EQ(valueAt(after, game.playerAt(0) + at::kPace, 1), 253u);
    EXPECT_EQ(valueAt(after, game.playerAt(1) + at::kPace, 1), 255u);
}

TEST_F(CliSet, AssignmentsFollowOneAnotherAndDryRunWritesNothing)
{
    const CliResult dry = runCli({"set", dir.path(), "wages>=100000", "wages=10", "WAGES+=5", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, "Set wages of 1 person to 10\nAdd 5 to wages of 1 person\n"
                       "staff 2 (First2 Second0) wages: 123456 -> 15\n"
                       "1 values changed in 1 records\nDry run: nothing was written.\n");
    EXPECT_EQ(staffBytes(), original);

    EXPECT_EQ(runCli({"set", dir.path(), "wages>=100000", "wages-=6"}).status, 0);
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(2) + at::kWages, 4), 123450u);
}

TEST_F(CliSet, MalformedFiltersAndAssignmentsAreRefusedAndWriteNothing)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"set", dir.path(), "jon wages>x", "wages=1"}, "\"wages>x\": a whole number is expected after >"},
        {{"set", dir.path(), "", "nope=1"}, "unknown column nope"},
        {{"set", dir.path(), "", "playerId=1"}, "playerId cannot be changed"},
        {{"set", dir.path(), "", "nationText=1"}, "nationText cannot be changed"},
        {{"set", dir.path(), "", "wages"}, "COLUMN=VALUE"},
        {{"set", dir.path(), "", "wages+=1.5"}, "a whole number is expected"},
        {{"search", dir.path(), "club:\"x"}, "the quote is not closed"},
        {{"export", dir.path(), "--where", "wages:1"}, "wages is a number"},
    };
    for (const auto& [arguments, message] : cases) {
        const CliResult r = runCli(arguments);
        EXPECT_EQ(r.status, 1) << arguments[2];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(staffBytes(), original);
}

// What the command line says to words that used to be misread or misnamed.
TEST_F(CliSet, FiltersAndAssignmentsAreReadAsTypedOrRefusedNamingTheTerm)
{
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string output; // the start of stdout, or a part of stderr when refused
    };
    const std::vector<Case> cases{
        // A filter beginning with '-' is a filter, not an unknown option.
        {{"search", dir.path(), "-ro"}, 0, ""},
        {{"set", dir.path(), "-ro", "wages=1", "--dry-run"}, 0, "Set wages of 0 people to 1\n"},
        {{"set", "--dry-run", dir.path(), "-r", "wages=1"}, 0, "Set wages of 0 people to 1\n"},
        // A quoted number is a number.
        {{"search", dir.path(), "wages=\"123456\""}, 0, "2\t"},
        {{"search", dir.path(), "\"\""}, 1, "filter \"\"\"\": a text is expected between the quotes"},
        {{"search", dir.path(), "wages>5 \xCE\xA9mega"},
         1,
         "filter \"\xCE\xA9mega\": no text of the game holds \xCE\xA9"},
        {{"set", dir.path(), "", "wages+=99999999999999999999999"},
         1,
         "\"wages+=99999999999999999999999\": the number is too large for any field"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments[2] << ": " << r.err;
        if (c.status == 0)
            EXPECT_EQ(r.out.substr(0, c.output.size()), c.output) << r.out;
        else
            EXPECT_NE(r.err.find(c.output), std::string::npos) << r.err;
    }
    EXPECT_EQ(staffBytes(), original);
}

TEST_F(CliSet, ExportWhereWritesOnlyTheMatchingRows)
{
    CsvTable t = CsvTable::parse(runCli({"export", dir.path(), "--where", "player.pace=17"}).out);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.cell(0, "position"), "2");
    EXPECT_EQ(runCli({"search", dir.path(), "class=0"}).out.substr(0, 2), "3\t");
}

TEST_F(CliSet, WritesWhatTheWindowsBulkChangeWrites)
{
    GameDir windowCopy;
    game.writeTo(windowCopy);
    const std::string filter = "player.pace<100";
    ASSERT_EQ(runCli({"set", dir.path(), filter, "player.pace+=100", "wages-=1000000"}).status, 0);

    // The window: the table filtered, two bulk changes, File > Save.
    GameDatabase db = cli::loadGame(windowCopy.path());
    EditHistory history;
    history.reset(db);
    const auto people = matchingPeople(db, PeopleFilter::parse(filter));
    applyBulkChange(db, history, people, {columnNamed("player.pace"), BulkHow::Add, 100});
    applyBulkChange(db, history, people, {columnNamed("wages"), BulkHow::Add, -1000000});
    SilentProgress nobodyWatches;
    StaffFileSave(db, windowCopy.path()).write(nobodyWatches);

    EXPECT_NE(staffBytes(), original);
    EXPECT_EQ(windowCopy.read("staff.dat"), staffBytes());
}

TEST(CliSearchSample, APlainTextListsWhatTheNameSearchLists)
{
    TempDir dir;
    writeSampleGame(dir.path(), SampleSize::Small, 7);
    const GameDatabase db = cli::loadGame(dir.path().string());
    // Pieces of real names: one letter, across the space, in capitals.
    const std::string name = db.staff.at(db.staff.size() / 2).displayName;
    const std::size_t space = name.find(' ');
    ASSERT_NE(space, std::string::npos);
    for (const std::string& text :
         {name.substr(0, 1), name.substr(space - 1, 3), name, std::string("A  B"), std::string("zzzz")}) {
        std::string expected;
        for (const SearchHit& hit : searchStaff(text, db.staff, db.directory))
            expected += std::to_string(hit.position) + '\t' + cp1252ToUtf8(hit.displayName) + '\n';
        EXPECT_EQ(runCli({"search", dir.path().string(), cp1252ToUtf8(text)}).out, expected) << text;
    }
}

// search reads only the lookup files its terms name; a term on each one's
// texts still lists what the filter lists on a full load.
TEST(CliSearchSample, ATermOnAClubNationOrCommonNameListsWhatAFullLoadLists)
{
    TempDir dir;
    writeSampleGame(dir.path(), SampleSize::Small, 7);
    const GameDatabase db = cli::loadGame(dir.path().string());
    for (const char* filter : {"clubContractedText:a wages>100", "nationText:e", "commonNameText:o", "an"}) {
        std::string expected;
        for (const std::uint32_t position : matchingPeople(db, PeopleFilter::parse(filter)))
            expected += std::to_string(position) + '\t' + cp1252ToUtf8(db.staff[position].displayName) + '\n';
        EXPECT_NE(expected, "") << filter;
        EXPECT_EQ(runCli({"search", dir.path().string(), filter}).out, expected) << filter;
    }
}

// A relative change starts from the disk's value: set holds the writers'
// lock from before its load to the end of its save, so a save in progress
// is waited for and not overwritten with a value computed before it.
TEST_F(CliSet, ARelativeChangeStartsFromWhatASaveInProgressLeaves)
{
    std::optional<StaffFileLock> saving(std::in_place, dir.path(), LockKind::Exclusive);
    std::future<CliResult> later = std::async(std::launch::async, [&] {
        return runCli({"set", dir.path(), "wages>=100000", "wages+=1"});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // set is on its way to the lock
    std::vector<std::uint8_t> saved = staffBytes();
    for (int i = 0; i < 4; ++i)
        saved[game.staffAt(2) + at::kWages + i] = static_cast<std::uint8_t>(200000u >> (8 * i));
    dir.write("staff.dat", saved);
    saving.reset();
    const CliResult r = later.get();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(2) + at::kWages, 4), 200001u);
}

#ifndef _WIN32
// The real programs, two at a time, again and again: no update is lost.
TEST_F(CliSet, TwoRelativeChangesRunTogetherLoseNothing)
{
    const std::string one =
        "'" ROSTRADB_CLI_PATH "' set '" + dir.path() + "' 'wages>=100000' 'wages+=1' >/dev/null 2>&1";
    const std::string loop = "for i in 1 2 3 4 5 6 7 8 9 10; do " + one + " || exit 1; done";
    const std::string both = "(" + loop + ") & a=$!; (" + loop + ") & b=$!; wait $a && wait $b";
    EXPECT_EQ(std::system(both.c_str()), 0);
    EXPECT_EQ(valueAt(staffBytes(), game.staffAt(2) + at::kWages, 4), 123456u + 20u);
}
#endif

} // namespace
} // namespace rostradb::test
