#pragma once
// Renaming a nation, club or name: what shows a name follows at once (the
// display names built from first and second names), how many people use a
// name, and how a rename reads in the history and the list of changes.

#include "change_list.h"
#include "db/lookup_names.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

// Builds again the display name of every person whose first or second name
// is the record (a nation, club or common name shows in none). Returns the
// number of people rebuilt.
std::size_t rebuildDisplayNames(GameDatabase& db, const NameKey& key);

// For each record of the table, the people pointing at it: by first, second
// or common name, by club contracted, or by first nationality.
std::vector<std::uint32_t> peopleUsing(const GameDatabase& db, LookupTable table);
// The same for one record.
std::size_t peopleUsing(const GameDatabase& db, const NameKey& key);

// The records of the table whose name contains `part` by the name search's
// rule, in table order; every record for an empty part.
std::vector<std::uint32_t> findNames(const GameDatabase& db, LookupTable table, std::string_view part);

// The field `text` (game bytes, checked by nameTextFromUtf8) makes of the
// record's name: the file's own field when the text is the file's text,
// else the text over the field in memory.
NameField renamedField(const GameDatabase& db, const NameKey& key, std::string_view text);

// "Rename first name "Jonh" to "John" (312 people)"; game text. The count is
// left out when nobody uses the record.
std::string renameStepName(const GameDatabase& db, const NameKey& key, std::string_view before, std::string_view after);

// "club 12", "first name 7".
std::string nameRecordText(const NameKey& key);

// The row of the list of changes for a renamed record: field "name", the
// text in the file and now.
ChangeRow describeNameChange(const GameDatabase& db, const NameKey& key);

} // namespace rostradb
