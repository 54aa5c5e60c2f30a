#pragma once
// Finding people by any part of their display name.

#include "db/records.h"
#include "db/table_directory.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace rostradb {

// Whether `text` contains `part`, ignoring the case of a..z only: the rule
// every search by name follows.
bool containsIgnoringCase(std::string_view text, std::string_view part);

struct SearchHit {
    std::string_view displayName; // the record's own text, letter case as stored
    std::size_t position;         // the record's position in the staff table
};

// Every staff record, positions 0 .. lastIndex of directory entry 7, whose
// display name contains `searchText` (bytes in the game's code page),
// ignoring the case of a..z only. Table order, no de-duplication. An empty
// text, or an empty display name, matches nothing. Raises the list error for
// position 7 when the directory was not read, and for the first position the
// staff table does not hold (0 before any load).
std::vector<SearchHit> searchStaff(std::string_view searchText, const std::vector<StaffRecord>& staff,
                                   const TableDirectory& directory);

// The same, appending to `hits`: when the search stops on a missing record,
// the people found before it are still there for the window to list.
void searchStaff(std::string_view searchText, const std::vector<StaffRecord>& staff,
                 const TableDirectory& directory, std::vector<SearchHit>& hits);

} // namespace rostradb
