#include "people_sort.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace rostradb {

namespace {

constexpr unsigned char foldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

// A text as a sort key: its first eight bytes, case folded, in one number
// (shorter texts padded with zero bytes), so that most comparisons are one
// comparison of numbers; texts whose first eight bytes agree are compared
// in full.
struct FoldedText {
    explicit FoldedText(std::string_view t) : text(t)
    {
        for (std::size_t i = 0; i < 8; ++i)
            head = (head << 8) | (i < t.size() ? foldCase(static_cast<unsigned char>(t[i])) : 0u);
    }
    friend bool operator<(const FoldedText& a, const FoldedText& b)
    {
        return a.head != b.head ? a.head < b.head : compareFolded(a.text, b.text) < 0;
    }
    std::uint64_t head = 0;
    std::string_view text;
};

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

// Each person's key beside their position. The rows are in the order of the
// last sort, so reading the records in that order jumps around the table
// and misses the cache for nearly every person; when the rows are a good
// part of the table, the keys are read in table order into a vector by
// position first and taken from there.
template <class Key, class Read>
std::vector<std::pair<std::optional<Key>, std::uint32_t>> keysOf(const GameDatabase& db,
                                                                 const std::vector<std::uint32_t>& people, Read read)
{
    std::vector<std::pair<std::optional<Key>, std::uint32_t>> keyed;
    keyed.reserve(people.size());
    const std::size_t count = db.staff.size();
    if (people.size() * 4 < count) {
        for (const std::uint32_t p : people)
            keyed.emplace_back(read(p), p);
        return keyed;
    }
    std::vector<std::optional<Key>> byPosition;
    byPosition.reserve(count);
    for (std::uint32_t p = 0; p < count; ++p)
        byPosition.push_back(read(p));
    for (const std::uint32_t p : people)
        keyed.emplace_back(p < count ? byPosition[p] : read(p), p);
    return keyed;
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

void sortPeople(const GameDatabase& db, std::vector<std::uint32_t>& people, const PeopleColumn& column,
                bool descending)
{
    if (column.isNumber()) {
        auto keyed = keysOf<std::int64_t>(db, people, [&](std::uint32_t p) { return columnNumber(db, p, column); });
        sortByKeys(people, keyed, descending, std::less<>());
        return;
    }
    auto keyed = keysOf<FoldedText>(db, people, [&](std::uint32_t p) -> std::optional<FoldedText> {
        return FoldedText(columnText(db, p, column));
    });
    sortByKeys(people, keyed, descending, std::less<>());
}

} // namespace rostradb
