#include "staff_writer.h"

#include "data_paths.h"
#include "errors.h"
#include "loaders.h"
#include "record_layout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <vector>

namespace rostradb {

namespace {

// A run of neighbouring records that change: written in one piece.
struct Run {
    std::uint64_t first = 0;
    std::uint64_t end = 0;    // one past the last record
    std::size_t oldAt = 0;    // where the run's old bytes start in TablePlan::old
};

// One of the staff file's three tables: what it will hold, which records
// change, and what the disk held there before (to put back if writing fails).
struct TablePlan {
    const char* caption = nullptr;
    std::uint32_t lastIndex = 0;
    TableRegion bytes;              // read from the disk, then every saved field put in from memory
    std::vector<std::uint8_t> old;  // the disk's bytes of the records that change, run after run
    std::vector<Run> runs;
    bool changedByOthers = false;   // a saved field on the disk differs from the snapshot

    std::uint64_t recordsToWrite() const { return old.size() / bytes.recordBytes; }
};

template <class Record>
void requireLoaded(const std::vector<Record>& records, const IndexEntry& entry)
{
    if (records.size() < entry.recordCount())
        throwListIndexOutOfBounds(static_cast<std::int64_t>(records.size()));
}

bool sameEntry(const std::vector<IndexEntry>& loaded, const TableDirectory& current, std::size_t position)
{
    return position < loaded.size() && position < current.size() && loaded[position].bytes == current.at(position).bytes;
}

template <const auto& Layout, class Record>
TablePlan planTable(RandomAccessFile& file, const std::vector<Record>& records, const TableRegion& loaded,
                    const IndexEntry& entry, const char* caption)
{
    constexpr std::size_t kBytes = Record::kFileBytes;
    static constexpr auto kSaved = savedBytes<Layout, kBytes>();

    TablePlan plan;
    plan.caption = caption;
    plan.lastIndex = entry.lastIndex();
    plan.bytes = TableRegion{loaded.offset, loaded.recordCount, kBytes,
                             readTableBytes(file, loaded.offset, loaded.recordCount, kBytes)};
    // The file is rewritten in place, never extended: a table that no longer
    // fits the file (it was cut short since the load) stops the save here.
    if (!plan.bytes.complete())
        throw DbError(kReadBeyondEnd);

    const auto count = static_cast<std::size_t>(loaded.recordCount);
    std::array<std::uint8_t, kBytes> disk{};
    bool inRun = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = plan.bytes.record(i);
        const std::uint8_t* snapshot = loaded.record(i);
        if (!plan.changedByOthers && std::memcmp(record, snapshot, kBytes) != 0)
            for (std::size_t b = 0; b < kBytes; ++b)
                plan.changedByOthers = plan.changedByOthers || (kSaved[b] && record[b] != snapshot[b]);

        std::memcpy(disk.data(), record, kBytes);
        encodeRecord<Layout>(records[i], record);
        const bool changes = std::memcmp(disk.data(), record, kBytes) != 0;
        if (changes) {
            if (!inRun)
                plan.runs.push_back({i, i, plan.old.size()});
            plan.runs.back().end = i + 1;
            plan.old.insert(plan.old.end(), disk.begin(), disk.end());
        }
        inRun = changes;
    }
    return plan;
}

void writeRun(RandomAccessFile& file, const TableRegion& region, const std::uint8_t* bytes, const Run& run)
{
    file.seek(region.offset + run.first * region.recordBytes);
    file.write({bytes, static_cast<std::size_t>((run.end - run.first) * region.recordBytes)});
}

} // namespace

struct StaffFileSave::State {
    GameDatabase& db;
    std::unique_ptr<RandomAccessFile> file;
    std::array<TablePlan, 3> tables; // staff, non-players, players: the order of the pass
    bool written = false;
};

StaffFileSave::StaffFileSave(GameDatabase& db, const std::string& gameDirectory, const FileOpener& opener)
{
    const IndexEntry& staffEntry = db.directory.at(entry::kStaff);
    const IndexEntry& nonPlayerEntry = db.directory.at(entry::kNonPlayers);
    const IndexEntry& playerEntry = db.directory.at(entry::kPlayers);
    // Without a complete load there is nothing sound to write: refuse before
    // the file is opened rather than leave it half rewritten.
    requireLoaded(db.staff, staffEntry);
    requireLoaded(db.nonPlayers, nonPlayerEntry);
    requireLoaded(db.players, playerEntry);

    // The game's files may have been replaced since the load: the tables
    // would then be written into another game's layout.
    TableDirectory current;
    current.read(dataFilePath(gameDirectory, datafile::kIndex));
    for (const std::size_t position : {entry::kStaff, entry::kNonPlayers, entry::kPlayers})
        if (!sameEntry(db.snapshot.directory, current, position))
            throw DbError(kDirectoryChanged);

    auto file = opener(dataFilePath(gameDirectory, datafile::kStaff));
    const StaffFileSnapshot& snapshot = db.snapshot;
    state_ = std::unique_ptr<State>(new State{
        db,
        std::move(file),
        {},
        false,
    });
    RandomAccessFile& staffFile = *state_->file;
    state_->tables[0] = planTable<kStaffLayout>(staffFile, db.staff, snapshot.staff, staffEntry,
                                                caption::kSaveStaffGeneral);
    state_->tables[1] = planTable<kNonPlayerLayout>(staffFile, db.nonPlayers, snapshot.nonPlayers, nonPlayerEntry,
                                                    caption::kSaveStaffNonPlaying);
    state_->tables[2] = planTable<kPlayerLayout>(staffFile, db.players, snapshot.players, playerEntry,
                                                 caption::kSaveStaffPlaying);
}

StaffFileSave::~StaffFileSave() = default;

bool StaffFileSave::diskChangedSinceLoad() const
{
    return std::any_of(state_->tables.begin(), state_->tables.end(),
                       [](const TablePlan& t) { return t.changedByOthers; });
}

std::uint64_t StaffFileSave::recordsToWrite() const
{
    std::uint64_t n = 0;
    for (const TablePlan& t : state_->tables)
        n += t.recordsToWrite();
    return n;
}

void StaffFileSave::write(ProgressSink& sink)
{
    State& s = *state_;
    if (s.written)
        throw std::logic_error("StaffFileSave::write called twice");
    s.written = true;
    RandomAccessFile& file = *s.file;

    struct Done {
        const TablePlan* table;
        Run run;
    };
    std::vector<Done> touched; // every run a write was started on, the failed one included
    try {
        ProgressScope progress(sink);
        for (const TablePlan& table : s.tables) {
            beginTable(sink, table.caption, table.lastIndex);
            auto run = table.runs.begin();
            const auto count = static_cast<std::size_t>(table.bytes.recordCount);
            for (std::size_t i = 0; i < count; ++i) {
                sink.setPosition(static_cast<std::int32_t>(i)); // beginTable refused larger
                if (run != table.runs.end() && run->end == i + 1) {
                    touched.push_back({&table, *run});
                    writeRun(file, table.bytes, table.bytes.record(static_cast<std::size_t>(run->first)), *run);
                    ++run;
                }
                sink.pumpEvents();
            }
        }
        // The only copy of the user's data: make sure it is on the disk.
        file.syncToDisk();
    } catch (const std::exception&) {
        // Put the disk's old bytes back over everything written so far, so
        // that a failed save leaves the file as it was, not half saved. The
        // first error is the one the user needs to see; a failure while
        // putting back cannot be helped here.
        for (const Done& done : touched) {
            try {
                writeRun(file, done.table->bytes, done.table->old.data() + done.run.oldAt, done.run);
            } catch (const std::exception&) {
            }
        }
        try {
            file.syncToDisk();
        } catch (const std::exception&) {
        }
        throw;
    }

    // What the disk holds now is the base of the next comparison.
    StaffFileSnapshot& snapshot = s.db.snapshot;
    snapshot.staff.bytes = std::move(s.tables[0].bytes.bytes);
    snapshot.nonPlayers.bytes = std::move(s.tables[1].bytes.bytes);
    snapshot.players.bytes = std::move(s.tables[2].bytes.bytes);
    file.close();
}

void saveStaffFile(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, const FileOpener& opener)
{
    StaffFileSave save(db, gameDirectory, opener);
    save.write(sink);
}

} // namespace rostradb
