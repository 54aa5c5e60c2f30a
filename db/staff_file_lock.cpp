#include "staff_file_lock.h"

#include "data_paths.h"
#include "errors.h"
#include "file_set_save.h"

namespace rostradb {

std::string beingSavedNotRead(const std::string& gameDirectory)
{
    return dataFilePath(gameDirectory, datafile::kStaff) +
           " is being saved by another rostradb and was not read; try again when the save has finished";
}

std::string noLockWarning(const std::string& gameDirectory)
{
    return "The file system of " + dataFolderPath(gameDirectory) +
           " cannot lock files: staff.dat is used without a lock, so no other rostradb may save it meanwhile.";
}

StaffFileLock::StaffFileLock(const std::string& gameDirectory, LockKind kind, FileSystem& files) : kind_(kind)
{
    const std::string path = dataFilePath(gameDirectory, datafile::kStaff);
    const std::string journal = dataFilePath(gameDirectory, datafile::kStaffJournal);
    // staff.dat's own journal, or those of a save over several files.
    const auto journalsThere = [&] { return files.exists(journal) || fileSetJournalsPresent(gameDirectory, files); };
    const auto lock = [&] {
        file_ = files.openExisting(path);
        const LockOutcome outcome = lockWaiting(*file_, kind, files.lockWaitMs());
        if (outcome == LockOutcome::HeldElsewhere)
            throw DbError(kind == LockKind::Exclusive ? std::string(kBeingSavedElsewhere)
                                                      : beingSavedNotRead(gameDirectory));
        locked_ = outcome == LockOutcome::Taken;
    };
    const auto note = [&](Recovery done) {
        if (done != Recovery::NoJournal)
            recovery_ = done;
    };
    if (kind == LockKind::Exclusive) {
        lock();
        note(recoverWithLockHeld(gameDirectory, *file_, files));
        return;
    }
    // A journal beside staff.dat is a save in progress (the recovery waits
    // for its lock and then finds nothing to do) or one cut short, which is
    // undone before anything is read.
    if (journalsThere())
        note(recoverInterruptedSave(gameDirectory, files));
    lock();
    // Under the shared lock no save runs: a journal that appeared since is
    // a save cut short in the meantime. Undo it and lock again, once.
    if (journalsThere()) {
        file_->close();
        note(recoverInterruptedSave(gameDirectory, files));
        lock();
        if (journalsThere())
            throw DbError(beingSavedNotRead(gameDirectory));
    }
}

StaffFileLock::~StaffFileLock() = default;

void StaffFileLock::close()
{
    if (file_)
        file_->close();
}

} // namespace rostradb
