#pragma once
// The staff form as the window-free editor sees it: which control shows which
// field, how its text is read back, and the item lists of the four code boxes.
// Display and commit walk these same lists, so a field is bound to its control
// in exactly one place.

#include "db/record_layout.h"
#include "db/records.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace rostradb {

enum class NumberWidth { Bits32, Bits64 }; // how the text is read (wages and value in 64 bits)

template <class Record>
struct EditBinding {
    std::string_view control;
    FieldAccess<Record> field;
    NumberWidth reading = NumberWidth::Bits32;
};

// Which table a name or nation box lists.
enum class LookupTable { Nations, FirstNames, SecondNames, CommonNames, Clubs };

struct SelectionBinding {
    std::string_view control;
    FieldAccess<StaffRecord> field;
    LookupTable table;
};

// A box that lists code names: item i stands for code i.
struct CodeBinding {
    std::string_view control;
    FieldAccess<StaffRecord> field;
    std::span<const std::string_view> items; // the box's items, in code order
};

// Control names of the view-state updates.
namespace control {
inline constexpr std::string_view kStaffHelp = "mmo_staffhelp";
inline constexpr std::string_view kStaffPages = "Pagecontrol3";
inline constexpr std::string_view kPlayerTab = "tab_staffpl";
inline constexpr std::string_view kNonPlayerTab = "tab_staffnp";
inline constexpr std::string_view kStaffPosition = "id";
inline constexpr std::string_view kPlayerPosition = "idpl";
inline constexpr std::string_view kNonPlayerPosition = "idnp";
inline constexpr std::string_view kClub = "cbx_club";
} // namespace control

// The item texts of the code boxes; an item's index is the stored code.
extern const std::array<std::string_view, 17> kJobCodeNames;           // cbx_jobn, cbx_jobc
extern const std::array<std::string_view, 9> kSquadCodeNames;          // cbx_squad
extern const std::array<std::string_view, 7> kClassificationCodeNames; // cbx_class

// Classification codes that lead to attribute records.
inline constexpr std::uint8_t kNonPlayer = 1;
inline constexpr std::uint8_t kPlayer = 2;
inline constexpr std::uint8_t kNonPlayerAndPlayer = 3;

// The general values of a StaffRecord (wages .. goals), display order. Within
// one record the order of the commit's writes cannot be observed, so the
// commit walks the same lists.
extern const std::array<EditBinding<StaffRecord>, 18> kGeneralEdits;
// The four code boxes (jobs, squad, classification), display only.
extern const std::array<CodeBinding, 4> kCodeBoxes;
// The six name and nation boxes, in display order.
extern const std::array<SelectionBinding, 6> kNameAndNationBoxes;
// The twelve position and side ratings and the squad number (PlayerRecord).
extern const std::array<EditBinding<PlayerRecord>, 13> kPlayerRatings;
// Ability and reputation (ed_cabl .. ed_wrep): shown from either record.
extern const std::array<EditBinding<PlayerRecord>, 5> kPlayerAbility;
extern const std::array<EditBinding<NonPlayerRecord>, 5> kNonPlayerAbility;
// The 42 player attributes, the 21 non-player attributes.
extern const std::array<EditBinding<PlayerRecord>, 42> kPlayerAttributes;
extern const std::array<EditBinding<NonPlayerRecord>, 21> kNonPlayerAttributes;

} // namespace rostradb
