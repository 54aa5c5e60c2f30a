#pragma once
// staff.dat-journal: the rollback journal a save writes next to staff.dat
// before it changes a byte there. It holds the old bytes of everything the
// save is about to write, so that a save cut short (a crash, a power cut, a
// kill) can be undone by the next rostradb that opens the game, and a hash
// of the new bytes, so that the undoing only ever puts old bytes back over
// bytes that are the save's own.
//
// Layout, little-endian:
//   8  magic "RDBJRNL\0"
//   4  version (2; version 1 had no hashes of the new bytes)
//   8  staff.dat's size when the save began
//   3 x 67  directory entries 7, 9 and 10 the save placed the tables by
//   4  number of runs
//   per run: 8 offset in staff.dat, 4 length, then `length` old bytes, then
//            one 8-byte hash of the new bytes per piece of the run (below)
//   8  checksum over every byte before it (FNV-1a steps over 8-byte words)
// A journal whose checksum is right was flushed in full before staff.dat
// was touched; any other (cut short, torn, never flushed) was never acted on.
//
// A run is hashed in pieces cut at every multiple of kJournalPieceBytes of
// staff.dat's offsets: a disk writes whole sectors and the kernel copies a
// write page by page, so a write cut short leaves each piece wholly old or
// wholly new, and recovery can tell such a piece from one another program
// changed.
//
// The format knows nothing of staff.dat's records: writeJournalFile,
// parseSaveJournal and pieceChangedSince work for any file rewritten in
// place; the staff-specific parts are the header's directory entries and the
// recovery's check against the fields a save writes (journal_recovery.cpp).

#include "file_system.h"
#include "table_directory.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rostradb {

inline constexpr const char* kSaveUndone =
    "An interrupted save of staff.dat was undone; the file is as it was before that save.";
inline constexpr const char* kFilesUndone =
    "An interrupted save of the game's files was undone; they are as they were before that save.";
inline constexpr const char* kIncompleteJournalRemoved =
    "An incomplete journal of an interrupted save was removed; staff.dat was not touched by that save.";
inline constexpr const char* kEmptyJournalRemoved =
    "The journal of an interrupted save held nothing to undo and was removed; staff.dat was not touched by "
    "that save.";
inline constexpr const char* kBeingSavedElsewhere =
    "staff.dat is being saved by another rostradb; try again when it has finished.";
inline constexpr const char* kRestoredFromJournalLater =
    "staff.dat could not be put back as it was; it will be restored from its journal the next time the game is "
    "opened.";

inline constexpr std::uint32_t kJournalVersion = 2;
inline constexpr std::size_t kJournalPieceBytes = 512;

struct JournalHeader {
    std::uint64_t staffSize = 0;
    std::array<IndexEntry, 3> entries{}; // 7, 9, 10
};

// One stretch of the file a save rewrites: its bytes before and after.
struct JournalRun {
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> oldBytes;
    std::span<const std::uint8_t> newBytes; // as long as oldBytes
};

// The 64-bit hash the journal keeps of each piece of new bytes.
std::uint64_t journalHash(std::span<const std::uint8_t> bytes);
// The hashes of the pieces of `newBytes`, a run at file offset `offset`.
std::vector<std::uint64_t> journalPieceHashes(std::uint64_t offset, std::span<const std::uint8_t> newBytes);
// How many pieces a run of `length` bytes at file offset `offset` has.
std::size_t journalPieceCount(std::uint64_t offset, std::size_t length);

// Creates the journal at `journalPath`, writes the header, every run (its
// head, old bytes and hashes) and the checksum, flushes it and closes it,
// then flushes `folderPath`. Raises the first error; what it wrote may then
// be left for the caller to delete. A folder that refuses the new file is
// named: "FOLDER is read-only: ...".
void writeJournalFile(FileSystem& files, const std::string& journalPath, const std::string& folderPath,
                      const JournalHeader& header, const std::vector<JournalRun>& runs);
// The same for staff.dat's journal in the game's data folder.
void writeSaveJournal(FileSystem& files, const std::string& gameDirectory, const JournalHeader& header,
                      const std::vector<JournalRun>& runs);

struct ParsedJournal {
    // Complete: a journal of ours, whole. Incomplete: cut short, zeroed or
    // with a wrong checksum: never acted on. Foreign: another magic, a later
    // version, or a right checksum over a body this version cannot follow.
    enum class State { Complete, Incomplete, Foreign } state = State::Incomplete;
    std::uint32_t version = 0;
    JournalHeader header;
    struct Run {
        std::uint64_t offset = 0;
        std::vector<std::uint8_t> oldBytes;
        std::vector<std::uint64_t> newHashes; // one per piece; empty in a version 1 journal
    };
    std::vector<Run> runs;
};

ParsedJournal parseSaveJournal(std::span<const std::uint8_t> bytes);

// Where `run`'s bytes now in the file (`current`, as long as its old bytes)
// hold a piece that is neither the old bytes nor the new ones: the file
// offset of that piece, or nothing when every piece is one or the other. A
// version 1 run, without hashes, can only be found holding its old bytes or
// not; its other pieces are taken for new.
std::optional<std::uint64_t> pieceChangedSince(const ParsedJournal::Run& run, std::span<const std::uint8_t> current);

enum class Recovery {
    NoJournal,
    Undone,      // a complete journal's old bytes went back: kSaveUndone
    FilesUndone, // the same for a save of several files (renames): kFilesUndone
    Discarded,   // an incomplete journal was deleted: kIncompleteJournalRemoved
    Empty        // a complete journal without runs was deleted: kEmptyJournalRemoved
};

// The line to tell the user about a recovery that did something; null for
// NoJournal.
const char* recoveryNotice(Recovery recovery);
// Whether the recovery put old bytes back (the files the user sees changed).
inline bool recoveryUndidSave(Recovery recovery)
{
    return recovery == Recovery::Undone || recovery == Recovery::FilesUndone;
}

// Looks for staff.dat-journal in the game's data folder and deals with it,
// holding the lock on staff.dat while it does. When another rostradb holds
// the lock, waits for it (a save ends, or another recovery did the work) up
// to files.lockWaitMs() and then raises kBeingSavedElsewhere.
//
// A complete journal is played back only when it fits: staff.dat of the
// size it was written for, index.dat placing the tables where it says, every
// run on whole records of the three tables, and every piece of every run
// holding the old bytes or the new ones, with the bytes a save never writes
// (date tails, links) as the journal has them. Otherwise nothing is put
// back, both files stay as they are, and it raises FilesMayBeChanged naming
// the journal (when staff.dat was changed after the interrupted save, or the
// journal would write where no save writes) or a DbError naming it (another
// size, other table places, a journal it cannot read). A rollback that fails
// part-way raises FilesMayBeChanged.
Recovery recoverInterruptedSave(const std::string& gameDirectory, FileSystem& files = realFileSystem());

// The same, for a caller that already holds the lock on the open staff.dat.
Recovery recoverWithLockHeld(const std::string& gameDirectory, RandomAccessFile& staffFile, FileSystem& files);

} // namespace rostradb
