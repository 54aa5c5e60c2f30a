#pragma once
// File > Save: staff.dat is rewritten in place. Every field the loader kept
// goes back to the bytes it was read from; every byte it did not keep (the
// date tails, bytes 24..25 and 145..156 of a staff record, byte 69 of a player
// record, and everything between and after the tables) keeps what the file
// holds now. The file is never created, truncated or extended.
//
// Save looks at the disk before it writes a byte: the table directory must
// still place the tables where the load found them, and the kept fields on
// the disk are compared with the load snapshot so that the user can be asked
// before another program's changes are replaced. Only the records whose bytes
// change are written; a failed write or flush puts the file's old bytes back.

#include "game_database.h"
#include "progress_sink.h"
#include "random_access_file.h"

#include <memory>
#include <string>

namespace rostradb {

inline constexpr const char* kDirectoryChanged =
    "The game's table directory has changed since the database was loaded; load it again before saving";

class StaffFileSave {
public:
    // Looks at the disk and writes nothing. Raises "List index out of bounds
    // (N)" when a table holds fewer records than its directory entry
    // announces (N the first missing position: no complete load), the error
    // of index.dat when it cannot be read, kDirectoryChanged when entries 7,
    // 9 or 10 differ from the ones the load used, the error of staff.dat when
    // it cannot be opened or read, and "Read beyond end of file" when a table
    // no longer fits the file. Keeps staff.dat open until write() or the end.
    StaffFileSave(GameDatabase& db, const std::string& gameDirectory, const FileOpener& opener = openDataFile);
    ~StaffFileSave();
    StaffFileSave(const StaffFileSave&) = delete;
    StaffFileSave& operator=(const StaffFileSave&) = delete;

    // Some byte of a field Save writes differs on the disk from the load
    // snapshot: another program changed a value, and write() would replace
    // it with the editor's.
    bool diskChangedSinceLoad() const;
    // How many records write() will write (those whose bytes differ from the
    // disk once the editor's values are put in).
    std::uint64_t recordsToWrite() const;

    // Writes the records that change and flushes them to the disk, with the
    // Status window's full pattern over every record of the three tables.
    // When a write or the flush fails, the disk's old bytes go back over
    // every record already written, are flushed, and the first error is
    // raised; the records in memory stay as they are (unsaved). On success
    // the snapshot holds what the disk now holds. Call it once.
    void write(ProgressSink& sink);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Looks at the disk and writes, replacing another program's changes without
// asking: for callers that have nobody to ask, or asked already.
void saveStaffFile(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink,
                   const FileOpener& opener = openDataFile);

} // namespace rostradb
