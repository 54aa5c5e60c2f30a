#include "number_reading.h"

#include <cstddef>

namespace rostradb {

namespace {

// The two readings share one scanner and differ in three points:
//  - only the 32-bit reading takes a lone x or X as the hexadecimal prefix;
//  - only the 64-bit reading accepts a hexadecimal prefix after a sign;
//  - the 32-bit reading honours a minus sign only when the digits run to the
//    end of the text, so "-5" is -5 but "-5 " is 5.
struct ReadingRules {
    bool loneXIsHexPrefix;
    bool hexAfterSign;
    bool minusNeedsWholeText;
};

constexpr ReadingRules kRules32{true, false, true};
constexpr ReadingRules kRules64{false, true, false};

int digitValue(char c, unsigned base)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16) {
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
    }
    return -1;
}

// Digits beyond the range wrap around: the accumulator is unsigned and keeps
// the low 64 bits, so the value read is the typed number modulo 2^64, and
// every field, being at most 32 bits wide, receives the typed number's own
// low bits. Nothing is clamped and nothing is reported.
std::uint64_t readDigits(std::string_view text, const ReadingRules& rules)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool negative = false;
    bool hasSign = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        hasSign = true;
        ++i;
    }

    unsigned base = 10;
    if (!hasSign || rules.hexAfterSign) {
        const auto rest = text.substr(i);
        if (rest.starts_with('$')) {
            base = 16;
            i += 1;
        } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
            base = 16;
            i += 2;
        } else if (rules.loneXIsHexPrefix && (rest.starts_with('x') || rest.starts_with('X'))) {
            base = 16;
            i += 1;
        }
    }

    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0)
            break;
        value = value * base + static_cast<unsigned>(digit);
    }

    const bool ranToEnd = i == text.size();
    if (negative && (ranToEnd || !rules.minusNeedsWholeText))
        value = 0 - value;
    return value;
}

} // namespace

std::int32_t readNumber32(std::string_view text)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(readDigits(text, kRules32)));
}

std::int64_t readNumber64(std::string_view text)
{
    return static_cast<std::int64_t>(readDigits(text, kRules64));
}

} // namespace rostradb
