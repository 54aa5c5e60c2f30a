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
};

// The operating system's files, through DataFile and the folder functions.
FileSystem& realFileSystem();

} // namespace rostradb
