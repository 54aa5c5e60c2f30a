#pragma once
// rostradb-cli: the command line's commands, run on argument lists and
// streams so that tests can call them as the program would.

#include <iosfwd>
#include <string>
#include <vector>

namespace rostradb::cli {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kRefused = 1;    // the input or the data is refused; nothing was written
inline constexpr int kUsageError = 2; // the command line itself is wrong
inline constexpr int kFilesMayBeChanged = 3; // a failed save could not put staff.dat back: its journal will
// When the output cannot be written the status is kRefused, unless the game
// was already saved: then stderr says so and the status is kSuccess.

struct ExportOptions {
    std::string game;
    std::string outputFile; // empty: standard output
    bool noByteOrderMark = false;
    std::string where;      // a filter; empty: everyone
    std::string table = {}; // "clubs", "nations", ...: that table instead of the people
};
struct ImportOptions {
    std::string game;
    std::string csvFile;
    bool dryRun = false;
    bool force = false;
    std::string table = {}; // "clubs", "nations", ...: renames in that table instead of people
};
struct DiffOptions {
    std::string oldGame;
    std::string newGame;
    bool json = false;
};
struct ApplyOptions {
    std::string game;
    std::string patchFile;
    bool dryRun = false;
    bool force = false;
};
struct SearchOptions {
    std::string game;
    std::string filter;
};
struct SetOptions {
    std::string game;
    std::string filter;
    std::vector<std::string> assignments; // COLUMN=VALUE, COLUMN+=N, COLUMN-=N
    bool dryRun = false;
    bool force = false;
};
struct ShowOptions {
    std::string game;
    std::string position;
    bool json = false;
};

// Each returns its exit status; results go to `out`, messages to `err`.
int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err);
int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err);
int runDiff(const DiffOptions& options, std::ostream& out, std::ostream& err);
int runApply(const ApplyOptions& options, std::ostream& out, std::ostream& err);
int runSearch(const SearchOptions& options, std::ostream& out, std::ostream& err);
int runShow(const ShowOptions& options, std::ostream& out, std::ostream& err);
int runSet(const SetOptions& options, std::ostream& out, std::ostream& err);

// The column catalogue, one tab-separated line per column after a header
// line: name, "number" or "text", the lowest..highest number (empty for a
// text), "yes" when import and set may write it, the aliases (comma-separated).
std::string columnCatalogue();
int runColumns(std::ostream& out, std::ostream& err);

// The whole program: `arguments` without the program name.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace rostradb::cli
