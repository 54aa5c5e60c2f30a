#include "loaders.h"

#include "data_paths.h"
#include "display_names.h"
#include "errors.h"
#include "record_blocks.h"
#include "staff_file_lock.h"
#include "staff_file_read.h"
#include "table_room.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <thread>
#include <type_traits>
#include <vector>

namespace rostradb {

namespace {

// How a table step reports its records: the nation step sets no positions.
enum class Positions { Reported, Silent };

// Records are decoded, and reported to the sink, in blocks of this many: the
// Status window then checks its clock some 80 times on a full load instead
// of once per record, and still updates several times per table.
constexpr std::size_t kProgressBlock = 4096;

// Lookup records that keep only part of their file bytes are read this many
// at a time (club.dat: 290 KB, which stays in the cache while copied out).
constexpr std::size_t kReadBlock = 512;

void reportDone(ProgressSink& sink, Positions positions, std::size_t first, std::size_t end)
{
    if (positions == Positions::Silent)
        sink.unpositionedRecordsDone(static_cast<std::int64_t>(end - first));
    else // the counts fit: beginTable refused larger tables
        sink.recordsDone(static_cast<std::int32_t>(first), static_cast<std::int32_t>(end - 1));
}

// A table the file held only `held` of its `count` records of: the load
// stops with "Read beyond end of file" at the first incomplete record; the
// records before it stay in the table.
void stopWhenShort(ProgressSink& sink, Positions positions, std::uint64_t held, std::uint64_t count)
{
    if (held >= count)
        return;
    if (positions == Positions::Reported)
        sink.setPosition(static_cast<std::int32_t>(held));
    throw DbError(kReadBeyondEnd);
}

// Built in a local that is copied in whole: the compiler then drops the
// zeroing of bytes the copy overwrites, which a record made in place keeps.
template <class Record>
Record keepLeadingBytes(const std::uint8_t* fileRecord)
{
    Record record;
    std::memcpy(record.bytes.data(), fileRecord, Record::kKeptBytes);
    return record;
}

// One lookup file (nations, names, clubs): read from byte 0, sized by its
// directory entry, with the progress calls between its blocks of records.
// Nations pass no caption and report no positions.
template <class Record>
void loadLookupTable(GameDatabase& db, const std::string& gameDirectory, std::string_view fileName,
                     std::size_t directoryPosition, const char* caption, std::vector<Record>& table, ProgressSink& sink)
{
    DataFile file = DataFile::openExisting(dataFilePath(gameDirectory, fileName));
    const IndexEntry& entry = db.directory.at(directoryPosition);
    const Positions positions = caption ? Positions::Reported : Positions::Silent;
    if (caption)
        beginTable(sink, caption, entry.lastIndex());
    const std::uint64_t count = std::min(entry.recordCount(), file.size() / Record::kFileBytes);
    std::size_t held = 0;
    if constexpr (sizeof(Record) == Record::kFileBytes && Record::kKeptBytes == Record::kFileBytes) {
        // A name record is its file bytes, all kept: the table itself is the
        // read buffer, and no byte is copied after the read.
        static_assert(std::is_trivially_copyable_v<Record>);
        reserveReusing(table, static_cast<std::size_t>(count));
        adviseLargePages(table.data(), table.capacity() * sizeof(Record));
        table.resize(static_cast<std::size_t>(count));
        const std::span<std::uint8_t> into(reinterpret_cast<std::uint8_t*>(table.data()),
                                           table.size() * Record::kFileBytes);
        held = file.readSome(into) / Record::kFileBytes;
        table.resize(held);
        for (std::size_t first = 0; first < held; first += kProgressBlock)
            reportDone(sink, positions, first, std::min(held, first + kProgressBlock));
    } else {
        // Records keep only their leading bytes: the file is read through
        // one small buffer and the kept bytes copied out (club.dat is 7 MB).
        reserveReusing(table, static_cast<std::size_t>(count));
        adviseLargePages(table.data(), table.capacity() * sizeof(Record));
        std::size_t reported = 0;
        held = readRecordBlocks(file, static_cast<std::size_t>(count), Record::kFileBytes, kReadBlock,
                                [&](const std::uint8_t* records, std::size_t n) {
                                    for (std::size_t i = 0; i < n; ++i)
                                        table.push_back(keepLeadingBytes<Record>(records + i * Record::kFileBytes));
                                    if (table.size() - reported >= kProgressBlock) {
                                        reportDone(sink, positions, reported, table.size());
                                        reported = table.size();
                                    }
                                });
        if (held > reported)
            reportDone(sink, positions, reported, held);
    }
    stopWhenShort(sink, positions, held, entry.recordCount());
    file.close();
}

// One of the staff file's tables, as the staff file's read left it: its
// region becomes the load snapshot (the read buffer itself, not a copy) and
// its records the table. `named` builds the display names of what came in
// before the sink hears of it.
template <class Record, class Named>
void takeStaffTable(const char* caption, const IndexEntry& entry, StaffTableRead<Record>& read,
                    std::vector<Record>& table, TableRegion& region, ProgressSink& sink, Named named)
{
    beginTable(sink, caption, entry.lastIndex());
    if (read.failure)
        std::rethrow_exception(read.failure);
    region = std::move(read.region);
    table = std::move(read.records);
    named();
    if (!table.empty())
        reportDone(sink, Positions::Reported, 0, table.size());
    stopWhenShort(sink, Positions::Reported, table.size(), entry.recordCount());
}

} // namespace

ByteBuffer readTableBytes(RandomAccessFile& file, std::uint64_t position, std::uint64_t count, std::size_t recordBytes)
{
    file.seek(position);
    const std::uint64_t fileSize = file.size();
    const std::uint64_t available = fileSize > position ? fileSize - position : 0;
    // count is at most 2^32 and a record at most 581 bytes: no overflow.
    ByteBuffer bytes(static_cast<std::size_t>(std::min(count * recordBytes, available)));
    bytes.truncate(file.readSome(bytes.bytes()));
    return bytes;
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

// Progress held back, to be told to the real sink later and in the same
// order: club.dat read ahead of its turn reports when the load comes to it.
class HeldProgress final : public ProgressSink {
public:
    void show() override {}
    void hide() override {}
    void setCaption(const std::string& caption) override
    {
        calls_.emplace_back([caption](ProgressSink& sink) { sink.setCaption(caption); });
    }
    void setMaximum(std::int32_t maximum) override
    {
        calls_.emplace_back([maximum](ProgressSink& sink) { sink.setMaximum(maximum); });
    }
    void setPosition(std::int32_t position) override
    {
        calls_.emplace_back([position](ProgressSink& sink) { sink.setPosition(position); });
    }
    void pumpEvents() override
    {
        calls_.emplace_back([](ProgressSink& sink) { sink.pumpEvents(); });
    }
    void recordsDone(std::int32_t first, std::int32_t last) override
    {
        calls_.emplace_back([first, last](ProgressSink& sink) { sink.recordsDone(first, last); });
    }
    void unpositionedRecordsDone(std::int64_t records) override
    {
        calls_.emplace_back([records](ProgressSink& sink) { sink.unpositionedRecordsDone(records); });
    }

    void tellTo(ProgressSink& sink) const
    {
        for (const auto& call : calls_)
            call(sink);
    }

private:
    std::vector<std::function<void(ProgressSink&)>> calls_;
};

// The club table read before its turn, while the second thread still
// decodes the staff file: its records, what it would have told the sink,
// and the error that stopped it. The load takes it over at the club step;
// a load that stops before then drops it, as it would never have read it.
struct ClubsReadAhead {
    std::vector<ClubRecord> table;
    HeldProgress progress;
    std::exception_ptr failure;
};

// A staff table's read is given the room of the table it replaces (emptied).
template <class Record>
void takeRoom(StaffTableRead<Record>& read, std::vector<Record>& table, TableRegion& region)
{
    read.records = std::move(table);
    read.region.bytes = std::move(region.bytes);
}

// Names each block of the staff table as soon as the second thread has
// decoded it, so the names are done soon after the table is: the records
// are then still in the cache the thread wrote them through.
void nameWhileDecoded(DecodedRecords& decoded, const DisplayNamer& namer)
{
    std::size_t named = 0;
    for (;;) {
        const DecodedRecords::Seen seen = decoded.waitBeyond(named);
        namer.name(std::span(seen.records + named, seen.count - named));
        named = seen.count;
        if (seen.last)
            return;
    }
}

// The staff step: what the staff file's read found, taken over table by
// table in the file's order, each error raised where reading the file in
// turn would have met it. The display names are built here unless they
// already were (`named`).
void takeStaffFile(GameDatabase& db, StaffFileRead& read, ProgressSink& sink, bool named)
{
    if (read.openFailure)
        std::rethrow_exception(read.openFailure);
    // Save writes each table back where it was read: tables that share bytes
    // would overwrite one another's edits, so such a file is not loaded.
    checkStaffTablesApart(db.directory);
    db.snapshot.directory.clear();
    for (std::size_t i = 0; i < db.directory.size(); ++i)
        db.snapshot.directory.push_back(db.directory.at(i));
    takeStaffTable(caption::kStaffGeneral, db.directory.at(entry::kStaff), read.staff, db.staff, db.snapshot.staff,
                   sink, [&db, named] {
                       if (!named)
                           rebuildDisplayNames(db);
                   });
    takeStaffTable(caption::kStaffNonPlaying, db.directory.at(entry::kNonPlayers), read.nonPlayers, db.nonPlayers,
                   db.snapshot.nonPlayers, sink, [] {});
    takeStaffTable(caption::kStaffPlaying, db.directory.at(entry::kPlayers), read.players, db.players,
                   db.snapshot.players, sink, [] {});
}

void loadGameFiles(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, DirectoryRead read,
                   StaffFileLock* held, LoadThreads threads, LoadFor purpose, LeftOut leftOut)
{
    if (purpose == LoadFor::Editing)
        leftOut = {}; // a save needs every table whole
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

    // The staff file needs nothing but the directory until the display names
    // are built, the name tables nothing but their own files: with two
    // threads the staff file is read and decoded on the second while this one
    // loads the name tables. The second thread touches only `staffFile`
    // (opened, and its buffers made, before it starts), and is joined before
    // anything in it is used, and on every way out (jthread joins when
    // destroyed, before `staffFile` goes).
    //
    // staff.dat is read under a lock, so that a save in progress is waited
    // for instead of read half done; the lock is taken before the name tables
    // so that the second thread reads under it too. A failure to open or lock
    // the file is raised at the staff step, where a load in turn would meet it.
    std::optional<StaffFileLock> ownLock;
    StaffFileRead staffFile;
    takeRoom(staffFile.staff, db.staff, db.snapshot.staff);
    takeRoom(staffFile.nonPlayers, db.nonPlayers, db.snapshot.nonPlayers);
    takeRoom(staffFile.players, db.players, db.snapshot.players);
    try {
        if (!held)
            ownLock.emplace(gameDirectory, LockKind::Shared);
        openStaffFile(staffFile, held ? held->file() : ownLock->file(), db.directory, purpose == LoadFor::Editing);
    } catch (...) {
        staffFile.openFailure = std::current_exception();
    }
    std::jthread staffReader;
    if (threads == LoadThreads::Two)
        staffReader = std::jthread([&staffFile] { readStaffFile(staffFile); });

    if (!leftOut.nations)
        loadLookupTable(db, gameDirectory, datafile::kNations, entry::kNations, nullptr, db.nations, sink);
    loadLookupTable(db, gameDirectory, datafile::kFirstNames, entry::kFirstNames, caption::kFirstNames, db.firstNames,
                    sink);
    loadLookupTable(db, gameDirectory, datafile::kSecondNames, entry::kSecondNames, caption::kSecondNames,
                    db.secondNames, sink);
    if (!leftOut.commonNames)
        loadLookupTable(db, gameDirectory, datafile::kCommonNames, entry::kCommonNames, caption::kCommonNames,
                        db.commonNames, sink);

    // The display names are built from the name tables, so those come first.
    // With two threads they are built here, block by block, as the second
    // thread decodes the staff table; club.dat is read before them, while the
    // second thread is still at the start of it, so that the first thread has
    // no club table left to read once the second is done.
    const bool named = staffReader.joinable();
    std::optional<ClubsReadAhead> clubsAhead;
    if (named && !leftOut.clubs) {
        clubsAhead.emplace();
        clubsAhead->table = std::move(db.clubs); // its room
        try {
            loadLookupTable(db, gameDirectory, datafile::kClubs, entry::kClubs, caption::kClubs, clubsAhead->table,
                            clubsAhead->progress);
        } catch (...) {
            clubsAhead->failure = std::current_exception();
        }
    }
    if (named) {
        nameWhileDecoded(staffFile.staffDecoded, DisplayNamer(db.firstNames, db.secondNames));
        staffReader.join();
    } else {
        readStaffFile(staffFile);
    }
    takeStaffFile(db, staffFile, sink, named);
    if (ownLock)
        ownLock->close();

    if (clubsAhead) {
        clubsAhead->progress.tellTo(sink);
        db.clubs = std::move(clubsAhead->table);
        if (clubsAhead->failure)
            std::rethrow_exception(clubsAhead->failure);
    } else if (!leftOut.clubs) {
        loadLookupTable(db, gameDirectory, datafile::kClubs, entry::kClubs, caption::kClubs, db.clubs, sink);
    }
    db.loadState = purpose == LoadFor::Editing ? LoadState::Complete : LoadState::ForReading;
}

} // namespace

void runLoadSequence(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, StaffFileLock* held,
                     LoadThreads threads, LoadFor purpose, LeftOut leftOut)
{
    loadGameFiles(db, gameDirectory, sink, DirectoryRead::IfStartUpReadIt, held, threads, purpose, leftOut);
}

void readDirectoryAndLoad(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, StaffFileLock* held,
                          LoadThreads threads, LoadFor purpose, LeftOut leftOut)
{
    loadGameFiles(db, gameDirectory, sink, DirectoryRead::Always, held, threads, purpose, leftOut);
}

} // namespace rostradb
