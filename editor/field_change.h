#pragma once
// One value of the staff file as the editor's history sees it: a field of a
// record of one of the three tables, addressed by table, position and the
// field's index in its layout (record_layout.h). Steps of the history are
// lists of changes of such values; the list of changes shows them.

#include "db/game_database.h"
#include "db/lookup_names.h"
#include "staff_table.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rostradb {

struct ValueKey {
    StaffTable table = StaffTable::Staff;
    std::uint32_t position = 0; // of the record in its table
    std::uint16_t field = 0;    // index in the table's layout

    auto operator<=>(const ValueKey&) const = default;
};

struct FieldChange {
    ValueKey key;
    std::uint32_t before = 0;
    std::uint32_t after = 0;
};

// A rename: the whole 51-byte field before and after, so that undo puts
// back the very bytes the file held, also those after the text's zero.
struct NameChange {
    NameKey key;
    NameField before{};
    NameField after{};
};

// What one Confirm, rename or revert did: undone and redone as a whole.
struct EditStep {
    std::string name; // "Confirm Changes of Jon Smithers"; game text
    std::vector<FieldChange> changes;
    std::vector<NameChange> renames;

    bool empty() const { return changes.empty() && renames.empty(); }
};

// The number of fields in the table's layout.
std::size_t fieldCount(StaffTable table);
// The format's name of the field ("currentAbility", "preferenceSet1[2]").
const char* fieldName(StaffTable table, std::uint16_t field);
// Whether Save writes the field; the others are kept but never written.
bool isSavedField(StaffTable table, std::uint16_t field);

// The number of records the table holds in memory.
std::size_t recordCount(const GameDatabase& db, StaffTable table);

// The value in memory, zero-extended. The key's record must exist.
std::uint32_t currentValue(const GameDatabase& db, const ValueKey& key);
// Stores the low bits of `bits` that fit the field.
void setValue(GameDatabase& db, const ValueKey& key, std::uint32_t bits);
// The value in the load snapshot; none when the snapshot does not hold the
// record (a load that stopped early, or no load at all).
std::optional<std::uint32_t> snapshotValue(const StaffFileSnapshot& snapshot, const ValueKey& key);

} // namespace rostradb
