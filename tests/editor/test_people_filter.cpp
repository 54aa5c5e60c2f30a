// The column catalogue and the filter language on hand-built people: one
// person of each classification, values at the edges of each field's width.

#include "editor/people_filter.h"
#include "editor/people_sort.h"

#include "editor/database_builder.h"
#include "editor/person_links.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace rostradb {
namespace {

const PeopleColumn& column(std::string_view name)
{
    const PeopleColumn* c = columnNamed(name);
    if (!c)
        throw std::logic_error("no column " + std::string(name));
    return *c;
}

void setNumber(GameDatabase& db, std::uint32_t person, std::string_view name, std::int64_t number)
{
    const PeopleColumn& c = column(name);
    const ValueKey key{c.table, person, c.field}; // person k owns attribute records k
    setValue(db, key, *bitsForNumber(c, number));
}

// Person 0 a player, 1 a non-player, 2 both, 3 neither (classification 0),
// each with attribute records of their own at their own position.
class PeopleFilterTest : public ::testing::Test {
protected:
    PeopleFilterTest() : db(testing::peopleDatabase({kPlayer, kNonPlayer, kNonPlayerAndPlayer, 0}))
    {
        db.staff[0].displayName = "Jon Smithers";
        db.staff[1].displayName = "SMIT \"Jr\"";
        db.staff[2].displayName = "Jos\xE9 Luis"; // é in the game's code page
        db.staff[3].displayName = "";
        const std::vector<std::pair<std::string_view, std::vector<std::int64_t>>> values{
            {"staffId", {-5, 7, 2147483647, -2147483648LL}},
            {"wages", {4294967295LL, 0, 1000, 1000}},
            {"birthYear", {65535, 1980, 1981, 0}},
            {"internationalCaps", {255, 0, 1, 2}},
            {"clubContracted", {1, kNoneMarker, 2, 3}},
            // The record's own value, read only where the classification leads.
            {"player.pace", {200, 10, 5, 255}},
            {"player.currentAbility", {65535, 1, 2, 3}},
            {"nonPlayer.extraValues[0]", {0, -1, 2, -3}},
        };
        for (const auto& [name, numbers] : values)
            for (std::uint32_t person = 0; person < numbers.size(); ++person)
                setNumber(db, person, name, numbers[person]);
    }

    // The whole table's pass and the check of one person must agree.
    std::vector<std::uint32_t> listed(std::string_view text) const
    {
        const PeopleFilter filter = PeopleFilter::parse(text);
        std::vector<std::uint32_t> oneByOne;
        for (std::uint32_t p = 0; p < db.staff.size(); ++p)
            if (filter.matches(db, p))
                oneByOne.push_back(p);
        const std::vector<std::uint32_t> all = matchingPeople(db, filter);
        EXPECT_EQ(all, oneByOne) << text;
        return all;
    }

    GameDatabase db;
};

TEST_F(PeopleFilterTest, ListsThePeopleForWhomEveryTermHolds)
{
    const std::vector<std::pair<std::string, std::vector<std::uint32_t>>> cases{
        {"", {0, 1, 2, 3}},
        {"   ", {0, 1, 2, 3}},
        // Parts of the name, as the name search finds them.
        {"smi", {0, 1}},
        {"n s", {0}},
        {"N  S", {}}, // two spaces are part of the text as typed
        {"jon wages>1 smi", {0}},
        {"\"n s\"", {0}},
        {"jos\xE9", {2}},
        {"JOS\xC9", {}}, // no folding beyond a..z
        {"displayName=\"\"", {3}},
        {"name:SMIT", {0, 1}},
        {"displayname=\"smit \"\"jr\"\"\"", {1}}, // a doubled quote inside quotes is one quote
        {"T \"Jr\"", {1}},
        {"r\"", {1}}, // inside a word a quote is a letter
        // Numbers read as the field's type, signed 32-bit and unsigned of each width.
        {"staffId<0", {0, 3}},
        {"staffId=-2147483648", {3}},
        {"STAFFID>=2147483647", {2}},
        {"wages>4294967294", {0}},
        {"wages=1000 birthYear!=1981", {3}},
        {"wages=\"1000\"", {2, 3}},
        {"born<1981", {1, 3}},
        {"birthYear=65535", {0}},
        {"internationalCaps>=255", {0}},
        {"position>=2", {2, 3}},
        // Attribute columns only where the classification leads.
        {"player.pace>=5", {0, 2}},
        {"player.pace!=200", {2}},
        {"ca=65535", {0}},
        {"nonPlayer.extraValues[0]<0", {1}},
        {"nonPlayer.extraValues[0]>=-3", {1, 2}},
        // Texts of positions; the none marker names nothing.
        {"club:club1", {0}},
        {"clubContractedText=CLUB2", {2}},
        {"club=\"Club3\"", {3}},
        {"clubContractedText=", {1}},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(listed(filter), expected) << filter;
}

TEST_F(PeopleFilterTest, MalformedFiltersAreRefusedNamingTheTerm)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"jon nope=5", "\"nope=5\": unknown column nope"},
        {"wages>x", "\"wages>x\": a whole number is expected after >"},
        {"wages>=", "\"wages>=\": a whole number is expected after >="},
        {"wages=1.5", "\"wages=1.5\""},
        {"wages:5", "\"wages:5\": wages is a number"},
        {"club<x", "\"club<x\": clubContractedText is a text"},
        {"club:", "\"club:\": a text is expected after :"},
        {"jon \"\"", "\"\"\"\": a text is expected between the quotes"},
        {"jon \"smi", "\"\"smi\": the quote is not closed"},
        {"club:\"a b", "\"club:\"a b\": the quote is not closed"},
        {"=5", "\"=5\": a column name is expected before ="},
        {"wages!5", "\"wages!5\": unknown operator !"},
        {"\"ab\"c", "\"\"ab\"c\": a quoted text must end"},
        {"club:\"a\"b", "a quoted text must end"},
    };
    for (const auto& [filter, message] : cases) {
        try {
            PeopleFilter::parse(filter);
            ADD_FAILURE() << filter << " was read";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << filter << ": " << e.what();
        }
    }
}

TEST_F(PeopleFilterTest, ColumnsSayWhoHasThemAndReadTheirValues)
{
    const PeopleColumn& pace = column("player.pace");
    const PeopleColumn& ability = column("nonPlayer.currentAbility");
    std::vector<bool> hasPace, hasAbility;
    for (std::uint32_t p = 0; p < 4; ++p) {
        hasPace.push_back(hasColumn(db, p, pace));
        hasAbility.push_back(hasColumn(db, p, ability));
    }
    EXPECT_EQ(hasPace, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(hasAbility, (std::vector<bool>{false, true, true, false}));
    // A link outside its table: no record, whatever the classification.
    db.staff[2].playerId = 4;
    EXPECT_FALSE(hasColumn(db, 2, pace));

    EXPECT_EQ(cellText(db, 0, column("staffId")), "-5");
    EXPECT_EQ(cellText(db, 1, pace), "");
    EXPECT_EQ(cellText(db, 0, column("clubContractedText")), "Club1");
    EXPECT_EQ(cellText(db, 1, column("clubContractedText")), "");
    EXPECT_EQ(columnNumber(db, 3, column("position")), 3);
}

TEST_F(PeopleFilterTest, SortsNumbersAsTheirTypeAndTextsByTheSearchsRule)
{
    const std::vector<std::tuple<std::string, bool, std::vector<std::uint32_t>>> cases{
        {"staffId", false, {3, 0, 1, 2}}, // signed
        {"wages", true, {0, 2, 3, 1}},    // stable among equals
        {"displayName", false, {3, 0, 2, 1}}, // "", "Jon ...", "José ...", "SMIT ..."
        {"player.pace", false, {2, 0, 1, 3}}, // people without the record last
        {"player.pace", true, {0, 2, 1, 3}},
    };
    for (const auto& [name, descending, expected] : cases) {
        std::vector<std::uint32_t> people{0, 1, 2, 3};
        sortPeople(db, people, column(name), descending);
        EXPECT_EQ(people, expected) << name << (descending ? " descending" : "");
    }
    EXPECT_LT(compareFolded("a", "B"), 0); // by bytes 'a' comes after 'B'
    EXPECT_EQ(compareFolded("jos\xE9", "JOS\xE9"), 0);
    EXPECT_NE(compareFolded("\xE9", "\xC9"), 0); // é and É stay apart
}

TEST(PeopleColumns, OneColumnPerFieldWithTheExportsNames)
{
    const auto& columns = peopleColumns();
    std::set<std::string> folded;
    for (const PeopleColumn& c : columns) {
        std::string f = c.name;
        for (char& ch : f)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_TRUE(folded.insert(f).second) << c.name << " is not unique in any case";
        EXPECT_EQ(findPeopleColumn(f), &c);
        if (c.kind == ColumnKind::Field) {
            EXPECT_EQ(&fieldColumn(c.table, c.field), &c) << c.name;
        }
    }
    EXPECT_EQ(columns.size(), 2 + fieldCount(StaffTable::Staff) + 7 + fieldCount(StaffTable::Player) +
                                  fieldCount(StaffTable::NonPlayer));
    EXPECT_EQ(columns[0].name, "position");
    EXPECT_EQ(columns[2].name, "staffId");
    EXPECT_EQ(column("clubContractedText").lookup, LookupTable::Clubs);
    EXPECT_EQ(findPeopleColumn("club"), &column("clubContractedText"));
    // A full name is never shadowed by an alias.
    EXPECT_EQ(findPeopleColumn("nation"), &column("nation"));
    EXPECT_EQ(columnNamed("WAGES"), nullptr);

    std::set<std::string> writableNot;
    for (const PeopleColumn& c : columns)
        if (!c.writable)
            writableNot.insert(c.name);
    EXPECT_EQ(writableNot.size(), 3u + 2 + 7); // the links, position, displayName, the texts
    EXPECT_TRUE(writableNot.count("playerId"));
}

TEST(PeopleColumns, RangesFollowWidthAndSignedness)
{
    // Signedness comes from the records' member types: the 32-bit integers.
    std::set<std::string> signedColumns;
    for (const PeopleColumn& c : peopleColumns())
        if (c.isSigned)
            signedColumns.insert(c.name);
    std::set<std::string> expected{"staffId", "playerId", "extraIndex", "nonPlayerId", "player.recordId",
                                   "nonPlayer.recordId"};
    for (int set = 1; set <= 4; ++set)
        for (int i = 0; i < 3; ++i)
            expected.insert("preferenceSet" + std::to_string(set) + "[" + std::to_string(i) + "]");
    for (int i = 0; i < 8; ++i)
        expected.insert("nonPlayer.extraValues[" + std::to_string(i) + "]");
    EXPECT_EQ(signedColumns, expected);

    const std::vector<std::tuple<std::string, std::int64_t, std::int64_t>> cases{
        {"internationalCaps", 0, 255},
        {"birthYear", 0, 65535},
        {"wages", 0, 4294967295LL},
        {"staffId", -2147483648LL, 2147483647},
        {"player.recordId", -2147483648LL, 2147483647},
        {"nonPlayer.currentAbility", 0, 65535},
    };
    for (const auto& [name, lowest, highest] : cases) {
        const PeopleColumn& c = column(name);
        EXPECT_EQ(c.lowest(), lowest) << name;
        EXPECT_EQ(c.highest(), highest) << name;
        EXPECT_EQ(columnNumberOf(c, *bitsForNumber(c, lowest)), lowest) << name;
        EXPECT_EQ(bitsForNumber(c, highest + 1), std::nullopt) << name;
        EXPECT_EQ(bitsForNumber(c, lowest - 1), std::nullopt) << name;
    }
    EXPECT_EQ(parseDecimal("-12"), -12);
    EXPECT_EQ(parseDecimal("007"), 7);
    EXPECT_GT(parseDecimal("99999999999999999999999").value_or(0), 4294967295LL);
    for (const char* text : {"", "-", "+5", " 5", "5 ", "1.0", "0x10", "--1", "12a"})
        EXPECT_EQ(parseDecimal(text), std::nullopt) << '"' << text << '"';
}

} // namespace
} // namespace rostradb
