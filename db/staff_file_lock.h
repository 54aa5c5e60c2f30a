#pragma once
// staff.dat opened and locked for as long as a command needs it. Readers
// take the shared lock, so that they wait for a save in progress instead of
// reading half of it; a save, or a command that reads and then saves, takes
// the exclusive one, so that nobody saves or reads between its look at the
// disk and its last write. A file system without locks gives no lock: the
// work goes on without one and noLockWarning() says so once.

#include "file_system.h"
#include "save_journal.h"

#include <memory>
#include <string>

namespace rostradb {

// "…staff.dat is being saved by another rostradb…" for a reader that waited
// in vain.
std::string beingSavedNotRead(const std::string& gameDirectory);
// The warning of a file system without locks, naming the data folder.
std::string noLockWarning(const std::string& gameDirectory);

class StaffFileLock {
public:
    // Opens staff.dat and takes `kind` of lock, waiting up to
    // files.lockWaitMs() for a
    // save in progress. Exclusive: a journal left by an interrupted save is
    // then dealt with under the lock (recovery()); kBeingSavedElsewhere when
    // the wait ran out. Shared: a journal found under the lock is a save cut
    // short, which is undone first (recovery()); beingSavedNotRead() when the
    // wait ran out.
    StaffFileLock(const std::string& gameDirectory, LockKind kind, FileSystem& files = realFileSystem());
    ~StaffFileLock();
    StaffFileLock(const StaffFileLock&) = delete;
    StaffFileLock& operator=(const StaffFileLock&) = delete;

    RandomAccessFile& file() { return *file_; }
    LockKind kind() const { return kind_; }
    // False on a file system without locks.
    bool locked() const { return locked_; }
    // What was done with a journal found on the way.
    Recovery recovery() const { return recovery_; }
    // Closes the file, which lets the lock go; reports a failed close.
    void close();

private:
    std::unique_ptr<RandomAccessFile> file_;
    LockKind kind_;
    bool locked_ = true;
    Recovery recovery_ = Recovery::NoJournal;
};

} // namespace rostradb
