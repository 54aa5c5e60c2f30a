#pragma once
// Every failure inside db/ and editor/ is a DbError whose message is the text
// the user sees (the window adds the closing full stop when it is missing).

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rostradb {

class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure after which staff.dat may hold neither what it held before nor
// what was meant to be written: a save or a recovery could not put the old
// bytes back. Its journal is kept, so the next recovery can.
class FilesMayBeChanged : public DbError {
public:
    using DbError::DbError;
};

// "List index out of bounds (N)": a table or directory was asked for a
// position it does not hold.
[[noreturn]] void throwListIndexOutOfBounds(std::int64_t position);

// Bounds-checked positional access, the only way the editor and the writer
// reach a record by a stored position.
template <class Table>
auto& recordAt(Table& table, std::int64_t position)
{
    if (position < 0 || static_cast<std::uint64_t>(position) >= table.size())
        throwListIndexOutOfBounds(position);
    return table[static_cast<std::size_t>(position)];
}

} // namespace rostradb
