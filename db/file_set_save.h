#pragma once
// A save that writes several of the game's files (staff.dat and the lookup
// files holding renamed records) commits them together, all or nothing, the
// way SQLite commits to several databases at once:
//
//   1. every file's old bytes go into its own journal, FILE-mjournal, which
//      names the master journal; each is flushed;
//   2. the master journal, rostradb-save.master, listing those journals, is
//      written and flushed, and so is the folder;
//   3. the files are written and flushed;
//   4. the master journal is deleted: that deletion is the one moment the
//      save is done for every file at once;
//   5. the file journals are deleted.
//
// Recovery (recoverFileSet) runs before anything reads the game: with the
// master journal complete, every file journal it lists is played back (the
// save did not reach step 4); a file journal whose master is gone, or
// incomplete, belongs to a save that either finished or never wrote a file,
// and is deleted without being played back. Playback puts old bytes back
// only over the save's own: every piece of every run must hold its old bytes
// or the new ones (by their hash, pieces cut as in staff.dat's journal);
// a file changed since by another program stops the recovery with nothing
// put back.
//
// Each journal, little-endian:
//   master: 8 magic "RDBMSTR\0", 4 version (1), 4 count, per file 2 length
//           and the file's name; 8 checksum
//   file:   8 magic "RDBFJRN\0", 4 version (1), 8 the file's size, 2 length
//           and the master's name, 4 number of runs, per run 8 offset,
//           4 length, the old bytes and one 8-byte hash of the new bytes per
//           piece; 8 checksum
// The checksum is FNV-1a over every byte before it. A journal with a right
// checksum and another version is a newer rostradb's: left as it is.

#include "file_system.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

inline constexpr std::string_view kMasterJournal = "rostradb-save.master";
inline constexpr std::string_view kFileJournalSuffix = "-mjournal";

// One run of bytes a save replaces.
struct FileRun {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> oldBytes; // what the disk holds now
    std::vector<std::uint8_t> newBytes; // what the save writes; as long as oldBytes
};

// What a save writes into one data file, open and (for staff.dat) locked
// by the caller.
struct FileChanges {
    std::string_view name; // "staff.dat", "club.dat", ...
    RandomAccessFile* file = nullptr;
    std::uint64_t size = 0; // the file's size as the save found it
    std::vector<FileRun> runs;
};

// Commits the files' runs as one save (steps 1 to 5). Files without runs are
// left out. A failed write or flush puts back the old bytes of every file
// and raises the first error; when putting back fails too, raises
// FilesMayBeChanged naming both errors and keeps the journals for the next
// recovery.
void commitFileSet(FileSystem& files, const std::string& gameDirectory, const std::vector<FileChanges>& changes);

enum class FileSetRecovery { Nothing, Discarded, Undone };

// Deals with the journals of a save of several files left by a crash; the
// caller holds the lock on staff.dat (which every save takes). A journal
// that does not fit its file stops with a DbError naming it, the files
// untouched; a playback that fails part-way raises FilesMayBeChanged.
FileSetRecovery recoverFileSet(const std::string& gameDirectory, FileSystem& files);

// Whether such journals are there (cheap: only looks for the names).
bool fileSetJournalsPresent(const std::string& gameDirectory, FileSystem& files);

} // namespace rostradb
