#include "bulk_change.h"

#include "db/errors.h"
#include "person_links.h"

#include <algorithm>
#include <vector>

namespace rostradb {

namespace {

void requireWritable(const PeopleColumn* column)
{
    if (!column)
        throw DbError("No column to change");
    if (column->kind != ColumnKind::Field)
        throw DbError(column->name + " cannot be changed: it follows from other values");
    if (!column->writable)
        throw DbError(column->name + " cannot be changed: the staff file keeps its own bytes there");
}

std::string peopleText(std::size_t people)
{
    return std::to_string(people) + (people == 1 ? " person" : " people");
}

// Far beyond every field, and far from overflowing when added to one.
constexpr std::int64_t kLargest = std::int64_t{1} << 62;

} // namespace

std::string bulkStepName(const BulkChange& change, std::size_t people, std::size_t skipped, std::size_t limited)
{
    const std::string& column = change.column->name;
    std::string name;
    if (change.how == BulkHow::SetTo)
        name = "Set " + column + " of " + peopleText(people) + " to " + std::to_string(change.value);
    else if (change.value < 0)
        name = "Subtract " + std::to_string(-change.value) + " from " + column + " of " + peopleText(people);
    else
        name = "Add " + std::to_string(change.value) + " to " + column + " of " + peopleText(people);
    if (skipped != 0 || limited != 0) {
        name += " (";
        if (skipped != 0)
            name += std::to_string(skipped) + " skipped";
        if (skipped != 0 && limited != 0)
            name += ", ";
        if (limited != 0)
            name += std::to_string(limited) + " limited";
        name += ")";
    }
    return name;
}

BulkOutcome planBulkChange(const GameDatabase& db, std::span<const std::uint32_t> people, const BulkChange& change)
{
    requireWritable(change.column);
    const PeopleColumn& column = *change.column;
    const std::int64_t value = std::clamp(change.value, -kLargest, kLargest);

    BulkOutcome outcome;
    outcome.step.changes.reserve(people.size());
    // Each value once: people may share an attribute record, and a list of
    // people may name someone twice.
    std::vector<bool> seen(recordCount(db, column.table), false);
    for (const std::uint32_t person : people) {
        if (person >= db.staff.size())
            throwListIndexOutOfBounds(person);
        const std::optional<ValueKey> key = columnKey(db, person, column);
        if (!key) {
            ++outcome.skipped;
            continue;
        }
        ++outcome.people;
        if (seen[key->position])
            continue;
        seen[key->position] = true;

        const std::uint32_t before = currentValue(db, *key);
        const std::int64_t wanted = change.how == BulkHow::Add ? columnNumberOf(column, before) + value : value;
        const std::int64_t limited = limitedToRange(column, wanted);
        if (limited != wanted)
            ++outcome.limited;
        const std::uint32_t after = *bitsForNumber(column, limited);
        if (after != before)
            outcome.step.changes.push_back({*key, before, after});
    }
    outcome.step.name = bulkStepName(change, outcome.people, outcome.skipped, outcome.limited);
    return outcome;
}

BulkOutcome applyBulkChange(GameDatabase& db, EditHistory& history, std::span<const std::uint32_t> people,
                            const BulkChange& change)
{
    BulkOutcome outcome = planBulkChange(db, people, change);
    for (const FieldChange& c : outcome.step.changes)
        setValue(db, c.key, c.after);
    history.record(db, outcome.step);
    return outcome;
}

std::int64_t wholeNumberOf(std::string_view text)
{
    const std::optional<std::int64_t> number = parseDecimal(text);
    if (!number)
        throw DbError("\"" + std::string(text) + "\" is not a whole number");
    return *number;
}

BulkOutcome setCells(GameDatabase& db, EditHistory& history, std::span<const std::uint32_t> people,
                     const PeopleColumn& column, std::int64_t value)
{
    requireWritable(&column);
    if (!bitsForNumber(column, value))
        throw DbError(std::to_string(value) + " is out of range: " + column.name + " " + rangeText(column));
    return applyBulkChange(db, history, people, {&column, BulkHow::SetTo, value});
}

} // namespace rostradb
