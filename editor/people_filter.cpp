#include "people_filter.h"

#include "db/cp1252_text.h"
#include "db/record_layout.h"
#include "lookup_tables.h"
#include "person_links.h"
#include "staff_tables.h"

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
    // Each start is tried on its first byte alone before the rest is
    // compared: most bytes of a name fail there.
    const char first = foldedNeedle.front();
    const std::string_view rest = foldedNeedle.substr(1);
    const std::size_t lastStart = haystack.size() - foldedNeedle.size();
    for (std::size_t i = 0; i <= lastStart; ++i) {
        if (foldCase(haystack[i]) != first)
            continue;
        std::size_t k = 0;
        while (k < rest.size() && foldCase(haystack[i + 1 + k]) == rest[k])
            ++k;
        if (k == rest.size())
            return true;
    }
    return false;
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

// Where the quoted text that opens at `open` ends (the closing quote); a
// doubled quote inside stands for one quote. npos when it is not closed.
std::size_t closingQuote(std::string_view text, std::size_t open)
{
    std::size_t i = open + 1;
    while ((i = text.find('"', i)) != std::string_view::npos) {
        if (i + 1 < text.size() && text[i + 1] == '"') {
            i += 2;
            continue;
        }
        return i;
    }
    return std::string_view::npos;
}

// A value as it stands, or the text between its quotes when it begins with
// one; the quoted text must end the term.
std::string unquoted(std::string_view term, std::string_view value)
{
    if (value.empty() || value.front() != '"')
        return std::string(value);
    const std::size_t close = closingQuote(value, 0);
    if (close != value.size() - 1)
        refuse(term, "a quoted text must end at the end of its term");
    std::string text;
    for (std::size_t i = 1; i < close; ++i) {
        text += value[i];
        if (value[i] == '"')
            ++i; // the second of a doubled quote
    }
    return text;
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
    const auto found =
        std::find_if(kOps.begin(), kOps.end(), [&](const OpName& o) { return rest.starts_with(o.text); });
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
        // A number may be quoted like any value ("5000"), which a script
        // that quotes every value writes.
        const std::optional<std::int64_t> number = parseDecimal(unquoted(token, value));
        if (!number)
            refuse(token, "a whole number is expected after " + std::string(opText));
        term.number = *number;
        return term;
    }
    if (term.op != Op::Contains && term.op != Op::Equal)
        refuse(token, column->name + " is a text: use : (contains) or = (equals)");
    const std::string text = unquoted(token, value);
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

// The message for typed text that the code page cannot hold, naming the
// first term (a run of characters between spaces) with such a character.
std::string unwritableTermMessage(std::string_view utf8)
{
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t end = std::min(utf8.find_first_of(" \t", start), utf8.size());
        const std::string_view term = utf8.substr(start, end - start);
        if (!utf8ToCp1252(term)) {
            // The first character of the term that does not convert: the
            // bytes from a lead byte up to the next one.
            for (std::size_t at = 0; at < term.size();) {
                std::size_t next = at + 1;
                while (next < term.size() && (static_cast<unsigned char>(term[next]) & 0xC0) == 0x80)
                    ++next;
                const std::string_view character = term.substr(at, next - at);
                if (!utf8ToCp1252(character)) {
                    const auto lead = static_cast<unsigned char>(character[0]);
                    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
                    if (length != character.size())
                        break; // not UTF-8: said below
                    return "\"" + std::string(term) + "\": no text of the game holds " + std::string(character);
                }
                at = next;
            }
        }
        start = end + 1;
    }
    return "the text is not UTF-8";
}

} // namespace

PeopleFilter PeopleFilter::parseTyped(std::string_view utf8)
{
    const std::optional<std::string> bytes = utf8ToCp1252(utf8);
    if (!bytes)
        throw FilterError(unwritableTermMessage(utf8));
    try {
        return parse(*bytes);
    } catch (const FilterError& e) {
        throw FilterError(cp1252ToUtf8(e.what()));
    }
}

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
        // A term runs to the next space outside quotes. A quote opens a
        // quoted text only where a term or a value begins; inside a word it
        // is a letter like any other (names hold quotes).
        const std::size_t start = i;
        std::size_t opAt = std::string_view::npos;
        std::size_t valueAt = std::string_view::npos;
        while (i < text.size() && !isSpace(text[i])) {
            if (text[i] == '"' && (i == start || i == valueAt)) {
                const std::size_t close = closingQuote(text, i);
                if (close == std::string_view::npos)
                    refuse(text.substr(start), "the quote is not closed");
                i = close + 1;
                continue;
            }
            if (opAt == std::string_view::npos && text[start] != '"' &&
                kOpChars.find(text[i]) != std::string_view::npos) {
                opAt = i - start;
                const bool twoCharacters =
                    i + 1 < text.size() && text[i + 1] == '=' && text[i] != '=' && text[i] != ':';
                i += twoCharacters ? 2 : 1;
                valueAt = i;
                continue;
            }
            ++i;
        }
        const std::string_view token = text.substr(start, i - start);

        if (opAt != std::string_view::npos) {
            endRun();
            filter.terms_.push_back(columnTerm(token, opAt));
        } else if (token.front() == '"') {
            endRun();
            // An empty text would find nobody (the name search's rule) and
            // is refused, as "name:" is: it is a slip, not a question.
            const std::string part = unquoted(token, token);
            if (part.empty())
                refuse(token, "a text is expected between the quotes");
            filter.terms_.push_back(namePart(part));
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

namespace {

// One term made ready for a pass over every person: the field it reads
// found once, no allocation per person, and the answer for a text of a
// position or a player or non-player field worked out once per record of
// that table, in the table's order. The people lead into those tables in no
// particular order; looking up one byte per person instead of reading their
// record keeps the pass inside the cache (it is some ten times faster on a
// full game).
class ReadyTerm {
public:
    ReadyTerm(const GameDatabase& db, const Term& term) : term_(&term), column_(term.column)
    {
        if (column_->kind == ColumnKind::Text) {
            const std::size_t count = lookupCount(db, column_->lookup);
            holdsForRecord_.resize(count);
            for (std::size_t i = 0; i < count; ++i)
                holdsForRecord_[i] = textHolds(term, lookupText(db, column_->lookup, static_cast<std::uint32_t>(i)));
            holdsOutside_ = textHolds(term, {});
            textPosition_ = kStaffLayout[column_->field].access.get;
        } else if (column_->kind == ColumnKind::Field && column_->table == StaffTable::Staff) {
            staffGet_ = kStaffLayout[column_->field].access.get;
        } else if (column_->kind == ColumnKind::Field) {
            staff_tables::visit(db, column_->table, [&](const auto& layout, const auto& records, const auto&) {
                const auto get = layout[column_->field].access.get;
                holdsForRecord_.resize(records.size());
                for (std::size_t i = 0; i < records.size(); ++i)
                    holdsForRecord_[i] = numberHolds(term.op, columnNumberOf(*column_, get(records[i])), term.number);
            });
        }
    }

    // Name parts read the most bytes: they go last, when the cheap terms
    // have already turned most people away.
    int cost() const { return column_->kind == ColumnKind::DisplayName ? 1 : 0; }

    bool holds(const GameDatabase& db, std::uint32_t position) const
    {
        const StaffRecord& person = db.staff[position];
        switch (column_->kind) {
        case ColumnKind::Position:
            return numberHolds(term_->op, position, term_->number);
        case ColumnKind::DisplayName:
            return textHolds(*term_, person.displayName);
        case ColumnKind::Text: {
            const std::uint32_t record = textPosition_(person);
            return record < holdsForRecord_.size() ? holdsForRecord_[record] != 0 : holdsOutside_;
        }
        case ColumnKind::Field:
            break;
        }
        if (staffGet_)
            return numberHolds(term_->op, columnNumberOf(*column_, staffGet_(person)), term_->number);
        // Someone without the record has no value for the term to hold on.
        const std::optional<std::uint32_t> record = linkedRecord(db, position, column_->table);
        return record && holdsForRecord_[*record] != 0;
    }

private:
    const Term* term_;
    const PeopleColumn* column_;
    std::vector<std::uint8_t> holdsForRecord_;
    bool holdsOutside_ = false;
    std::uint32_t (*textPosition_)(const StaffRecord&) = nullptr;
    std::uint32_t (*staffGet_)(const StaffRecord&) = nullptr;
};

} // namespace

bool PeopleFilter::readsNamesOf(LookupTable table) const
{
    return std::any_of(terms_.begin(), terms_.end(), [table](const Term& term) {
        return term.column->kind == ColumnKind::Text && term.column->lookup == table;
    });
}

std::vector<std::uint32_t> matchingPeople(const GameDatabase& db, const PeopleFilter& filter)
{
    std::vector<ReadyTerm> terms;
    terms.reserve(filter.terms().size());
    for (const Term& term : filter.terms())
        terms.emplace_back(db, term);
    std::stable_sort(terms.begin(), terms.end(),
                     [](const ReadyTerm& a, const ReadyTerm& b) { return a.cost() < b.cost(); });

    std::vector<std::uint32_t> people;
    const auto count = static_cast<std::uint32_t>(db.staff.size());
    for (std::uint32_t position = 0; position < count; ++position)
        if (std::all_of(terms.begin(), terms.end(), [&](const ReadyTerm& t) { return t.holds(db, position); }))
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
           "  club=\"Real X\"    a text value may be quoted; \"\" inside quotes is one quote\n"
           "Texts ignore the case of a..z. Terms on player.* and nonPlayer.* columns hold only\n"
           "for people whose classification leads to that record. Column names are those of\n"
           "export, in any case, or these aliases:\n" +
           columnAliasHelp();
}

} // namespace rostradb
