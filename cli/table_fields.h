#pragma once
// The fields of the staff file's three tables as the command line sees
// them: walked from the record layouts, so each field's name, width and
// signedness are written once, in db/record_layout.h. A field is reached
// through its table and its index in that table's layout.

#include "db/game_database.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb::cli {

enum class Table { Staff, Player, NonPlayer };

// "staff", "player", "nonPlayer": the table names of diff, apply and show.
std::string_view tableName(Table table);
std::optional<Table> tableNamed(std::string_view name);

struct TableField {
    Table table;
    std::size_t index; // in the table's layout
    std::string_view name;
    std::uint8_t width; // bytes
    bool isSigned;
    bool saved; // false: kept in memory, never written back to the file
};

// Every field of the table, in file order.
const std::vector<TableField>& fieldsOf(Table table);
const TableField* findField(Table table, std::string_view name);

// Records the table holds in memory.
std::size_t recordCount(const GameDatabase& db, Table table);
// The field's raw bits in the record at `position` (inside the table).
std::uint32_t fieldBits(const GameDatabase& db, const TableField& field, std::size_t position);
void setFieldBits(GameDatabase& db, const TableField& field, std::size_t position, std::uint32_t bits);

// The bits of a `width`-byte field as the number they stand for: two's
// complement for a signed field, zero-extended otherwise.
constexpr std::int64_t numberFromBits(std::uint32_t bits, unsigned width, bool isSigned)
{
    const unsigned unused = 32 - 8 * width;
    if (!isSigned)
        return (bits << unused) >> unused;
    return static_cast<std::int32_t>(bits << unused) >> unused;
}
std::int64_t fieldNumber(const TableField& field, std::uint32_t bits);
// The number's bits, or nullopt when the field's range does not hold it.
std::optional<std::uint32_t> bitsForNumber(const TableField& field, std::int64_t number);

// The number in decimal, as export, diff and show write it.
std::string formatField(const TableField& field, std::uint32_t bits);
// Strict reading of a decimal integer: an optional minus sign, then digits
// only, no spaces; nullopt when the text is no such number.
std::optional<std::int64_t> parseDecimal(std::string_view text);
// What a value outside the field's range is told: "must be between A and B".
std::string rangeText(const TableField& field);

} // namespace rostradb::cli
