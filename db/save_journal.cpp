#include "save_journal.h"

#include "data_paths.h"
#include "errors.h"
#include "file_set_save.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace rostradb {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic{'R', 'D', 'B', 'J', 'R', 'N', 'L', 0};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 8 + 4 + 8 + 3 * IndexEntry::kBytes + 4;
constexpr std::size_t kRunHeadBytes = 8 + 4;
constexpr std::size_t kChecksumBytes = 8;

// The journal's numbers are little-endian, as the game's files are.
void put(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t get(const std::uint8_t* p, std::size_t bytes)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        v |= std::uint64_t{p[i]} << (8 * i);
    return v;
}

// FNV-1a's step over 8-byte words in four independent lanes, fed as the
// bytes are written so that the journal is never gathered in one buffer:
// a save that changes every record journals 15 MB, and a byte-at-a-time
// checksum alone would cost more than the rest of the save's work.
class Checksum {
public:
    void add(std::span<const std::uint8_t> bytes)
    {
        length_ += bytes.size();
        std::size_t i = 0;
        if (pending_ > 0) {
            while (pending_ < kBlock && i < bytes.size())
                block_[pending_++] = bytes[i++];
            if (pending_ < kBlock)
                return;
            mix(block_.data());
            pending_ = 0;
        }
        for (; bytes.size() - i >= kBlock; i += kBlock)
            mix(bytes.data() + i);
        while (i < bytes.size())
            block_[pending_++] = bytes[i++];
    }
    std::uint64_t value() const
    {
        std::uint64_t h = kOffset;
        for (const std::uint64_t lane : lanes_)
            h = (h ^ lane) * kPrime;
        for (std::size_t i = 0; i < pending_; ++i)
            h = (h ^ block_[i]) * kPrime;
        return (h ^ length_) * kPrime;
    }

private:
    static constexpr std::uint64_t kOffset = 0xcbf29ce484222325ull;
    static constexpr std::uint64_t kPrime = 0x100000001b3ull;
    static constexpr std::size_t kBlock = 32;

    void mix(const std::uint8_t* p)
    {
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes_[lane] = (lanes_[lane] ^ get(p + lane * 8, 8)) * kPrime;
    }

    std::array<std::uint64_t, 4> lanes_{kOffset, kOffset ^ 1, kOffset ^ 2, kOffset ^ 3};
    std::array<std::uint8_t, kBlock> block_{};
    std::size_t pending_ = 0;
    std::uint64_t length_ = 0;
};

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
        files.syncFolder(dataFolderPath(gameDirectory));
    } catch (const std::exception& e) {
        throw DbError(journal + " could not be deleted: " + e.what());
    }
}

} // namespace

void writeSaveJournal(FileSystem& files, const std::string& gameDirectory, const JournalHeader& header,
                      const std::vector<JournalRun>& runs)
{
    Checksum sum;
    auto journal = files.createEmpty(journalPath(gameDirectory));
    const auto write = [&](std::span<const std::uint8_t> bytes) {
        sum.add(bytes);
        journal->write(bytes);
    };

    std::vector<std::uint8_t> head(kMagic.begin(), kMagic.end());
    put(head, kVersion, 4);
    put(head, header.staffSize, 8);
    for (const IndexEntry& e : header.entries)
        head.insert(head.end(), e.bytes.begin(), e.bytes.end());
    put(head, runs.size(), 4);
    write(head);

    // Each run's head, then its old bytes as they lie in the save's plan
    // (up to 15 MB in all: not copied again).
    std::vector<std::uint8_t> runHead;
    for (const JournalRun& r : runs) {
        runHead.clear();
        put(runHead, r.offset, 8);
        put(runHead, r.oldBytes.size(), 4);
        write(runHead);
        write(r.oldBytes);
    }
    std::vector<std::uint8_t> tail;
    put(tail, sum.value(), 8);
    journal->write(tail);

    journal->syncToDisk();
    journal->close();
    // The journal's name must be on the disk before staff.dat changes: a
    // power cut could otherwise keep the new bytes and lose the journal.
    files.syncFolder(dataFolderPath(gameDirectory));
}

ParsedJournal parseSaveJournal(std::span<const std::uint8_t> bytes)
{
    ParsedJournal parsed;
    const std::size_t magicSeen = std::min(bytes.size(), kMagic.size());
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(magicSeen), kMagic.begin())) {
        parsed.state = ParsedJournal::State::Foreign;
        return parsed;
    }
    if (bytes.size() < kHeaderBytes + kChecksumBytes)
        return parsed; // cut short in its header
    const std::uint8_t* p = bytes.data() + kMagic.size();
    if (get(p, 4) != kVersion) {
        parsed.state = ParsedJournal::State::Foreign;
        return parsed;
    }
    const std::size_t body = bytes.size() - kChecksumBytes;
    Checksum sum;
    sum.add(bytes.first(body));
    if (sum.value() != get(bytes.data() + body, kChecksumBytes))
        return parsed; // torn or cut short: never acted on

    p += 4;
    parsed.header.staffSize = get(p, 8);
    p += 8;
    for (IndexEntry& e : parsed.header.entries) {
        std::memcpy(e.bytes.data(), p, IndexEntry::kBytes);
        p += IndexEntry::kBytes;
    }
    const std::uint64_t runCount = get(p, 4);
    std::size_t at = kHeaderBytes;
    for (std::uint64_t i = 0; i < runCount; ++i) {
        if (body - at < kRunHeadBytes)
            return parsed;
        ParsedJournal::Run run;
        run.offset = get(bytes.data() + at, 8);
        const std::uint64_t length = get(bytes.data() + at + 8, 4);
        at += kRunHeadBytes;
        if (body - at < length)
            return parsed;
        run.oldBytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += static_cast<std::size_t>(length);
        parsed.runs.push_back(std::move(run));
    }
    if (at != body)
        return parsed; // a right checksum over a body we do not understand
    parsed.state = ParsedJournal::State::Complete;
    return parsed;
}

Recovery recoverInterruptedSave(const std::string& gameDirectory, FileSystem& files)
{
    const std::string journal = journalPath(gameDirectory);
    if (!files.exists(journal) && !fileSetJournalsPresent(gameDirectory, files))
        return Recovery::NoJournal;
    std::unique_ptr<RandomAccessFile> staffFile;
    try {
        staffFile = files.openExisting(dataFilePath(gameDirectory, datafile::kStaff));
    } catch (const std::exception& e) {
        throw DbError(journal + " could not be rolled back: " + e.what() +
                      "; staff.dat and the journal were left as they are");
    }
    if (!staffFile->tryLockExclusive())
        throw DbError(kBeingSavedElsewhere);
    const Recovery done = recoverWithLockHeld(gameDirectory, *staffFile, files);
    staffFile->close();
    return done;
}

Recovery recoverWithLockHeld(const std::string& gameDirectory, RandomAccessFile& staffFile, FileSystem& files)
{
    // A save of several files (staff.dat with renamed names) journals them
    // as a set: its journals are dealt with first, under the same lock.
    const FileSetRecovery set = recoverFileSet(gameDirectory, files);
    const std::string journal = journalPath(gameDirectory);
    // Looked for again under the lock: a save that held it may have ended
    // and deleted its journal since the caller looked.
    if (!files.exists(journal))
        return set == FileSetRecovery::Undone    ? Recovery::Undone
               : set == FileSetRecovery::Discarded ? Recovery::Discarded
                                                   : Recovery::NoJournal;
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
        // The save stopped while writing its journal, so before its first
        // write to staff.dat: there is nothing to undo.
        deleteJournal(files, gameDirectory);
        return Recovery::Discarded;
    case ParsedJournal::State::Complete:
        break;
    }

    const std::uint64_t size = staffFile.size();
    if (size != parsed.header.staffSize)
        throw leftAsTheyAre("was written for a staff.dat of " + std::to_string(parsed.header.staffSize) +
                            " bytes, but staff.dat holds " + std::to_string(size));
    for (const ParsedJournal::Run& run : parsed.runs)
        if (run.offset > size || run.oldBytes.size() > size - run.offset)
            throw leftAsTheyAre("holds bytes beyond the end of staff.dat");
    bool samePlaces = false;
    try {
        samePlaces = sameTablePlaces(gameDirectory, parsed.header);
    } catch (const std::exception& e) {
        throw leftAsTheyAre(std::string("cannot be checked against index.dat: ") + e.what());
    }
    if (!samePlaces)
        throw leftAsTheyAre("was written for tables placed otherwise than index.dat places them now");

    bool wrote = false;
    try {
        for (const ParsedJournal::Run& run : parsed.runs) {
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
