#pragma once
// The generator's own random numbers. The sample game must come out byte for
// byte the same for a seed on every compiler and standard library, and the
// std:: distributions do not promise that, so everything here is splitmix64
// plus plain modulo arithmetic.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace rostradb::sample {

class SampleRandom {
public:
    // Each file draws from its own stream of the seed, so that a change to the
    // way one file is made does not reshuffle all the others.
    SampleRandom(std::uint64_t seed, std::uint64_t stream)
        : state_(seed + stream * 0xD1B54A32D192ED03ull)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 .. n-1 (0 when n is 0). The modulo bias is far below anything a sample
    // world could show.
    std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(next() % n); }

    // lo .. hi, both included.
    std::uint32_t between(std::uint32_t lo, std::uint32_t hi) { return lo + below(hi - lo + 1); }

    // True about once in n draws.
    bool oneIn(std::uint32_t n) { return below(n) == 0; }

    // True in about percent of draws out of a hundred.
    bool percent(std::uint32_t percent) { return below(100) < percent; }

    template <typename Choices>
    const auto& pick(const Choices& choices) { return choices[below(static_cast<std::uint32_t>(std::size(choices)))]; }

    void fill(std::span<std::uint8_t> bytes)
    {
        std::size_t i = 0;
        while (i < bytes.size()) {
            std::uint64_t word = next();
            for (int k = 0; k < 8 && i < bytes.size(); ++k, ++i, word >>= 8)
                bytes[i] = static_cast<std::uint8_t>(word);
        }
    }

private:
    std::uint64_t state_;
};

} // namespace rostradb::sample
