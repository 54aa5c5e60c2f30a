#pragma once
// Showing the person on screen again after an undo, redo or revert: only the
// boxes that show a value the step changed need new contents, and applying a
// handful of updates costs far less than showing the whole person.

#include "edit_history.h"
#include "staff_display.h"

#include <string_view>
#include <vector>

namespace rostradb {

// Whether the step changed one of the records the form shows for the person
// at `staffPosition`: that staff record, the one at its staffId (where the
// form's values come from), and its player and non-player records.
bool stepTouchesPerson(const GameDatabase& db, std::size_t staffPosition, const EditStep& step);

// Of the updates that show a person, those of the boxes that show a value
// `step` changed, in their order.
std::vector<FormUpdate> updatesForStep(const std::vector<FormUpdate>& updates, const EditStep& step);

} // namespace rostradb
