#include "cp1252_text.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace rostradb {

namespace {

// Windows-1252 is Latin-1 except for 0x80..0x9F, where Latin-1 has its C1
// controls and Windows puts typographic characters and a few letters.
constexpr std::array<char32_t, 32> kSpecials = {
    U'\u20AC', U'\u0081', U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021', // 0x80
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', U'\u008D', U'\u017D', U'\u008F', // 0x88
    U'\u0090', U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014', // 0x90
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', U'\u009D', U'\u017E', U'\u0178', // 0x98
};
constexpr char32_t kFirstSpecial = 0x80;
constexpr char32_t kLastSpecial = 0x9F;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // Every character of the code page lies in the basic plane.
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one well-formed UTF-8 sequence at text[at], moving `at` past it;
// -1 for a malformed, overlong or surrogate sequence.
std::int64_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, smallest = 0x10000;
    } else {
        return -1;
    }
    for (std::size_t i = 0; i < extra; ++i) {
        if (at >= text.size())
            return -1;
        const auto next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (next & 0x3F);
        ++at;
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return -1;
    return c;
}

} // namespace

char32_t cp1252CodePoint(unsigned char byte)
{
    return byte >= kFirstSpecial && byte <= kLastSpecial ? kSpecials[byte - kFirstSpecial] : char32_t{byte};
}

int cp1252ByteFor(char32_t codePoint)
{
    if (codePoint <= 0xFF && (codePoint < kFirstSpecial || codePoint > kLastSpecial))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < kSpecials.size(); ++i)
        if (kSpecials[i] == codePoint)
            return static_cast<int>(kFirstSpecial + i);
    return -1;
}

const Utf8Char& utf8Of(unsigned char byte)
{
    static const std::array<Utf8Char, 256> table = [] {
        std::array<Utf8Char, 256> t{};
        for (unsigned b = 0; b < t.size(); ++b) {
            std::string encoded;
            appendUtf8(encoded, cp1252CodePoint(static_cast<unsigned char>(b)));
            t[b].size = static_cast<std::uint8_t>(encoded.size());
            for (std::size_t i = 0; i < encoded.size(); ++i)
                t[b].bytes[i] = encoded[i];
        }
        return t;
    }();
    return table[byte];
}

void appendCp1252AsUtf8(std::string& out, std::string_view bytes)
{
    for (const char byte : bytes) {
        const Utf8Char& c = utf8Of(static_cast<unsigned char>(byte));
        out.append(c.bytes, c.size);
    }
}

bool cp1252EqualsUtf8(std::string_view bytes, std::string_view utf8)
{
    std::size_t at = 0;
    for (const char byte : bytes) {
        // ASCII, most of every name, is the same byte in both.
        if (static_cast<unsigned char>(byte) < 0x80) {
            if (at == utf8.size() || utf8[at] != byte)
                return false;
            ++at;
            continue;
        }
        const Utf8Char& c = utf8Of(static_cast<unsigned char>(byte));
        if (utf8.size() - at < c.size || utf8.compare(at, c.size, c.bytes, c.size) != 0)
            return false;
        at += c.size;
    }
    return at == utf8.size();
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    appendCp1252AsUtf8(out, bytes);
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::int64_t c = nextCodePoint(text, at);
        const int byte = c < 0 ? -1 : cp1252ByteFor(static_cast<char32_t>(c));
        if (byte < 0)
            return std::nullopt;
        out += static_cast<char>(byte);
    }
    return out;
}

std::int64_t nextUtf8CodePoint(std::string_view text, std::size_t& at) { return nextCodePoint(text, at); }

} // namespace rostradb
