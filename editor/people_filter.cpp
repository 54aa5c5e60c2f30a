#include "people_filter.h"

#include "db/record_layout.h"
#include "lookup_tables.h"
#include "person_links.h"

#include <algorithm>
#include <array>

namespace rostradb {

namespace {

using Op = PeopleFilter::Op;
using Term = PeopleFilter::Term;

// Case is folded for the 26 unaccented letters only, byte by byte, as the
// name search does: an accented small letter finds only itself.
constexpr char foldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

std::string folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), foldCase);
    return out;
}

// An empty text is found in nothing, and an empty name contains nothing.
bool containsFolded(std::string_view haystack, std::string_view foldedNeedle)
{
    if (foldedNeedle.empty() || foldedNeedle.size() > haystack.size())
        return false;
    return std::search(haystack.begin(), haystack.end(), foldedNeedle.begin(), foldedNeedle.end(),
                       [](char h, char n) { return foldCase(h) == n; }) != haystack.end();
}

bool equalsFolded(std::string_view text, std::string_view foldedValue)
{
    return text.size() == foldedValue.size() &&
           std::equal(text.begin(), text.end(), foldedValue.begin(), [](char t, char v) { return foldCase(t) == v; });
}

bool textHolds(const Term& term, std::string_view text)
{
    return term.op == Op::Equal ? equalsFolded(text, term.text) : containsFolded(text, term.text);
}

bool numberHolds(Op op, std::int64_t value, std::int64_t wanted)
{
    switch (op) {
    case Op::Equal:
        return value == wanted;
    case Op::NotEqual:
        return value != wanted;
    case Op::Less:
        return value < wanted;
    case Op::LessOrEqual:
        return value <= wanted;
    case Op::Greater:
        return value > wanted;
    case Op::GreaterOrEqual:
        return value >= wanted;
    case Op::Contains:
        break;
    }
    return false;
}

struct OpName {
    std::string_view text;
    Op op;
};
// Two-character operators first, so that "<=" is not read as "<".
constexpr std::array<OpName, 7> kOps{{
    {"<=", Op::LessOrEqual},
    {">=", Op::GreaterOrEqual},
    {"!=", Op::NotEqual},
    {"=", Op::Equal},
    {"<", Op::Less},
    {">", Op::Greater},
    {":", Op::Contains},
}};
constexpr std::string_view kOpChars = "=!<>:";

bool isSpace(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void refuse(std::string_view term, const std::string& what)
{
    throw FilterError("\"" + std::string(term) + "\": " + what);
}

// The text between the quotes of a value that begins with one.
std::string_view unquoted(std::string_view term, std::string_view value)
{
    if (value.empty() || value.front() != '"')
        return value;
    if (value.size() < 2 || value.back() != '"' || value.substr(1, value.size() - 2).find('"') != std::string_view::npos)
        refuse(term, "a quoted text must end at the end of its term");
    return value.substr(1, value.size() - 2);
}

Term columnTerm(std::string_view token, std::size_t opAt)
{
    if (opAt == 0)
        refuse(token, "a column name is expected before " + std::string(1, token[0]));
    const std::string_view name = token.substr(0, opAt);
    const PeopleColumn* column = findPeopleColumn(name);
    if (!column)
        refuse(token, "unknown column " + std::string(name));
    const std::string_view rest = token.substr(opAt);
    const auto found = std::find_if(kOps.begin(), kOps.end(), [&](const OpName& o) { return rest.starts_with(o.text); });
    if (found == kOps.end())
        refuse(token, "unknown operator " + std::string(rest.substr(0, 1)));
    const std::string_view opText = found->text;
    const std::string_view value = rest.substr(opText.size());

    Term term;
    term.column = column;
    term.op = found->op;
    if (column->isNumber()) {
        if (term.op == Op::Contains)
            refuse(token, column->name + " is a number: compare it with = != < <= > or >=");
        const std::optional<std::int64_t> number = parseDecimal(value);
        if (!number)
            refuse(token, "a whole number is expected after " + std::string(opText));
        term.number = *number;
        return term;
    }
    if (term.op != Op::Contains && term.op != Op::Equal)
        refuse(token, column->name + " is a text: use : (contains) or = (equals)");
    const std::string_view text = unquoted(token, value);
    if (text.empty() && term.op == Op::Contains)
        refuse(token, "a text is expected after :");
    term.text = folded(text);
    return term;
}

const PeopleColumn& nameColumn()
{
    static const PeopleColumn& column = *columnNamed("displayName");
    return column;
}

Term namePart(std::string_view text)
{
    Term term;
    term.column = &nameColumn();
    term.op = Op::Contains;
    term.text = folded(text);
    return term;
}

} // namespace

PeopleFilter PeopleFilter::parse(std::string_view text)
{
    PeopleFilter filter;
    // A run of plain words, kept as the bytes from its first word's start to
    // its last word's end.
    std::size_t runStart = 0;
    std::size_t runEnd = 0;
    bool inRun = false;
    const auto endRun = [&] {
        if (inRun)
            filter.terms_.push_back(namePart(text.substr(runStart, runEnd - runStart)));
        inRun = false;
    };

    std::size_t i = 0;
    while (i < text.size()) {
        if (isSpace(text[i])) {
            ++i;
            continue;
        }
        // A term runs to the next space outside quotes.
        const std::size_t start = i;
        std::size_t opAt = std::string_view::npos;
        bool quoted = false;
        while (i < text.size() && !isSpace(text[i])) {
            if (text[i] == '"') {
                quoted = true;
                const std::size_t close = text.find('"', i + 1);
                if (close == std::string_view::npos)
                    refuse(text.substr(start), "the quote is not closed");
                i = close + 1;
                continue;
            }
            if (opAt == std::string_view::npos && !quoted && kOpChars.find(text[i]) != std::string_view::npos)
                opAt = i - start;
            ++i;
        }
        const std::string_view token = text.substr(start, i - start);

        if (opAt != std::string_view::npos) {
            endRun();
            filter.terms_.push_back(columnTerm(token, opAt));
        } else if (quoted) {
            endRun();
            if (token.front() != '"')
                refuse(token, "a quote must begin its term or the value after the operator");
            filter.terms_.push_back(namePart(unquoted(token, token)));
        } else {
            if (!inRun)
                runStart = start;
            runEnd = i;
            inRun = true;
        }
    }
    endRun();
    return filter;
}

bool PeopleFilter::matches(const GameDatabase& db, std::uint32_t staffPosition) const
{
    for (const Term& term : terms_) {
        if (term.column->isText()) {
            if (!textHolds(term, columnText(db, staffPosition, *term.column)))
                return false;
            continue;
        }
        const std::optional<std::int64_t> value = columnNumber(db, staffPosition, *term.column);
        if (!value || !numberHolds(term.op, *value, term.number))
            return false;
    }
    return true;
}

std::vector<std::uint32_t> matchingPeople(const GameDatabase& db, const PeopleFilter& filter)
{
    std::vector<std::uint32_t> people;
    const auto count = static_cast<std::uint32_t>(db.staff.size());
    for (std::uint32_t position = 0; position < count; ++position)
        if (filter.matches(db, position))
            people.push_back(position);
    return people;
}

std::string filterHelp()
{
    return "A filter is terms separated by spaces; a person is listed when every term holds.\n"
           "  jon smi          part of the display name (words next to each other are one part)\n"
           "  \"a b\"            a quoted part of the display name\n"
           "  wages>=1000      a number column with = != < <= > >= and a whole number\n"
           "  club:united      a text column (displayName, ...Text): ':' contains, '=' equals\n"
           "  club=\"Real X\"    a text value may be quoted\n"
           "Texts ignore the case of a..z. Terms on player.* and nonPlayer.* columns hold only\n"
           "for people whose classification leads to that record. Column names are those of\n"
           "export, in any case, or these aliases:\n" +
           columnAliasHelp();
}

} // namespace rostradb
