#pragma once
// The lenient reading of what the user typed into a number box. It never
// fails: an empty or unreadable text reads as 0, reading stops at the first
// character that is not a digit, and the caller keeps only the low bits that
// fit its field.
//
// The text may start with blanks (spaces only) and one sign; "$", "0x" or
// "0X" switches to hexadecimal digits. Digits beyond the reading's range wrap
// around, so the result is always the typed number's low 32 (or 64) bits.

#include <cstdint>
#include <string_view>

namespace rostradb {

// Signed 32-bit reading, used for every field but wages and value. A lone
// "x" or "X" is a hexadecimal prefix too; after a sign only decimal digits
// are read; a minus sign counts only when the digits run to the end of the
// text ("-5" is -5, "-5 " is 5).
std::int32_t readNumber32(std::string_view text);
// Signed 64-bit reading, used for wages and value. A hexadecimal prefix may
// follow the sign, and a minus sign always counts.
std::int64_t readNumber64(std::string_view text);

} // namespace rostradb
