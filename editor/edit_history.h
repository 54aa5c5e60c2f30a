#pragma once
// The user's edits since the last load as a history of steps that can be
// undone and redone, together with what differs from the load snapshot. Every
// change the editor makes to a record after a load passes through here, so
// the count of changed values is kept as the steps are applied instead of
// comparing the whole file again.
//
// A load clears the history; a save does not (undoing after a save makes the
// file differ again), it only makes the written file the new base.

#include "change_list.h"
#include "field_change.h"
#include "pending_changes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

class EditHistory {
public:
    // After a load: no steps, the owners of the attribute records found
    // again, and no value differs from the snapshot the records came from.
    void reset(const GameDatabase& db);
    // Forgets everything, before the records it speaks of are loaded again.
    void clear();
    // After a successful save, whose snapshot now holds what was written.
    void saved(const GameDatabase& db);

    // A Confirm that has already changed the records in memory becomes a
    // step; one that changed nothing leaves the history as it is. Either way
    // the steps that could be redone are dropped only when a step is added.
    void record(const GameDatabase& db, EditStep step);

    bool canUndo() const { return applied_ > 0; }
    bool canRedo() const { return applied_ < steps_.size(); }
    // The step Undo or Redo would take back or apply again; nullptr when none.
    const EditStep* undoStep() const { return canUndo() ? &steps_[applied_ - 1] : nullptr; }
    const EditStep* redoStep() const { return canRedo() ? &steps_[applied_] : nullptr; }

    // Puts back every value the step changed (in reverse order), or applies
    // it again. Each returns the step, or nullptr when there was none.
    const EditStep* undo(GameDatabase& db);
    const EditStep* redo(GameDatabase& db);

    // Puts the given values and names back to what the file holds, as one
    // step named "Revert N values". Those that already equal the file are
    // left out; returns nullptr when nothing was left to revert.
    const EditStep* revert(GameDatabase& db, const std::vector<ValueKey>& keys,
                           const std::vector<NameKey>& names = {});

    // Renames the record to `text` (game bytes, checked by nameTextFromUtf8)
    // as one step, "Rename club "A" to "B" (3 people)", the display names
    // rebuilt. Returns nullptr when the name already reads so.
    const EditStep* rename(GameDatabase& db, const NameKey& key, std::string_view text);

    const PendingChanges& pending() const { return pending_; }
    std::size_t changedValues() const { return pending_.count(); }
    const RecordOwners& owners() const { return owners_; }
    std::size_t stepCount() const { return steps_.size(); }

private:
    void push(EditStep step);

    std::vector<EditStep> steps_;
    std::size_t applied_ = 0; // steps_[0, applied_) are in effect
    PendingChanges pending_;
    RecordOwners owners_;
};

// The name of a revert step: "Revert 1 value", "Revert 3 values".
std::string revertStepName(std::size_t values);

// Whether the step changes a value of the record at `position` of `table`.
bool stepTouches(const EditStep& step, StaffTable table, std::int64_t position);

} // namespace rostradb
