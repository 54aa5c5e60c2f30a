#include "staff_file_read.h"

#include "data_file.h"
#include "data_paths.h"
#include "record_blocks.h"
#include "record_layout.h"

#include <algorithm>

namespace rostradb {

namespace {

// Records of a table read at a time when the regions are not kept (some
// 100 KB, which stays in the cache).
constexpr std::size_t kBlockRecords = 640;

// Room for the table's records and, when the regions are kept, its buffer,
// as large as the file holds of it.
template <class Record>
void makeRoom(StaffTableRead<Record>& table, std::uint64_t offset, std::uint64_t count, std::uint64_t fileSize,
              bool keepRegion)
{
    const std::uint64_t available = fileSize > offset ? fileSize - offset : 0;
    // count is at most 2^32 and a record at most 157 bytes: no overflow.
    table.inFile = static_cast<std::size_t>(std::min(count * Record::kFileBytes, available));
    table.region = TableRegion{offset, count, Record::kFileBytes, ByteBuffer(keepRegion ? table.inFile : 0)};
    table.records.reserve(table.inFile / Record::kFileBytes);
    adviseLargePages(table.records.data(), table.records.capacity() * sizeof(Record));
    adviseLargePages(table.region.bytes.data(), table.region.bytes.size());
}

// Reads one region and decodes the records it holds in full into the
// table: straight from the read buffer, which the load keeps as its
// snapshot, or else block by block through a small one. Returns whether the
// next table may be read.
template <const auto& Layout, class Record>
bool readTable(RandomAccessFile& file, StaffTableRead<Record>& table, bool keepRegion)
{
    if (table.failure)
        return false;
    try {
        file.seek(table.region.offset);
        if (keepRegion) {
            table.region.bytes.truncate(file.readSome(table.region.bytes.bytes()));
            const std::size_t held = table.region.bytes.size() / Record::kFileBytes;
            table.records.resize(held); // within the room made: no allocation here
            for (std::size_t i = 0; i < held; ++i)
                decodeRecord<Layout>(table.region.record(i), table.records[i]);
        } else {
            const std::size_t count = table.inFile / Record::kFileBytes;
            readRecordBlocks(file, count, Record::kFileBytes, kBlockRecords,
                             [&table](const std::uint8_t* records, std::size_t n) {
                                 const std::size_t first = table.records.size();
                                 table.records.resize(first + n); // within the room made
                                 for (std::size_t i = 0; i < n; ++i)
                                     decodeRecord<Layout>(records + i * Record::kFileBytes, table.records[first + i]);
                             });
        }
    } catch (...) {
        table.failure = std::current_exception();
    }
    return table.complete();
}

} // namespace

void openStaffFile(StaffFileRead& read, RandomAccessFile& file, const TableDirectory& directory,
                   bool keepRegions) noexcept
{
    try {
        read.file = &file;
        read.keepRegions = keepRegions;
        const IndexEntry& staff = directory.at(entry::kStaff);
        const IndexEntry& nonPlayers = directory.at(entry::kNonPlayers);
        const IndexEntry& players = directory.at(entry::kPlayers);
        try {
            // The staff table starts at byte 0, whatever its entry's offset
            // says; the other two are found only by their entries' offsets,
            // whatever lies before or between them.
            const std::uint64_t size = read.file->size();
            makeRoom(read.staff, 0, staff.recordCount(), size, keepRegions);
            makeRoom(read.nonPlayers, nonPlayers.offset(), nonPlayers.recordCount(), size, keepRegions);
            makeRoom(read.players, players.offset(), players.recordCount(), size, keepRegions);
        } catch (...) {
            read.staff.failure = std::current_exception(); // where reading the staff table would meet it
        }
    } catch (...) {
        read.openFailure = std::current_exception();
    }
}

void readStaffFile(StaffFileRead& read) noexcept
{
    if (!read.file) {
        read.staffTableDone.give();
        return;
    }
    // A player record's byte 69 has no field: the layout leaves it out.
    const bool staffComplete = readTable<kStaffLayout>(*read.file, read.staff, read.keepRegions);
    read.staffTableDone.give();
    if (staffComplete && readTable<kNonPlayerLayout>(*read.file, read.nonPlayers, read.keepRegions))
        readTable<kPlayerLayout>(*read.file, read.players, read.keepRegions);
}

} // namespace rostradb
