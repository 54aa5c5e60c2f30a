#include "table_fields.h"

#include "db/record_layout.h"

#include <charconv>
#include <limits>

namespace rostradb::cli {

namespace {

template <std::size_t N, class Record>
std::vector<TableField> describe(Table table, const std::array<Field<Record>, N>& layout)
{
    std::vector<TableField> fields;
    fields.reserve(N);
    for (std::size_t i = 0; i < N; ++i) {
        const auto& f = layout[i];
        fields.push_back({table, i, f.name, f.access.width, f.access.isSigned, f.saved});
    }
    return fields;
}

struct Range {
    std::int64_t lowest;
    std::int64_t highest;
};

Range rangeOf(const TableField& field)
{
    const unsigned bits = 8u * field.width;
    if (field.isSigned)
        return {-(std::int64_t{1} << (bits - 1)), (std::int64_t{1} << (bits - 1)) - 1};
    return {0, (std::int64_t{1} << bits) - 1};
}

} // namespace

std::string_view tableName(Table table)
{
    switch (table) {
    case Table::Staff:
        return "staff";
    case Table::Player:
        return "player";
    case Table::NonPlayer:
        return "nonPlayer";
    }
    return {};
}

std::optional<Table> tableNamed(std::string_view name)
{
    for (const Table t : {Table::Staff, Table::Player, Table::NonPlayer})
        if (tableName(t) == name)
            return t;
    return std::nullopt;
}

const std::vector<TableField>& fieldsOf(Table table)
{
    static const std::vector<TableField> staff = describe(Table::Staff, kStaffLayout);
    static const std::vector<TableField> players = describe(Table::Player, kPlayerLayout);
    static const std::vector<TableField> nonPlayers = describe(Table::NonPlayer, kNonPlayerLayout);
    switch (table) {
    case Table::Staff:
        return staff;
    case Table::Player:
        return players;
    case Table::NonPlayer:
        break;
    }
    return nonPlayers;
}

const TableField* findField(Table table, std::string_view name)
{
    for (const TableField& f : fieldsOf(table))
        if (f.name == name)
            return &f;
    return nullptr;
}

std::size_t recordCount(const GameDatabase& db, Table table)
{
    switch (table) {
    case Table::Staff:
        return db.staff.size();
    case Table::Player:
        return db.players.size();
    case Table::NonPlayer:
        break;
    }
    return db.nonPlayers.size();
}

std::uint32_t fieldBits(const GameDatabase& db, const TableField& field, std::size_t position)
{
    switch (field.table) {
    case Table::Staff:
        return kStaffLayout[field.index].access.get(db.staff[position]);
    case Table::Player:
        return kPlayerLayout[field.index].access.get(db.players[position]);
    case Table::NonPlayer:
        break;
    }
    return kNonPlayerLayout[field.index].access.get(db.nonPlayers[position]);
}

void setFieldBits(GameDatabase& db, const TableField& field, std::size_t position, std::uint32_t bits)
{
    switch (field.table) {
    case Table::Staff:
        kStaffLayout[field.index].access.set(db.staff[position], bits);
        return;
    case Table::Player:
        kPlayerLayout[field.index].access.set(db.players[position], bits);
        return;
    case Table::NonPlayer:
        kNonPlayerLayout[field.index].access.set(db.nonPlayers[position], bits);
        return;
    }
}

std::int64_t fieldNumber(const TableField& field, std::uint32_t bits)
{
    return numberFromBits(bits, field.width, field.isSigned);
}

std::optional<std::uint32_t> bitsForNumber(const TableField& field, std::int64_t number)
{
    const Range r = rangeOf(field);
    if (number < r.lowest || number > r.highest)
        return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(number));
}

std::string formatField(const TableField& field, std::uint32_t bits)
{
    return std::to_string(fieldNumber(field, bits));
}

std::optional<std::int64_t> parseDecimal(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    // from_chars would take a leading minus of its own; digits only here.
    if (digits.empty() || digits.front() < '0' || digits.front() > '9')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (end != digits.data() + digits.size())
        return std::nullopt;
    // Anything past 2^62 lies outside every field: it is only "too large".
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 62;
    if (error == std::errc::result_out_of_range || magnitude > kLimit)
        magnitude = kLimit;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

std::string rangeText(const TableField& field)
{
    const Range r = rangeOf(field);
    return "must be a whole number from " + std::to_string(r.lowest) + " to " + std::to_string(r.highest);
}

} // namespace rostradb::cli
