#include "staff_writer.h"

#include "data_file.h"
#include "data_paths.h"
#include "errors.h"
#include "loaders.h"
#include "record_layout.h"

#include <vector>

namespace rostradb {

namespace {

// One of the staff file's three tables as the writer sees it.
template <class Record>
struct TableToSave {
    const std::vector<Record>& records;
    const IndexEntry& entry;
    std::uint64_t offset; // where the table starts in the file
    const char* caption;

    std::uint64_t count() const { return entry.recordCount(); }
    std::uint64_t end() const { return offset + count() * Record::kFileBytes; }
};

template <class Record>
void requireLoaded(const TableToSave<Record>& table)
{
    if (table.records.size() < table.count())
        throwListIndexOutOfBounds(static_cast<std::int64_t>(table.records.size()));
}

template <class Record>
void requireInsideFile(const TableToSave<Record>& table, std::uint64_t fileSize)
{
    if (table.end() > fileSize)
        throw DbError(kReadBeyondEnd);
}

// Reads the table's bytes as the file holds them, puts every saved field of
// every record in its place, and writes the region back in one piece. The
// bytes no field covers go back exactly as they were read.
template <const auto& Layout, class Record>
void writeTable(DataFile& file, const TableToSave<Record>& table, ProgressSink& sink)
{
    file.seek(table.offset);
    beginTable(sink, table.caption, table.entry.lastIndex());

    std::vector<std::uint8_t> region(static_cast<std::size_t>(table.count() * Record::kFileBytes));
    file.readExact(region);
    for (std::uint64_t i = 0; i < table.count(); ++i) {
        sink.setPosition(static_cast<std::int32_t>(i));
        encodeRecord<Layout>(table.records[static_cast<std::size_t>(i)], region.data() + i * Record::kFileBytes);
        sink.pumpEvents();
    }
    file.seek(table.offset);
    file.write(region);
}

} // namespace

void saveStaffFile(const GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink)
{
    const IndexEntry& staffEntry = db.directory.at(entry::kStaff);
    const IndexEntry& nonPlayerEntry = db.directory.at(entry::kNonPlayers);
    const IndexEntry& playerEntry = db.directory.at(entry::kPlayers);
    const TableToSave staff{db.staff, staffEntry, 0, caption::kSaveStaffGeneral};
    const TableToSave nonPlayers{db.nonPlayers, nonPlayerEntry, nonPlayerEntry.offset(),
                                 caption::kSaveStaffNonPlaying};
    const TableToSave players{db.players, playerEntry, playerEntry.offset(),
                              caption::kSaveStaffPlaying};

    // Without a complete load there is nothing sound to write: refuse before
    // the file is opened rather than leave it half rewritten.
    requireLoaded(staff);
    requireLoaded(nonPlayers);
    requireLoaded(players);

    ProgressScope progress(sink);
    DataFile file = DataFile::openExisting(dataFilePath(gameDirectory, datafile::kStaff));
    // The file is rewritten in place, never extended: a table that no longer
    // fits the file (it changed since the load) stops the save untouched.
    const std::uint64_t fileSize = file.size();
    requireInsideFile(staff, fileSize);
    requireInsideFile(nonPlayers, fileSize);
    requireInsideFile(players, fileSize);

    writeTable<kStaffLayout>(file, staff, sink);
    writeTable<kNonPlayerLayout>(file, nonPlayers, sink);
    writeTable<kPlayerLayout>(file, players, sink);

    // The only copy of the user's data: make sure it is on the disk, and
    // report a failed flush or close instead of success.
    file.syncToDisk();
    file.close();
}

} // namespace rostradb
