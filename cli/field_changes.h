#pragma once
// A change of one field of one record: what diff finds, import and apply
// plan, and --dry-run lists. Described as one line,
//     staff 123 (Jon Smithers) wages: 1000 -> 2000
// or as a JSON object {"table", "position", "field", "old", "new"}.

#include "table_fields.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rostradb::cli {

struct FieldChange {
    const TableField* field;
    std::size_t position; // in the field's table
    std::uint32_t oldBits;
    std::uint32_t newBits;
};

// Names the people a change is about: a staff record by its own display
// name, a player or non-player record by the first person it belongs to.
class ChangeDescriber {
public:
    explicit ChangeDescriber(const GameDatabase& db);
    // "staff 123 (Jon Smithers)", "player 45 (Jon Smithers)", "player 46"
    std::string recordText(Table table, std::size_t position) const;
    std::string describe(const FieldChange& change) const;

private:
    const GameDatabase& db_;
    std::vector<std::size_t> playerOwner_;    // staff position, or kNobody
    std::vector<std::size_t> nonPlayerOwner_; // likewise
};

// Table order, then position, then the field's place in its record.
void sortChanges(std::vector<FieldChange>& changes);

// "N values changed in M records"
std::string changeSummary(const std::vector<FieldChange>& changes);

// Puts every change's new value into the records in memory.
void applyChanges(GameDatabase& db, const std::vector<FieldChange>& changes);

nlohmann::ordered_json changesToJson(const std::vector<FieldChange>& changes);

} // namespace rostradb::cli
