#pragma once
// How a save's conflicts are put to the user: one line per value that both
// another program and the editor changed, "NAME: FIELD: on disk X, in the
// editor Y", NAME the person the record belongs to (or the record, "player
// 45", when nobody's) and FIELD as the list of changes names it; a link
// another program changed says so and that the person's attribute changes
// are held back. Texts are
// game text (Windows-1252); the front-ends convert them.

#include "change_list.h"
#include "db/staff_writer.h"

#include <cstddef>
#include <string>
#include <vector>

namespace rostradb {

std::string describeConflict(const GameDatabase& db, const RecordOwners& owners, const MergedValue& conflict);

// The first `shown` conflicts, then "and N more" for the rest.
std::vector<std::string> conflictLines(const GameDatabase& db, const std::vector<MergedValue>& conflicts,
                                       std::size_t shown = 10);

// The values another program changed, as changes of the editor's values:
// what the front-ends refresh after a save took them in.
std::vector<FieldChange> takenFromDisk(const std::vector<MergedValue>& values);

} // namespace rostradb
