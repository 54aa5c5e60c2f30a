#pragma once
// The three tables of staff.dat, for naming a record or a field by table.

#include <cstdint>

namespace rostradb {

// In the order the tables lie in staff.dat, which is also the order the list
// of changes sorts them in and the order a save writes them in.
enum class StaffTable : std::uint8_t { Staff, NonPlayer, Player };

} // namespace rostradb
