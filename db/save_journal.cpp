#include "save_journal.h"

#include "data_file.h"
#include "data_paths.h"
#include "errors.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace rostradb {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic{'R', 'D', 'B', 'J', 'R', 'N', 'L', 0};
constexpr std::size_t kHeaderBytes = 8 + 4 + 8 + 3 * IndexEntry::kBytes + 4;
constexpr std::size_t kRunHeadBytes = 8 + 4;
constexpr std::size_t kHashBytes = 8;
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

// Calls `each(at, length)` for the pieces of a run of `length` bytes at
// file offset `offset`: cut at every multiple of kJournalPieceBytes.
template <class Each>
void forEachPiece(std::uint64_t offset, std::size_t length, Each each)
{
    std::size_t at = 0;
    while (at < length) {
        const std::uint64_t toBoundary = kJournalPieceBytes - (offset + at) % kJournalPieceBytes;
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(toBoundary, length - at));
        each(at, piece);
        at += piece;
    }
}

bool allZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

} // namespace

std::uint64_t journalHash(std::span<const std::uint8_t> bytes)
{
    Checksum sum;
    sum.add(bytes);
    return sum.value();
}

std::vector<std::uint64_t> journalPieceHashes(std::uint64_t offset, std::span<const std::uint8_t> newBytes)
{
    std::vector<std::uint64_t> hashes;
    forEachPiece(offset, newBytes.size(),
                 [&](std::size_t at, std::size_t n) { hashes.push_back(journalHash(newBytes.subspan(at, n))); });
    return hashes;
}

std::size_t journalPieceCount(std::uint64_t offset, std::size_t length)
{
    std::size_t n = 0;
    forEachPiece(offset, length, [&](std::size_t, std::size_t) { ++n; });
    return n;
}

void writeJournalFile(FileSystem& files, const std::string& journalPath, const std::string& folderPath,
                      const JournalHeader& header, const std::vector<JournalRun>& runs)
{
    Checksum sum;
    std::unique_ptr<RandomAccessFile> journal;
    try {
        journal = files.createEmpty(journalPath);
    } catch (const DbError& e) {
        // Nothing else is created in the data folder: a refusal here is the
        // folder's, and saying only "File access denied" would point at
        // staff.dat.
        if (std::string(e.what()) == kFileAccessDenied)
            throw DbError(folderPath + " is read-only: the journal a save writes first cannot be created there (" +
                          e.what() + "); nothing was saved");
        throw;
    }
    const auto write = [&](std::span<const std::uint8_t> bytes) {
        sum.add(bytes);
        journal->write(bytes);
    };

    std::vector<std::uint8_t> head(kMagic.begin(), kMagic.end());
    put(head, kJournalVersion, 4);
    put(head, header.staffSize, 8);
    for (const IndexEntry& e : header.entries)
        head.insert(head.end(), e.bytes.begin(), e.bytes.end());
    put(head, runs.size(), 4);
    write(head);

    // Each run's head, its old bytes as they lie in the save's plan (up to
    // 15 MB in all: not copied again), then the hashes of its new bytes.
    std::vector<std::uint8_t> bytes;
    for (const JournalRun& r : runs) {
        bytes.clear();
        put(bytes, r.offset, 8);
        put(bytes, r.oldBytes.size(), 4);
        write(bytes);
        write(r.oldBytes);
        bytes.clear();
        for (const std::uint64_t hash : journalPieceHashes(r.offset, r.newBytes))
            put(bytes, hash, kHashBytes);
        write(bytes);
    }
    std::vector<std::uint8_t> tail;
    put(tail, sum.value(), 8);
    journal->write(tail);

    journal->syncToDisk();
    journal->close();
    // The journal's name must be on the disk before the file changes: a
    // power cut could otherwise keep the new bytes and lose the journal.
    files.syncFolder(folderPath);
}

void writeSaveJournal(FileSystem& files, const std::string& gameDirectory, const JournalHeader& header,
                      const std::vector<JournalRun>& runs)
{
    writeJournalFile(files, dataFilePath(gameDirectory, datafile::kStaffJournal), dataFolderPath(gameDirectory), header,
                     runs);
}

ParsedJournal parseSaveJournal(std::span<const std::uint8_t> bytes)
{
    ParsedJournal parsed;
    // Cut short before its header was whole, or a header that never reached
    // the disk (a power cut before the journal's flush leaves zeros): the
    // save had not begun to write.
    if (bytes.size() < kHeaderBytes + kChecksumBytes || allZero(bytes.first(kHeaderBytes)))
        return parsed;
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        parsed.state = ParsedJournal::State::Foreign;
        return parsed;
    }
    const std::uint8_t* p = bytes.data() + kMagic.size();
    parsed.version = static_cast<std::uint32_t>(get(p, 4));
    if (parsed.version == 0 || parsed.version > kJournalVersion) {
        parsed.state = ParsedJournal::State::Foreign;
        return parsed;
    }
    const std::size_t body = bytes.size() - kChecksumBytes;
    Checksum sum;
    sum.add(bytes.first(body));
    if (sum.value() != get(bytes.data() + body, kChecksumBytes))
        return parsed; // torn or cut short: never acted on

    // From here on the checksum holds: a body that does not add up was not
    // torn, it was made so, and is not ours to delete.
    parsed.state = ParsedJournal::State::Foreign;
    p += 4;
    parsed.header.staffSize = get(p, 8);
    p += 8;
    for (IndexEntry& e : parsed.header.entries) {
        std::memcpy(e.bytes.data(), p, IndexEntry::kBytes);
        p += IndexEntry::kBytes;
    }
    const std::uint64_t runCount = get(p, 4);
    const bool hashed = parsed.version >= 2;
    std::size_t at = kHeaderBytes;
    for (std::uint64_t i = 0; i < runCount; ++i) {
        if (body - at < kRunHeadBytes)
            return parsed;
        ParsedJournal::Run run;
        run.offset = get(bytes.data() + at, 8);
        const auto length = static_cast<std::size_t>(get(bytes.data() + at + 8, 4));
        at += kRunHeadBytes;
        if (body - at < length)
            return parsed;
        run.oldBytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        if (hashed) {
            const std::size_t pieces = journalPieceCount(run.offset, length);
            if ((body - at) / kHashBytes < pieces)
                return parsed;
            for (std::size_t k = 0; k < pieces; ++k, at += kHashBytes)
                run.newHashes.push_back(get(bytes.data() + at, kHashBytes));
        }
        parsed.runs.push_back(std::move(run));
    }
    if (at == body)
        parsed.state = ParsedJournal::State::Complete;
    return parsed;
}

std::optional<std::uint64_t> pieceChangedSince(const ParsedJournal::Run& run, std::span<const std::uint8_t> current)
{
    std::optional<std::uint64_t> changed;
    std::size_t k = 0;
    forEachPiece(run.offset, run.oldBytes.size(), [&](std::size_t at, std::size_t n) {
        const std::span<const std::uint8_t> now = current.subspan(at, n);
        const bool old = std::equal(now.begin(), now.end(), run.oldBytes.begin() + static_cast<std::ptrdiff_t>(at));
        const bool saved = run.newHashes.empty() || journalHash(now) == run.newHashes[k];
        if (!old && !saved && !changed)
            changed = run.offset + at;
        ++k;
    });
    return changed;
}

const char* recoveryNotice(Recovery recovery)
{
    switch (recovery) {
    case Recovery::Undone:
        return kSaveUndone;
    case Recovery::FilesUndone:
        return kFilesUndone;
    case Recovery::Discarded:
        return kIncompleteJournalRemoved;
    case Recovery::Empty:
        return kEmptyJournalRemoved;
    case Recovery::NoJournal:
        break;
    }
    return nullptr;
}

} // namespace rostradb
