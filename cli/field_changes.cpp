#include "field_changes.h"

#include "db/cp1252_text.h"
#include "editor/people_columns.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <tuple>

namespace rostradb::cli {

namespace {

// The command line has always listed player records before non-player ones.
int tableOrder(StaffTable table)
{
    switch (table) {
    case StaffTable::Player:
        return 1;
    case StaffTable::NonPlayer:
        return 2;
    case StaffTable::Staff:
        break;
    }
    return 0;
}

auto orderKey(const FieldChange& c) { return std::make_tuple(tableOrder(c.key.table), c.key.position, c.key.field); }

} // namespace

ChangeDescriber::ChangeDescriber(const GameDatabase& db) : db_(db) { owners_.build(db); }

std::string ChangeDescriber::recordText(StaffTable table, std::size_t position) const
{
    std::string text(tableName(table));
    text += ' ';
    text += std::to_string(position);
    const std::optional<std::size_t> person = owners_.owner(table, static_cast<std::uint32_t>(position));
    if (person && *person < db_.staff.size() && !db_.staff[*person].displayName.empty())
        text += " (" + cp1252ToUtf8(db_.staff[*person].displayName) + ")";
    return text;
}

std::string ChangeDescriber::describe(const FieldChange& c) const
{
    return recordText(c.key.table, c.key.position) + " " + fieldName(c.key.table, c.key.field) + ": " +
           formatValue(c.key, c.before) + " -> " + formatValue(c.key, c.after);
}

std::string formatValue(const ValueKey& key, std::uint32_t bits)
{
    return std::to_string(columnNumberOf(fieldColumn(key), bits));
}

void sortChanges(std::vector<FieldChange>& changes)
{
    std::stable_sort(changes.begin(), changes.end(),
                     [](const FieldChange& a, const FieldChange& b) { return orderKey(a) < orderKey(b); });
}

std::string changeSummary(const std::vector<FieldChange>& changes)
{
    std::vector<std::tuple<StaffTable, std::uint32_t>> records;
    records.reserve(changes.size());
    for (const FieldChange& c : changes)
        records.emplace_back(c.key.table, c.key.position);
    std::sort(records.begin(), records.end());
    const auto distinct = std::unique(records.begin(), records.end()) - records.begin();
    return std::to_string(changes.size()) + " values changed in " + std::to_string(distinct) + " records";
}

void applyChanges(GameDatabase& db, const std::vector<FieldChange>& changes)
{
    for (const FieldChange& c : changes)
        setValue(db, c.key, c.after);
}

nlohmann::ordered_json changesToJson(const std::vector<FieldChange>& changes)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const FieldChange& c : changes) {
        const PeopleColumn& column = fieldColumn(c.key);
        array.push_back({
            {"table", tableName(c.key.table)},
            {"position", c.key.position},
            {"field", fieldName(c.key.table, c.key.field)},
            {"old", columnNumberOf(column, c.before)},
            {"new", columnNumberOf(column, c.after)},
        });
    }
    return array;
}

} // namespace rostradb::cli
