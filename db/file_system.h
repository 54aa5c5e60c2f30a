#pragma once
// Everything a save and its recovery do to the files around the game's data,
// behind one interface: open staff.dat, create the journal, ask whether a
// file is there, delete one, flush the folder. The real one calls the file
// layer (data_file.h); tests hand in one that fails, or stops dead as a
// killed process would, at a chosen step.

#include "random_access_file.h"

#include <memory>
#include <string>

namespace rostradb {

// How long a command waits for a save in progress before it gives up, in
// milliseconds: the largest save takes about a second.
inline constexpr int kDefaultLockWaitMs = 5000;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens an existing file for reading and writing; never creates one.
    virtual std::unique_ptr<RandomAccessFile> openExisting(const std::string& path) = 0;
    // Creates `path` (emptying a file of that name) for reading and writing.
    virtual std::unique_ptr<RandomAccessFile> createEmpty(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual void remove(const std::string& path) = 0;
    // Makes the creation or deletion of a file in the folder survive a power cut.
    virtual void syncFolder(const std::string& folderPath) = 0;
    // How long a lock on these files is waited for, in milliseconds.
    virtual int lockWaitMs() const;
};

// Takes `kind` of lock on `file`, trying again every few milliseconds while
// another process holds one that excludes it, for up to `waitMs`. Returns
// HeldElsewhere when the time ran out, Unsupported when the file system has
// no locks.
LockOutcome lockWaiting(RandomAccessFile& file, LockKind kind, int waitMs);

// The operating system's files, through DataFile and the folder functions.
FileSystem& realFileSystem();

} // namespace rostradb
