// Ordering people by a column on hand-built people: names alike in their
// first bytes and in other capitals, and people without the column.

#include "editor/people_sort.h"

#include "editor/database_builder.h"
#include "editor/person_links.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace rostradb {
namespace {

TEST(PeopleSort, TextsAndNumbersBothWays)
{
    // 0 a player, 1 a non-player, 2 both, 3 neither.
    GameDatabase db = testing::peopleDatabase({kPlayer, kNonPlayer, kNonPlayerAndPlayer, 0});
    db.staff[0].displayName = "Smithers Jon";
    db.staff[1].displayName = "SMITHERS ann"; // the same first eight letters as 0 and 3
    db.staff[2].displayName = "Smith";
    db.staff[3].displayName = "smithers";
    const PeopleColumn& pace = *columnNamed("player.pace");
    setValue(db, {pace.table, 0, pace.field}, 200);
    setValue(db, {pace.table, 2, pace.field}, 5);

    struct Case {
        const char* column;
        bool descending;
        std::vector<std::uint32_t> from;
        std::vector<std::uint32_t> sorted;
    };
    const Case cases[] = {
        {"displayName", false, {0, 1, 2, 3}, {2, 3, 1, 0}},
        {"displayName", true, {0, 1, 2, 3}, {0, 1, 3, 2}},
        {"displayName", false, {3, 0, 2}, {2, 3, 0}},
        // Without a player record: last either way, in the order they came.
        {"player.pace", false, {3, 1, 0, 2}, {2, 0, 3, 1}},
        {"player.pace", true, {1, 3, 2, 0}, {0, 2, 1, 3}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> people = c.from;
        sortPeople(db, people, *columnNamed(c.column), c.descending);
        EXPECT_EQ(people, c.sorted) << c.column << (c.descending ? " descending" : "");
    }
}

// Names built from a few pieces, so that many share their first eight or
// sixteen bytes, differ only in capitals, or are equal: the order is the one
// a stable sort by compareFolded gives, both ways, from any order of rows.
TEST(PeopleSort, NamesAlikeInTheirFirstBytesSortAsAStableSortByTheWholeText)
{
    // Beside a..z; a..z and A..Z with the top bit set.
    const char* pieces[] = {"",   "a",    "B",  "Smithers", "SMITHERS", "Smithersonians ", "smithersonians x",
                            "zz", "\xe9", "`{", "@[",       "\xe1\xfa", "\xc1\xda"};
    GameDatabase db = testing::peopleDatabase({0});
    db.staff.resize(600);
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (StaffRecord& person : db.staff) {
        person.displayName.clear();
        for (int part = 0; part < 3; ++part)
            person.displayName += pieces[next() % std::size(pieces)];
    }
    // Everyone, read in table order; and every fifth, read row by row.
    std::vector<std::uint32_t> everyone(db.staff.size()), fifth;
    for (std::uint32_t i = 0; i < everyone.size(); ++i)
        everyone[i] = (i * 7919u) % static_cast<std::uint32_t>(everyone.size());
    for (std::uint32_t i = 0; i < everyone.size(); i += 5)
        fifth.push_back(everyone[i]);
    for (const auto& [rows, backwards] :
         {std::pair{everyone, false}, std::pair{everyone, true}, std::pair{fifth, false}, std::pair{fifth, true}}) {
        const std::vector<std::uint32_t>& from = rows; // a lambda takes no structured binding in clang 14
        const bool descending = backwards;
        std::vector<std::uint32_t> expected = from;
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int c = compareFolded(db.staff[a].displayName, db.staff[b].displayName);
            return descending ? c > 0 : c < 0;
        });
        std::vector<std::uint32_t> people = from;
        sortPeople(db, people, *columnNamed("displayName"), descending);
        EXPECT_EQ(people, expected) << (descending ? "descending" : "ascending");
    }
}

} // namespace
} // namespace rostradb
