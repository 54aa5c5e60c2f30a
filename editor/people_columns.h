#pragma once
// The columns of the people table: one row per person, the same columns in
// the same order wherever people are listed (the export's CSV, the window's
// table, `show`) and the names the filter, import and `set` take.
//
//   position, displayName,
//   every field of the general record in file order (staffId .. nonPlayerId),
//   the seven ...Text columns: the names the name, nation and club positions
//     stand for,
//   player.* and nonPlayer.*: the fields of the records the classification
//     leads to.
//
// A field column is walked from db/record_layout.h, so its name, width and
// signedness are written once. Texts are the game's own bytes (Windows-1252);
// converting them is the business of the window and the command line.

#include "db/game_database.h"
#include "field_change.h"
#include "form_controls.h"
#include "staff_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

enum class ColumnKind : std::uint8_t {
    Position,    // the person's position in the staff table (a number)
    DisplayName, // the built name (a text)
    Field,       // a field of the staff, player or non-player record (a number)
    Text,        // the name a staff field's position stands for (a text)
};

struct PeopleColumn {
    ColumnKind kind = ColumnKind::Position;
    std::string name; // "wages", "player.currentAbility", "clubContractedText"
    // Field: the field's table and index in that table's layout. Text: the
    // staff field that holds the position the text stands for.
    StaffTable table = StaffTable::Staff;
    std::uint16_t field = 0;
    std::uint8_t width = 4; // bytes of the stored value (Position: 4)
    bool isSigned = false;
    // Field columns Save writes: everything but the three links at the end
    // of the general record, which the file keeps as its own bytes.
    bool writable = false;
    LookupTable lookup = LookupTable::Nations; // Text: the table it names a record of

    bool isNumber() const { return kind == ColumnKind::Position || kind == ColumnKind::Field; }
    bool isText() const { return !isNumber(); }
    // The lowest and highest number the stored value holds.
    std::int64_t lowest() const;
    std::int64_t highest() const;
};

// Every column, in the export's order.
const std::vector<PeopleColumn>& peopleColumns();
// The column's place in peopleColumns().
std::size_t columnIndex(const PeopleColumn& column);
// By its name in any letter case, or by one of the short aliases (a full
// name always wins); nullptr when there is no such column. The filter's rule.
const PeopleColumn* findPeopleColumn(std::string_view name);
// By its exact name only: the rule of files (import's header, patches).
const PeopleColumn* columnNamed(std::string_view name);
// The column of a field: every field of the three tables has one.
const PeopleColumn& fieldColumn(StaffTable table, std::uint16_t field);
// The column that shows the value the key names.
inline const PeopleColumn& fieldColumn(const ValueKey& key) { return fieldColumn(key.table, key.field); }

// The aliases, one "alias  column" line each, for help texts.
std::string columnAliasHelp();
// The short names that stand for the column (none for most).
std::vector<std::string_view> aliasesOf(const PeopleColumn& column);

// "staff", "player", "nonPlayer": the tables' names in the column names,
// diff and patches.
std::string_view tableName(StaffTable table);
std::optional<StaffTable> tableNamed(std::string_view name);

// Whether the person at `staffPosition` has a value in the column: always
// for position, the name, staff fields and texts; for player.* and
// nonPlayer.* only when the classification leads to that record and the
// link lies inside its table.
bool hasColumn(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column);
// The value of a Field column as a key, when the person has it.
std::optional<ValueKey> columnKey(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column);

// A number column's value for the person, read as the field's type (signed
// where the field is); none when the person does not have the column.
std::optional<std::int64_t> columnNumber(const GameDatabase& db, std::uint32_t staffPosition,
                                         const PeopleColumn& column);
// A text column's value for the person, in the game's bytes (empty for a
// position outside its table, such as the none marker).
std::string_view columnText(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column);
// Either, as the cell shows it: a number in decimal, a text in the game's
// bytes; empty when the person does not have the column.
std::string cellText(const GameDatabase& db, std::uint32_t staffPosition, const PeopleColumn& column);

// The bits of a `width`-byte value as the number they stand for: two's
// complement for a signed field, zero-extended otherwise.
constexpr std::int64_t numberFromBits(std::uint32_t bits, unsigned width, bool isSigned)
{
    const unsigned unused = 32 - 8 * width;
    if (!isSigned)
        return (bits << unused) >> unused;
    return static_cast<std::int32_t>(bits << unused) >> unused;
}
inline std::int64_t columnNumberOf(const PeopleColumn& column, std::uint32_t bits)
{
    return numberFromBits(bits, column.width, column.isSigned);
}
// The number's bits, or none when the column's range does not hold it.
std::optional<std::uint32_t> bitsForNumber(const PeopleColumn& column, std::int64_t number);
// The number limited to the column's range: never wrapped.
std::int64_t limitedToRange(const PeopleColumn& column, std::int64_t number);
// "must be a whole number from A to B"
std::string rangeText(const PeopleColumn& column);

// Strict reading of a decimal integer: an optional minus sign, then digits
// only, no spaces; none when the text is no such number. Numbers far
// outside every field come back as +-kBeyondEveryField, out of range for all
// of them; a caller that shows or adds the number refuses those (it is not
// the number typed).
inline constexpr std::int64_t kBeyondEveryField = std::int64_t{1} << 62;
std::optional<std::int64_t> parseDecimal(std::string_view text);
inline bool isBeyondEveryField(std::int64_t number)
{
    return number >= kBeyondEveryField || number <= -kBeyondEveryField;
}

} // namespace rostradb
