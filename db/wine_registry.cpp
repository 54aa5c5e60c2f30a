#include "db/wine_registry.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace rostradb::wine {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The next character of UTF-8 text, moving `at` past it; a byte that does
// not start a well-formed sequence stands for itself (as U+DC00 + byte, so
// that it equals only the same byte).
std::uint32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t first = byte(at);
    const int length = first < 0x80 ? 1 : (first & 0xE0) == 0xC0 ? 2 : (first & 0xF0) == 0xE0 ? 3
                                      : (first & 0xF8) == 0xF0   ? 4
                                                                 : 0;
    bool wellFormed = length > 0 && at + static_cast<std::size_t>(length) <= text.size();
    std::uint32_t code = length == 1 ? first : first & (0x7F >> length);
    for (int i = 1; wellFormed && i < length; ++i) {
        wellFormed = (byte(at + static_cast<std::size_t>(i)) & 0xC0) == 0x80;
        code = code << 6 | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
    }
    if (!wellFormed) {
        ++at;
        return 0xDC00 + first;
    }
    at += static_cast<std::size_t>(length);
    return code;
}

// Unicode's simple case folding for the letters a Windows path of a
// European game holds: ASCII, Latin-1 (with the Windows-1252 letters Š, Œ, Ž
// and Ÿ), Latin Extended-A, and the basic Greek and Cyrillic alphabets.
// Other scripts compare exactly.
std::uint32_t foldCase(std::uint32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x178)
        return 0xFF; // Ÿ
    if (c == 0x17F)
        return 's'; // long s
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149)
        return c; // dotted I and dotless i fold by language, not simply; ĸ and ŉ have no pair
    // Latin Extended-A pairs the capital with the small letter after it,
    // at even code points up to U+0137 and from U+014A, at odd ones between.
    if (c >= 0x100 && c <= 0x137)
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return c + (c & 1);
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

// Windows compares names without regard to case for every letter that has
// one, not only a..z.
bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size())
        if (foldCase(nextCodePoint(a, i)) != foldCase(nextCodePoint(b, j)))
            return false;
    return i == a.size() && j == b.size();
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Collects the text as UTF-16 code units from escapes and as bytes from
// everything else, so that a surrogate pair written as two "\x" escapes
// becomes one character.
class TextBuilder {
public:
    void byte(char c)
    {
        flushSurrogate();
        out_ += c;
    }
    void unit(std::uint32_t u)
    {
        if (u >= 0xD800 && u < 0xDC00) {
            flushSurrogate();
            high_ = u;
            return;
        }
        if (u >= 0xDC00 && u < 0xE000 && high_) {
            appendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (u - 0xDC00));
            high_ = 0;
            return;
        }
        flushSurrogate();
        appendUtf8(out_, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
    }
    std::string finish()
    {
        flushSurrogate();
        return std::move(out_);
    }

private:
    void flushSurrogate()
    {
        if (high_)
            appendUtf8(out_, 0xFFFD); // a high surrogate with no partner
        high_ = 0;
    }
    std::string out_;
    std::uint32_t high_ = 0;
};

// Where the quoted text starting after the opening quote at `from` ends: the
// position of the closing quote, or npos.
std::size_t closingQuote(std::string_view line, std::size_t from)
{
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            return i;
    }
    return std::string_view::npos;
}

// The name of the key a "[...]" line opens, still escaped; nullopt when the
// line opens none.
std::optional<std::string_view> keyOfLine(std::string_view line)
{
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == ']')
            return line.substr(1, i - 1);
    }
    return std::nullopt;
}

struct ValueLine {
    std::string name;       // unescaped; "" for the default value "@"
    std::string_view value; // what follows the "=", as written
};

std::optional<ValueLine> valueOfLine(std::string_view line)
{
    if (line.empty())
        return std::nullopt;
    if (line.front() == '@') {
        if (line.size() < 2 || line[1] != '=')
            return std::nullopt;
        return ValueLine{std::string(), line.substr(2)};
    }
    if (line.front() != '"')
        return std::nullopt;
    const std::size_t end = closingQuote(line, 1);
    if (end == std::string_view::npos || end + 1 >= line.size() || line[end + 1] != '=')
        return std::nullopt;
    return ValueLine{unescape(line.substr(1, end - 1)), line.substr(end + 2)};
}

// The text of a string value as written after "=": "..." (a string) or
// str(2):"..." (an expandable string). nullopt for any other type.
std::optional<std::string> stringData(std::string_view value)
{
    constexpr std::string_view kExpandable = "str(2):";
    if (value.starts_with(kExpandable))
        value.remove_prefix(kExpandable.size());
    if (value.empty() || value.front() != '"')
        return std::nullopt;
    const std::size_t end = closingQuote(value, 1);
    if (end == std::string_view::npos)
        return std::nullopt;
    return unescape(value.substr(1, end - 1));
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return text;
}

// The entry of `folder` called `name`, or, when there is none, the one whose
// name differs from it only in letter case; nullopt when neither.
std::optional<std::filesystem::path> entryIgnoringCase(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code error;
    if (std::filesystem::exists(folder / name, error))
        return folder / name;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return std::nullopt;
    for (const auto& entry : entries) {
        const std::string entryName = entry.path().filename().string();
        if (equalIgnoringCase(entryName, name))
            return entry.path();
    }
    return std::nullopt;
}

} // namespace

std::string unescape(std::string_view escaped)
{
    static constexpr std::string_view kLetters = "abtnvfre";
    static constexpr char kCodes[] = {'\a', '\b', '\t', '\n', '\v', '\f', '\r', '\x1b'};
    TextBuilder text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c != '\\' || i + 1 == escaped.size()) {
            text.byte(c);
            continue;
        }
        const char next = escaped[++i];
        if (const auto letter = kLetters.find(next); letter != std::string_view::npos) {
            text.byte(kCodes[letter]);
        } else if (next == 'x' && i + 1 < escaped.size() && hexDigit(escaped[i + 1]) >= 0) {
            std::uint32_t unit = 0;
            for (int digits = 0; digits < 4 && i + 1 < escaped.size() && hexDigit(escaped[i + 1]) >= 0; ++digits)
                unit = unit << 4 | static_cast<std::uint32_t>(hexDigit(escaped[++i]));
            text.unit(unit);
        } else if (next >= '0' && next <= '7') {
            std::uint32_t unit = static_cast<std::uint32_t>(next - '0');
            for (int digits = 1; digits < 3 && i + 1 < escaped.size() && escaped[i + 1] >= '0' && escaped[i + 1] <= '7';
                 ++digits)
                unit = unit << 3 | static_cast<std::uint32_t>(escaped[++i] - '0');
            text.unit(unit);
        } else {
            text.byte(next); // "\\", "\"", "\[", "\]" and anything else stand for themselves
        }
    }
    return text.finish();
}

std::optional<std::string> findStringValue(std::string_view registryText, std::string_view key, std::string_view name)
{
    bool inKey = false;
    std::size_t start = 0;
    while (start < registryText.size()) {
        std::size_t end = registryText.find('\n', start);
        if (end == std::string_view::npos)
            end = registryText.size();
        std::string_view line = registryText.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (const auto opened = keyOfLine(line)) {
            inKey = equalIgnoringCase(unescape(*opened), key);
            continue;
        }
        if (!inKey)
            continue;
        // Other lines are comments ("#time=", ";;"), blank, or the wrapped
        // rest of a long binary value: none of them starts with a quote.
        if (const auto value = valueOfLine(line); value && equalIgnoringCase(value->name, name))
            return stringData(value->value);
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> unixPathOf(const std::filesystem::path& prefix, std::string_view windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || lowerAscii(windowsPath[0]) < 'a' ||
        lowerAscii(windowsPath[0]) > 'z')
        return std::nullopt;
    const std::string drive{lowerAscii(windowsPath[0]), ':'};
    std::error_code error;
    // The drive's link resolved, so that the folder shown is the real one
    // (~/.wine/drive_c/Games/Fendra rather than ~/.wine/dosdevices/c:/...).
    std::filesystem::path folder = std::filesystem::canonical(prefix / "dosdevices" / drive, error);
    if (error || !std::filesystem::is_directory(folder, error))
        return std::nullopt;

    std::size_t start = 2;
    while (start <= windowsPath.size()) {
        std::size_t end = windowsPath.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = windowsPath.size();
        const std::string part(windowsPath.substr(start, end - start));
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            folder = folder.parent_path();
            continue;
        }
        folder = entryIgnoringCase(folder, part).value_or(folder / part);
    }
    return folder;
}

std::optional<std::filesystem::path> defaultPrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return std::filesystem::path(prefix);
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".wine";
    return std::nullopt;
}

std::optional<std::filesystem::path> gameLocation(const std::filesystem::path& prefix)
{
    const auto text = readWholeFile(prefix / "system.reg");
    if (!text)
        return std::nullopt;
    for (const std::string_view key : {kGameKey, kGameKey32On64}) {
        const auto location = findStringValue(*text, key, kLocationValue);
        if (location && !location->empty())
            return unixPathOf(prefix, *location);
    }
    return std::nullopt;
}

} // namespace rostradb::wine
