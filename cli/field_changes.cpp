#include "field_changes.h"

#include "db/cp1252_text.h"
#include "staff_columns.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <tuple>

namespace rostradb::cli {

namespace {

constexpr std::size_t kNobody = std::numeric_limits<std::size_t>::max();

auto orderKey(const FieldChange& c)
{
    return std::make_tuple(static_cast<int>(c.field->table), c.position, c.field->index);
}

} // namespace

ChangeDescriber::ChangeDescriber(const GameDatabase& db)
    : db_(db), playerOwner_(db.players.size(), kNobody), nonPlayerOwner_(db.nonPlayers.size(), kNobody)
{
    for (std::size_t p = 0; p < db.staff.size(); ++p) {
        if (const auto player = linkedRecord(db, db.staff[p], Table::Player); player && playerOwner_[*player] == kNobody)
            playerOwner_[*player] = p;
        if (const auto np = linkedRecord(db, db.staff[p], Table::NonPlayer); np && nonPlayerOwner_[*np] == kNobody)
            nonPlayerOwner_[*np] = p;
    }
}

std::string ChangeDescriber::recordText(Table table, std::size_t position) const
{
    std::string text(tableName(table));
    text += ' ';
    text += std::to_string(position);
    std::size_t person = position;
    if (table == Table::Player)
        person = position < playerOwner_.size() ? playerOwner_[position] : kNobody;
    else if (table == Table::NonPlayer)
        person = position < nonPlayerOwner_.size() ? nonPlayerOwner_[position] : kNobody;
    if (person < db_.staff.size() && !db_.staff[person].displayName.empty())
        text += " (" + cp1252ToUtf8(db_.staff[person].displayName) + ")";
    return text;
}

std::string ChangeDescriber::describe(const FieldChange& c) const
{
    return recordText(c.field->table, c.position) + " " + std::string(c.field->name) + ": " +
           formatField(*c.field, c.oldBits) + " -> " + formatField(*c.field, c.newBits);
}

void sortChanges(std::vector<FieldChange>& changes)
{
    std::stable_sort(changes.begin(), changes.end(),
                     [](const FieldChange& a, const FieldChange& b) { return orderKey(a) < orderKey(b); });
}

std::string changeSummary(const std::vector<FieldChange>& changes)
{
    std::vector<std::tuple<int, std::size_t>> records;
    records.reserve(changes.size());
    for (const FieldChange& c : changes)
        records.emplace_back(static_cast<int>(c.field->table), c.position);
    std::sort(records.begin(), records.end());
    const auto distinct = std::unique(records.begin(), records.end()) - records.begin();
    return std::to_string(changes.size()) + " values changed in " + std::to_string(distinct) + " records";
}

void applyChanges(GameDatabase& db, const std::vector<FieldChange>& changes)
{
    for (const FieldChange& c : changes)
        setFieldBits(db, *c.field, c.position, c.newBits);
}

nlohmann::ordered_json changesToJson(const std::vector<FieldChange>& changes)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const FieldChange& c : changes) {
        array.push_back({
            {"table", tableName(c.field->table)},
            {"position", c.position},
            {"field", c.field->name},
            {"old", fieldNumber(*c.field, c.oldBits)},
            {"new", fieldNumber(*c.field, c.newBits)},
        });
    }
    return array;
}

} // namespace rostradb::cli
