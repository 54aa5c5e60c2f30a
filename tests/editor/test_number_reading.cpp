#include "editor/number_reading.h"
#include "editor/typed_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

namespace rostradb {
namespace {

struct Case32 {
    std::string_view text;
    std::int32_t expected;
};

class Reading32 : public ::testing::TestWithParam<Case32> {};

TEST_P(Reading32, ReadsLeniently)
{
    EXPECT_EQ(readNumber32(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Decimal, Reading32,
                         ::testing::Values(Case32{"", 0}, Case32{"abc", 0}, Case32{"   ", 0}, Case32{"  7", 7},
                                           Case32{"12abc", 12}, Case32{"7 8", 7}, Case32{"0", 0},
                                           Case32{"007", 7}, Case32{"+5", 5},
                                           // only the space is a blank
                                           Case32{"\t7", 0}, Case32{"\n7", 0}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, Reading32,
                         ::testing::Values(Case32{"$1F", 31}, Case32{"0x1f", 31}, Case32{"0X1F", 31},
                                           Case32{"x1f", 31}, Case32{"X1F", 31}, Case32{"  $10", 16},
                                           Case32{"$1fg", 31}, Case32{"$", 0}, Case32{"0x", 0},
                                           Case32{"$FFFFFFFF", -1}, Case32{"$80000000", -2147483647 - 1}));

// A minus sign counts only when the digits run to the end of the text; after
// a sign no hexadecimal prefix is recognised.
INSTANTIATE_TEST_SUITE_P(Sign, Reading32,
                         ::testing::Values(Case32{"-5", -5}, Case32{"-5 ", 5}, Case32{"-5x", 5}, Case32{"  -7", -7},
                                           Case32{"-1", -1}, Case32{"-", 0}, Case32{"--5", 0}, Case32{"+-5", 0},
                                           Case32{"- 5", 0}, Case32{"-$1F", 0}, Case32{"-0x1f", 0},
                                           Case32{"+$1F", 0}, Case32{"-2147483648", -2147483647 - 1}));

// Beyond 32 bits the digits wrap around and the low bits remain.
INSTANTIATE_TEST_SUITE_P(Wrapping, Reading32,
                         ::testing::Values(Case32{"2147483648", -2147483647 - 1}, Case32{"4294967295", -1},
                                           Case32{"4294967296", 0}, Case32{"4294967297", 1},
                                           Case32{"18446744073709551617", 1}, Case32{"$100000001", 1},
                                           Case32{"-4294967297", -1}));

struct Case64 {
    std::string_view text;
    std::int64_t expected;
};

class Reading64 : public ::testing::TestWithParam<Case64> {};

TEST_P(Reading64, ReadsLeniently)
{
    EXPECT_EQ(readNumber64(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Common, Reading64,
                         ::testing::Values(Case64{"", 0}, Case64{"abc", 0}, Case64{"  7", 7}, Case64{"12abc", 12},
                                           Case64{"$1F", 31}, Case64{"0x1f", 31}, Case64{"-1", -1},
                                           Case64{"\t7", 0}, Case64{"4294967295", 4294967295},
                                           Case64{"4294967296", 4294967296}));

// Where the wider reading differs: the minus always counts, a hexadecimal
// prefix may follow the sign, and a lone x is no prefix.
INSTANTIATE_TEST_SUITE_P(Differences, Reading64,
                         ::testing::Values(Case64{"-5 ", -5}, Case64{"-5x", -5}, Case64{"-$1F", -31},
                                           Case64{"-0x1f", -31}, Case64{"+0X10", 16}, Case64{"x1f", 0},
                                           Case64{"X1F", 0}));

INSTANTIATE_TEST_SUITE_P(Wrapping, Reading64,
                         ::testing::Values(Case64{"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
                                           Case64{"9223372036854775808", std::numeric_limits<std::int64_t>::min()},
                                           Case64{"18446744073709551616", 0}, Case64{"18446744073709551617", 1},
                                           Case64{"$FFFFFFFFFFFFFFFF", -1}));

// Which texts are stored as typed: the warning the form shows before Confirm.
struct TypedCase {
    std::string_view text;
    NumberWidth reading;
    unsigned widthBytes;
    std::uint32_t stored;
    bool asTyped;
};

TEST(TypedNumbers, PlainTextsAreStoredAsTypedAndOthersAreNot)
{
    constexpr auto k32 = NumberWidth::Bits32;
    constexpr auto k64 = NumberWidth::Bits64;
    for (const TypedCase& c : {
             TypedCase{"", k32, 1, 0, true},           TypedCase{"  42  ", k32, 1, 42, true},
             TypedCase{"+7", k32, 2, 7, true},          TypedCase{"-0", k32, 1, 0, true},
             TypedCase{"$1F", k32, 1, 31, true},        TypedCase{" 0x1f", k64, 4, 31, true},
             TypedCase{"255", k32, 1, 255, true},       TypedCase{"4294967295", k64, 4, 4294967295u, true},
             TypedCase{"15,000", k64, 4, 15, false},    TypedCase{"1.5e4", k64, 4, 1, false},
             TypedCase{"-5", k32, 4, 4294967291u, false}, TypedCase{"-5", k64, 4, 4294967291u, false},
             TypedCase{"256", k32, 1, 0, false},        TypedCase{"70000", k32, 2, 4464, false},
             TypedCase{"-5 ", k32, 1, 5, false},        TypedCase{"4294967296", k64, 4, 0, false},
             TypedCase{"12abc", k32, 1, 12, false},     TypedCase{"0x", k32, 1, 0, false},
             TypedCase{"x1f", k32, 1, 31, false},       TypedCase{"-$1F", k64, 4, 4294967265u, false},
         }) {
        const StoredNumber s = storedNumber(c.text, c.reading, c.widthBytes);
        EXPECT_EQ(s.value, c.stored) << '"' << c.text << '"';
        EXPECT_EQ(s.asTyped, c.asTyped) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace rostradb
