// Field values as the command line reads and writes them: signedness comes
// from the record's member types, reading is strict and range-checked.

#include "cli/staff_columns.h"
#include "cli/table_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace rostradb::cli {
namespace {

std::set<std::string> signedFields(Table table)
{
    std::set<std::string> names;
    for (const TableField& f : fieldsOf(table))
        if (f.isSigned)
            names.insert(std::string(f.name));
    return names;
}

TEST(TableFields, TheThirtyTwoBitIntegersAreTheSignedOnes)
{
    EXPECT_EQ(signedFields(Table::Staff),
              (std::set<std::string>{"staffId", "preferenceSet1[0]", "preferenceSet1[1]", "preferenceSet1[2]",
                                     "preferenceSet2[0]", "preferenceSet2[1]", "preferenceSet2[2]",
                                     "preferenceSet3[0]", "preferenceSet3[1]", "preferenceSet3[2]",
                                     "preferenceSet4[0]", "preferenceSet4[1]", "preferenceSet4[2]", "playerId",
                                     "extraIndex", "nonPlayerId"}));
    EXPECT_EQ(signedFields(Table::Player), (std::set<std::string>{"recordId"}));
    EXPECT_EQ(signedFields(Table::NonPlayer),
              (std::set<std::string>{"recordId", "extraValues[0]", "extraValues[1]", "extraValues[2]",
                                     "extraValues[3]", "extraValues[4]", "extraValues[5]", "extraValues[6]",
                                     "extraValues[7]"}));
}

TEST(TableFields, NumbersFillTheirFieldsRangeExactly)
{
    const TableField& staffId = *findField(Table::Staff, "staffId");
    const TableField& wages = *findField(Table::Staff, "wages");
    const TableField& birthYear = *findField(Table::Staff, "birthYear");
    const TableField& pace = *findField(Table::Player, "pace");

    EXPECT_EQ(formatField(staffId, 0xFFFFFFFFu), "-1");
    EXPECT_EQ(formatField(staffId, 0x80000000u), "-2147483648");
    EXPECT_EQ(formatField(wages, 0xFFFFFFFFu), "4294967295");

    EXPECT_EQ(bitsForNumber(staffId, -2147483648LL), 0x80000000u);
    EXPECT_EQ(bitsForNumber(staffId, 2147483648LL), std::nullopt);
    EXPECT_EQ(bitsForNumber(wages, 4294967295LL), 0xFFFFFFFFu);
    EXPECT_EQ(bitsForNumber(wages, -1), std::nullopt);
    EXPECT_EQ(bitsForNumber(birthYear, 65535), 65535u);
    EXPECT_EQ(bitsForNumber(birthYear, 65536), std::nullopt);
    EXPECT_EQ(bitsForNumber(pace, 255), 255u);
    EXPECT_EQ(bitsForNumber(pace, 256), std::nullopt);
}

TEST(TableFields, OnlyPlainDecimalIntegersAreNumbers)
{
    EXPECT_EQ(parseDecimal("0"), 0);
    EXPECT_EQ(parseDecimal("007"), 7);
    EXPECT_EQ(parseDecimal("-12"), -12);
    // Far too large for any field, but still a number: it is refused by range.
    EXPECT_GT(parseDecimal("99999999999999999999999").value_or(0), 4294967295LL);
    for (const char* text : {"", "-", "+5", " 5", "5 ", "1.0", "1e3", "0x10", "--1", "12a", "٣"})
        EXPECT_EQ(parseDecimal(text), std::nullopt) << '"' << text << '"';
}

TEST(StaffColumns, EveryFieldOnceUnderItsTablesPrefix)
{
    std::set<std::string> names;
    for (const StaffColumn& c : staffColumns())
        EXPECT_TRUE(names.insert(c.name).second) << c.name << " twice";
    EXPECT_EQ(names.size(), 2 + fieldsOf(Table::Staff).size() + 7 + fieldsOf(Table::Player).size() +
                                fieldsOf(Table::NonPlayer).size());
    const auto& columns = staffColumns();
    EXPECT_EQ(columns[0].name, "position");
    EXPECT_EQ(columns[1].name, "displayName");
    EXPECT_EQ(columns[2].name, "staffId");
    EXPECT_TRUE(findStaffColumn("player.workRate"));
    EXPECT_TRUE(findStaffColumn("nonPlayer.trailingByte"));
    EXPECT_EQ(findStaffColumn("clubContractedText")->field, findField(Table::Staff, "clubContracted"));
    EXPECT_EQ(columns.back().name, "nonPlayer.trailingByte");
}

} // namespace
} // namespace rostradb::cli
