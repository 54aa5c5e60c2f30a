// What the next rostradb does with the journal of a save that was cut short:
// put the old bytes back, but only over bytes that are still the save's own.

#include "data_paths.h"
#include "errors.h"
#include "record_layout.h"
#include "save_journal.h"

#include "file_set_save.h"

#include <algorithm>
#include <exception>

namespace rostradb {

namespace {

std::string journalPath(const std::string& gameDirectory)
{
    return dataFilePath(gameDirectory, datafile::kStaffJournal);
}

std::vector<std::uint8_t> readWhole(RandomAccessFile& file)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    file.seek(0);
    bytes.resize(file.readSome(bytes));
    return bytes;
}

// The directory entries now in index.dat, to see whether the journal was
// written for the tables as they lie today.
bool sameTablePlaces(const std::string& gameDirectory, const JournalHeader& header)
{
    TableDirectory current;
    current.read(dataFilePath(gameDirectory, datafile::kIndex));
    const std::size_t positions[] = {entry::kStaff, entry::kNonPlayers, entry::kPlayers};
    for (std::size_t i = 0; i < 3; ++i)
        if (current.at(positions[i]).bytes != header.entries[i].bytes)
            return false;
    return true;
}

void deleteJournal(FileSystem& files, const std::string& gameDirectory)
{
    const std::string journal = journalPath(gameDirectory);
    try {
        files.remove(journal);
    } catch (const std::exception& e) {
        throw DbError(journal + " could not be deleted: " + e.what());
    }
    const std::string folder = dataFolderPath(gameDirectory);
    try {
        files.syncFolder(folder);
    } catch (const std::exception& e) {
        throw DbError(journal + " was deleted, but the folder " + folder + " could not be flushed to the disk (" +
                      e.what() + "); staff.dat is whole, open the game again");
    }
}

// The bytes of a record a save writes (true) and the ones it never touches.
struct TableMap {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    std::size_t recordBytes = 0;
    const bool* written = nullptr;
};

constexpr auto kStaffWritten = savedBytes<kStaffLayout, StaffRecord::kFileBytes>();
constexpr auto kNonPlayerWritten = savedBytes<kNonPlayerLayout, NonPlayerRecord::kFileBytes>();
// The player's byte 69 is part of each written record but never changed.
constexpr auto kPlayerWritten = savedBytes<kPlayerLayout, PlayerRecord::kFileBytes>();

std::array<TableMap, 3> writeMap(const JournalHeader& header)
{
    const auto map = [](std::uint64_t begin, const IndexEntry& e, std::size_t bytes, const bool* written) {
        return TableMap{begin, begin + e.recordCount() * bytes, bytes, written};
    };
    return {map(0, header.entries[0], StaffRecord::kFileBytes, kStaffWritten.data()),
            map(header.entries[1].offset(), header.entries[1], NonPlayerRecord::kFileBytes, kNonPlayerWritten.data()),
            map(header.entries[2].offset(), header.entries[2], PlayerRecord::kFileBytes, kPlayerWritten.data())};
}

// A save writes whole records of the three tables, and of them changes only
// the written fields: the rest of a run's old bytes are what the file holds.
// Returns the offset of the first byte that breaks this, if any.
std::optional<std::uint64_t> outsideWriteMap(const std::array<TableMap, 3>& tables, const ParsedJournal::Run& run,
                                             std::span<const std::uint8_t> current)
{
    const std::uint64_t end = run.offset + run.oldBytes.size();
    for (const TableMap& t : tables) {
        if (run.offset < t.begin || end > t.end)
            continue;
        if ((run.offset - t.begin) % t.recordBytes != 0 || run.oldBytes.size() % t.recordBytes != 0)
            return run.offset;
        for (std::size_t i = 0; i < run.oldBytes.size(); ++i)
            if (!t.written[i % t.recordBytes] && run.oldBytes[i] != current[i])
                return run.offset + i;
        return std::nullopt;
    }
    return run.offset;
}

} // namespace

Recovery recoverInterruptedSave(const std::string& gameDirectory, FileSystem& files)
{
    const std::string journal = journalPath(gameDirectory);
    if (!files.exists(journal) && !fileSetJournalsPresent(gameDirectory, files))
        return Recovery::NoJournal;
    const std::string staffPath = dataFilePath(gameDirectory, datafile::kStaff);
    std::unique_ptr<RandomAccessFile> staffFile;
    try {
        staffFile = files.openExisting(staffPath);
    } catch (const std::exception& e) {
        if (!files.exists(staffPath))
            throw DbError(staffPath + " is missing, but the journal of an interrupted save of it, " + journal +
                          ", is there; both were left as they are: put staff.dat back and open the game again");
        throw DbError(journal + " could not be rolled back: " + e.what() +
                      "; staff.dat and the journal were left as they are");
    }
    // A save in progress, or another rostradb recovering: wait for it, then
    // look again (recoverWithLockHeld does). Without locks, go on alone.
    if (lockWaiting(*staffFile, LockKind::Exclusive, files.lockWaitMs()) == LockOutcome::HeldElsewhere)
        throw DbError(kBeingSavedElsewhere);
    const Recovery done = recoverWithLockHeld(gameDirectory, *staffFile, files);
    staffFile->close();
    return done;
}

Recovery recoverWithLockHeld(const std::string& gameDirectory, RandomAccessFile& staffFile, FileSystem& files)
{
    // A save of several files (staff.dat with renamed names) journals them
    // as a set: its journals are dealt with first, under the same lock. The
    // journals of a set that finished, or never wrote a file, go quietly.
    const FileSetRecovery set = recoverFileSet(gameDirectory, files);
    const std::string journal = journalPath(gameDirectory);
    // Looked for again under the lock: a save that held it may have ended
    // and deleted its journal since the caller looked.
    if (!files.exists(journal))
        return set == FileSetRecovery::Undone ? Recovery::FilesUndone : Recovery::NoJournal;
    const auto leftAsTheyAre = [&](const std::string& why) {
        return DbError(journal + " " + why + "; staff.dat and the journal were left as they are");
    };

    ParsedJournal parsed;
    try {
        auto file = files.openExisting(journal);
        parsed = parseSaveJournal(readWhole(*file));
        file->close();
    } catch (const std::exception& e) {
        throw leftAsTheyAre(std::string("could not be read: ") + e.what());
    }
    switch (parsed.state) {
    case ParsedJournal::State::Foreign:
        throw leftAsTheyAre("is not a journal this rostradb can read");
    case ParsedJournal::State::Incomplete:
        // The save stopped before its journal was on the disk, so before
        // its first write to staff.dat: there is nothing to undo.
        deleteJournal(files, gameDirectory);
        return Recovery::Discarded;
    case ParsedJournal::State::Complete:
        break;
    }
    if (parsed.runs.empty()) {
        deleteJournal(files, gameDirectory);
        return Recovery::Empty;
    }

    const std::uint64_t size = staffFile.size();
    if (size != parsed.header.staffSize)
        throw leftAsTheyAre("was written for a staff.dat of " + std::to_string(parsed.header.staffSize) +
                            " bytes, but staff.dat holds " + std::to_string(size));
    bool samePlaces = false;
    try {
        samePlaces = sameTablePlaces(gameDirectory, parsed.header);
    } catch (const std::exception& e) {
        throw leftAsTheyAre(std::string("cannot be checked against index.dat: ") + e.what());
    }
    if (!samePlaces)
        throw leftAsTheyAre("was written for tables placed otherwise than index.dat places them now");

    // Every run must hold, piece by piece, the bytes before the save or the
    // bytes it wrote: anything else was written since, by somebody else,
    // and putting old bytes over it would mix two versions of the file.
    const auto notPlayedBack = [&](const std::string& why) {
        return FilesMayBeChanged(why + "; nothing was put back and " + journal +
                                 " was kept: move it away only if you know staff.dat is whole");
    };
    const std::array<TableMap, 3> tables = writeMap(parsed.header);
    std::vector<bool> holdsOld;
    for (const ParsedJournal::Run& run : parsed.runs) {
        if (run.offset > size || run.oldBytes.size() > size - run.offset)
            throw leftAsTheyAre("holds bytes beyond the end of staff.dat");
        std::vector<std::uint8_t> current(run.oldBytes.size());
        staffFile.seek(run.offset);
        staffFile.readExact(current);
        if (const auto at = pieceChangedSince(run, current))
            throw notPlayedBack("staff.dat was changed after the interrupted save (at byte " + std::to_string(*at) +
                                ")");
        if (const auto at = outsideWriteMap(tables, run, current))
            throw notPlayedBack("the journal of the interrupted save would write where no save writes (byte " +
                                std::to_string(*at) + " of staff.dat)");
        holdsOld.push_back(current == run.oldBytes);
    }

    bool wrote = false;
    try {
        for (std::size_t i = 0; i < parsed.runs.size(); ++i) {
            if (holdsOld[i])
                continue; // never written, or already put back
            const ParsedJournal::Run& run = parsed.runs[i];
            staffFile.seek(run.offset);
            wrote = true;
            staffFile.write(run.oldBytes);
        }
        staffFile.syncToDisk();
    } catch (const std::exception& e) {
        const std::string message = journal + " could not be rolled back: " + e.what();
        if (wrote)
            throw FilesMayBeChanged(message + "; it is kept and tried again the next time the game is opened");
        throw DbError(message + "; staff.dat and the journal were left as they are");
    }
    // Only now is the save undone for good: deleting the journal first
    // would lose the old bytes to a crash in between.
    deleteJournal(files, gameDirectory);
    return Recovery::Undone;
}

} // namespace rostradb
