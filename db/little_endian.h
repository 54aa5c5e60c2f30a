#pragma once
// The game's files are little-endian and packed; every field is decoded and
// encoded byte by byte at its offset, whatever the host's byte order.

#include <cstddef>
#include <cstdint>

namespace rostradb::le {

inline std::uint32_t load(const std::uint8_t* p, std::size_t width)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

inline void store(std::uint8_t* p, std::size_t width, std::uint32_t v)
{
    for (std::size_t i = 0; i < width; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The same with the width a constant: the loops unroll, and compilers merge
// the byte accesses into one load or store on a little-endian host.
template <std::size_t Width>
inline std::uint32_t loadFixed(const std::uint8_t* p)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < Width; ++i)
        v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

template <std::size_t Width>
inline void storeFixed(std::uint8_t* p, std::uint32_t v)
{
    for (std::size_t i = 0; i < Width; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(load(p, 2)); }
inline std::uint32_t u32(const std::uint8_t* p) { return load(p, 4); }

} // namespace rostradb::le
