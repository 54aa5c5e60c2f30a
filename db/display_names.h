#pragma once
// The name a person is listed, searched, sorted and filtered by: "First
// Second", from the first- and second-name tables. Built once per person at
// load time and kept in StaffRecord::displayName, so every view sees the same
// text; a change to a name table rebuilds the names of the people using it.

#include "game_database.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rostradb {

// Writes the display name into `name`, reusing its storage: empty unless both
// positions lie inside their tables; at most StaffRecord::kDisplayNameMax
// bytes in all.
void assignDisplayName(std::string& name, std::uint32_t firstName, std::uint32_t secondName,
                       const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames);

// The same, as a new string.
std::string buildDisplayName(std::uint32_t firstName, std::uint32_t secondName,
                             const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames);

// Builds display names from two name tables: it first finds the length of
// every name in both, so it pays off for many people, and may be given them
// a block at a time. The tables must stay as they are while it is used.
class DisplayNamer {
public:
    DisplayNamer(const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames);
    void name(std::span<StaffRecord> people) const;

private:
    const std::vector<NameRecord>& firstNames_;
    const std::vector<NameRecord>& secondNames_;
    std::vector<std::uint8_t> firstLengths_;
    std::vector<std::uint8_t> secondLengths_;
};

// One person's name from the database's name tables.
void rebuildDisplayName(GameDatabase& db, std::size_t person);

// The names of everyone in db.staff.
void rebuildDisplayNames(GameDatabase& db);

} // namespace rostradb
