#include "staff_search.h"

#include "db/errors.h"

#include <algorithm>
#include <string>

namespace rostradb {

namespace {

// Case is folded for the 26 unaccented letters only, byte by byte: the names
// are Windows-1252 bytes, and an accented small letter must find only itself.
constexpr char foldCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

bool containsFolded(std::string_view haystack, std::string_view foldedNeedle)
{
    if (foldedNeedle.size() > haystack.size())
        return false;
    const auto found = std::search(haystack.begin(), haystack.end(), foldedNeedle.begin(), foldedNeedle.end(),
                                   [](char h, char n) { return foldCase(h) == n; });
    return found != haystack.end();
}

} // namespace

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    std::string needle(part);
    std::transform(needle.begin(), needle.end(), needle.begin(), foldCase);
    return containsFolded(text, needle);
}

void searchStaff(std::string_view searchText, const std::vector<StaffRecord>& staff,
                 const TableDirectory& directory, std::vector<SearchHit>& hits)
{
    // The directory, not the table, says how many people there are; a table
    // that holds fewer (nothing loaded yet, or a load that stopped early)
    // ends the search with the list error at the first missing position.
    const std::uint64_t count = directory.at(entry::kStaff).recordCount();

    std::string needle(searchText);
    std::transform(needle.begin(), needle.end(), needle.begin(), foldCase);

    for (std::uint64_t position = 0; position < count; ++position) {
        const StaffRecord& record = recordAt(staff, static_cast<std::int64_t>(position));
        // An empty text finds nobody, and an empty name is found by nothing.
        if (!needle.empty() && containsFolded(record.displayName, needle))
            hits.push_back({record.displayName, static_cast<std::size_t>(position)});
    }
}

std::vector<SearchHit> searchStaff(std::string_view searchText, const std::vector<StaffRecord>& staff,
                                   const TableDirectory& directory)
{
    std::vector<SearchHit> hits;
    searchStaff(searchText, staff, directory, hits);
    return hits;
}

} // namespace rostradb
