#pragma once
// File > Open: reading the game's tables into a GameDatabase.
//
// Every table is sized by its directory entry (lastIndex + 1 records, counted
// in 64 bits). A file that holds fewer bytes than its table announces stops
// the load with "Read beyond end of file" at the first incomplete record; the
// complete records before it stay in the table. Nothing is ever invented.

#include "data_file.h"
#include "display_names.h"
#include "game_database.h"
#include "progress_sink.h"

#include <string>

namespace rostradb {

class StaffFileLock;

// Progress captions, in the order a load uses them (nations set none).
namespace caption {
inline constexpr const char* kFirstNames = "Loading first names";
inline constexpr const char* kSecondNames = "Loading sir names";
inline constexpr const char* kCommonNames = "Loading common names";
inline constexpr const char* kStaffGeneral = "Loading Staff general";
inline constexpr const char* kStaffNonPlaying = "Loading Staff nonplaying";
inline constexpr const char* kStaffPlaying = "Loading Staff playing";
inline constexpr const char* kClubs = "Loading clubs";
inline constexpr const char* kSaveStaffGeneral = "Saving Staff general";
inline constexpr const char* kSaveStaffNonPlaying = "Saving Staff non playing";
inline constexpr const char* kSaveStaffPlaying = "Saving Staff playing";
} // namespace caption

// The staff file's three tables, as the directory places them, would share
// bytes: a save would write one table's edits over another's.
inline constexpr const char* kTablesOverlap = "The tables of staff.dat overlap one another";

// How many threads a load uses. With two, the staff file is read and
// decoded on a second thread while the name and club tables load on the
// first, which then builds the display names block by block as the second
// decodes the staff table; the tables, the snapshot, the progress calls and
// the errors are the same as with one.
enum class LoadThreads { One, Two };

// What the load is for. Editing keeps staff.dat's bytes as read (the
// snapshot Save compares with the disk). A command that only reads needs
// none of them: its load reads the staff file through one small buffer,
// keeps empty regions, and ends in LoadState::ForReading, from which nothing
// can be saved.
enum class LoadFor { Editing, Reading };

// Lookup tables a load for reading leaves empty, unread, because the command
// uses none of their names: a search whose terms name no club reads no
// club.dat. The first and second names are always read (display names).
struct LeftOut {
    bool nations = false;
    bool commonNames = false;
    bool clubs = false;
};

// The whole load, in the game's order: nations, first names, second names,
// common names, the staff file's three tables, clubs. It starts by emptying
// the eight tables, shows the sink for its whole length and hides it on every
// way out. An error stops it where it arose and propagates.
//
// When the directory holds all 22 entries (start-up read it), index.dat is
// read again first, so that a game replaced since then is loaded by its own
// directory. Before the first staff record, the three staff tables are
// checked not to overlap (kTablesOverlap). The staff file's regions are kept
// in db.snapshot exactly as read.
//
// staff.dat is read under the caller's lock (`held`), or else under a shared
// lock the load takes itself, before the first table, which waits for a save
// in progress and undoes one that was cut short (say so beforehand through
// recoverInterruptedSave or a StaffFileLock of your own when the user is to
// be told).
void runLoadSequence(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink,
                     StaffFileLock* held = nullptr, LoadThreads threads = LoadThreads::Two,
                     LoadFor purpose = LoadFor::Editing, LeftOut leftOut = {});

// Start-up and File > Open in one, for callers without a window: reads the
// directory (its failure stops the load) and then every table.
void readDirectoryAndLoad(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink,
                          StaffFileLock* held = nullptr, LoadThreads threads = LoadThreads::Two,
                          LoadFor purpose = LoadFor::Editing, LeftOut leftOut = {});

// Reads as many of a table's `count` records as the file holds from
// `position` on, in one call; a short buffer means the file ended. The caller
// decides what a short table means.
ByteBuffer readTableBytes(RandomAccessFile& file, std::uint64_t position, std::uint64_t count, std::size_t recordBytes);

// Raises kTablesOverlap when the staff, non-player and player tables, as the
// directory sizes and places them, share a byte.
void checkStaffTablesApart(const TableDirectory& directory);

} // namespace rostradb
