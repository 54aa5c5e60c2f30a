#include "people_sort.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace rostradb {

namespace {

constexpr unsigned char foldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

// A text's first sixteen bytes, case folded, as two numbers (shorter texts
// padded with zero bytes, which no text holds): nearly every comparison is
// one or two comparisons of numbers, and the rest compare the bytes after.
struct FoldedHead {
    FoldedHead() = default;
    FoldedHead(std::uint64_t h, std::uint64_t l) : high(h), low(l) {}
    explicit FoldedHead(std::string_view t)
    {
        for (std::size_t i = 0; i < 8; ++i)
            high = (high << 8) | (i < t.size() ? foldCase(static_cast<unsigned char>(t[i])) : 0u);
        for (std::size_t i = 8; i < 16; ++i)
            low = (low << 8) | (i < t.size() ? foldCase(static_cast<unsigned char>(t[i])) : 0u);
    }
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

// One row for a text sort: its head, its place before the sort and the
// person.
struct TextRow {
    FoldedHead head;
    std::uint32_t order;
    std::uint32_t position;
};

// A text and its head, worked out where the text is read.
struct TextKey {
    FoldedHead head;
    std::string_view text;
};

// A sort by text takes as long as the comparisons' guesses go wrong, which
// with names is about every other one. The rows are sorted instead by the
// first eight bytes of their heads, a byte at a time, lowest first (a pass
// where every row has the same byte is skipped); each pass keeps the order
// of equal bytes. Rows whose first eight bytes agree (a shared first name,
// say) are few and are then put in order by the rest of their text, equal
// texts in their order before the sort.
void sortByText(std::vector<std::uint32_t>& people, const std::vector<TextKey>& keys, bool descending)
{
    const std::size_t count = people.size();
    std::vector<TextRow> rows(count);
    std::vector<TextRow> spare(count);
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (std::uint32_t i = 0; i < count; ++i) {
        FoldedHead head = keys[i].head;
        if (descending) // the complement sorts backwards; equal heads keep their order
            head = FoldedHead{~head.high, ~head.low};
        rows[i] = {head, i, people[i]};
        for (unsigned digit = 0; digit < 8; ++digit)
            ++counts[digit][(head.high >> (8 * digit)) & 0xffu];
    }
    for (unsigned digit = 0; digit < 8; ++digit) {
        std::array<std::uint32_t, 256>& offsets = counts[digit];
        if (std::find(offsets.begin(), offsets.end(), count) != offsets.end())
            continue;
        std::uint32_t next = 0;
        for (std::uint32_t& offset : offsets)
            next += std::exchange(offset, next);
        for (const TextRow& row : rows)
            spare[offsets[(row.head.high >> (8 * digit)) & 0xffu]++] = row;
        rows.swap(spare);
    }
    // -1, 0 or 1 as a's text sorts before, with or after b's, given that the
    // first eight bytes agree.
    const auto compareRest = [&](const TextRow& a, const TextRow& b) {
        if (a.head.low != b.head.low)
            return a.head.low < b.head.low ? -1 : 1; // complemented when descending
        const std::string_view x = keys[a.order].text, y = keys[b.order].text;
        if (x.size() <= 16 && y.size() <= 16)
            return 0;
        const int c =
            compareFolded(x.substr(std::min<std::size_t>(16, x.size())), y.substr(std::min<std::size_t>(16, y.size())));
        return descending ? -c : c;
    };
    for (std::size_t first = 0; first < count;) {
        std::size_t end = first + 1;
        while (end < count && rows[end].head.high == rows[first].head.high)
            ++end;
        if (end - first > 1)
            std::sort(rows.begin() + static_cast<std::ptrdiff_t>(first),
                      rows.begin() + static_cast<std::ptrdiff_t>(end), [&](const TextRow& a, const TextRow& b) {
                          const int c = compareRest(a, b);
                          return c != 0 ? c < 0 : a.order < b.order;
                      });
        first = end;
    }
    for (std::size_t i = 0; i < count; ++i)
        people[i] = rows[i].position;
}

// Sorts the positions by keys read once per person: a comparison then reads
// no record, which matters with 65,536 rows.
template <class Key, class Less>
void sortByKeys(std::vector<std::uint32_t>& people, std::vector<std::pair<std::optional<Key>, std::uint32_t>>& keyed,
                bool descending, Less less)
{
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (!a.first || !b.first)
            return a.first.has_value() && !b.first.has_value(); // without the column: last
        return descending ? less(*b.first, *a.first) : less(*a.first, *b.first);
    });
    for (std::size_t i = 0; i < people.size(); ++i)
        people[i] = keyed[i].second;
}

// What `read` gives for each row, in the rows' order. The rows are in the
// order of the last sort, so reading the records in that order jumps around
// the table and misses the cache for nearly every person; when the rows are
// a good part of the table, the values are read in table order into a
// vector by position first and taken from there.
template <class Value, class Read>
std::vector<Value> valuesOf(const GameDatabase& db, const std::vector<std::uint32_t>& people, Read read)
{
    std::vector<Value> values;
    values.reserve(people.size());
    const std::size_t count = db.staff.size();
    if (people.size() * 4 < count) {
        for (const std::uint32_t p : people)
            values.push_back(read(p));
        return values;
    }
    std::vector<Value> byPosition;
    byPosition.reserve(count);
    for (std::uint32_t p = 0; p < count; ++p)
        byPosition.push_back(read(p));
    for (const std::uint32_t p : people)
        values.push_back(p < count ? byPosition[p] : read(p));
    return values;
}

} // namespace

int compareFolded(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = foldCase(static_cast<unsigned char>(a[i]));
        const unsigned char y = foldCase(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void sortPeople(const GameDatabase& db, std::vector<std::uint32_t>& people, const PeopleColumn& column, bool descending)
{
    if (column.isNumber()) {
        const auto numbers = valuesOf<std::optional<std::int64_t>>(
            db, people, [&](std::uint32_t p) { return columnNumber(db, p, column); });
        std::vector<std::pair<std::optional<std::int64_t>, std::uint32_t>> keyed;
        keyed.reserve(people.size());
        for (std::size_t i = 0; i < people.size(); ++i)
            keyed.emplace_back(numbers[i], people[i]);
        sortByKeys(people, keyed, descending, std::less<>());
        return;
    }
    sortByText(people,
               valuesOf<TextKey>(db, people,
                                 [&](std::uint32_t p) {
                                     const std::string_view text = columnText(db, p, column);
                                     return TextKey{FoldedHead(text), text};
                                 }),
               descending);
}

} // namespace rostradb
