#include "staff_file_read.h"

#include "data_file.h"
#include "data_paths.h"
#include "loaders.h"
#include "record_layout.h"

#include <algorithm>

namespace rostradb {

namespace {

// Reads one region and decodes the records it holds in full, straight from
// the read buffer (which the load keeps as its snapshot) into the table.
// Returns whether the next table may be read.
template <const auto& Layout, class Record>
bool readTable(DataFile& file, std::uint64_t offset, std::uint64_t count, StaffTableRead<Record>& table)
{
    try {
        table.region =
            TableRegion{offset, count, Record::kFileBytes, readTableBytes(file, offset, count, Record::kFileBytes)};
        const std::size_t held = table.region.bytes.size() / Record::kFileBytes;
        table.records.resize(held);
        for (std::size_t i = 0; i < held; ++i)
            decodeRecord<Layout>(table.region.record(i), table.records[i]);
    } catch (...) {
        table.failure = std::current_exception();
    }
    return table.complete();
}

} // namespace

StaffFileRead readStaffFile(const std::string& path, const TableDirectory& directory) noexcept
{
    StaffFileRead read;
    try {
        DataFile file = DataFile::openExisting(path);
        const IndexEntry& staff = directory.at(entry::kStaff);
        const IndexEntry& nonPlayers = directory.at(entry::kNonPlayers);
        const IndexEntry& players = directory.at(entry::kPlayers);
        // The staff table starts at byte 0, whatever its entry's offset says;
        // the other two are found only by their entries' offsets, whatever
        // lies before or between them. A player record's byte 69 has no field:
        // the layout leaves it out.
        if (readTable<kStaffLayout>(file, 0, staff.recordCount(), read.staff) &&
            readTable<kNonPlayerLayout>(file, nonPlayers.offset(), nonPlayers.recordCount(), read.nonPlayers))
            readTable<kPlayerLayout>(file, players.offset(), players.recordCount(), read.players);
        try {
            file.close();
        } catch (...) {
            read.closeFailure = std::current_exception();
        }
    } catch (...) {
        read.openFailure = std::current_exception();
    }
    return read;
}

} // namespace rostradb
