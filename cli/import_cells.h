#pragma once
// How import reads the cells of field columns quickly: the number in a cell,
// the getter of the value it is compared with, and the player and
// non-player records whose values must agree across rows. The common cell
// of a large file is the game's own value, and costs a parse and a compare.

#include "db/game_database.h"
#include "editor/field_change.h"
#include "editor/people_columns.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace rostradb::cli {

inline constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);

// A cell's number as parseDecimal reads it (an optional minus sign and
// digits only), without its detours for the few cells that are not one.
inline std::optional<std::int64_t> cellNumber(std::string_view cell)
{
    std::int64_t number = 0;
    const char* const end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, number);
    if (error == std::errc() && stop == end)
        return number;
    return parseDecimal(cell); // past 64 bits, or not a number
}

// A header cell made ready for the rows: what reads it, and for a field the
// getter of the stored value.
struct HeaderCell {
    enum class Reading : std::uint8_t { Skip, StaffField, PlayerField, NonPlayerField, DisplayName, Text };
    Reading reading = Reading::Skip; // Skip: the position, or an unknown, misread or empty name
    const PeopleColumn* column = nullptr;
    std::uint32_t (*staffGet)(const StaffRecord&) = nullptr;
    std::uint32_t (*playerGet)(const PlayerRecord&) = nullptr;
    std::uint32_t (*nonPlayerGet)(const NonPlayerRecord&) = nullptr;
    std::size_t codeCell = kNoCell; // a text column: the cell of its code column
};
HeaderCell headerCellFor(const PeopleColumn& column);

// Whether the cell holds the number the stored bits stand for, in the
// grammar of parseDecimal: an optional minus sign and digits, nothing else.
// Digit by digit here (a field holds at most ten), which is several times
// quicker than from_chars for cells of a few digits. False sends the cell
// to the reading that says what is wrong with it, if anything.
inline bool holdsValue(std::string_view cell, const PeopleColumn& column, std::uint32_t bits)
{
    const char* at = cell.data();
    const char* const end = at + cell.size();
    const bool negative = *at == '-'; // the cell is not empty
    at += negative ? 1 : 0;
    if (at == end || end - at > 10)
        return false;
    std::int64_t number = 0;
    for (; at != end; ++at) {
        const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
        if (digit > 9)
            return false;
        number = number * 10 + digit;
    }
    return (negative ? -number : number) == columnNumberOf(column, bits);
}

// For each record of the player or non-player table, whether more than one
// person links to it: only those records need their values checked across
// rows.
std::vector<std::uint8_t> sharedRecords(const GameDatabase& db, StaffTable table);

// What the rows so far set in the fields of one table's records, so that
// people who share a player or non-player record can be made to agree on
// every value of it. Sized on first use: a file without such columns
// needs none of it.
class SettingsOfTable {
public:
    struct Setting {
        std::uint32_t bits = 0;
        std::uint32_t line = 0; // 0: no row has set the field
    };

    Setting& at(const GameDatabase& db, const ValueKey& key)
    {
        const std::size_t fields = fieldCount(key.table);
        if (settings_.empty())
            settings_.resize(recordCount(db, key.table) * fields);
        return settings_[key.position * fields + key.field];
    }

private:
    std::vector<Setting> settings_;
};

} // namespace rostradb::cli
