// The nation, name and club tables: fixed-size records read from byte 0 of
// their files, kept as their leading bytes, their name ending at the first
// zero byte.

#include "support/synthetic_game_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace rostradb {
namespace {

class LookupLoadingTest : public test::SyntheticGameTest {};

template <class Record>
void expectLeadingBytesOfEachRecord(const char* table, const std::vector<Record>& records,
                                    const std::vector<std::uint8_t>& file, std::size_t count,
                                    std::size_t fileRecordBytes, std::size_t keptBytes)
{
    SCOPED_TRACE(table);
    ASSERT_EQ(records.size(), count);
    for (std::size_t k = 0; k < count; ++k) {
        ASSERT_EQ(records[k].bytes.size(), keptBytes);
        const auto start = file.begin() + static_cast<std::ptrdiff_t>(k * fileRecordBytes);
        EXPECT_TRUE(std::equal(records[k].bytes.begin(), records[k].bytes.end(), start)) << "record " << k;
    }
}

TEST_F(LookupLoadingTest, EachRecordHoldsTheLeadingBytesOfItsOwnFileRecord)
{
    ASSERT_EQ(writeAndLoad(), "(no error)");
    const auto& shape = game.shape();
    // Nation bytes 286..289 and club bytes 475..580 are dropped; a name
    // record is kept whole. The next record starts right after the dropped
    // bytes, so a wrong record length shows in record 1.
    expectLeadingBytesOfEachRecord("nations", db.nations, game.nations.bytes(), shape.nations, 290, 286);
    expectLeadingBytesOfEachRecord("first names", db.firstNames, game.firstNames.bytes(), shape.firstNames, 60, 60);
    expectLeadingBytesOfEachRecord("second names", db.secondNames, game.secondNames.bytes(), shape.secondNames, 60,
                                   60);
    expectLeadingBytesOfEachRecord("common names", db.commonNames, game.commonNames.bytes(), shape.commonNames, 60,
                                   60);
    expectLeadingBytesOfEachRecord("clubs", db.clubs, game.clubs.bytes(), shape.clubs, 581, 475);

    EXPECT_EQ(db.nations[1].displayText(), "Nation1");
    EXPECT_EQ(db.firstNames[2].displayText(), "First2");
    EXPECT_EQ(db.secondNames[1].displayText(), "Second1");
    EXPECT_EQ(db.commonNames[1].displayText(), "Common1");
    EXPECT_EQ(db.clubs[1].displayText(), "Club1");
}

TEST_F(LookupLoadingTest, NameEndsAtTheFirstZeroByteOrFillsAllFiftyOneBytes)
{
    const std::string full(51, 'A');
    // first name 0: 51 letters, then the record's other bytes, none zero
    game.firstNames.text(0, full).fill(51, 9, 'Z');
    // first name 1: starts with a zero byte; still a record, with empty text
    game.firstNames.u8(60, 0).text(61, "Ghost");
    // nation 1: a 51-letter name followed by a non-zero byte 55
    game.nations.text(290 + 4, std::string(51, 'N')).u8(290 + 55, 'Q');
    // second name 0: single-byte text above 127 is kept as it is
    game.secondNames.text(0, "M\xFCller").u8(6, 0);

    ASSERT_EQ(writeAndLoad(), "(no error)");
    EXPECT_EQ(db.firstNames[0].displayText(), full);
    EXPECT_EQ(db.firstNames[1].displayText(), "");
    EXPECT_EQ(db.firstNames.size(), game.shape().firstNames);
    EXPECT_EQ(db.nations[1].displayText(), std::string(51, 'N'));
    EXPECT_EQ(db.secondNames[0].displayText(), "M\xFCller");
}

} // namespace
} // namespace rostradb
