#include "staff_file_read.h"

#include "data_paths.h"
#include "record_layout.h"

#include <algorithm>

namespace rostradb {

namespace {

// The table's buffer, as large as the file holds of it, and room for its
// records.
template <class Record>
void makeRoom(StaffTableRead<Record>& table, std::uint64_t offset, std::uint64_t count, std::uint64_t fileSize)
{
    const std::uint64_t available = fileSize > offset ? fileSize - offset : 0;
    // count is at most 2^32 and a record at most 157 bytes: no overflow.
    table.region = TableRegion{offset, count, Record::kFileBytes,
                               ByteBuffer(static_cast<std::size_t>(std::min(count * Record::kFileBytes, available)))};
    table.records.reserve(table.region.bytes.size() / Record::kFileBytes);
}

// Reads one region and decodes the records it holds in full, straight from
// the read buffer (which the load keeps as its snapshot) into the table.
// Returns whether the next table may be read.
template <const auto& Layout, class Record>
bool readTable(RandomAccessFile& file, StaffTableRead<Record>& table)
{
    if (table.failure)
        return false;
    try {
        file.seek(table.region.offset);
        table.region.bytes.truncate(file.readSome(table.region.bytes.bytes()));
        const std::size_t held = table.region.bytes.size() / Record::kFileBytes;
        table.records.resize(held); // within the room made: no allocation here
        for (std::size_t i = 0; i < held; ++i)
            decodeRecord<Layout>(table.region.record(i), table.records[i]);
    } catch (...) {
        table.failure = std::current_exception();
    }
    return table.complete();
}

} // namespace

void openStaffFile(StaffFileRead& read, RandomAccessFile& file, const TableDirectory& directory) noexcept
{
    try {
        read.file = &file;
        const IndexEntry& staff = directory.at(entry::kStaff);
        const IndexEntry& nonPlayers = directory.at(entry::kNonPlayers);
        const IndexEntry& players = directory.at(entry::kPlayers);
        try {
            // The staff table starts at byte 0, whatever its entry's offset
            // says; the other two are found only by their entries' offsets,
            // whatever lies before or between them.
            const std::uint64_t size = read.file->size();
            makeRoom(read.staff, 0, staff.recordCount(), size);
            makeRoom(read.nonPlayers, nonPlayers.offset(), nonPlayers.recordCount(), size);
            makeRoom(read.players, players.offset(), players.recordCount(), size);
        } catch (...) {
            read.staff.failure = std::current_exception(); // where reading the staff table would meet it
        }
    } catch (...) {
        read.openFailure = std::current_exception();
    }
}

void readStaffFile(StaffFileRead& read) noexcept
{
    if (!read.file)
        return;
    // A player record's byte 69 has no field: the layout leaves it out.
    if (readTable<kStaffLayout>(*read.file, read.staff) && readTable<kNonPlayerLayout>(*read.file, read.nonPlayers))
        readTable<kPlayerLayout>(*read.file, read.players);
}

} // namespace rostradb
