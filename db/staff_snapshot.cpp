#include "staff_snapshot.h"

#include <algorithm>

namespace rostradb {

ByteBuffer::ByteBuffer(std::size_t size) : data_(std::make_unique_for_overwrite<std::uint8_t[]>(size)), size_(size) {}

ByteBuffer::ByteBuffer(const ByteBuffer& other) : ByteBuffer(other.size_)
{
    std::copy_n(other.data(), other.size_, data());
}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other)
{
    if (this != &other)
        *this = ByteBuffer(other);
    return *this;
}

} // namespace rostradb
