#include "file_set_save.h"

#include "data_paths.h"
#include "errors.h"
#include "save_journal.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <span>

namespace rostradb {

namespace {

constexpr std::array<std::uint8_t, 8> kMasterMagic{'R', 'D', 'B', 'M', 'S', 'T', 'R', 0};
constexpr std::array<std::uint8_t, 8> kFileMagic{'R', 'D', 'B', 'F', 'J', 'R', 'N', 0};
constexpr std::uint32_t kVersion = 1;

// The files a save may write: where recovery looks for their journals.
constexpr std::array<std::string_view, 6> kSavedFiles = {datafile::kStaff,       datafile::kNations,
                                                         datafile::kFirstNames,  datafile::kSecondNames,
                                                         datafile::kCommonNames, datafile::kClubs};

std::uint64_t fnv1a(std::span<const std::uint8_t> bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

void put(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putText(std::vector<std::uint8_t>& out, std::string_view text)
{
    put(out, text.size(), 2);
    out.insert(out.end(), text.begin(), text.end());
}

// Reads little-endian numbers and texts from a journal's body; any read past
// its end makes it not understood.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> body) : body_(body) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == body_.size(); }
    std::uint64_t number(std::size_t bytes)
    {
        if (!take(bytes))
            return 0;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            v |= std::uint64_t{body_[at_ - bytes + i]} << (8 * i);
        return v;
    }
    std::span<const std::uint8_t> bytes(std::uint64_t count)
    {
        if (count > body_.size() || !take(static_cast<std::size_t>(count)))
            return {};
        return body_.subspan(at_ - static_cast<std::size_t>(count), static_cast<std::size_t>(count));
    }
    std::string text()
    {
        const auto b = bytes(number(2));
        return {b.begin(), b.end()};
    }

private:
    bool take(std::size_t count)
    {
        if (!ok_ || body_.size() - at_ < count)
            return ok_ = false;
        at_ += count;
        return true;
    }
    std::span<const std::uint8_t> body_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// A journal read back: cut short or torn (never acted on), whole, or whole
// but of a version this rostradb does not know (not ours to act on or
// delete).
struct CheckedJournal {
    enum class State { Incomplete, Complete, Foreign } state = State::Incomplete;
    std::span<const std::uint8_t> body;
};

CheckedJournal checkJournal(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, 8>& magic)
{
    if (bytes.size() < magic.size() + 4 + 8 || !std::equal(magic.begin(), magic.end(), bytes.begin()))
        return {};
    const std::size_t body = bytes.size() - 8;
    Reader tail(bytes.subspan(body));
    if (fnv1a(bytes.first(body)) != tail.number(8))
        return {};
    Reader version(bytes.subspan(magic.size(), 4));
    if (version.number(4) != kVersion)
        return {CheckedJournal::State::Foreign, {}};
    return {CheckedJournal::State::Complete, bytes.subspan(magic.size() + 4, body - magic.size() - 4)};
}

std::vector<std::uint8_t> readWhole(FileSystem& files, const std::string& path)
{
    auto file = files.openExisting(path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file->size()));
    bytes.resize(file->readSome(bytes));
    file->close();
    return bytes;
}

void writeJournal(FileSystem& files, const std::string& path, std::vector<std::uint8_t> bytes)
{
    put(bytes, fnv1a(bytes), 8);
    auto file = files.createEmpty(path);
    file->write(bytes);
    file->syncToDisk();
    file->close();
}

std::string journalOf(const std::string& gameDirectory, std::string_view fileName)
{
    return dataFilePath(gameDirectory, std::string(fileName) + std::string(kFileJournalSuffix));
}

void removeQuietly(FileSystem& files, const std::string& path)
{
    try {
        if (files.exists(path))
            files.remove(path);
    } catch (const std::exception&) {
    }
}

void writeRuns(RandomAccessFile& file, const std::vector<FileRun>& runs, bool old, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        file.seek(runs[i].offset);
        file.write(old ? runs[i].oldBytes : runs[i].newBytes);
    }
}

} // namespace

void commitFileSet(FileSystem& files, const std::string& gameDirectory, const std::vector<FileChanges>& changes)
{
    std::vector<const FileChanges*> written;
    for (const FileChanges& c : changes)
        if (!c.runs.empty())
            written.push_back(&c);
    if (written.empty())
        return;
    const std::string master = dataFilePath(gameDirectory, kMasterJournal);
    const std::string folder = dataFolderPath(gameDirectory);
    const auto removeJournals = [&] {
        removeQuietly(files, master);
        for (const FileChanges* c : written)
            removeQuietly(files, journalOf(gameDirectory, c->name));
    };

    // Steps 1 and 2: no file of the game is touched yet, so a failure only
    // takes the journals away again.
    try {
        for (const FileChanges* c : written) {
            std::vector<std::uint8_t> journal(kFileMagic.begin(), kFileMagic.end());
            put(journal, kVersion, 4);
            put(journal, c->size, 8);
            putText(journal, kMasterJournal);
            put(journal, c->runs.size(), 4);
            for (const FileRun& run : c->runs) {
                put(journal, run.offset, 8);
                put(journal, run.oldBytes.size(), 4);
                journal.insert(journal.end(), run.oldBytes.begin(), run.oldBytes.end());
                for (const std::uint64_t hash : journalPieceHashes(run.offset, run.newBytes))
                    put(journal, hash, 8);
            }
            writeJournal(files, journalOf(gameDirectory, c->name), std::move(journal));
        }
        files.syncFolder(folder);
        std::vector<std::uint8_t> list(kMasterMagic.begin(), kMasterMagic.end());
        put(list, kVersion, 4);
        put(list, written.size(), 4);
        for (const FileChanges* c : written)
            putText(list, std::string(c->name) + std::string(kFileJournalSuffix));
        writeJournal(files, master, std::move(list));
        files.syncFolder(folder);
    } catch (const std::exception&) {
        removeJournals();
        throw;
    }

    // Step 3, and the way back when it fails: every run a write was started
    // on goes back to its old bytes.
    std::vector<std::size_t> started(written.size(), 0);
    const auto undo = [&](const std::string& first) {
        try {
            for (std::size_t f = 0; f < written.size(); ++f) {
                if (started[f] == 0)
                    continue;
                writeRuns(*written[f]->file, written[f]->runs, true, started[f]);
                written[f]->file->syncToDisk();
            }
        } catch (const std::exception& second) {
            throw FilesMayBeChanged(first + ". " + second.what() +
                                    ". The game's files will be restored from their journals the next time the "
                                    "game is opened.");
        }
        removeJournals();
    };
    try {
        for (std::size_t f = 0; f < written.size(); ++f) {
            RandomAccessFile& file = *written[f]->file;
            const auto& runs = written[f]->runs;
            for (std::size_t i = 0; i < runs.size(); ++i) {
                started[f] = i + 1;
                file.seek(runs[i].offset);
                file.write(runs[i].newBytes);
            }
            file.syncToDisk();
        }
    } catch (const std::exception& e) {
        undo(e.what());
        throw;
    }

    // Step 4: the commit.
    try {
        files.remove(master);
    } catch (const std::exception& e) {
        const std::string message = master + " could not be deleted: " + e.what();
        undo(message);
        throw DbError(message + "; nothing was saved");
    }
    // Step 5: journals without their master are never played back, so a
    // failure from here on loses nothing.
    try {
        files.syncFolder(folder);
    } catch (const std::exception&) {
    }
    for (const FileChanges* c : written)
        removeQuietly(files, journalOf(gameDirectory, c->name));
    try {
        files.syncFolder(folder);
    } catch (const std::exception&) {
    }
}

bool fileSetJournalsPresent(const std::string& gameDirectory, FileSystem& files)
{
    if (files.exists(dataFilePath(gameDirectory, kMasterJournal)))
        return true;
    return std::any_of(kSavedFiles.begin(), kSavedFiles.end(),
                       [&](std::string_view name) { return files.exists(journalOf(gameDirectory, name)); });
}

FileSetRecovery recoverFileSet(const std::string& gameDirectory, FileSystem& files)
{
    if (!fileSetJournalsPresent(gameDirectory, files))
        return FileSetRecovery::Nothing;
    const std::string master = dataFilePath(gameDirectory, kMasterJournal);
    const std::string folder = dataFolderPath(gameDirectory);
    const auto discardAll = [&] {
        for (std::string_view name : kSavedFiles)
            if (const std::string journal = journalOf(gameDirectory, name); files.exists(journal))
                files.remove(journal);
        if (files.exists(master))
            files.remove(master);
        files.syncFolder(folder);
        return FileSetRecovery::Discarded;
    };
    // No master: the save either never wrote a file (it stopped before its
    // master was on the disk) or finished (it deleted the master).
    if (!files.exists(master))
        return discardAll();
    const std::vector<std::uint8_t> masterBytes = readWhole(files, master);
    const CheckedJournal masterJournal = checkJournal(masterBytes, kMasterMagic);
    if (masterJournal.state == CheckedJournal::State::Incomplete)
        return discardAll(); // cut short while being written: no file was touched

    const auto leftAsTheyAre = [&](const std::string& journal, const std::string& why) {
        return DbError(journal + " " + why + "; the game's files and the journals were left as they are");
    };
    if (masterJournal.state == CheckedJournal::State::Foreign)
        throw leftAsTheyAre(master, "is not a journal this rostradb can read");
    struct Playback {
        std::string fileName;
        std::uint64_t size;
        std::vector<ParsedJournal::Run> runs;
    };
    std::vector<Playback> playbacks;
    Reader list(masterJournal.body);
    const std::uint64_t count = list.number(4);
    for (std::uint64_t i = 0; i < count && list.ok(); ++i) {
        const std::string journalName = list.text();
        if (journalName.size() <= kFileJournalSuffix.size())
            throw leftAsTheyAre(master, "names a journal this rostradb does not write");
        const std::string fileName = journalName.substr(0, journalName.size() - kFileJournalSuffix.size());
        if (std::find(kSavedFiles.begin(), kSavedFiles.end(), fileName) == kSavedFiles.end())
            throw leftAsTheyAre(master, "names a journal this rostradb does not write");
        const std::string journal = dataFilePath(gameDirectory, journalName);
        if (!files.exists(journal))
            continue; // already played back by a recovery that stopped before the master went
        const std::vector<std::uint8_t> bytes = readWhole(files, journal);
        const CheckedJournal checked = checkJournal(bytes, kFileMagic);
        if (checked.state == CheckedJournal::State::Incomplete)
            throw leftAsTheyAre(journal, "is damaged");
        if (checked.state == CheckedJournal::State::Foreign)
            throw leftAsTheyAre(journal, "is not a journal this rostradb can read");
        Reader r(checked.body);
        Playback p{fileName, r.number(8), {}};
        r.text(); // the master's name: this master listed it
        const std::uint64_t runs = r.number(4);
        for (std::uint64_t k = 0; k < runs && r.ok(); ++k) {
            ParsedJournal::Run run;
            run.offset = r.number(8);
            const auto old = r.bytes(r.number(4));
            run.oldBytes.assign(old.begin(), old.end());
            const std::size_t pieces = journalPieceCount(run.offset, run.oldBytes.size());
            for (std::size_t h = 0; h < pieces && r.ok(); ++h)
                run.newHashes.push_back(r.number(8));
            p.runs.push_back(std::move(run));
        }
        if (!r.ok() || !r.atEnd())
            throw leftAsTheyAre(journal, "is not a journal this rostradb can read");
        playbacks.push_back(std::move(p));
    }
    if (!list.ok() || !list.atEnd())
        throw leftAsTheyAre(master, "is not a journal this rostradb can read");

    // Every journal checked against its file before the first byte goes
    // back, and every run against what the file holds now: the bytes before
    // the save or the bytes it wrote. Anything else was written since, by
    // somebody else, and putting old bytes over it would mix two versions.
    std::vector<std::unique_ptr<RandomAccessFile>> opened;
    std::vector<std::vector<bool>> holdsOld;
    for (const Playback& p : playbacks) {
        auto file = files.openExisting(dataFilePath(gameDirectory, p.fileName));
        if (file->size() != p.size)
            throw leftAsTheyAre(journalOf(gameDirectory, p.fileName),
                                "was written for a " + p.fileName + " of " + std::to_string(p.size) +
                                    " bytes, but it holds " + std::to_string(file->size()));
        holdsOld.emplace_back();
        for (const ParsedJournal::Run& run : p.runs) {
            if (run.offset > p.size || run.oldBytes.size() > p.size - run.offset)
                throw leftAsTheyAre(journalOf(gameDirectory, p.fileName), "holds bytes beyond the end of its file");
            std::vector<std::uint8_t> current(run.oldBytes.size());
            file->seek(run.offset);
            file->readExact(current);
            if (const auto at = pieceChangedSince(run, current))
                throw FilesMayBeChanged(p.fileName + " was changed after the interrupted save (at byte " +
                                        std::to_string(*at) + "); nothing was put back and " + master +
                                        " was kept with its journals: move them away only if you know the "
                                        "game's files are whole");
            holdsOld.back().push_back(current == run.oldBytes);
        }
        opened.push_back(std::move(file));
    }
    try {
        for (std::size_t i = 0; i < playbacks.size(); ++i) {
            for (std::size_t k = 0; k < playbacks[i].runs.size(); ++k) {
                if (holdsOld[i][k])
                    continue; // never written, or already put back
                opened[i]->seek(playbacks[i].runs[k].offset);
                opened[i]->write(playbacks[i].runs[k].oldBytes);
            }
            opened[i]->syncToDisk();
            opened[i]->close();
        }
    } catch (const std::exception& e) {
        throw FilesMayBeChanged(master + " could not be rolled back: " + e.what() +
                                "; it is kept and tried again the next time the game is opened");
    }
    // The file journals go before the master: a crash in between plays
    // back the rest again, which writes the same bytes.
    for (const Playback& p : playbacks)
        files.remove(journalOf(gameDirectory, p.fileName));
    files.syncFolder(folder);
    files.remove(master);
    files.syncFolder(folder);
    return FileSetRecovery::Undone;
}

} // namespace rostradb
