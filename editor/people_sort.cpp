#include "people_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <utility>

namespace rostradb {

namespace {

constexpr unsigned char foldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

// Eight bytes at once: each of a..z less 32, every other byte as it is. A
// byte's low seven bits plus 0x1f carry into its top bit from 'a' up, plus
// 0x05 from just past 'z' up, and never into the next byte.
constexpr std::uint64_t foldCase8(std::uint64_t bytes)
{
    constexpr std::uint64_t kEach = 0x0101010101010101u;
    const std::uint64_t low7 = bytes & (0x7f * kEach);
    const std::uint64_t fromA = low7 + (0x80 - 'a') * kEach;
    const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kEach;
    const std::uint64_t lower = fromA & ~pastZ & ~bytes & (0x80 * kEach);
    return bytes - (lower >> 2);
}

// Eight bytes as a number whose most significant byte is the first.
std::uint64_t bigEndian8(const unsigned char* bytes)
{
    std::uint64_t value;
    std::memcpy(&value, bytes, 8);
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap64(value);
    return value;
}

// A text's first sixteen bytes, case folded, as two numbers (shorter texts
// padded with zero bytes, which no text holds): nearly every comparison is
// one or two comparisons of numbers, and the rest compare the bytes after.
struct FoldedHead {
    FoldedHead() = default;
    explicit FoldedHead(std::string_view t)
    {
        unsigned char bytes[16] = {};
        std::memcpy(bytes, t.data(), std::min<std::size_t>(16, t.size()));
        high = foldCase8(bigEndian8(bytes));
        low = foldCase8(bigEndian8(bytes + 8));
    }
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

// One row for a text sort: the first eight bytes of its head and its place
// before the sort (which finds the rest of its head and its person).
struct TextRow {
    std::uint64_t high;
    std::uint32_t order;
};

// A sort by text takes as long as the comparisons' guesses go wrong, which
// with names is about every other one. The rows are sorted instead by the
// first eight bytes of their heads, a byte at a time, lowest first (a pass
// where every row has the same byte is skipped); each pass keeps the order
// of equal bytes. Rows whose first eight bytes agree (a shared first name,
// say) are few and are then put in order by the rest of their text, equal
// texts in their order before the sort. `heads[i]` is the head of
// `people[i]`'s text, which `textOf` gives.
template <class TextOf>
void sortByText(std::vector<std::uint32_t>& people, const std::vector<FoldedHead>& heads, bool descending,
                TextOf textOf)
{
    const std::size_t count = people.size();
    std::vector<TextRow> rows(count);
    std::vector<TextRow> spare(count);
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    // The complement sorts backwards; equal heads keep their order.
    const std::uint64_t flip = descending ? ~std::uint64_t{0} : 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t high = heads[i].high ^ flip;
        rows[i] = {high, i};
        for (unsigned digit = 0; digit < 8; ++digit)
            ++counts[digit][(high >> (8 * digit)) & 0xffu];
    }
    for (unsigned digit = 0; digit < 8; ++digit) {
        std::array<std::uint32_t, 256>& offsets = counts[digit];
        if (std::find(offsets.begin(), offsets.end(), count) != offsets.end())
            continue;
        std::uint32_t next = 0;
        for (std::uint32_t& offset : offsets)
            next += std::exchange(offset, next);
        for (const TextRow& row : rows)
            spare[offsets[(row.high >> (8 * digit)) & 0xffu]++] = row;
        rows.swap(spare);
    }
    // -1, 0 or 1 as a's text sorts before, with or after b's, given that the
    // first eight bytes agree.
    const auto compareRest = [&](const TextRow& a, const TextRow& b) {
        const std::uint64_t x = heads[a.order].low, y = heads[b.order].low;
        if (x != y)
            return (x < y) != descending ? -1 : 1;
        const std::string_view s = textOf(people[a.order]), t = textOf(people[b.order]);
        if (s.size() <= 16 && t.size() <= 16)
            return 0;
        const int c =
            compareFolded(s.substr(std::min<std::size_t>(16, s.size())), t.substr(std::min<std::size_t>(16, t.size())));
        return descending ? -c : c;
    };
    for (std::size_t first = 0; first < count;) {
        std::size_t end = first + 1;
        while (end < count && rows[end].high == rows[first].high)
            ++end;
        if (end - first > 1)
            std::sort(rows.begin() + static_cast<std::ptrdiff_t>(first),
                      rows.begin() + static_cast<std::ptrdiff_t>(end), [&](const TextRow& a, const TextRow& b) {
                          const int c = compareRest(a, b);
                          return c != 0 ? c < 0 : a.order < b.order;
                      });
        first = end;
    }
    std::vector<std::uint32_t> sorted(count);
    for (std::size_t i = 0; i < count; ++i)
        sorted[i] = people[rows[i].order];
    people.swap(sorted);
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
    const auto textOf = [&](std::uint32_t p) { return columnText(db, p, column); };
    sortByText(people, valuesOf<FoldedHead>(db, people, [&](std::uint32_t p) { return FoldedHead(textOf(p)); }),
               descending, textOf);
}

} // namespace rostradb
