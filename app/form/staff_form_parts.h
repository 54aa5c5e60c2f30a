#pragma once
// What the two source files of the staff form share: staff_form.cpp fills the
// boxes and reads them back, staff_form_layout.cpp builds the pages. Only
// those two include this.

#include <QString>

#include <string_view>

class QComboBox;

namespace staff_form_parts {

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The help memo's text, shown until a person is.
QString helpText();

// Makes a lookup box's text agree with its selected item: connected to each
// lookup box as it is made, for when the user leaves it, and called by
// values() before it reads the selections.
void settleTypedText(QComboBox* box);

} // namespace staff_form_parts
