#include "staff_writer.h"

#include "data_paths.h"
#include "errors.h"
#include "loaders.h"
#include "record_layout.h"
#include "save_journal.h"
#include "save_plan.h"
#include "staff_file_lock.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace rostradb {

using save_plan::Run;
using save_plan::TablePlan;

namespace {

template <class Record>
void requireLoaded(const std::vector<Record>& records, const IndexEntry& entry)
{
    if (records.size() < entry.recordCount())
        throwListIndexOutOfBounds(static_cast<std::int64_t>(records.size()));
}

bool sameEntry(const std::vector<IndexEntry>& loaded, const TableDirectory& current, std::size_t position)
{
    return position < loaded.size() && position < current.size() &&
           loaded[position].bytes == current.at(position).bytes;
}

void writeRun(RandomAccessFile& file, const TablePlan& table, const std::uint8_t* bytes, const Run& run)
{
    file.seek(table.runOffset(run));
    file.write({bytes, table.runBytes(run)});
}

void takeIntoMemory(GameDatabase& db, const MergedValue& v)
{
    switch (v.table) {
    case StaffTable::Staff:
        kStaffLayout[v.field].access.set(db.staff[v.position], v.disk);
        break;
    case StaffTable::NonPlayer:
        kNonPlayerLayout[v.field].access.set(db.nonPlayers[v.position], v.disk);
        break;
    case StaffTable::Player:
        kPlayerLayout[v.field].access.set(db.players[v.position], v.disk);
        break;
    }
}

// The fields of a staff record that tie the person to their attribute
// record: which table (classification) and which record in it.
constexpr std::uint16_t staffField(std::string_view name)
{
    std::uint16_t i = 0;
    while (std::string_view(kStaffLayout[i].name) != name)
        ++i;
    return i;
}
constexpr std::array<std::uint16_t, 3> kLinkFields{staffField("playerId"), staffField("nonPlayerId"),
                                                   staffField("classification")};

std::uint32_t fieldValue(const std::uint8_t* record, std::uint16_t field)
{
    return le::load(record + kStaffLayout[field].offset, kStaffLayout[field].access.width);
}

// The people whose links the disk holds otherwise than the load found them,
// with the disk's values of the links.
struct ChangedLinks {
    struct Person {
        std::uint32_t position;
        std::array<std::uint32_t, 3> disk;
    };
    std::vector<Person> people;
    void operator()(std::size_t i, const std::uint8_t* disk, const std::uint8_t* loaded)
    {
        for (const std::uint16_t field : kLinkFields)
            if (fieldValue(disk, field) != fieldValue(loaded, field)) {
                people.push_back({static_cast<std::uint32_t>(i),
                                  {fieldValue(disk, kLinkFields[0]), fieldValue(disk, kLinkFields[1]),
                                   fieldValue(disk, kLinkFields[2])}});
                return;
            }
    }
};

// The editor changed this attribute record since the load.
template <const auto& Layout, class Record>
bool editorChanged(const Record& record, const std::uint8_t* loaded)
{
    std::array<std::uint8_t, Record::kFileBytes> bytes{};
    std::memcpy(bytes.data(), loaded, bytes.size());
    encodeRecord<Layout>(record, bytes.data());
    return std::memcmp(bytes.data(), loaded, bytes.size()) != 0;
}

} // namespace

bool isLinkConflict(const MergedValue& value) { return value.relinked; }

struct StaffFileSave::State {
    GameDatabase& db;
    std::string gameDirectory;
    FileSystem& files;
    std::unique_ptr<StaffFileLock> ownLock; // when the save took the lock itself
    StaffFileLock* lock = nullptr;          // staff.dat, locked
    std::uint64_t fileSize = 0;
    std::array<TablePlan, 3> tables; // staff, non-players, players: the order of the pass
    save_plan::Merged merged;
    Recovery recovery = Recovery::NoJournal;
    bool written = false;
    std::vector<std::uint32_t> relinked; // people whose attribute changes are held back

    std::vector<JournalRun> journalRuns() const
    {
        std::vector<JournalRun> runs;
        for (const TablePlan& t : tables)
            for (const Run& run : t.runs)
                runs.push_back({t.runOffset(run),
                                {t.old.data() + run.oldAt, t.runBytes(run)},
                                {t.bytes.record(static_cast<std::size_t>(run.first)), t.runBytes(run)}});
        return runs;
    }
    bool anyRun() const
    {
        return std::any_of(tables.begin(), tables.end(), [](const TablePlan& t) { return !t.runs.empty(); });
    }
};

StaffFileSave::StaffFileSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files)
    : StaffFileSave(db, gameDirectory, nullptr, files)
{
}

void requireSavableLoad(const GameDatabase& db)
{
    if (db.loadState == LoadState::Partial)
        throw DbError(kNotCompletelyLoaded);
    if (db.loadState == LoadState::ForReading)
        throw std::logic_error("a game loaded for reading only cannot be saved");
}

StaffFileSave::StaffFileSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& held, FileSystem& files)
    : StaffFileSave(db, gameDirectory, &held, files)
{
}

StaffFileSave::StaffFileSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock* held, FileSystem& files)
    : state_(new State{db, gameDirectory, files, nullptr, nullptr, 0, {}, {}, Recovery::NoJournal, false, {}})
{
    // Without a complete load there is nothing sound to write: refuse before
    // the file is opened rather than leave it half rewritten.
    requireSavableLoad(db);
    const IndexEntry& staffEntry = db.directory.at(entry::kStaff);
    const IndexEntry& nonPlayerEntry = db.directory.at(entry::kNonPlayers);
    const IndexEntry& playerEntry = db.directory.at(entry::kPlayers);
    requireLoaded(db.staff, staffEntry);
    requireLoaded(db.nonPlayers, nonPlayerEntry);
    requireLoaded(db.players, playerEntry);

    State& s = *state_;
    if (held && held->kind() != LockKind::Exclusive)
        throw std::logic_error("StaffFileSave needs the exclusive lock");
    if (!held) {
        // Under the lock nobody else is saving: a journal here is a save
        // that was cut short, and its old bytes go back before the disk is
        // compared.
        s.ownLock = std::make_unique<StaffFileLock>(gameDirectory, LockKind::Exclusive, files);
        s.recovery = s.ownLock->recovery();
    }
    s.lock = held ? held : s.ownLock.get();
    RandomAccessFile& file = s.lock->file();

    // The game's files may have been replaced since the load: the tables
    // would then be written into another game's layout.
    TableDirectory current;
    current.read(dataFilePath(gameDirectory, datafile::kIndex));
    for (const std::size_t position : {entry::kStaff, entry::kNonPlayers, entry::kPlayers})
        if (!sameEntry(db.snapshot.directory, current, position))
            throw DbError(kDirectoryChanged);

    s.fileSize = file.size();
    const StaffFileSnapshot& snapshot = db.snapshot;
    ChangedLinks relinked;
    s.tables[0] =
        save_plan::planTable<kStaffLayout>(file, db.staff, snapshot.staff, staffEntry, caption::kSaveStaffGeneral,
                                           StaffTable::Staff, s.merged, nullptr, std::ref(relinked));

    // Another program re-linked a person since the load: the attribute
    // record the editor changed for them may be somebody else's now. Those
    // changes are conflicts, and are never written, whatever wins.
    std::vector<bool> heldNonPlayers(db.nonPlayers.size());
    std::vector<bool> heldPlayers(db.players.size());
    for (const ChangedLinks::Person& changed : relinked.people) {
        const std::uint32_t person = changed.position;
        const std::uint8_t* loaded = snapshot.staff.record(person);
        bool writes = false;
        const std::uint32_t player = fieldValue(loaded, kLinkFields[0]);
        const std::uint32_t nonPlayer = fieldValue(loaded, kLinkFields[1]);
        if (player < db.players.size() &&
            editorChanged<kPlayerLayout>(db.players[player], snapshot.players.record(player)))
            writes = heldPlayers[player] = true;
        if (nonPlayer < db.nonPlayers.size() &&
            editorChanged<kNonPlayerLayout>(db.nonPlayers[nonPlayer], snapshot.nonPlayers.record(nonPlayer)))
            writes = heldNonPlayers[nonPlayer] = true;
        if (!writes)
            continue;
        s.relinked.push_back(person);
        for (std::size_t k = 0; k < kLinkFields.size(); ++k) {
            const std::uint32_t was = fieldValue(loaded, kLinkFields[k]);
            if (changed.disk[k] != was)
                s.merged.conflicts.push_back({StaffTable::Staff, person, kLinkFields[k], changed.disk[k], was, true});
        }
    }
    std::stable_sort(s.merged.conflicts.begin(), s.merged.conflicts.end(),
                     [](const MergedValue& a, const MergedValue& b) { return a.position < b.position; });
    s.tables[1] = save_plan::planTable<kNonPlayerLayout>(file, db.nonPlayers, snapshot.nonPlayers, nonPlayerEntry,
                                                         caption::kSaveStaffNonPlaying, StaffTable::NonPlayer, s.merged,
                                                         &heldNonPlayers);
    s.tables[2] =
        save_plan::planTable<kPlayerLayout>(file, db.players, snapshot.players, playerEntry, caption::kSaveStaffPlaying,
                                            StaffTable::Player, s.merged, &heldPlayers);
}

StaffFileSave::~StaffFileSave() = default;

const std::vector<MergedValue>& StaffFileSave::conflicts() const { return state_->merged.conflicts; }

const std::vector<MergedValue>& StaffFileSave::changedOnDiskOnly() const { return state_->merged.diskOnly; }

bool StaffFileSave::undidInterruptedSave() const { return recoveryUndidSave(state_->recovery); }

Recovery StaffFileSave::recovery() const { return state_->recovery; }

bool StaffFileSave::locked() const { return state_->lock->locked(); }

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
    RandomAccessFile& file = s.lock->file();
    const std::string journal = dataFilePath(s.gameDirectory, datafile::kStaffJournal);

    // Only the exceptions of a failing disk are handled below; a process
    // that dies in between leaves the journal for the next recovery.
    const bool journaled = s.anyRun();
    if (journaled) {
        JournalHeader header;
        header.staffSize = s.fileSize;
        header.entries = {s.db.snapshot.directory[entry::kStaff], s.db.snapshot.directory[entry::kNonPlayers],
                          s.db.snapshot.directory[entry::kPlayers]};
        try {
            writeSaveJournal(s.files, s.gameDirectory, header, s.journalRuns());
        } catch (const std::exception&) {
            // staff.dat is untouched; a journal left half written would be
            // found incomplete and deleted by the next recovery anyway.
            try {
                if (s.files.exists(journal))
                    s.files.remove(journal);
            } catch (const std::exception&) {
            }
            throw;
        }
    }

    struct Done {
        const TablePlan* table;
        Run run;
    };
    std::vector<Done> touched; // every run a write was started on, the failed one included
    const auto putBack = [&] {
        for (const Done& done : touched)
            writeRun(file, *done.table, done.table->old.data() + done.run.oldAt, done.run);
        file.syncToDisk();
    };
    // After a failure: the old bytes go back and the journal goes, or, when
    // they cannot, the journal stays for the next recovery and both errors
    // are said.
    const auto undo = [&](const std::string& first) {
        try {
            putBack();
        } catch (const std::exception& second) {
            throw FilesMayBeChanged(first + ". " + second.what() + ". " + kRestoredFromJournalLater);
        }
        try {
            s.files.remove(journal);
            s.files.syncFolder(dataFolderPath(s.gameDirectory));
        } catch (const std::exception&) {
            // The journal holds the bytes the file holds again: rolling it
            // back later changes nothing.
        }
    };

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
                    writeRun(file, table, table.bytes.record(static_cast<std::size_t>(run->first)), *run);
                    ++run;
                }
                sink.pumpEvents();
            }
        }
        // The only copy of the user's data: make sure it is on the disk.
        if (journaled)
            file.syncToDisk();
    } catch (const std::exception& e) {
        undo(e.what());
        throw;
    }

    if (journaled) {
        // Deleting the journal is the moment the save is done. If it cannot
        // be deleted, the next recovery would undo this save: undo it now,
        // so that the file, the journal and the unsaved edits agree.
        try {
            s.files.remove(journal);
        } catch (const std::exception& e) {
            const std::string message = journal + " could not be deleted: " + e.what();
            undo(message);
            throw DbError(message + "; nothing was saved");
        }
        try {
            s.files.syncFolder(dataFolderPath(s.gameDirectory));
        } catch (const std::exception&) {
            // The journal is gone for every program; only a power cut in the
            // next moments could bring it back on a file system that cannot
            // flush its folders. The save itself is on the disk.
        }
    }

    committedWithOthers();
}

FileChanges StaffFileSave::plannedChanges() const
{
    const State& s = *state_;
    FileChanges changes{datafile::kStaff, &s.lock->file(), s.fileSize, {}};
    for (const TablePlan& t : s.tables)
        for (const Run& run : t.runs) {
            const std::uint8_t* now = t.bytes.record(static_cast<std::size_t>(run.first));
            const std::uint8_t* old = t.old.data() + run.oldAt;
            changes.runs.push_back({t.runOffset(run), {old, old + t.runBytes(run)}, {now, now + t.runBytes(run)}});
        }
    return changes;
}

void StaffFileSave::committedWithOthers()
{
    State& s = *state_;
    s.written = true;
    // Values only another program changed are the disk's now, in memory too;
    // and what the disk holds now is the base of the next comparison.
    for (const MergedValue& v : s.merged.diskOnly)
        takeIntoMemory(s.db, v);
    StaffFileSnapshot& snapshot = s.db.snapshot;
    // The held-back changes stay unsaved, and their people's links stay as
    // loaded in the base, so that every later save holds them back too
    // until the game is loaded again.
    for (const std::uint32_t person : s.relinked)
        for (const std::uint16_t field : {kLinkFields[0], kLinkFields[1]}) {
            const auto& f = kStaffLayout[field];
            std::memcpy(s.tables[0].bytes.record(person) + f.offset, snapshot.staff.record(person) + f.offset,
                        f.access.width);
        }
    snapshot.staff.bytes = std::move(s.tables[0].bytes.bytes);
    snapshot.nonPlayers.bytes = std::move(s.tables[1].bytes.bytes);
    snapshot.players.bytes = std::move(s.tables[2].bytes.bytes);
    if (s.ownLock)
        s.ownLock->close();
}

void saveStaffFile(GameDatabase& db, const std::string& gameDirectory, ProgressSink& sink, FileSystem& files)
{
    StaffFileSave save(db, gameDirectory, files);
    save.write(sink);
}

} // namespace rostradb
