#include "errors.h"

namespace rostradb {

void throwListIndexOutOfBounds(std::int64_t position)
{
    throw DbError("List index out of bounds (" + std::to_string(position) + ")");
}

} // namespace rostradb
