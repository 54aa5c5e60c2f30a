#include "common/cp1252.h"

#include "db/cp1252_text.h"

#include <array>
#include <cstddef>

namespace {

// One entry per byte, so decoding is a single look-up per character: the
// window converts every name of the database (some 140,000) this way.
const std::array<char16_t, 256> kByteToUnicode = [] {
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < table.size(); ++byte) // the code page lies in the basic plane
        table[byte] = static_cast<char16_t>(rostradb::cp1252CodePoint(static_cast<unsigned char>(byte)));
    return table;
}();

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
        const int byte = rostradb::cp1252ByteFor(unit.unicode());
        if (byte < 0)
            return std::nullopt;
        bytes[at++] = static_cast<char>(byte);
    }
    return bytes;
}
