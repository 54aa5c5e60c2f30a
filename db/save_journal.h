#pragma once
// staff.dat-journal: the rollback journal a save writes next to staff.dat
// before it changes a byte there. It holds the old bytes of everything the
// save is about to write, so that a save cut short (a crash, a power cut, a
// kill) can be undone by the next rostradb that opens the game.
//
// Layout, little-endian:
//   8  magic "RDBJRNL\0"
//   4  version (1)
//   8  staff.dat's size when the save began
//   3 x 67  directory entries 7, 9 and 10 the save placed the tables by
//   4  number of runs
//   per run: 8 offset in staff.dat, 4 length, then `length` old bytes
//   8  checksum over every byte before it (FNV-1a steps over 8-byte words)
// A journal whose checksum is right was flushed in full before staff.dat
// was touched; any other (cut short, torn) was never acted on.

#include "file_system.h"
#include "table_directory.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rostradb {

inline constexpr const char* kSaveUndone =
    "An interrupted save of staff.dat was undone; the file is as it was before that save.";
inline constexpr const char* kBeingSavedElsewhere =
    "staff.dat is being saved by another rostradb; try again when it has finished.";
inline constexpr const char* kRestoredFromJournalLater =
    "staff.dat could not be put back as it was; it will be restored from its journal the next time the game is "
    "opened.";

struct JournalHeader {
    std::uint64_t staffSize = 0;
    std::array<IndexEntry, 3> entries{}; // 7, 9, 10
};

struct JournalRun {
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> oldBytes;
};

// Creates the journal, writes the header, every run (its head, then its
// bytes) and the checksum, flushes it and closes it, then flushes the folder. Raises
// the first error; what it wrote may then be left for the caller to delete.
void writeSaveJournal(FileSystem& files, const std::string& gameDirectory, const JournalHeader& header,
                      const std::vector<JournalRun>& runs);

struct ParsedJournal {
    enum class State { Complete, Incomplete, Foreign } state = State::Incomplete;
    JournalHeader header;
    struct Run {
        std::uint64_t offset = 0;
        std::vector<std::uint8_t> oldBytes;
    };
    std::vector<Run> runs;
};

// Foreign: not a journal of ours (another magic, a later version).
// Incomplete: ours, but cut short or with a wrong checksum.
ParsedJournal parseSaveJournal(std::span<const std::uint8_t> bytes);

enum class Recovery {
    NoJournal,
    Undone,   // a complete journal's old bytes went back: kSaveUndone
    Discarded // an incomplete journal was deleted; staff.dat was never touched
};

// Looks for staff.dat-journal in the game's data folder and deals with it,
// holding the lock on staff.dat while it does (kBeingSavedElsewhere when
// another rostradb holds it: the journal is then that save's own). A
// journal that does not fit staff.dat (another size, other table places)
// or cannot be read stops with a DbError naming it, both files untouched;
// a rollback that fails part-way raises FilesMayBeChanged.
Recovery recoverInterruptedSave(const std::string& gameDirectory, FileSystem& files = realFileSystem());

// The same, for a caller that already holds the lock on the open staff.dat.
Recovery recoverWithLockHeld(const std::string& gameDirectory, RandomAccessFile& staffFile, FileSystem& files);

} // namespace rostradb
