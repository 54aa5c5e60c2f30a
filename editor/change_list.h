#pragma once
// The list of changes since the last save as the user reads it: for each
// value that differs from the snapshot, which record it belongs to, whose it
// is, which field, and the value in the file and now. Texts are game text
// (Windows-1252) like the names they contain; the window converts them.

#include "field_change.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rostradb {

// Who a record of each table belongs to: for a staff record its own
// position; for a player (non-player) record the first person, in table
// order, whose playerId (nonPlayerId) leads there and whose classification
// shows that record. Built once per load; the links are never edited.
class RecordOwners {
public:
    void build(const GameDatabase& db);
    void clear();
    std::optional<std::size_t> owner(StaffTable table, std::uint32_t position) const;

private:
    static constexpr std::uint32_t kNobody = 0xFFFFFFFF;
    std::vector<std::uint32_t> playerOwners_;
    std::vector<std::uint32_t> nonPlayerOwners_;
};

struct ChangeRow {
    std::string record;                        // "staff 123", "non-player 7", "player 45"
    std::optional<std::size_t> personPosition; // in the staff table
    std::string person;                        // that person's display name, or empty
    std::string field;                         // the form's label, or the format's field name
    std::string inFile;                        // "12", "3 (Brazil)"; empty when the file has no such record
    std::string now;
};

// The row for one value. The key's record must exist in memory.
ChangeRow describeChange(const GameDatabase& db, const RecordOwners& owners, const ValueKey& key);

// "staff", "non-player", "player".
const char* tableWord(StaffTable table);

// What the list calls a field: the label of the form's box that shows it,
// or, where no box does, the format's field name.
const std::string& fieldLabel(StaffTable table, std::uint16_t field);

// A value as the list of changes shows it: "12", "3 (Brazil)".
std::string valueText(const GameDatabase& db, const ValueKey& key, std::uint32_t value);

// The status line: "No database loaded", "Not completely loaded: changes
// cannot be saved" (after a load that stopped part-way), "No unsaved changes",
// "1 value changed since the last save", "N values changed since the last
// save", followed by " - typed changes not confirmed" when the form holds
// edits not yet confirmed.
std::string statusLine(LoadState loaded, std::size_t changedValues, bool unconfirmedEdits);

} // namespace rostradb
