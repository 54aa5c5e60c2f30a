#include "loaders.h"

#include "data_paths.h"
#include "errors.h"
#include "record_layout.h"
#include "staff_file_lock.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace rostradb {

namespace {


// How a table step reports per record: the nation step sets no positions.
enum class Positions { Reported, Silent };

// Appends the table's records one by one, with the progress calls around
// each. A record the file does not hold in full stops the load with "Read
// beyond end of file"; the records before it stay in the table.
template <class Record, class Decode>
void appendRecords(const ByteBuffer& bytes, std::uint64_t count, std::size_t recordBytes,
                   std::vector<Record>& table, ProgressSink& sink, Positions positions, Decode decode)
{
    table.reserve(table.size() + static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes.size() / recordBytes)));
    for (std::uint64_t i = 0; i < count; ++i) {
        if (positions == Positions::Reported)
            sink.setPosition(static_cast<std::int32_t>(i)); // count fits: beginTable refused larger
        const std::uint64_t end = (i + 1) * recordBytes;
        if (end > bytes.size())
            throw DbError(kReadBeyondEnd);
        table.push_back(decode(bytes.data() + (end - recordBytes)));
        sink.pumpEvents();
    }
}

template <class Record>
Record keepLeadingBytes(const std::uint8_t* fileRecord)
{
    Record record;
    std::copy_n(fileRecord, Record::kKeptBytes, record.bytes.begin());
    return record;
}

// One lookup file (nations, names, clubs): read from byte 0, sized by its
// directory entry. Nations pass no caption and report no positions.
template <class Record>
void loadLookupTable(GameDatabase& db, const std::string& gameDirectory, std::string_view fileName,
                     std::size_t directoryPosition, const char* caption, std::vector<Record>& table,
                     ProgressSink& sink)
{
    DataFile file = DataFile::openExisting(dataFilePath(gameDirectory, fileName));
    const IndexEntry& entry = db.directory.at(directoryPosition);
    const Positions positions = caption ? Positions::Reported : Positions::Silent;
    if (caption)
        beginTable(sink, caption, entry.lastIndex());
    const auto bytes = readTableBytes(file, 0, entry.recordCount(), Record::kFileBytes);
    appendRecords(bytes, entry.recordCount(), Record::kFileBytes, table, sink, positions,
                  keepLeadingBytes<Record>);
    file.close();
}

// The non-player and player tables: found only by the offset of their
// directory entry, whatever lies before or between them.
// The bytes are kept in `region`, the load snapshot, exactly as read.
template <const auto& Layout, class Record>
void loadAttributeTable(RandomAccessFile& file, const IndexEntry& entry, const char* caption, std::vector<Record>& table,
                        TableRegion& region, ProgressSink& sink)
{
    beginTable(sink, caption, entry.lastIndex());
    region = TableRegion{entry.offset(), entry.recordCount(), Record::kFileBytes,
                         readTableBytes(file, entry.offset(), entry.recordCount(), Record::kFileBytes)};
    appendRecords(region.bytes, entry.recordCount(), Record::kFileBytes, table, sink, Positions::Reported,
                  [](const std::uint8_t* fileRecord) {
                      Record record;
                      decodeRecord<Layout>(fileRecord, record);
                      return record;
                  });
}

} // namespace

ByteBuffer readTableBytes(RandomAccessFile& file, std::uint64_t position, std::uint64_t count,
                          std::size_t recordBytes)
{
    file.seek(position);
    const std::uint64_t fileSize = file.size();
    const std::uint64_t available = fileSize > position ? fileSize - position : 0;
    // count is at most 2^32 and a record at most 581 bytes: no overflow.
    ByteBuffer bytes(static_cast<std::size_t>(std::min(count * recordBytes, available)));
    bytes.truncate(file.readSome(bytes.bytes()));
    return bytes;
}

std::string buildDisplayName(std::uint32_t firstName, std::uint32_t secondName,
                             const std::vector<NameRecord>& firstNames,
                             const std::vector<NameRecord>& secondNames)
{
    std::string name;
    if (firstName >= firstNames.size() || secondName >= secondNames.size())
        return name;
    const auto append = [&name](std::string_view text) {
        name.append(text.substr(0, StaffRecord::kDisplayNameMax - name.size()));
    };
    append(firstNames[firstName].displayText());
    append(" ");
    append(secondNames[secondName].displayText());
    return name;
}

void loadStaffGeneral(RandomAccessFile& file, GameDatabase& db, ProgressSink& sink)
{
    const IndexEntry& entry = db.directory.at(entry::kStaff);
    beginTable(sink, caption::kStaffGeneral, entry.lastIndex());
    // The staff table starts at byte 0, whatever the entry's offset says.
    db.snapshot.staff = TableRegion{0, entry.recordCount(), StaffRecord::kFileBytes,
                                    readTableBytes(file, 0, entry.recordCount(), StaffRecord::kFileBytes)};
    appendRecords(db.snapshot.staff.bytes, entry.recordCount(), StaffRecord::kFileBytes, db.staff, sink, Positions::Reported,
                  [&db](const std::uint8_t* fileRecord) {
                      StaffRecord record;
                      decodeRecord<kStaffLayout>(fileRecord, record);
                      record.displayName =
                          buildDisplayName(record.firstName, record.secondName, db.firstNames, db.secondNames);
                      return record;
                  });
}

void loadStaffNonPlaying(RandomAccessFile& file, GameDatabase& db, ProgressSink& sink)
{
    loadAttributeTable<kNonPlayerLayout>(file, db.directory.at(entry::kNonPlayers), caption::kStaffNonPlaying,
                                         db.nonPlayers, db.snapshot.nonPlayers, sink);
}

void loadStaffPlaying(RandomAccessFile& file, GameDatabase& db, ProgressSink& sink)
{
    // A player record's byte 69 has no field: the layout leaves it out.
    loadAttributeTable<kPlayerLayout>(file, db.directory.at(entry::kPlayers), caption::kStaffPlaying, db.players,
                                      db.snapshot.players, sink);
}

void checkStaffTablesApart(const TableDirectory& directory)
{
    struct Span {
        std::uint64_t begin, end;
    };
    const auto span = [&](std::size_t position, std::uint64_t begin, std::size_t recordBytes) {
        return Span{begin, begin + directory.at(position).recordCount() * recordBytes};
    };
    const Span staff = span(entry::kStaff, 0, StaffRecord::kFileBytes);
    const Span nonPlayers =
        span(entry::kNonPlayers, directory.at(entry::kNonPlayers).offset(), NonPlayerRecord::kFileBytes);
    const Span players = span(entry::kPlayers, directory.at(entry::kPlayers).offset(), PlayerRecord::kFileBytes);
    const auto overlap = [](Span a, Span b) { return a.begin < b.end && b.begin < a.end; };
    if (overlap(staff, nonPlayers) || overlap(staff, players) || overlap(nonPlayers, players))
        throw DbError(kTablesOverlap);
}

namespace {

enum class DirectoryRead { IfStartUpReadIt, Always };

void loadGameFiles(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, DirectoryRead read,
                   StaffFileLock* held)
{
    // Each load starts from empty tables, so the tables (and the boxes the
    // window fills from them) always hold exactly one copy of the files.
    db.clearLoadedTables();
    db.loadState = LoadState::Partial; // until the last table is in
    ProgressScope progress(sink);

    // The game's files may have been replaced since start-up (a patch, a
    // restored backup): size and place the tables by the directory the
    // files come with now. A directory start-up could not read stays as it
    // is, and the first lookup reports it.
    if (read == DirectoryRead::Always || db.directory.size() == TableDirectory::kEntryCount) {
        TableDirectory current;
        current.read(dataFilePath(gameDirectory, datafile::kIndex));
        db.directory = std::move(current);
    }

    loadLookupTable(db, gameDirectory, datafile::kNations, entry::kNations, nullptr, db.nations, sink);
    loadLookupTable(db, gameDirectory, datafile::kFirstNames, entry::kFirstNames, caption::kFirstNames,
                    db.firstNames, sink);
    loadLookupTable(db, gameDirectory, datafile::kSecondNames, entry::kSecondNames, caption::kSecondNames,
                    db.secondNames, sink);
    loadLookupTable(db, gameDirectory, datafile::kCommonNames, entry::kCommonNames, caption::kCommonNames,
                    db.commonNames, sink);

    // The display names are built from the name tables, so those come first.
    // Read under a lock, so that a save in progress is waited for instead
    // of read half done.
    std::optional<StaffFileLock> ownLock;
    if (!held)
        ownLock.emplace(gameDirectory, LockKind::Shared);
    RandomAccessFile& staffFile = held ? held->file() : ownLock->file();
    // Save writes each table back where it was read: tables that share bytes
    // would overwrite one another's edits, so such a file is not loaded.
    checkStaffTablesApart(db.directory);
    db.snapshot.directory.clear();
    for (std::size_t i = 0; i < db.directory.size(); ++i)
        db.snapshot.directory.push_back(db.directory.at(i));
    loadStaffGeneral(staffFile, db, sink);
    loadStaffNonPlaying(staffFile, db, sink);
    loadStaffPlaying(staffFile, db, sink);
    if (ownLock)
        ownLock->close();

    loadLookupTable(db, gameDirectory, datafile::kClubs, entry::kClubs, caption::kClubs, db.clubs, sink);
    db.loadState = LoadState::Complete;
}

} // namespace

void runLoadSequence(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, StaffFileLock* held)
{
    loadGameFiles(db, gameDirectory, sink, DirectoryRead::IfStartUpReadIt, held);
}

void readDirectoryAndLoad(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink,
                          StaffFileLock* held)
{
    loadGameFiles(db, gameDirectory, sink, DirectoryRead::Always, held);
}

} // namespace rostradb
