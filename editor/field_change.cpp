#include "field_change.h"

#include "db/errors.h"
#include "staff_tables.h"

namespace rostradb {

std::size_t fieldCount(StaffTable table)
{
    return staff_tables::visitLayout(table, [](const auto& layout) { return layout.size(); });
}

const char* fieldName(StaffTable table, std::uint16_t field)
{
    return staff_tables::visitLayout(table, [&](const auto& layout) { return layout.at(field).name; });
}

bool isSavedField(StaffTable table, std::uint16_t field)
{
    return staff_tables::visitLayout(table, [&](const auto& layout) { return layout.at(field).saved; });
}

std::size_t recordCount(const GameDatabase& db, StaffTable table)
{
    return staff_tables::visit(db, table, [](const auto&, const auto& records, const auto&) { return records.size(); });
}

std::uint32_t currentValue(const GameDatabase& db, const ValueKey& key)
{
    return staff_tables::visit(db, key.table, [&](const auto& layout, const auto& records, const auto&) {
        return layout.at(key.field).access.get(recordAt(records, key.position));
    });
}

void setValue(GameDatabase& db, const ValueKey& key, std::uint32_t bits)
{
    staff_tables::visit(db, key.table, [&](const auto& layout, auto& records, const auto&) {
        layout.at(key.field).access.set(recordAt(records, key.position), bits);
    });
}

std::optional<std::uint32_t> snapshotValue(const StaffFileSnapshot& snapshot, const ValueKey& key)
{
    const TableRegion& region = key.table == StaffTable::Staff       ? snapshot.staff
                                : key.table == StaffTable::NonPlayer ? snapshot.nonPlayers
                                                                     : snapshot.players;
    if (key.position >= staff_tables::regionRecords(region))
        return std::nullopt;
    return staff_tables::visitLayout(key.table, [&](const auto& layout) {
        const auto& field = layout.at(key.field);
        return le::load(region.record(key.position) + field.offset, field.access.width);
    });
}

} // namespace rostradb
