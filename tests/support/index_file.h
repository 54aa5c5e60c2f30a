#pragma once
// index.dat as the game writes it: an 8-byte header, then 22 entries of 67
// bytes, each with the table's last index at byte 55 and the table's start in
// its data file at byte 59 (both little-endian 32-bit).

#include "support/byte_builder.h"

#include <cstddef>
#include <cstdint>

namespace rostradb::test {

class IndexFileBuilder {
public:
    static constexpr std::size_t kHeaderBytes = 8;
    static constexpr std::size_t kEntryBytes = 67;
    static constexpr std::size_t kEntryCount = 22;
    static constexpr std::size_t kFileBytes = kHeaderBytes + kEntryBytes * kEntryCount; // 1482
    static constexpr std::size_t kLastIndexAt = 55;
    static constexpr std::size_t kOffsetAt = 59;

    static constexpr std::size_t entryStart(std::size_t position) { return kHeaderBytes + kEntryBytes * position; }

    // All entries zero: every table holds one record at offset 0.
    IndexFileBuilder() : bytes_(kFileBytes) {}

    IndexFileBuilder& entry(std::size_t position, std::uint32_t lastIndex, std::uint32_t offset = 0)
    {
        bytes_.u32(entryStart(position) + kLastIndexAt, lastIndex);
        bytes_.u32(entryStart(position) + kOffsetAt, offset);
        return *this;
    }

    ByteBuilder& raw() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_.bytes(); }

private:
    ByteBuilder bytes_;
};

} // namespace rostradb::test
