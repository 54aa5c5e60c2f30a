#pragma once
// Reading a spreadsheet of people back: the rows export writes, any of them,
// with any of the columns, in any order. Reading is strict: every cell that
// is wrong is reported as "FILE:LINE: column NAME: what is wrong", and a file
// with any error changes nothing.

#include "field_changes.h"

#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

struct ImportPlan {
    std::vector<std::string> errors;
    std::vector<FieldChange> changes; // only values that differ from the game's, sorted
};

// Plans the import of `csv`, UTF-8 text separated by ',' or ';' (named
// `fileName` in messages), into the game
// without changing it. A row is found by its position; an empty cell leaves
// its value as it is. Refused: an unknown or repeated column, a missing
// position column, a position that is not a person's or comes twice, a
// number that is not a decimal integer inside its field's range, a changed
// displayName or ...Text cell (they follow from the positions; a text may
// change along with its code column when it names the new code's record), a changed
// field that Save never writes back (the three at the end of the staff
// record), a value in a player or non-player
// column of a person whose classification (as the row leaves it) does not
// lead there or whose link lies outside that table, and two rows that set
// the same field of a shared record to different values.
// Whether `cell` is the game's text in UTF-8 with each of its bytes taken
// for a Windows-1252 character, as a spreadsheet that opened a UTF-8 file in
// the wrong character set saves it ("StanhÃ©im" for "Stanhéim").
bool isMisreadUtf8(std::string_view gameText, std::string_view cell);

ImportPlan planImport(const GameDatabase& db, std::string_view csv, const std::string& fileName);

} // namespace rostradb::cli
