// rostradb-sample run as the user runs it: pointed at a folder that already
// holds a game it must change nothing, unless told --force.

#include "support/temp_dir.h"
#include "tools/sample_game.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace rostradb {
namespace {

namespace fs = std::filesystem;
using test::GameDir;
using test::readFileBytes;
using test::TempDir;

constexpr const char* kNames[] = {
    "index.dat", "nation.dat", "first_names.dat", "second_names.dat", "common_names.dat", "club.dat", "staff.dat",
};

struct Outcome {
    int status = -1;
    std::string errors; // what it printed on stderr
};

// A path as one word of the shell's command line.
std::string shellWord(const fs::path& path)
{
#ifdef _WIN32
    return '"' + path.string() + '"';
#else
    return "'" + path.string() + "'";
#endif
}

// Runs the real program with `arguments` (already quoted for the shell).
Outcome runSample(const std::string& arguments)
{
    const TempDir scratch;
    const fs::path errorsFile = scratch.path() / "stderr.txt";
    const fs::path program = fs::path(ROSTRADB_SAMPLE_PROGRAM).make_preferred();
#ifdef _WIN32
    // cmd.exe drops the outermost quotes of what it is given: one more pair
    // keeps the program's own.
    const std::string command = '"' + shellWord(program) + " " + arguments + " >NUL 2>" + shellWord(errorsFile) + '"';
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = raw;
#else
    const std::string command = shellWord(program) + " " + arguments + " >/dev/null 2>" + shellWord(errorsFile);
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    std::ifstream in(errorsFile);
    std::ostringstream text;
    text << in.rdbuf();
    outcome.errors = text.str();
    return outcome;
}

// Every entry under `folder` with its bytes (folders as empty), to see that
// nothing was added, removed or changed.
std::map<std::string, std::vector<std::uint8_t>> contents(const fs::path& folder)
{
    std::map<std::string, std::vector<std::uint8_t>> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        entries[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? readFileBytes(entry.path()) : std::vector<std::uint8_t>{};
    return entries;
}

TEST(SampleCommandTest, PointedAtAnExistingGameChangesNoByteAndSaysWhy)
{
    const TempDir game;
    writeSampleGame(game.path(), SampleSize::Tiny, 3);
    const auto before = contents(game.path());

    // Another size and seed: a rewrite would change every file.
    const Outcome outcome = runSample(shellWord(game.path()) + " --size small --seed 4");

    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(contents(game.path()) == before) << "the existing game was changed";
    EXPECT_NE(outcome.errors.find("index.dat"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("staff.dat"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("--force"), std::string::npos) << outcome.errors;
}

TEST(SampleCommandTest, AnyOneOfTheSevenFilesIsEnoughToRefuse)
{
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const GameDir game;
        const std::vector<std::uint8_t> userBytes = {'k', 'e', 'e', 'p'};
        game.write(name, userBytes);
        const auto before = contents(game.path());

        const Outcome outcome = runSample(shellWord(game.path()) + " --size tiny");

        EXPECT_EQ(outcome.status, 1);
        EXPECT_NE(outcome.errors.find(name), std::string::npos) << outcome.errors;
        // Nothing else was written either: the check comes before the first file.
        EXPECT_TRUE(contents(game.path()) == before);
    }
}

TEST(SampleCommandTest, WritesIntoAFreshFolderAndReplacesOnlyWhenForced)
{
    const TempDir root;
    const fs::path game = root.path() / "new game";
    const Outcome fresh = runSample(shellWord(game) + " --size tiny --seed 5");
    ASSERT_EQ(fresh.status, 0) << fresh.errors;
    for (const char* name : kNames)
        EXPECT_TRUE(fs::is_regular_file(game / "data" / name)) << name;

    // Other files in data/ are the user's and never stand in the way.
    const GameDir other;
    std::ofstream(other.file("readme.txt")) << "notes";
    EXPECT_EQ(runSample(shellWord(other.path()) + " --size tiny").status, 0);
    EXPECT_EQ(readFileBytes(other.file("readme.txt")), (std::vector<std::uint8_t>{'n', 'o', 't', 'e', 's'}));

    const Outcome forced = runSample("--force " + shellWord(game) + " --size small --seed 5");
    ASSERT_EQ(forced.status, 0) << forced.errors;
    EXPECT_EQ(fs::file_size(game / "data" / "club.dat"), sampleCounts(SampleSize::Small).clubs * 581u);
}

TEST(ExistingSampleGameFilesTest, NamesWhatIsThereInFileOrderWhateverItIs)
{
    const GameDir game;
    EXPECT_TRUE(existingSampleGameFiles(game.path()).empty());
    EXPECT_TRUE(existingSampleGameFiles(fs::path(game.path()) / "missing").empty());

    std::ofstream(game.file("staff.dat")) << "x";
    fs::create_directory(game.file("nation.dat"));
    // A link to nowhere: writing through it would create its target.
    // Windows lets only privileged users make links; there the rest is tried.
    std::error_code noLinks;
    fs::create_symlink(fs::path(game.path()) / "elsewhere.dat", game.file("index.dat"), noLinks);
    // Names are exact on a case-sensitive file system, as the editor opens
    // them; on Windows's, Club.dat is the file the game opens as club.dat.
    std::ofstream(game.file("Club.dat")) << "x";
#ifdef _WIN32
    std::vector<std::string> expected{"index.dat", "nation.dat", "club.dat", "staff.dat"};
#else
    std::vector<std::string> expected{"index.dat", "nation.dat", "staff.dat"};
#endif
    if (noLinks)
        expected.erase(expected.begin());
    EXPECT_EQ(existingSampleGameFiles(game.path()), expected);
}

} // namespace
} // namespace rostradb
