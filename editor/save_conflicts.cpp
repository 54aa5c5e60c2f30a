#include "save_conflicts.h"

namespace rostradb {

namespace {

ValueKey keyOf(const MergedValue& v) { return {v.table, v.position, v.field}; }

} // namespace

std::string describeConflict(const GameDatabase& db, const RecordOwners& owners, const MergedValue& conflict)
{
    const ValueKey key = keyOf(conflict);
    const auto person = owners.owner(key.table, key.position);
    std::string name = person && *person < db.staff.size()
                           ? db.staff[*person].displayName
                           : std::string(tableWord(key.table)) + " " + std::to_string(key.position);
    if (isLinkConflict(conflict))
        return name + ": " + fieldLabel(key.table, key.field) + " was changed by another program from " +
               valueText(db, key, conflict.editor) + " to " + valueText(db, key, conflict.disk) +
               "; this person's attribute changes are not saved (load the game again)";
    return name + ": " + fieldLabel(key.table, key.field) + ": on disk " + valueText(db, key, conflict.disk) +
           ", in the editor " + valueText(db, key, conflict.editor);
}

std::vector<std::string> conflictLines(const GameDatabase& db, const std::vector<MergedValue>& conflicts,
                                       std::size_t shown)
{
    RecordOwners owners;
    owners.build(db);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < conflicts.size() && i < shown; ++i)
        lines.push_back(describeConflict(db, owners, conflicts[i]));
    if (conflicts.size() > shown)
        lines.push_back("and " + std::to_string(conflicts.size() - shown) + " more");
    return lines;
}

std::vector<FieldChange> takenFromDisk(const std::vector<MergedValue>& values)
{
    std::vector<FieldChange> changes;
    changes.reserve(values.size());
    for (const MergedValue& v : values)
        changes.push_back({keyOf(v), v.editor, v.disk});
    return changes;
}

} // namespace rostradb
