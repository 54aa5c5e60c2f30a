#include "misread_text.h"

#include "csv.h"
#include "db/cp1252_text.h"

#include <algorithm>

namespace rostradb::cli {

namespace {

// One character of well-formed UTF-8 (the import's text always is).
char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = tail == 0 ? lead : lead & (0x3F >> tail);
    for (int i = 0; i < tail && at < text.size(); ++i)
        code = code << 6 | (static_cast<unsigned char>(text[at++]) & 0x3Fu);
    return code;
}

} // namespace

bool isMisreadUtf8(std::string_view gameText, std::string_view cell)
{
    const std::string utf8 = cp1252ToUtf8(gameText);
    if (utf8 == cell)
        return false;
    std::size_t at = 0;
    for (const char byte : utf8) {
        if (at >= cell.size())
            return false;
        const char32_t read = nextCodePoint(cell, at);
        const char32_t meant = cp1252CodePoint(static_cast<unsigned char>(byte));
        const bool undefined = meant >= 0x80 && meant < 0xA0;
        if (read != meant && !(undefined && (read == 0xFFFD || read == U'?')))
            return false;
    }
    return at == cell.size();
}

std::optional<std::string> textBeforeMisreading(std::string_view cell)
{
    std::optional<std::string> bytes = utf8ToCp1252(cell);
    if (!bytes || *bytes == cell || !isWellFormedUtf8(*bytes))
        return std::nullopt;
    if (bytes->starts_with(kUtf8ByteOrderMark))
        bytes->erase(0, kUtf8ByteOrderMark.size());
    return bytes;
}

namespace {

std::string characterSetMessage(std::string_view cell, std::string_view meant, std::size_t texts)
{
    std::string message = "the spreadsheet read the file in the wrong character set: open it as UTF-8 (\"" +
                          std::string(cell) + "\" stands for \"" + std::string(meant) + "\"";
    if (texts > 1)
        message += "; " + std::to_string(texts) + " texts like it";
    return message + ")";
}

} // namespace

void ChangedTexts::add(std::size_t line, std::string column, std::string_view cell, std::string_view gameText,
                       std::string what)
{
    if (isMisreadUtf8(gameText, cell)) {
        addMisread(line, std::move(column), cell, cp1252ToUtf8(gameText));
        return;
    }
    changed_.push_back({{line, std::move(column), std::move(what)}, false});
}

void ChangedTexts::addMisread(std::size_t line, std::string column, std::string_view cell, std::string_view meant)
{
    if (!firstMisread_)
        firstMisread_ = Misread{std::string(cell), std::string(meant)};
    changed_.push_back({{line, std::move(column), characterSetMessage(cell, meant, 1)}, true});
}

std::vector<ChangedTexts::Message> ChangedTexts::messages() const
{
    std::vector<Message> messages;
    const bool allMisread =
        !changed_.empty() && std::all_of(changed_.begin(), changed_.end(), [](const Changed& c) { return c.misread; });
    if (allMisread) {
        // The first misread text is the first text.
        const Message& first = changed_.front().message;
        messages.push_back({first.line, first.column,
                            characterSetMessage(firstMisread_->cell, firstMisread_->meant, changed_.size())});
        return messages;
    }
    for (const Changed& c : changed_)
        messages.push_back(c.message);
    return messages;
}

std::string shownInMessage(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || c == '\n' || c == '\t') {
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else {
            constexpr const char* kHex = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

} // namespace rostradb::cli
