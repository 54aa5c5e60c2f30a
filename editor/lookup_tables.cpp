#include "lookup_tables.h"

#include <vector>

namespace rostradb {

namespace {

// Calls `use` with the table itself.
template <class Use>
decltype(auto) withTable(const GameDatabase& db, LookupTable table, Use use)
{
    switch (table) {
    case LookupTable::FirstNames:
        return use(db.firstNames);
    case LookupTable::SecondNames:
        return use(db.secondNames);
    case LookupTable::CommonNames:
        return use(db.commonNames);
    case LookupTable::Clubs:
        return use(db.clubs);
    case LookupTable::Nations:
        break;
    }
    return use(db.nations);
}

} // namespace

std::size_t lookupCount(const GameDatabase& db, LookupTable table)
{
    return withTable(db, table, [](const auto& records) { return records.size(); });
}

std::string_view lookupText(const GameDatabase& db, LookupTable table, std::uint32_t position)
{
    return withTable(db, table, [position](const auto& records) {
        return position < records.size() ? records[position].displayText() : std::string_view{};
    });
}

} // namespace rostradb
