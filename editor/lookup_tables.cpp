#include "lookup_tables.h"

namespace rostradb {

std::string_view lookupText(const GameDatabase& db, LookupTable table, std::uint32_t position)
{
    if (position >= lookupCount(db, table))
        return {};
    return nameFieldText(nameBytes(db, NameKey{table, position}).data());
}

} // namespace rostradb
