#include "person_report.h"

#include "db/cp1252_text.h"
#include "staff_columns.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <vector>

namespace rostradb::cli {

std::string personText(const GameDatabase& db, std::size_t position)
{
    std::vector<std::string> cells;
    staffRowCells(db, position, cells);
    const auto& columns = staffColumns();
    const StaffRecord& person = db.staff[position];
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const StaffColumn& c = columns[i];
        if (c.kind == StaffColumn::Kind::Field && c.field->table != Table::Staff &&
            !linkedRecord(db, person, c.field->table))
            continue;
        text += c.name + ": " + cells[i] + "\n";
    }
    return text;
}

namespace {

nlohmann::ordered_json recordJson(const GameDatabase& db, Table table, std::size_t position)
{
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const TableField& f : fieldsOf(table))
        fields[std::string(f.name)] = fieldNumber(f, fieldBits(db, f, position));
    return fields;
}

nlohmann::ordered_json linkedJson(const GameDatabase& db, const StaffRecord& person, Table table)
{
    const std::optional<std::size_t> record = linkedRecord(db, person, table);
    return record ? recordJson(db, table, *record) : nlohmann::ordered_json(nullptr);
}

} // namespace

nlohmann::ordered_json personJson(const GameDatabase& db, std::size_t position)
{
    const StaffRecord& person = db.staff[position];
    nlohmann::ordered_json texts = nlohmann::ordered_json::object();
    for (const StaffColumn& c : staffColumns())
        if (c.kind == StaffColumn::Kind::Text)
            texts[c.name] = cp1252ToUtf8(lookupText(db, c.lookup, fieldBits(db, *c.field, position)));

    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["position"] = position;
    json["displayName"] = cp1252ToUtf8(person.displayName);
    json["staff"] = recordJson(db, Table::Staff, position);
    json["texts"] = std::move(texts);
    json[std::string(tableName(Table::Player))] = linkedJson(db, person, Table::Player);
    json[std::string(tableName(Table::NonPlayer))] = linkedJson(db, person, Table::NonPlayer);
    return json;
}

} // namespace rostradb::cli
