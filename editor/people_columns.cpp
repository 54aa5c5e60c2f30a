#include "people_columns.h"

#include "db/record_layout.h"
#include "lookup_tables.h"
#include "person_links.h"
#include "staff_tables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>

namespace rostradb {

namespace {

// The staff fields whose positions a row also shows as text, in the order
// of their columns.
struct TextSource {
    std::string_view field;
    LookupTable lookup;
};
constexpr std::array<TextSource, 7> kTextSources{{
    {"firstName", LookupTable::FirstNames},
    {"secondName", LookupTable::SecondNames},
    {"commonName", LookupTable::CommonNames},
    {"nation", LookupTable::Nations},
    {"secondNation", LookupTable::Nations},
    {"nationContracted", LookupTable::Nations},
    {"clubContracted", LookupTable::Clubs},
}};

// Short names for the columns people filter by most.
struct Alias {
    std::string_view alias;
    std::string_view column;
};
constexpr std::array<Alias, 8> kAliases{{
    {"name", "displayName"},
    {"club", "clubContractedText"},
    {"country", "nationText"},
    {"class", "classification"},
    {"born", "birthYear"},
    {"ca", "player.currentAbility"},
    {"pa", "player.potentialAbility"},
    {"rep", "player.currentReputation"},
}};

constexpr char foldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return foldCase(x) == foldCase(y); });
}

template <class Record, std::size_t N>
void addFields(std::vector<PeopleColumn>& columns, StaffTable table, const std::array<Field<Record>, N>& layout)
{
    const std::string prefix = table == StaffTable::Staff ? std::string() : std::string(tableName(table)) + ".";
    for (std::size_t i = 0; i < N; ++i) {
        PeopleColumn c;
        c.kind = ColumnKind::Field;
        c.name = prefix + layout[i].name;
        c.table = table;
        c.field = static_cast<std::uint16_t>(i);
        c.width = layout[i].access.width;
        c.isSigned = layout[i].access.isSigned;
        c.writable = layout[i].saved;
        columns.push_back(std::move(c));
    }
}

std::uint16_t staffFieldIndex(std::string_view name)
{
    for (std::size_t i = 0; i < kStaffLayout.size(); ++i)
        if (name == kStaffLayout[i].name)
            return static_cast<std::uint16_t>(i);
    throw std::logic_error("no staff field " + std::string(name));
}

struct Catalogue {
    std::vector<PeopleColumn> columns;
    // Where each table's field columns start.
    std::array<std::size_t, 3> firstField{};
};

Catalogue buildCatalogue()
{
    Catalogue c;
    auto& columns = c.columns;
    columns.push_back({ColumnKind::Position, "position"});
    columns.push_back({ColumnKind::DisplayName, "displayName"});
    c.firstField[static_cast<std::size_t>(StaffTable::Staff)] = columns.size();
    addFields(columns, StaffTable::Staff, kStaffLayout);
    for (const TextSource& source : kTextSources) {
        PeopleColumn text;
        text.kind = ColumnKind::Text;
        text.name = std::string(source.field) + "Text";
        text.field = staffFieldIndex(source.field);
        text.lookup = source.lookup;
        columns.push_back(std::move(text));
    }
    c.firstField[static_cast<std::size_t>(StaffTable::Player)] = columns.size();
    addFields(columns, StaffTable::Player, kPlayerLayout);
    c.firstField[static_cast<std::size_t>(StaffTable::NonPlayer)] = columns.size();
    addFields(columns, StaffTable::NonPlayer, kNonPlayerLayout);
    return c;
}

const Catalogue& catalogue()
{
    static const Catalogue c = buildCatalogue();
    return c;
}

std::uint32_t fieldBits(const GameDatabase& db, StaffTable table, std::uint32_t record, std::uint16_t field)
{
    return staff_tables::visit(db, table, [&](const auto& layout, const auto& records, const auto&) {
        return layout[field].access.get(records[record]);
    });
}

} // namespace

std::int64_t PeopleColumn::lowest() const
{
    return isSigned ? -(std::int64_t{1} << (8 * width - 1)) : 0;
}

std::int64_t PeopleColumn::highest() const
{
    return isSigned ? (std::int64_t{1} << (8 * width - 1)) - 1 : (std::int64_t{1} << (8 * width)) - 1;
}

const std::vector<PeopleColumn>& peopleColumns() { return catalogue().columns; }

std::size_t columnIndex(const PeopleColumn& column)
{
    return static_cast<std::size_t>(&column - peopleColumns().data());
}

const PeopleColumn* findPeopleColumn(std::string_view name)
{
    for (const PeopleColumn& c : peopleColumns())
        if (sameIgnoringCase(c.name, name))
            return &c;
    for (const Alias& a : kAliases)
        if (sameIgnoringCase(a.alias, name))
            return columnNamed(a.column);
    return nullptr;
}

const PeopleColumn* columnNamed(std::string_view name)
{
    for (const PeopleColumn& c : peopleColumns())
        if (c.name == name)
            return &c;
    return nullptr;
}

const PeopleColumn& fieldColumn(StaffTable table, std::uint16_t field)
{
    const Catalogue& c = catalogue();
    if (field >= fieldCount(table))
        throw std::out_of_range("no such field");
    return c.columns[c.firstField[static_cast<std::size_t>(table)] + field];
}

std::string columnAliasHelp()
{
    std::string text;
    for (const Alias& a : kAliases) {
        text += "  ";
        text += a.alias;
        text.append(9 - std::min<std::size_t>(a.alias.size(), 8), ' ');
        text += a.column;
        text += '\n';
    }
    return text;
}

std::vector<std::string_view> aliasesOf(const PeopleColumn& column)
{
    std::vector<std::string_view> aliases;
    for (const Alias& a : kAliases)
        if (a.column == column.name)
            aliases.push_back(a.alias);
    return aliases;
}

std::string_view tableName(StaffTable table)
{
    switch (table) {
    case StaffTable::Player:
        return "player";
    case StaffTable::NonPlayer:
        return "nonPlayer";
    case StaffTable::Staff:
        break;
    }
    return "staff";
}

std::optional<StaffTable> tableNamed(std::string_view name)
{
    for (const StaffTable t : {StaffTable::Staff, StaffTable::NonPlayer, StaffTable::Player})
        if (tableName(t) == name)
            return t;
    return std::nullopt;
}

std::optional<ValueKey> columnKey(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column)
{
    if (column.kind != ColumnKind::Field)
        return std::nullopt;
    const std::optional<std::uint32_t> record = linkedRecord(db, staffPosition, column.table);
    if (!record)
        return std::nullopt;
    return ValueKey{column.table, *record, column.field};
}

bool hasColumn(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column)
{
    if (staffPosition >= db.staff.size())
        return false;
    return column.kind != ColumnKind::Field || column.table == StaffTable::Staff ||
           linkedRecord(db, staffPosition, column.table).has_value();
}

std::optional<std::int64_t> columnNumber(const GameDatabase& db, std::uint32_t staffPosition,
                                         const PeopleColumn& column)
{
    if (column.kind == ColumnKind::Position)
        return staffPosition < db.staff.size() ? std::optional<std::int64_t>(staffPosition) : std::nullopt;
    const std::optional<ValueKey> key = columnKey(db, staffPosition, column);
    if (!key)
        return std::nullopt;
    return columnNumberOf(column, fieldBits(db, key->table, key->position, key->field));
}

std::string_view columnText(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column)
{
    if (staffPosition >= db.staff.size())
        return {};
    const StaffRecord& person = db.staff[staffPosition];
    if (column.kind == ColumnKind::DisplayName)
        return person.displayName;
    if (column.kind != ColumnKind::Text)
        return {};
    return lookupText(db, column.lookup, kStaffLayout[column.field].access.get(person));
}

std::string cellText(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column)
{
    if (column.isText())
        return std::string(columnText(db, staffPosition, column));
    const std::optional<std::int64_t> number = columnNumber(db, staffPosition, column);
    return number ? std::to_string(*number) : std::string();
}

std::optional<std::uint32_t> bitsForNumber(const PeopleColumn& column, std::int64_t number)
{
    if (number < column.lowest() || number > column.highest())
        return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(number));
}

std::int64_t limitedToRange(const PeopleColumn& column, std::int64_t number)
{
    return std::clamp(number, column.lowest(), column.highest());
}

std::string rangeText(const PeopleColumn& column)
{
    return "must be a whole number from " + std::to_string(column.lowest()) + " to " +
           std::to_string(column.highest());
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
    constexpr auto kLimit = static_cast<std::uint64_t>(kBeyondEveryField);
    if (error == std::errc::result_out_of_range || magnitude > kLimit)
        magnitude = kLimit;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

} // namespace rostradb
