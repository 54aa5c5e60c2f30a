#include "staff_file_read.h"

#include "data_file.h"
#include "data_paths.h"
#include "record_blocks.h"
#include "record_layout.h"
#include "table_room.h"

#include <algorithm>
#include <span>

namespace rostradb {

namespace {

// Records of a table read at a time when the regions are not kept (some
// 100 KB, which stays in the cache).
constexpr std::size_t kBlockRecords = 640;

// Room for the table's records and, when the regions are kept, its buffer,
// as large as the file holds of it: in the room the table already has when
// that fits (the tables of the load before).
template <class Record>
void makeRoom(StaffTableRead<Record>& table, std::uint64_t offset, std::uint64_t count, std::uint64_t fileSize,
              bool keepRegion)
{
    const std::uint64_t available = fileSize > offset ? fileSize - offset : 0;
    // count is at most 2^32 and a record at most 157 bytes: no overflow.
    table.inFile = static_cast<std::size_t>(std::min(count * Record::kFileBytes, available));
    ByteBuffer bytes = std::move(table.region.bytes); // the room the last load's region left, if any
    if (keepRegion)
        bytes.resizeForOverwrite(table.inFile);
    else
        bytes = ByteBuffer();
    table.region = TableRegion{offset, count, Record::kFileBytes, std::move(bytes)};
    table.records.clear();
    reserveReusing(table.records, table.inFile / Record::kFileBytes);
    adviseLargePages(table.records.data(), table.records.capacity() * sizeof(Record));
    adviseLargePages(table.region.bytes.data(), table.region.bytes.size());
}

// Records of a table read and decoded at a time when the regions are kept
// (640 KB of the staff table, which is still in the cache when decoded); the
// loading thread hears of each block.
constexpr std::size_t kDecodeBlockRecords = 4096;

// Told of each block of a table's records as they are decoded.
struct NoOneTold {
    template <class Record>
    void operator()(std::vector<Record>&)
    {
    }
};

// Reads one region and decodes the records it holds in full into the
// table, block by block: straight from the read buffer, which the load
// keeps as its snapshot, or else through a small one. `told` hears of each
// block. Returns whether the next table may be read.
template <const auto& Layout, class Record, class Told = NoOneTold>
bool readTable(RandomAccessFile& file, StaffTableRead<Record>& table, bool keepRegion, Told told = {})
{
    if (table.failure)
        return false;
    try {
        file.seek(table.region.offset);
        // Resized block by block within the room made: no allocation, and
        // the records already told of never move.
        const auto decode = [&table, &told](const std::uint8_t* records, std::size_t n) {
            const std::size_t first = table.records.size();
            table.records.resize(first + n);
            for (std::size_t i = 0; i < n; ++i)
                decodeRecord<Layout>(records + i * Record::kFileBytes, table.records[first + i]);
            told(table.records);
        };
        if (keepRegion) {
            const std::span<std::uint8_t> bytes = table.region.bytes.bytes();
            std::size_t read = 0;
            while (read < bytes.size()) {
                const std::size_t want = std::min(bytes.size() - read, kDecodeBlockRecords * Record::kFileBytes);
                const std::size_t got = file.readSome(bytes.subspan(read, want));
                const std::size_t decoded = read / Record::kFileBytes;
                read += got;
                decode(bytes.data() + decoded * Record::kFileBytes, read / Record::kFileBytes - decoded);
                if (got < want)
                    break;
            }
            table.region.bytes.truncate(read);
        } else {
            readRecordBlocks(file, table.inFile / Record::kFileBytes, Record::kFileBytes, kBlockRecords, decode);
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
        read.staffDecoded.tell(nullptr, 0, true);
        return;
    }
    const auto tell = [&read](std::vector<StaffRecord>& records) {
        read.staffDecoded.tell(records.data(), records.size(), false);
    };
    // A player record's byte 69 has no field: the layout leaves it out.
    const bool staffComplete = readTable<kStaffLayout>(*read.file, read.staff, read.keepRegions, tell);
    read.staffDecoded.tell(read.staff.records.data(), read.staff.records.size(), true);
    if (staffComplete && readTable<kNonPlayerLayout>(*read.file, read.nonPlayers, read.keepRegions))
        readTable<kPlayerLayout>(*read.file, read.players, read.keepRegions);
}

} // namespace rostradb
