#pragma once
// The lookup files' part of a save: the name of every nation, name and club
// record merged three ways, from the name the file held at the load (the
// base), the name in memory and the name on the disk now. A name only
// another program changed is taken into memory; a name only the editor
// changed is written; names both changed differently are conflicts, which
// the caller asks about before it lets the editor's name win. Only the 51
// bytes of a name that changes are written, nothing else of its record.

#include "file_set_save.h"
#include "lookup_names.h"

#include <memory>
#include <string>
#include <vector>

namespace rostradb {

struct MergedName {
    NameKey key;
    NameField disk{};   // on the disk now
    NameField editor{}; // in memory
    bool operator==(const MergedName&) const = default;
};

class LookupFilesSave {
public:
    // Reads the five lookup files; the caller holds the lock on staff.dat.
    // Raises "List index out of bounds (N)" for a table that holds fewer
    // records than its directory entry announces, kDirectoryChanged when
    // index.dat places a lookup table otherwise than at the load, the file's
    // error when it cannot be opened or read, and "Read beyond end of file"
    // when a table no longer fits its file.
    LookupFilesSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files);
    ~LookupFilesSave();
    LookupFilesSave(const LookupFilesSave&) = delete;
    LookupFilesSave& operator=(const LookupFilesSave&) = delete;

    const std::vector<MergedName>& conflicts() const;
    const std::vector<MergedName>& changedOnDiskOnly() const;
    // The names to write, per file; files without any are left out.
    std::vector<FileChanges> plannedChanges() const;
    std::size_t namesToWrite() const;
    // After the files were written (or when none needed writing): the names
    // only another program changed are taken into memory, and every name in
    // memory is now the file's.
    void committed();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace rostradb
