#pragma once
// File > Save and every command line save: staff.dat and the lookup files
// whose names changed, looked at first and then written together. When only
// staff.dat changes it is saved with its own journal as always; when a
// lookup file changes too, every file written is committed as one
// (file_set_save.h): a crash or a failed write anywhere leaves every file as
// before, a save that reached its end leaves every file as saved.

#include "db/lookup_save.h"
#include "db/staff_writer.h"
#include "field_change.h"

#include <string>
#include <vector>

namespace rostradb {

class GameSave {
public:
    // Locks staff.dat, recovers an interrupted save and merges both parts
    // (the errors of StaffFileSave and LookupFilesSave).
    GameSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files = realFileSystem());
    // The same under a lock the caller took before it loaded.
    GameSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& held,
             FileSystem& files = realFileSystem());

    const std::vector<MergedValue>& conflicts() const { return staff_.conflicts(); }
    const std::vector<MergedValue>& changedOnDiskOnly() const { return staff_.changedOnDiskOnly(); }
    const std::vector<MergedName>& nameConflicts() const { return names_.conflicts(); }
    const std::vector<MergedName>& namesChangedOnDiskOnly() const { return names_.changedOnDiskOnly(); }
    bool undidInterruptedSave() const { return staff_.undidInterruptedSave(); }
    Recovery recovery() const { return staff_.recovery(); }
    bool locked() const { return staff_.locked(); }
    // How many names write() will write.
    std::size_t namesToWrite() const { return names_.namesToWrite(); }

    // Writes, the editor's values and names winning every conflict. On
    // success the values and names only another program changed are in
    // memory (display names rebuilt) and the snapshot holds the disk's bytes.
    void write(ProgressSink& sink);

private:
    GameDatabase& db_;
    std::string gameDirectory_;
    FileSystem& files_;
    StaffFileSave staff_;
    LookupFilesSave names_;
};

// "club 12 name: "A" in the file now, "B" here"; game text.
std::string nameConflictLine(const MergedName& conflict);

} // namespace rostradb
