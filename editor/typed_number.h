#pragma once
// Whether a number box will store what its text says. The lenient reading
// (number_reading.h) never refuses a text, so "15,000" quietly stores 15 and
// "-5" in an unsigned field stores 4294967291; the form warns about such a
// text before Confirm instead of refusing it.
//
// A text is plain when, leading and trailing spaces aside, it is empty, a
// decimal integer with an optional sign, or a "$" or "0x" hexadecimal
// number, and the number it names is the one the box shows again after
// Confirm (the stored field's unsigned value). Every other text is stored as
// something the user did not type.

#include "form_controls.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

struct StoredNumber {
    std::uint32_t value = 0; // what the field holds after Confirm
    bool asTyped = true;     // the text is plain and names `value`
};

// The value a text stores into a field of `widthBytes` bytes read with
// `reading`, and whether that is what the text says.
StoredNumber storedNumber(std::string_view text, NumberWidth reading, unsigned widthBytes);
// The same for an edit box of the form, by the field it is bound to.
StoredNumber storedNumber(const FormControl& box, std::string_view text);

// One box whose text is not stored as typed, for the question before
// Confirm: `Wages: "15,000" is stored as 15`.
struct NotAsTyped {
    std::string_view control;
    std::string line;
};
std::string notAsTypedLine(const FormControl& box, std::string_view text, std::uint32_t stored);

} // namespace rostradb
