#pragma once
// File > Save: staff.dat is rewritten in place. Every field the loader kept
// goes back to the bytes it was read from; every byte it did not keep (the
// date tails, bytes 24..25 and 145..156 of a staff record, byte 69 of a player
// record, and everything between and after the tables) keeps what the file
// holds now. The file is never created, truncated or extended.
//
// Save looks at the disk before it writes a byte. The table directory must
// still place the tables where the load found them. Every field it writes is
// merged three ways, from the load snapshot (the base), the editor's value
// and the disk's value now: a value only another program changed stays as
// the disk has it and is taken into memory, a value only the editor changed
// is written, and a value both changed differently is a conflict, which the
// caller asks about before it lets the editor's value win.
//
// Only the records whose bytes change are written, and only after their old
// bytes are safe in staff.dat-journal (save_journal.h): a save cut short at
// any point is undone by the next recovery, and a failed write puts the old
// bytes back at once. One rostradb saves at a time: the save holds the
// file's exclusive lock from its first look at the disk to its end.

#include "file_set_save.h"
#include "file_system.h"
#include "game_database.h"
#include "progress_sink.h"
#include "staff_file_lock.h"
#include "staff_table.h"

#include <memory>
#include <string>
#include <vector>

namespace rostradb {

inline constexpr const char* kDirectoryChanged =
    "The game's table directory has changed since the database was loaded; load it again before saving";
inline constexpr const char* kNotCompletelyLoaded =
    "The database was not loaded completely; load it again before saving.";

// Refuses a save from a load that stopped part-way (kNotCompletelyLoaded) or
// from a load for reading only, which kept no snapshot to compare the disk
// with (a programming error: std::logic_error).
void requireSavableLoad(const GameDatabase& db);

// One written field of one record as the merge found it.
struct MergedValue {
    StaffTable table = StaffTable::Staff;
    std::uint32_t position = 0; // of the record in its table
    std::uint16_t field = 0;    // index in the table's layout
    std::uint32_t disk = 0;     // on the disk now
    std::uint32_t editor = 0;   // in memory
    // A link of a person (playerId, nonPlayerId, classification) another
    // program changed since the load (`editor` then holds the loaded value):
    // the person's attribute changes are not written, whatever wins.
    bool relinked = false;

    bool operator==(const MergedValue&) const = default;
};

class StaffFileSave {
public:
    // Looks at the disk and writes nothing to staff.dat. Raises
    // kNotCompletelyLoaded after a load that stopped part-way, "List index
    // out of bounds (N)" when a table holds fewer records than its directory
    // entry announces (no load at all), kBeingSavedElsewhere when another
    // rostradb holds the lock, the error of index.dat when it cannot be read,
    // kDirectoryChanged when entries 7, 9 or 10 differ from the ones the load
    // used, the error of staff.dat when it cannot be opened or read, and
    // "Read beyond end of file" when a table no longer fits the file. A
    // journal left by an interrupted save is dealt with first, under the
    // lock (undidInterruptedSave()). Holds the lock until write() or the end.
    StaffFileSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files = realFileSystem());
    // The same under a lock the caller took (exclusive) before it loaded:
    // the journal was dealt with then, and the lock stays the caller's.
    StaffFileSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& held,
                  FileSystem& files = realFileSystem());
    ~StaffFileSave();
    StaffFileSave(const StaffFileSave&) = delete;
    StaffFileSave& operator=(const StaffFileSave&) = delete;

    // Values another program and the editor both changed, to different
    // values; in file order.
    const std::vector<MergedValue>& conflicts() const;
    // Values only another program changed: write() takes them into memory.
    const std::vector<MergedValue>& changedOnDiskOnly() const;
    // How many records write() will write.
    std::uint64_t recordsToWrite() const;
    // The constructor found a complete journal and undid that save.
    bool undidInterruptedSave() const;
    // What the constructor did with a journal it found (recoveryNotice()).
    Recovery recovery() const;
    // False on a file system without locks (noLockWarning()).
    bool locked() const;

    // Writes the journal, the records that change (conflicts with the
    // editor's values) and flushes, with the Status window's full pattern
    // over every record of the three tables, then deletes the journal.
    // A failed write or flush puts the old bytes back and raises the first
    // error, the records in memory unchanged; when putting back fails too,
    // raises FilesMayBeChanged naming both errors and keeps the journal.
    // On success the values changed on the disk only are in memory and the
    // snapshot holds what the disk now holds. Call it once.
    void write(ProgressSink& sink);

    // For a save that commits staff.dat together with other files
    // (file_set_save.h) instead of write(): the runs write() would write,
    // on the locked file; and, once that save committed, what write() does
    // after its last write (values taken in, the snapshot, the file closed).
    FileChanges plannedChanges() const;
    void committedWithOthers();

private:
    StaffFileSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock* held, FileSystem& files);
    struct State;
    std::unique_ptr<State> state_;
};

// A conflict that is a changed link rather than a changed value.
bool isLinkConflict(const MergedValue& value);

// Looks at the disk and writes, the editor's values winning every conflict:
// for callers that have nobody to ask, or asked already.
void saveStaffFile(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink,
                   FileSystem& files = realFileSystem());

} // namespace rostradb
