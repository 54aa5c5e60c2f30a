#pragma once
// Builds binary test files byte by byte: little-endian integers and raw text
// put at explicit offsets, the buffer growing as needed. Test data is laid
// out by hand with this rather than by the production record layouts, so a
// mistake in those layouts cannot hide in both the file and the expectation.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rostradb::test {

class ByteBuilder {
public:
    explicit ByteBuilder(std::size_t size = 0, std::uint8_t fill = 0) : bytes_(size, fill) {}

    ByteBuilder& u8(std::size_t offset, std::uint8_t value) { return put(offset, value, 1); }
    ByteBuilder& u16(std::size_t offset, std::uint16_t value) { return put(offset, value, 2); }
    ByteBuilder& u32(std::size_t offset, std::uint32_t value) { return put(offset, value, 4); }

    // The characters of `text`, without a terminating zero.
    ByteBuilder& text(std::size_t offset, std::string_view text)
    {
        growTo(offset + text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            bytes_[offset + i] = static_cast<std::uint8_t>(text[i]);
        return *this;
    }

    ByteBuilder& fill(std::size_t offset, std::size_t count, std::uint8_t value)
    {
        growTo(offset + count);
        for (std::size_t i = 0; i < count; ++i)
            bytes_[offset + i] = value;
        return *this;
    }

    // Gives every byte from `offset` on a value that depends on its position
    // and on `seed`. Any 256 consecutive bytes all differ, so a field read
    // from the wrong offset shows up as a wrong value.
    ByteBuilder& pattern(std::size_t offset, std::size_t count, std::uint32_t seed)
    {
        growTo(offset + count);
        for (std::size_t i = offset; i < offset + count; ++i)
            bytes_[i] = static_cast<std::uint8_t>(i * 167 + seed * 59 + 1);
        return *this;
    }

    void resize(std::size_t size) { bytes_.resize(size); }
    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    void growTo(std::size_t size)
    {
        if (bytes_.size() < size)
            bytes_.resize(size);
    }

    ByteBuilder& put(std::size_t offset, std::uint32_t value, std::size_t width)
    {
        growTo(offset + width);
        for (std::size_t i = 0; i < width; ++i)
            bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return *this;
    }

    std::vector<std::uint8_t> bytes_;
};

// The little-endian value of `width` bytes at `offset`.
inline std::uint32_t readLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return value;
}

} // namespace rostradb::test
