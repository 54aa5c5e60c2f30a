#include "people_sort.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace rostradb {

namespace {

constexpr unsigned char foldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

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
        std::vector<std::pair<std::optional<std::int64_t>, std::uint32_t>> keyed;
        keyed.reserve(people.size());
        for (const std::uint32_t p : people)
            keyed.emplace_back(columnNumber(db, p, column), p);
        sortByKeys(people, keyed, descending, std::less<>());
        return;
    }
    std::vector<std::pair<std::optional<std::string_view>, std::uint32_t>> keyed;
    keyed.reserve(people.size());
    for (const std::uint32_t p : people)
        keyed.emplace_back(columnText(db, p, column), p);
    sortByKeys(people, keyed, descending,
               [](std::string_view a, std::string_view b) { return compareFolded(a, b) < 0; });
}

} // namespace rostradb
