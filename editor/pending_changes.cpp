#include "pending_changes.h"

#include "name_changes.h"
#include "staff_tables.h"

#include <algorithm>
#include <utility>

namespace rostradb {

namespace {

// One record against its snapshot bytes, with the layout known at compile
// time: on a full game this runs 300,000 times.
template <const auto& Layout, class Record>
void compareRecord(const Record& record, const std::uint8_t* bytes, StaffTable table, std::uint32_t position,
                   std::set<ValueKey>& changed)
{
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        const auto differs = [&](const auto& field) {
            return field.saved && field.access.get(record) != le::load(bytes + field.offset, field.access.width);
        };
        ((differs(Layout[I]) ? (void)changed.insert({table, position, static_cast<std::uint16_t>(I)}) : void()), ...);
    }(std::make_index_sequence<Layout.size()>{});
}

template <const auto& Layout, class Record>
void compareTable(const std::vector<Record>& records, const TableRegion& region, StaffTable table,
                  std::set<ValueKey>& changed)
{
    const std::size_t count = std::min(records.size(), staff_tables::regionRecords(region));
    for (std::size_t i = 0; i < count; ++i)
        compareRecord<Layout>(records[i], region.record(i), table, static_cast<std::uint32_t>(i), changed);
}

} // namespace

void PendingChanges::recount(const GameDatabase& db)
{
    changed_.clear();
    compareTable<kStaffLayout>(db.staff, db.snapshot.staff, StaffTable::Staff, changed_);
    compareTable<kNonPlayerLayout>(db.nonPlayers, db.snapshot.nonPlayers, StaffTable::NonPlayer, changed_);
    compareTable<kPlayerLayout>(db.players, db.snapshot.players, StaffTable::Player, changed_);
}

void PendingChanges::set(GameDatabase& db, const ValueKey& key, std::uint32_t bits)
{
    setValue(db, key, bits);
    refresh(db, key);
}

void PendingChanges::setName(GameDatabase& db, const NameKey& key, const NameField& field)
{
    storeNameField(db, key, field);
    rebuildDisplayNames(db, key);
    if (db.namesInFile[static_cast<std::size_t>(key.table)].contains(key.position))
        renamed_.insert(key);
    else
        renamed_.erase(key);
}

void PendingChanges::refreshNames(const GameDatabase& db)
{
    renamed_.clear();
    for (std::size_t table = 0; table < db.namesInFile.size(); ++table)
        for (const auto& entry : db.namesInFile[table])
            renamed_.insert({static_cast<LookupTable>(table), entry.first});
}

void PendingChanges::refresh(const GameDatabase& db, const ValueKey& key)
{
    const auto inFile = snapshotValue(db.snapshot, key);
    if (inFile && isSavedField(key.table, key.field) && *inFile != currentValue(db, key))
        changed_.insert(key);
    else
        changed_.erase(key);
}

} // namespace rostradb
