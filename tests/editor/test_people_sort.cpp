// Ordering people by a column on hand-built people: names alike in their
// first bytes and in other capitals, and people without the column.

#include "editor/people_sort.h"

#include "editor/database_builder.h"
#include "editor/person_links.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace rostradb
