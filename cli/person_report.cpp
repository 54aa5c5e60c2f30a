#include "person_report.h"

#include "db/cp1252_text.h"
#include "editor/lookup_tables.h"
#include "editor/people_columns.h"
#include "editor/person_links.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace rostradb::cli {

std::string personText(const GameDatabase& db, std::size_t position)
{
    const auto person = static_cast<std::uint32_t>(position);
    std::string text;
    for (const PeopleColumn& c : peopleColumns()) {
        // The records the classification does not lead to are left out.
        if (!hasColumn(db, person, c))
            continue;
        text += c.name + ": " + cp1252ToUtf8(cellText(db, person, c)) + "\n";
    }
    return text;
}

namespace {

nlohmann::ordered_json recordJson(const GameDatabase& db, StaffTable table, std::uint32_t record)
{
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (std::uint16_t f = 0; f < fieldCount(table); ++f)
        fields[fieldName(table, f)] = columnNumberOf(fieldColumn(table, f), currentValue(db, {table, record, f}));
    return fields;
}

nlohmann::ordered_json linkedJson(const GameDatabase& db, std::uint32_t person, StaffTable table)
{
    const std::optional<std::uint32_t> record = linkedRecord(db, person, table);
    return record ? recordJson(db, table, *record) : nlohmann::ordered_json(nullptr);
}

} // namespace

nlohmann::ordered_json personJson(const GameDatabase& db, std::size_t position)
{
    const auto person = static_cast<std::uint32_t>(position);
    nlohmann::ordered_json texts = nlohmann::ordered_json::object();
    for (const PeopleColumn& c : peopleColumns())
        if (c.kind == ColumnKind::Text)
            texts[c.name] = cp1252ToUtf8(columnText(db, person, c));

    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["position"] = position;
    json["displayName"] = cp1252ToUtf8(db.staff[position].displayName);
    json["staff"] = recordJson(db, StaffTable::Staff, person);
    json["texts"] = std::move(texts);
    json[std::string(tableName(StaffTable::Player))] = linkedJson(db, person, StaffTable::Player);
    json[std::string(tableName(StaffTable::NonPlayer))] = linkedJson(db, person, StaffTable::NonPlayer);
    return json;
}

} // namespace rostradb::cli
