#pragma once
// The filter language of the people table and of `rostradb-cli search`,
// `export --where` and `set`. A filter is terms separated by spaces; a
// person is listed when every term holds, so an empty filter lists
// everyone.
//
//   jon smi          words without an operator: part of the display name.
//                    Words next to each other are one part, as typed,
//                    spaces included ("jon smi"), so a plain text finds what
//                    the name search finds.
//   "a b"            a quoted text is one part of the display name too. A
//                    quote opens a quoted text only where a term or a value
//                    begins (inside a word it is a letter, as in names);
//                    "" inside quotes stands for one quote.
//   wages>=1000      a number column: = != < <= > >= and a decimal integer,
//                    compared with the value read as the field's type.
//   club:united      a text column (displayName, ...Text): ':' contains,
//   club="Real X"    '=' equals; the value may be quoted.
//
// Texts compare by the name search's rule: bytes, a..z without regard to
// case. A term on a player.* or nonPlayer.* column holds only for people
// whose classification leads to that record. Column names are those of the
// export in any case, or the short aliases of columnAliasHelp().
//
// Texts here are the game's bytes (Windows-1252); the window and the
// command line convert what the user typed.

#include "db/errors.h"
#include "db/game_database.h"
#include "people_columns.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

// A filter that cannot be read; the message names the term, e.g.
// "wages>x: a whole number is expected after >".
class FilterError : public DbError {
public:
    using DbError::DbError;
};

class PeopleFilter {
public:
    // The filter that lists everyone.
    PeopleFilter() = default;
    // Reads the filter; FilterError when it is malformed.
    static PeopleFilter parse(std::string_view text);
    // The filter as the user typed it, in UTF-8, read in the game's code
    // page; FilterError's message is UTF-8 too. A character that no text of
    // the game can hold is refused naming its term.
    static PeopleFilter parseTyped(std::string_view utf8);

    bool listsEveryone() const { return terms_.empty(); }
    // Whether every term holds for the person at `staffPosition`.
    bool matches(const GameDatabase& db, std::uint32_t staffPosition) const;
    // Whether a term reads the names of `table` (a ...Text column of it):
    // a load for this filter alone may leave the other tables out.
    bool readsNamesOf(LookupTable table) const;

    enum class Op : std::uint8_t { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Contains };
    struct Term {
        const PeopleColumn* column = nullptr; // displayName for a part of the name
        Op op = Op::Contains;
        std::string text;        // texts: the value, letters a..z in capitals
        std::int64_t number = 0; // numbers: the value
    };
    const std::vector<Term>& terms() const { return terms_; }

private:
    std::vector<Term> terms_;
};

// The positions of every person in the staff table the filter lists, in
// table order.
std::vector<std::uint32_t> matchingPeople(const GameDatabase& db, const PeopleFilter& filter);

// The filter language in a few lines, with the aliases, for help texts.
std::string filterHelp();

} // namespace rostradb
