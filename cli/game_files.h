#pragma once
// The command line's dealings with files: loading a game as File > Open
// does, reading the files it is given, and saving planned changes through
// the checked save.

#include "db/loaders.h"
#include "db/staff_file_lock.h"
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

// staff.dat opened under the writers' lock, for a command that loads and
// then saves: taken before the load and held until the save has ended, so
// that nobody saves between (relative changes start from the disk's value).
// A journal of an interrupted save is dealt with under it.
StaffFileLock lockForSaving(const std::string& gameDirectory);

// Reads the table directory and loads all eight tables of the game in
// `gameDirectory`, staff.dat under `held` or else under a shared lock taken
// for the load (which waits for a save in progress and undoes one that was
// cut short). What was done with a journal, and a file system without
// locks, are said on `notices`; the message of a failed load names the game.
// Every command that reads a game passes its error stream.
GameDatabase loadGame(const std::string& gameDirectory, std::ostream* notices = nullptr, StaffFileLock* held = nullptr);

// The same for a command that only reads (export, show, search, diff): the
// load keeps no snapshot, so nothing can be saved from it, and the game
// stays in memory until forgetGamesRead, which each command calls first.
// `leftOut` names lookup tables the command needs no name of; they stay empty.
const GameDatabase& loadGameForReading(const std::string& gameDirectory, std::ostream* notices, LeftOut leftOut = {});
void forgetGamesRead();

// A path given in UTF-8, as every path on the command line is, for the
// standard streams (which would read a narrow string in the ANSI code page on
// Windows).
inline std::filesystem::path pathFromUtf8(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// A whole file as bytes; Refused when it cannot be read.
std::string readWholeFile(const std::string& path);

// The ending of every command that writes. With `dryRun` lists the changes
// and the summary and writes nothing. Otherwise puts the changes into `db`
// and, when any value changes, saves staff.dat through the checked save,
// which merges what another program changed since the load. Values both
// changed to different values are conflicts: they are listed on `err` and
// refused (nothing written) unless `force`, with which the new values win.
// Then prints the summary "N values changed in M records". True when
// staff.dat was written.
// Renames (`renames`, each from its `before` in the game) are listed,
// stored and saved the same way, with the lookup files they change.
bool saveChanges(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& lock,
                 const std::vector<FieldChange>& changes, bool dryRun, bool force, std::ostream& out, std::ostream& err,
                 const std::vector<NameChange>& renames = {});

} // namespace rostradb::cli
