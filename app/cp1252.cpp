#include "cp1252.h"

#include <array>
#include <cstddef>

namespace {

// Windows-1252 is Latin-1 except for the bytes 0x80..0x9F, where Latin-1 has
// its C1 control characters and Windows puts typographic characters and a
// few letters. The five bytes it leaves undefined keep their C1 code point.
constexpr std::array<char16_t, 32> kSpecials = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 0x80
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F', // 0x88
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 0x90
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178', // 0x98
};
constexpr unsigned kFirstSpecial = 0x80;
constexpr unsigned kLastSpecial = 0x9F;

// One entry per byte, so decoding is a single look-up per character: the
// loader converts every name of the database (some 140,000) this way.
constexpr std::array<char16_t, 256> kByteToUnicode = [] {
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < table.size(); ++byte)
        table[byte] = static_cast<char16_t>(byte);
    for (unsigned i = 0; i < kSpecials.size(); ++i)
        table[kFirstSpecial + i] = kSpecials[i];
    return table;
}();

// The byte for a character, or -1 when the code page has none.
int byteFor(char16_t unit)
{
    if (unit <= 0xFF && (unit < kFirstSpecial || unit > kLastSpecial))
        return unit;
    for (unsigned i = 0; i < kSpecials.size(); ++i) {
        if (kSpecials[i] == unit)
            return static_cast<int>(kFirstSpecial + i);
    }
    return -1;
}

} // namespace

QString fromGameText(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(kByteToUnicode[static_cast<unsigned char>(byte)]);
    return text;
}

std::optional<std::string> toGameText(const QString& text)
{
    std::string bytes(static_cast<std::size_t>(text.size()), '\0');
    std::size_t at = 0;
    // UTF-16 code units: a surrogate half maps to nothing, so characters
    // beyond the basic plane come out as unmappable, as they should.
    for (const QChar unit : text) {
        const int byte = byteFor(unit.unicode());
        if (byte < 0)
            return std::nullopt;
        bytes[at++] = static_cast<char>(byte);
    }
    return bytes;
}
