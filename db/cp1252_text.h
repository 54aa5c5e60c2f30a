#pragma once
// The game stores text in the single-byte Windows-1252 code page; the command
// line reads and writes UTF-8. Both directions, standard C++ only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rostradb {

// The character a byte stands for, and the byte for a character (-1 when the
// code page has none): the code page itself, for converters of other text
// types (the window's QString).
char32_t cp1252CodePoint(unsigned char byte);
int cp1252ByteFor(char32_t codePoint);

// Every byte becomes exactly one character. The five bytes Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 code point,
// so the mapping is one to one and any name survives the way back.
std::string cp1252ToUtf8(std::string_view bytes);
// The same, appended to `out` (for writers of large texts).
void appendCp1252AsUtf8(std::string& out, std::string_view bytes);

// The UTF-8 form of one byte: one to three bytes.
struct Utf8Char {
    std::uint8_t size;
    char bytes[3];
};
const Utf8Char& utf8Of(unsigned char byte);

// Whether the game's bytes read as exactly the UTF-8 text, without making a
// string of them.
bool cp1252EqualsUtf8(std::string_view bytes, std::string_view utf8);

// UTF-8 back to the game's bytes; nullopt when the text is not well-formed
// UTF-8 or holds a character the code page cannot express.
std::optional<std::string> utf8ToCp1252(std::string_view text);

// Decodes the UTF-8 character at text[at] and moves `at` past it; -1 for a
// malformed, overlong or surrogate sequence (`at` then moves past its lead).
std::int64_t nextUtf8CodePoint(std::string_view text, std::size_t& at);

} // namespace rostradb
