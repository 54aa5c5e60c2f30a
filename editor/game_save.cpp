#include "game_save.h"

#include "name_changes.h"

namespace rostradb {

GameSave::GameSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files)
    : db_(db), gameDirectory_(gameDirectory), files_(files), staff_(db, gameDirectory, files),
      names_(db, gameDirectory, files)
{
}

GameSave::GameSave(GameDatabase& db, const std::string& gameDirectory, StaffFileLock& held, FileSystem& files)
    : db_(db), gameDirectory_(gameDirectory), files_(files), staff_(db, gameDirectory, held, files),
      names_(db, gameDirectory, files)
{
}

void GameSave::write(ProgressSink& sink)
{
    std::vector<FileChanges> lookups = names_.plannedChanges();
    if (lookups.empty()) {
        staff_.write(sink);
    } else {
        ProgressScope progress(sink);
        std::vector<FileChanges> all{staff_.plannedChanges()};
        all.insert(all.end(), std::make_move_iterator(lookups.begin()), std::make_move_iterator(lookups.end()));
        commitFileSet(files_, gameDirectory_, all);
        staff_.committedWithOthers();
    }
    names_.committed();
    for (const MergedName& taken : names_.changedOnDiskOnly())
        rebuildDisplayNames(db_, taken.key);
}

std::string nameConflictLine(const MergedName& conflict)
{
    return nameRecordText(conflict.key) + " name: \"" + std::string(nameFieldText(conflict.disk.data())) +
           "\" in the file now, \"" + std::string(nameFieldText(conflict.editor.data())) + "\" here";
}

} // namespace rostradb
