#include "staff_snapshot.h"

#include <algorithm>
#include <utility>

namespace rostradb {

ByteBuffer::ByteBuffer(std::size_t size)
    : data_(std::make_unique_for_overwrite<std::uint8_t[]>(size)), size_(size), capacity_(size)
{
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)), capacity_(std::exchange(other.capacity_, 0))
{
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    data_ = std::move(other.data_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
}

void ByteBuffer::resizeForOverwrite(std::size_t size)
{
    if (capacity_ < size || capacity_ / 2 > size) {
        data_.reset(); // before the new memory is taken
        *this = ByteBuffer(size);
    }
    size_ = size;
}

void StaffFileSnapshot::clearKeepingRoom()
{
    directory.clear();
    for (TableRegion* region : {&staff, &nonPlayers, &players}) {
        ByteBuffer bytes = std::move(region->bytes);
        bytes.truncate(0);
        *region = TableRegion{};
        region->bytes = std::move(bytes);
    }
}

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
