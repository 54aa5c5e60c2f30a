#pragma once
// Changing one column of many people at once, as one step of the history:
// the people table's "Change..." and its cell edits with several rows
// selected, and `rostradb-cli set`.
//
// Every person who has the column gets the new value: the given number
// ("Set to") or the old value plus it ("Add"), limited to the lowest and
// highest value the field holds, never wrapped. People without the column
// (a player.* column of someone with no player record) are skipped. People
// who share a player or non-player record change it once.

#include "db/game_database.h"
#include "edit_history.h"
#include "field_change.h"
#include "people_columns.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rostradb {

enum class BulkHow : std::uint8_t { SetTo, Add };

struct BulkChange {
    const PeopleColumn* column = nullptr; // a writable Field column
    BulkHow how = BulkHow::SetTo;
    std::int64_t value = 0; // Add: negative subtracts
};

struct BulkOutcome {
    // Named like "Add 5 to wages of 23 people"; the values that actually
    // change, each once, in the order of the people.
    EditStep step;
    std::size_t people = 0;  // people who have the column
    std::size_t skipped = 0; // people who do not
    std::size_t limited = 0; // values held at the field's lowest or highest
    std::size_t changed() const { return step.changes.size(); }
};

// What the change would do, without doing it. DbError when the column
// cannot be changed (not a field, or one Save never writes).
BulkOutcome planBulkChange(const GameDatabase& db, std::span<const std::uint32_t> people, const BulkChange& change);

// Plans the change, stores it into the records and records it in the
// history as one undo step (none when no value changes).
BulkOutcome applyBulkChange(GameDatabase& db, EditHistory& history, std::span<const std::uint32_t> people,
                            const BulkChange& change);

// A value typed into a cell, for one or several selected rows: it must lie
// inside the field's range, else DbError with the reason and nothing
// changes. Then as applyBulkChange with "Set to".
BulkOutcome setCells(GameDatabase& db, EditHistory& history, std::span<const std::uint32_t> people,
                     const PeopleColumn& column, std::int64_t value);

// The whole number typed into a cell or the bulk dialog (an optional minus
// sign and digits); DbError "\"TEXT\" is not a whole number" otherwise.
std::int64_t wholeNumberOf(std::string_view text);

// The step's name: "Add 5 to wages of 23 people", "Subtract 5 from ...",
// "Set wages of 1 person to 1000", followed by " (3 skipped, 2 limited)"
// when any were.
std::string bulkStepName(const BulkChange& change, std::size_t people, std::size_t skipped, std::size_t limited);

} // namespace rostradb
