#include "game_files.h"

#include "db/data_paths.h"
#include "db/errors.h"
#include "db/loaders.h"
#include "db/progress_sink.h"
#include "db/staff_writer.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace rostradb::cli {

GameDatabase loadGame(const std::string& gameDirectory)
{
    GameDatabase db;
    try {
        SilentProgress nobodyWatches;
        readDirectoryAndLoad(db, gameDirectory, nobodyWatches);
    } catch (const DbError& e) {
        throw Refused(gameDirectory + ": " + e.what());
    }
    return db;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in)
        throw Refused(path + ": " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw Refused(path + ": cannot be read");
    return std::move(bytes).str();
}

void saveChanges(GameDatabase& db, const std::string& gameDirectory, const std::vector<FieldChange>& changes,
                 bool dryRun, std::ostream& out)
{
    if (dryRun) {
        const ChangeDescriber describer(db);
        for (const FieldChange& c : changes)
            out << describer.describe(c) << '\n';
        out << changeSummary(changes) << "\nDry run: nothing was written.\n";
        return;
    }
    if (!changes.empty()) {
        applyChanges(db, changes);
        try {
            StaffFileSave save(db, gameDirectory);
            if (save.diskChangedSinceLoad())
                throw Refused(dataFilePath(gameDirectory, datafile::kStaff) +
                              " was changed by another program while it was read; nothing was written");
            SilentProgress nobodyWatches;
            save.write(nobodyWatches);
        } catch (const DbError& e) {
            throw Refused(gameDirectory + ": " + e.what());
        }
    }
    out << changeSummary(changes) << '\n';
}

} // namespace rostradb::cli
