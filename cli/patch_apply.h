#pragma once
// Applying a patch, the JSON array that `diff --json` writes: each change
// names a table, a position and a field and gives the value it expects there
// ("old") and the value to put there ("new").

#include "field_changes.h"

#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

struct PatchPlan {
    // The patch cannot be applied at all: not JSON of that shape, a table,
    // field or position the game does not have, a number outside its
    // field's range, a field Save never writes, or one field given two new
    // values.
    std::vector<std::string> errors;
    // A change whose "old" is not the game's current value.
    std::vector<std::string> conflicts;
    // What would change (conflicting changes included), sorted.
    std::vector<FieldChange> changes;
    // The renames of nation, name and club records, in table order; their
    // `before` is the game's name field, `after` the name the patch gives.
    std::vector<NameChange> renames;
};

// Plans the patch (named `fileName` in messages) without changing the game.
PatchPlan planPatch(const GameDatabase& db, std::string_view patchText, const std::string& fileName);

} // namespace rostradb::cli
