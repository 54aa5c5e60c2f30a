#pragma once
// The lenient reading of what the user typed into a number box. It never
// fails: an empty or unreadable text reads as 0, reading stops at the first
// character that is not a digit, and the caller keeps only the low bits that
// fit its field.

#include <cstdint>
#include <string_view>

namespace rostradb {

// Signed 32-bit reading, used for every field but wages and value.
std::int32_t readNumber32(std::string_view text);
// Signed 64-bit reading, used for wages and value.
std::int64_t readNumber64(std::string_view text);

} // namespace rostradb
