#pragma once
// Invented names for the sample game: pronounceable, built from syllables,
// clearly fictional. The game's text is Windows-1252, so some names carry its
// accented letters as single bytes (0xE9 for e-acute and so on).

#include "sample_random.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rostradb::sample {

// Every name field of the game is 51 bytes: the text, then zero bytes, or 51
// bytes of text and no zero at all.
inline constexpr std::size_t kNameFieldBytes = 51;

enum class NameKind { First, Second, Common, Nation, Club };

// A whole table of `count` names of one kind. Duplicates occur as they would
// in a real world. A table of four or more names also holds a few empty names
// and one or two that fill all 51 bytes, so the editor meets both ends.
std::vector<std::string> inventNames(NameKind kind, std::uint32_t count, SampleRandom& random);

} // namespace rostradb::sample
