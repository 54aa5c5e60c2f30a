#pragma once
// The memory of a loaded table, reused by the next load.

#include <cstddef>
#include <vector>

namespace rostradb {

// Room for `count` records in an empty table: the memory it has when that is
// large enough and not more than twice as large, else new memory. Loading
// the same game again thus reads into the memory the last load filled: no
// pages to fault in and zero, and no freed room the allocator may keep
// resident beside the new.
template <class Record>
void reserveReusing(std::vector<Record>& table, std::size_t count)
{
    if (table.capacity() / 2 > count)
        table = std::vector<Record>(); // a much smaller game: let the room go (`= {}` would keep it)
    table.reserve(count);
}

} // namespace rostradb
