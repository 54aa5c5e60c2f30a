#pragma once
// staff.dat's three tables, read and decoded apart from the rest of a load.
// Until display names are built they need nothing but the directory, so a
// load reads them on a second thread while the name tables come in, and
// takes the results over, in the game's order, at its staff step.

#include "random_access_file.h"
#include "records.h"
#include "staff_snapshot.h"
#include "table_directory.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <vector>

namespace rostradb {

// One table of the staff file: its region as read, the records it holds in
// full, decoded, and the error that stopped its read, if one did. `inFile`
// is how many of its bytes the file holds.
template <class Record>
struct StaffTableRead {
    TableRegion region;
    std::vector<Record> records;
    std::exception_ptr failure;
    std::size_t inFile = 0;

    // Every record the directory announced was read.
    bool complete() const { return !failure && records.size() == region.recordCount; }
};

// How far the staff table's decode has come: told by the reading thread
// after each block of records, waited on by the loading thread, which names
// the people already decoded while the rest come in. A mutex and a
// condition variable rather than atomics and std::latch: with MinGW's GCC 12
// an atomic wait can miss its wake-up (no futex there) and never return.
class DecodedRecords {
public:
    // What a wait sees: the first `count` records at `records` are decoded
    // and will not be written again; `last` once the table's read has ended.
    struct Seen {
        StaffRecord* records = nullptr;
        std::size_t count = 0;
        bool last = false;
    };

    void tell(StaffRecord* records, std::size_t count, bool last)
    {
        {
            const std::lock_guard lock(mutex_);
            seen_ = {records, count, last};
        }
        changed_.notify_all();
    }

    // Waits until more than `count` records are decoded or the read has ended.
    Seen waitBeyond(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return seen_.last || seen_.count > count; });
        return seen_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Seen seen_;
};

struct StaffFileRead {
    RandomAccessFile* file = nullptr; // the load's locked staff.dat; it closes it
    // The regions are kept as read (the snapshot a save compares with); or,
    // for a load that only reads, left empty, each table read through a
    // small buffer and decoded from there.
    bool keepRegions = true;
    std::exception_ptr openFailure; // the file could not be opened or locked: nothing was read
    StaffTableRead<StaffRecord> staff;
    StaffTableRead<NonPlayerRecord> nonPlayers;
    StaffTableRead<PlayerRecord> players;
    // The staff table's records as they are decoded, its last word given
    // once the table is read (or will not be): from then on the read touches
    // only the other two tables.
    DecodedRecords staffDecoded;
};

// On the loading thread: takes the opened, locked file and makes every
// buffer the read will fill, each as large as the file holds of its table
// (in the room `read`'s tables already have, where it fits). The memory then comes
// from the thread that later frees it, which keeps a second load from
// holding the first one's freed room beside its own.
void openStaffFile(StaffFileRead& read, RandomAccessFile& file, const TableDirectory& directory,
                   bool keepRegions = true) noexcept;

// On either thread: reads the tables in order (staff from byte 0, the others
// from the offsets of entries 9 and 10) into what openStaffFile made,
// stopping after the first that is short or fails; the tables after it are
// left unread. Display names are left empty. Tells staffDecoded of each
// block of the staff table, and of its end. Never throws: every error is kept for the load to
// raise where it would have arisen reading the file in turn.
void readStaffFile(StaffFileRead& read) noexcept;

} // namespace rostradb
