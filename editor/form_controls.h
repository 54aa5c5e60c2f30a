#pragma once
// The staff form as the window-free editor sees it: one list of its controls,
// each with its object name, label, page, kind and the field it shows. The
// window builds its pages from this list, the display fills the boxes and the
// commit reads them back by walking it, and the window marks the boxes the
// user changed by walking it again, so each control is described once.

#include "db/lookup_names.h"
#include "db/record_layout.h"
#include "db/records.h"
#include "person_links.h"
#include "staff_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

namespace rostradb {

enum class NumberWidth : std::uint8_t { Bits32, Bits64 }; // how the text is read (wages and value in 64 bits)


// The pages of the form, in tab order.
enum class FormPage : std::uint8_t { General, PlayerAttributes, NonPlayerAttributes, OtherAttributes, OtherStuff };

struct FormPageInfo {
    FormPage page;
    std::string_view name;    // object name of the page
    std::string_view caption; // its tab's text
};

enum class ControlKind : std::uint8_t {
    Edit,        // a number the user types; bound to a field of one or two records
    MonthBox,    // invisible: a stored date has no month
    LookupBox,   // lists a table, "none" last; item i is record i
    CodeBox,     // lists code names, item i is code i; shows the stored code, never edited
    PositionBox, // read-only position of a shown record in its table
    SpareBox,    // on "Other stuff": neither filled nor read
};

// Groups of controls that the window lays out together on their page.
enum class FormBlock : std::uint8_t {
    NamesAndNations,
    ClubCodesDatesMoney,
    Ratings,
    Positions,
    PlayerAttributes,
    NonPlayerAttributes,
    MentalAndAbility,
    Preferences,
};

// One control of the form. A field access with no `get` means "not bound to
// that record". Consecutive controls of one block with the same label stand
// on one line behind that label (a date's day, month and year; caps and
// goals).
struct FormControl {
    std::string_view name;
    std::string_view label;
    FormPage page;
    FormBlock block;
    ControlKind kind;
    FieldAccess<StaffRecord> staffField{};
    FieldAccess<PlayerRecord> playerField{};
    FieldAccess<NonPlayerRecord> nonPlayerField{};
    NumberWidth reading = NumberWidth::Bits32;
    std::uint8_t digits = 0;                 // widest value an edit box must show in full
    LookupTable table = LookupTable::Nations; // lookup boxes
    std::span<const std::string_view> codes;  // code boxes: the items, in code order
    // Lookup boxes: the six name and nation boxes show the record of the
    // chosen list item itself; every other box shows the record at the
    // position in `id`.
    bool fromSelectedRecord = false;
    std::string_view hint; // tooltip, where the label alone does not say enough

    // The binding to a record of type Record (its `get` is null when none).
    template <class Record>
    constexpr FieldAccess<Record>& field()
    {
        if constexpr (std::is_same_v<Record, StaffRecord>)
            return staffField;
        else if constexpr (std::is_same_v<Record, PlayerRecord>)
            return playerField;
        else
            return nonPlayerField;
    }
    template <class Record>
    constexpr const FieldAccess<Record>& field() const
    {
        return const_cast<FormControl*>(this)->field<Record>();
    }

    bool showsStaff() const { return staffField.get != nullptr; }
    bool showsPlayer() const { return playerField.get != nullptr; }
    bool showsNonPlayer() const { return nonPlayerField.get != nullptr; }
    // Edit and lookup boxes take the user's input.
    bool isEditable() const { return kind == ControlKind::Edit || kind == ControlKind::LookupBox; }
};

// Control names the display and the window need by name.
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


// The five pages in tab order, and every control of the form: page by page,
// block by block, in the order the window lays them out.
std::span<const FormPageInfo> formPages();
std::span<const FormControl> formControls();

// The control of that object name, or nullptr.
const FormControl* findFormControl(std::string_view name);

// The controls bound to field `fieldIndex` of the layout of `table`, in the
// form's order (ed_cabl shows the ability of either attribute record); empty
// for a field no control shows and for an index past the layout.
const std::vector<const FormControl*>& formControlsShowing(StaffTable table, std::size_t fieldIndex);

// The label of the form box that shows field `fieldIndex` of the layout of
// `table`, such as "Wages" for the staff layout's `wages` or "Current
// ability" for both the player's and the non-player's `currentAbility`.
// Several fields can share one label (a date's day and year are both
// "Birth"; caps and goals are "Caps/Goals"). Empty for a field no edit,
// lookup or code box shows (the positions, the date tails' neighbours such
// as nationDate1Day, the preferences, ...) and for an index past the layout;
// callers then use the layout's own field name.
std::optional<std::string_view> formLabelFor(StaffTable table, std::size_t fieldIndex);

} // namespace rostradb
