#include "edit_history.h"

#include "name_changes.h"

#include <algorithm>
#include <utility>

namespace rostradb {

void EditHistory::reset(const GameDatabase& db)
{
    steps_.clear();
    applied_ = 0;
    owners_.build(db);
    // The loader decodes every record from the snapshot's own bytes, so no
    // value can differ yet: no need to compare 15 MB again.
    pending_.clear();
}

void EditHistory::clear()
{
    steps_.clear();
    applied_ = 0;
    pending_.clear();
    owners_.clear();
}

// The save put every field it writes from memory into the bytes that became
// the snapshot, and only those fields are counted: nothing differs now. The
// values it took in from another program's changes may include a
// classification, which decides whose the attribute records are.
void EditHistory::saved(const GameDatabase& db)
{
    pending_.clear();
    pending_.refreshNames(db);
    owners_.build(db);
}

void EditHistory::push(EditStep step)
{
    steps_.resize(applied_);
    steps_.push_back(std::move(step));
    applied_ = steps_.size();
}

void EditHistory::record(const GameDatabase& db, EditStep step)
{
    if (step.empty())
        return;
    for (const auto& change : step.changes)
        pending_.refresh(db, change.key);
    push(std::move(step));
}

const EditStep* EditHistory::undo(GameDatabase& db)
{
    if (!canUndo())
        return nullptr;
    const EditStep& step = steps_[applied_ - 1];
    // Backwards, so that a value changed twice within a step ends at its
    // first `before`.
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it)
        pending_.set(db, it->key, it->before);
    for (auto it = step.renames.rbegin(); it != step.renames.rend(); ++it)
        pending_.setName(db, it->key, it->before);
    --applied_;
    return &step;
}

const EditStep* EditHistory::redo(GameDatabase& db)
{
    if (!canRedo())
        return nullptr;
    const EditStep& step = steps_[applied_];
    for (const auto& change : step.changes)
        pending_.set(db, change.key, change.after);
    for (const auto& rename : step.renames)
        pending_.setName(db, rename.key, rename.after);
    ++applied_;
    return &step;
}

const EditStep* EditHistory::revert(GameDatabase& db, const std::vector<ValueKey>& keys,
                                    const std::vector<NameKey>& names)
{
    // In list order, each value once, however the selection was made.
    std::vector<ValueKey> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    EditStep step;
    for (const auto& key : sorted) {
        const auto inFile = snapshotValue(db.snapshot, key);
        if (!inFile)
            continue;
        const std::uint32_t now = currentValue(db, key);
        if (now != *inFile)
            step.changes.push_back({key, now, *inFile});
    }
    std::vector<NameKey> sortedNames = names;
    std::sort(sortedNames.begin(), sortedNames.end());
    sortedNames.erase(std::unique(sortedNames.begin(), sortedNames.end()), sortedNames.end());
    for (const auto& key : sortedNames) {
        if (!pending_.contains(key))
            continue;
        NameField now;
        const auto bytes = nameBytes(db, key);
        std::copy(bytes.begin(), bytes.end(), now.begin());
        step.renames.push_back({key, now, fileNameField(db, key)});
    }
    if (step.empty())
        return nullptr;
    step.name = revertStepName(step.changes.size() + step.renames.size());
    for (const auto& change : step.changes)
        pending_.set(db, change.key, change.after);
    for (const auto& rename : step.renames)
        pending_.setName(db, rename.key, rename.after);
    push(std::move(step));
    return &steps_.back();
}

const EditStep* EditHistory::rename(GameDatabase& db, const NameKey& key, std::string_view text)
{
    NameChange change{key, {}, renamedField(db, key, text)};
    const auto bytes = nameBytes(db, key);
    std::copy(bytes.begin(), bytes.end(), change.before.begin());
    if (change.after == change.before)
        return nullptr;
    EditStep step;
    step.name = renameStepName(db, key, nameFieldText(change.before.data()), nameFieldText(change.after.data()));
    pending_.setName(db, key, change.after);
    step.renames.push_back(change);
    push(std::move(step));
    return &steps_.back();
}

std::string revertStepName(std::size_t values)
{
    return "Revert " + std::to_string(values) + (values == 1 ? " value" : " values");
}

bool stepTouches(const EditStep& step, StaffTable table, std::int64_t position)
{
    return std::any_of(step.changes.begin(), step.changes.end(), [&](const FieldChange& c) {
        return c.key.table == table && static_cast<std::int64_t>(c.key.position) == position;
    });
}

} // namespace rostradb
