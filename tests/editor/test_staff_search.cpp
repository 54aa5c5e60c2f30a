#include "editor/staff_search.h"

#include "db/errors.h"
#include "editor/database_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace rostradb {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<StaffRecord> staffNamed(std::vector<std::string> names)
{
    std::vector<StaffRecord> staff(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        staff[i].displayName = names[i];
    return staff;
}

TableDirectory announcing(std::uint32_t lastIndex)
{
    return testing::directoryWith({{entry::kStaff, lastIndex}});
}

// Windows-1252: small e acute is 0xE9, capital 0xC9.
const std::vector<StaffRecord> kPeople = staffNamed({
    "Smith", "Jon Smithers", "SMIT", "", "Jos\xE9 Ruiz", "JOS\xE9 ALBA", "JOS\xC9 PRADO", "Jon Smithers",
    "Alan Research Formby",
});
const TableDirectory kDirectory = announcing(8);

std::vector<std::size_t> found(std::string_view text)
{
    std::vector<std::size_t> positions;
    for (const auto& hit : searchStaff(text, kPeople, kDirectory)) {
        EXPECT_EQ(hit.displayName.data(), kPeople[hit.position].displayName.data()) << "not the record's own text";
        positions.push_back(hit.position);
    }
    return positions;
}

TEST(StaffSearch, MatchesAnywhereIgnoringTheCaseOfAToZOnly)
{
    EXPECT_THAT(found("smi"), ElementsAre(0, 1, 2, 7)); // duplicates stay, in table order
    EXPECT_THAT(found("SMITH"), ElementsAre(0, 1, 7));
    EXPECT_THAT(found("n s"), ElementsAre(1, 7)); // across the space between the names
    EXPECT_THAT(found("ers"), ElementsAre(1, 7));
    EXPECT_THAT(found("jos\xE9"), ElementsAre(4, 5)); // accented letters keep their case
    EXPECT_THAT(found("jos\xC9"), ElementsAre(6));
    EXPECT_THAT(found("search for"), ElementsAre(8));
}

TEST(StaffSearch, FindsNothingForEmptyTextMissingTextOrAnEmptyName)
{
    EXPECT_THAT(found(""), IsEmpty());
    EXPECT_THAT(found("Smythe"), IsEmpty());
    EXPECT_THAT(found("Alan Research Formby Junior"), IsEmpty());
    for (std::string_view text : {" ", "s", "\xE9"})
        EXPECT_THAT(found(text), ::testing::Not(::testing::Contains(3u))) << text;
}

std::string errorOf(const std::vector<StaffRecord>& staff, const TableDirectory& directory)
{
    try {
        searchStaff("lee", staff, directory);
    } catch (const DbError& e) {
        return e.what();
    }
    return "no error";
}

// The directory, not the table, says how many records are searched.
TEST(StaffSearch, ExaminesThePositionsTheDirectoryAnnounces)
{
    const auto lees = staffNamed({"Ann Lee", "Bo Lee", "Cy Lee"});
    std::vector<std::size_t> positions;
    for (const auto& hit : searchStaff("lee", lees, announcing(1)))
        positions.push_back(hit.position);
    EXPECT_THAT(positions, ElementsAre(0, 1));

    EXPECT_EQ(errorOf({}, announcing(0)), "List index out of bounds (0)"); // nothing loaded
    EXPECT_EQ(errorOf(lees, announcing(4)), "List index out of bounds (3)"); // a load that stopped early
    EXPECT_EQ(errorOf(lees, announcing(0x10002)), "List index out of bounds (3)"); // all 32 bits count
    EXPECT_EQ(errorOf(lees, TableDirectory{}), "List index out of bounds (7)");     // no directory read
    EXPECT_EQ(errorOf(lees, testing::directoryWith({}, 7)), "List index out of bounds (7)");
}

TEST(StaffSearch, KeepsWhoWasFoundBeforeAMissingRecord)
{
    const auto lees = staffNamed({"Ann Lee", "Bo Ray", "Cy Lee"});
    std::vector<SearchHit> hits;
    EXPECT_THROW(searchStaff("lee", lees, announcing(5), hits), DbError);
    std::vector<std::size_t> positions;
    for (const auto& hit : hits)
        positions.push_back(hit.position);
    EXPECT_THAT(positions, ElementsAre(0, 2));
}

} // namespace
} // namespace rostradb
