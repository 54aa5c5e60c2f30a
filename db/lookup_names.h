#pragma once
// The names of the nation, club and name records as data the user may change.
// A name is the 51-byte field of its record: text in the game's code page
// (Windows-1252) ended by the first zero byte when shorter. A new name is
// stored as its bytes and one zero byte; the bytes after that zero are not
// read by the game and keep what the file held, so a rename never invents a
// byte. Nothing else of the record changes.

#include "game_database.h"
#include "table_directory.h"

#include <array>
#include <compare>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rostradb {

// The five tables a name, nation or club position leads into.
enum class LookupTable : std::uint8_t { Nations, FirstNames, SecondNames, CommonNames, Clubs };

using NameField = std::array<std::uint8_t, kNameFieldBytes>;

// The name of one record of one lookup table.
struct NameKey {
    LookupTable table = LookupTable::Nations;
    std::uint32_t position = 0;

    auto operator<=>(const NameKey&) const = default;
};

// The records of `table` (a vector of NationRecord, NameRecord or
// ClubRecord, const when `db` is), handed to `use`.
template <class Db, class Use>
decltype(auto) withLookupTable(Db& db, LookupTable table, Use use)
{
    switch (table) {
    case LookupTable::FirstNames:
        return use(db.firstNames);
    case LookupTable::SecondNames:
        return use(db.secondNames);
    case LookupTable::CommonNames:
        return use(db.commonNames);
    case LookupTable::Clubs:
        return use(db.clubs);
    case LookupTable::Nations:
        break;
    }
    return use(db.nations);
}

// Where index.dat's directory places `table`.
constexpr std::size_t lookupDirectoryEntry(LookupTable table)
{
    switch (table) {
    case LookupTable::FirstNames:
        return entry::kFirstNames;
    case LookupTable::SecondNames:
        return entry::kSecondNames;
    case LookupTable::CommonNames:
        return entry::kCommonNames;
    case LookupTable::Clubs:
        return entry::kClubs;
    case LookupTable::Nations:
        break;
    }
    return entry::kNations;
}

// Records in the table.
std::size_t lookupCount(const GameDatabase& db, LookupTable table);

// The record's 51 name bytes in memory; "List index out of bounds (N)" when
// the table does not hold the position.
std::span<std::uint8_t, kNameFieldBytes> nameBytes(GameDatabase& db, const NameKey& key);
std::span<const std::uint8_t, kNameFieldBytes> nameBytes(const GameDatabase& db, const NameKey& key);

// The field as the file held it at the last load or save: the copy kept when
// the name was first changed, else the field in memory.
NameField fileNameField(const GameDatabase& db, const NameKey& key);

// The field holding `text` (game bytes, at most 51, no zero byte) over
// `field`: the text, one zero byte when shorter, the rest of `field` as it was.
NameField withNameText(const NameField& field, std::string_view text);

// The game's bytes of a name typed as UTF-8. Refuses, naming what is wrong,
// a character the code page cannot hold ("The character "ā" (U+0101) is not
// in the game's character set (Windows-1252)"), a zero character, text that
// is not UTF-8, and a name of more than 51 bytes.
std::string nameTextFromUtf8(std::string_view utf8);

// Puts `field` into the record's name, keeping the file's copy of the field
// the first time it changes. The caller rebuilds what shows the name.
void storeNameField(GameDatabase& db, const NameKey& key, const NameField& field);

// "nation", "first name", "second name", "common name", "club".
const char* lookupWord(LookupTable table);

} // namespace rostradb
