#pragma once
// The command line's dealings with files: loading a game as File > Open
// does, reading the files it is given, and saving planned changes through
// the checked save.

#include "field_changes.h"

#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace rostradb::cli {

// The input or the data is refused: the command stops with status 1 after
// printing the message. (DbErrors from the core are treated the same.)
class Refused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the table directory and loads all eight tables of the game in
// `gameDirectory`; the message of a failed load names the game.
GameDatabase loadGame(const std::string& gameDirectory);

// A path given in UTF-8, as every path on the command line is, for the
// standard streams (which would read a narrow string in the ANSI code page on
// Windows).
inline std::filesystem::path pathFromUtf8(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// A whole file as bytes; Refused when it cannot be read.
std::string readWholeFile(const std::string& path);

// Import's and apply's ending. With `dryRun` lists the changes and the
// summary and writes nothing. Otherwise puts the changes into `db` and, when
// any value changes, saves staff.dat through the checked save, which
// refuses a file another program changed since the load; then prints the
// summary "N values changed in M records".
void saveChanges(GameDatabase& db, const std::string& gameDirectory, const std::vector<FieldChange>& changes,
                 bool dryRun, std::ostream& out);

} // namespace rostradb::cli
