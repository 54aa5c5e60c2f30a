#include "typed_number.h"

#include "number_reading.h"

#include <optional>

namespace rostradb {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view trimmedSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The number a plain text names, or nullopt for a text that is not plain or
// names a number no field can hold (a negative one, or one of more than 32
// bits): neither can be what the box shows again.
std::optional<std::uint32_t> plainNumber(std::string_view text)
{
    text = trimmedSpaces(text);
    if (text.empty())
        return 0;
    bool negative = false;
    unsigned base = 10;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    } else if (text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base)
            return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (negative && value != 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

unsigned widthOf(const FormControl& box)
{
    if (box.showsStaff())
        return box.staffField.width;
    if (box.showsPlayer())
        return box.playerField.width;
    return box.nonPlayerField.width;
}

} // namespace

StoredNumber storedNumber(std::string_view text, NumberWidth reading, unsigned widthBytes)
{
    const auto read = reading == NumberWidth::Bits64 ? static_cast<std::uint32_t>(readNumber64(text))
                                                     : static_cast<std::uint32_t>(readNumber32(text));
    const std::uint32_t mask = widthBytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * widthBytes)) - 1;
    const std::uint32_t stored = read & mask;
    const std::optional<std::uint32_t> named = plainNumber(text);
    return {stored, named && *named == stored};
}

StoredNumber storedNumber(const FormControl& box, std::string_view text)
{
    return storedNumber(text, box.reading, widthOf(box));
}

std::string notAsTypedLine(const FormControl& box, std::string_view text, std::uint32_t stored)
{
    return std::string(box.label) + ": \"" + std::string(text) + "\" is stored as " + std::to_string(stored);
}

} // namespace rostradb
