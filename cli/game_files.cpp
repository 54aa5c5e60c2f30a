#include "game_files.h"

#include "db/cp1252_text.h"
#include "db/data_paths.h"
#include "db/errors.h"
#include "db/loaders.h"
#include "db/progress_sink.h"
#include "db/save_journal.h"
#include "db/staff_writer.h"
#include "editor/game_save.h"
#include "editor/name_changes.h"
#include "editor/save_conflicts.h"
#include "test_kill_hook.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>

namespace rostradb::cli {

StaffFileLock lockForSaving(const std::string& gameDirectory)
{
    try {
        return StaffFileLock(gameDirectory, LockKind::Exclusive, commandLineFileSystem());
    } catch (const FilesMayBeChanged&) {
        throw;
    } catch (const DbError& e) {
        throw Refused(gameDirectory + ": " + e.what());
    }
}

namespace {

void loadInto(GameDatabase& db, const std::string& gameDirectory, std::ostream* notices, StaffFileLock* held,
              LoadFor purpose, LeftOut leftOut = {})
{
    try {
        // A save cut short leaves staff.dat half written, and one in
        // progress is half done: the lock waits for the one and the other is
        // undone under it, so staff.dat is never read so.
        std::optional<StaffFileLock> reading;
        if (!held)
            reading.emplace(gameDirectory, LockKind::Shared, commandLineFileSystem());
        StaffFileLock& lock = held ? *held : *reading;
        if (notices) {
            if (const char* notice = recoveryNotice(lock.recovery()))
                *notices << notice << '\n';
            if (!lock.locked())
                *notices << "rostradb-cli: " << noLockWarning(gameDirectory) << '\n';
        }
        SilentProgress nobodyWatches;
        readDirectoryAndLoad(db, gameDirectory, nobodyWatches, &lock, LoadThreads::Two, purpose, leftOut);
        if (reading)
            reading->close();
    } catch (const FilesMayBeChanged&) {
        throw;
    } catch (const DbError& e) {
        throw Refused(gameDirectory + ": " + e.what());
    }
}

// The games loaded for reading, kept until the next command starts (tests
// run many commands in one process) and never freed at the end of one: a
// process that ends gives its memory back whole, while freeing the tables
// and 65,536 display names piece by piece is a good part of a search's time.
std::vector<std::unique_ptr<GameDatabase>>& gamesRead()
{
    static auto* games = new std::vector<std::unique_ptr<GameDatabase>>;
    return *games;
}

} // namespace

GameDatabase loadGame(const std::string& gameDirectory, std::ostream* notices, StaffFileLock* held)
{
    GameDatabase db;
    loadInto(db, gameDirectory, notices, held, LoadFor::Editing);
    return db;
}

const GameDatabase& loadGameForReading(const std::string& gameDirectory, std::ostream* notices, LeftOut leftOut)
{
    auto db = std::make_unique<GameDatabase>();
    loadInto(*db, gameDirectory, notices, nullptr, LoadFor::Reading, leftOut);
    gamesRead().push_back(std::move(db));
    return *gamesRead().back();
}

void forgetGamesRead() { gamesRead().clear(); }

std::string readWholeFile(const std::string& path)
{
    const std::filesystem::path file = pathFromUtf8(path);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw Refused(path + ": " + std::strerror(errno));
    // Read straight into a string of the file's size (a large CSV is read
    // once, not copied as it grows); a pipe, whose size is unknown, and a
    // file that grew meanwhile are read on to their end in pieces.
    std::error_code unknownSize;
    const std::uintmax_t size = std::filesystem::file_size(file, unknownSize);
    std::string bytes;
    std::size_t got = 0;
    std::size_t want = unknownSize ? std::size_t{1} << 16 : static_cast<std::size_t>(size) + 1;
    while (in) {
        bytes.resize(got + want);
        in.read(bytes.data() + got, static_cast<std::streamsize>(want));
        got += static_cast<std::size_t>(in.gcount());
        want = std::max(want, std::size_t{1} << 16);
    }
    if (in.bad())
        throw Refused(path + ": cannot be read");
    bytes.resize(got);
    return bytes;
}

bool saveChanges(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& lock,
                 const std::vector<FieldChange>& changes, bool dryRun, bool force, std::ostream& out, std::ostream& err,
                 const std::vector<NameChange>& renames)
{
    for (const NameChange& rename : renames)
        out << cp1252ToUtf8(nameRecordText(rename.key)) << " name: \""
            << cp1252ToUtf8(nameFieldText(rename.before.data())) << "\" -> \""
            << cp1252ToUtf8(nameFieldText(rename.after.data())) << "\"\n";
    if (dryRun && !renames.empty())
        out << renames.size() << (renames.size() == 1 ? " name renamed\n" : " names renamed\n");
    if (dryRun) {
        const ChangeDescriber describer(db);
        for (const FieldChange& c : changes)
            out << describer.describe(c) << '\n';
        if (!changes.empty() || renames.empty())
            out << changeSummary(changes) << '\n';
        out << "Dry run: nothing was written.\n";
        return false;
    }
    if (!changes.empty() || !renames.empty()) {
        applyChanges(db, changes);
        for (const NameChange& rename : renames) {
            storeNameField(db, rename.key, rename.after);
            rebuildDisplayNames(db, rename.key);
        }
        try {
            // Under the lock taken before the load: nobody saved meanwhile.
            GameSave save(db, gameDirectory, lock, commandLineFileSystem());
            for (const MergedName& conflict : save.nameConflicts())
                err << "conflict: " << cp1252ToUtf8(nameConflictLine(conflict)) << '\n';
            if (!save.nameConflicts().empty() && !force)
                throw Refused(gameDirectory + ": " + std::to_string(save.nameConflicts().size()) +
                              " names were changed differently by another program since the load; nothing was "
                              "written (--force writes the new names anyway)");
            if (!save.conflicts().empty()) {
                const std::vector<MergedValue>& conflicts = save.conflicts();
                for (const std::string& line : conflictLines(db, conflicts, conflicts.size()))
                    err << "conflict: " << cp1252ToUtf8(line) << '\n';
                if (!force)
                    throw Refused(dataFilePath(gameDirectory, datafile::kStaff) + ": " +
                                  std::to_string(conflicts.size()) +
                                  " values were changed differently by another program since the load; nothing "
                                  "was written (--force writes the new values anyway)");
            }
            SilentProgress nobodyWatches;
            save.write(nobodyWatches);
        } catch (const FilesMayBeChanged&) {
            throw;
        } catch (const DbError& e) {
            throw Refused(gameDirectory + ": " + e.what());
        }
    }
    if (!renames.empty())
        out << renames.size() << (renames.size() == 1 ? " name renamed\n" : " names renamed\n");
    if (!changes.empty() || renames.empty())
        out << changeSummary(changes) << '\n';
    return !changes.empty() || !renames.empty();
}

} // namespace rostradb::cli
