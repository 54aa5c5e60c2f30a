#pragma once
// Writes the fields of one file record at explicit byte offsets, little-endian
// and packed, as the game stores them. Deliberately independent of the
// loader's record layout: if both shared one description, a wrong offset in it
// would be written and read back the same way and no test could see it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace rostradb::sample {

class RecordBytes {
public:
    explicit RecordBytes(std::uint8_t* first) : first_(first) {}

    void u8(std::size_t at, std::uint32_t v) { first_[at] = static_cast<std::uint8_t>(v); }
    void u16(std::size_t at, std::uint32_t v) { little(at, 2, v); }
    void u32(std::size_t at, std::uint32_t v) { little(at, 4, v); }
    void i32(std::size_t at, std::int32_t v) { little(at, 4, static_cast<std::uint32_t>(v)); }

    // A text field: the text, then zero bytes up to the field's width. Text as
    // long as the field fills it and has no ending zero byte.
    void text(std::size_t at, std::size_t width, std::string_view s)
    {
        const std::size_t n = s.size() < width ? s.size() : width;
        std::memcpy(first_ + at, s.data(), n);
        std::memset(first_ + at + n, 0, width - n);
    }

private:
    void little(std::size_t at, std::size_t width, std::uint32_t v)
    {
        for (std::size_t i = 0; i < width; ++i)
            first_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    std::uint8_t* first_;
};

} // namespace rostradb::sample
