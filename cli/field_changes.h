#pragma once
// Changes of single values (editor/field_change.h) as the command line
// shows them: what diff finds, import, apply and set plan, and --dry-run
// lists. Described as one line,
//     staff 123 (Jon Smithers) wages: 1000 -> 2000
// or as a JSON object {"table", "position", "field", "old", "new"}.

#include "editor/change_list.h"
#include "editor/field_change.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rostradb::cli {

// Names the people a change is about: a staff record by its own display
// name, a player or non-player record by the person it belongs to.
class ChangeDescriber {
public:
    explicit ChangeDescriber(const GameDatabase& db);
    // "staff 123 (Jon Smithers)", "player 45 (Jon Smithers)", "player 46"
    std::string recordText(StaffTable table, std::size_t position) const;
    std::string describe(const FieldChange& change) const;

private:
    const GameDatabase& db_;
    RecordOwners owners_;
};

// The field's stored bits as the number they stand for, in decimal.
std::string formatValue(const ValueKey& key, std::uint32_t bits);

// Staff, player, then non-player records; then position, then the field's
// place in its record.
void sortChanges(std::vector<FieldChange>& changes);

// "N values changed in M records"
std::string changeSummary(const std::vector<FieldChange>& changes);

// Puts every change's new value into the records in memory.
void applyChanges(GameDatabase& db, const std::vector<FieldChange>& changes);

nlohmann::ordered_json changesToJson(const std::vector<FieldChange>& changes);

} // namespace rostradb::cli
