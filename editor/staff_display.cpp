#include "staff_display.h"

#include "db/errors.h"
#include "form_controls.h"

#include <string>
#include <utility>

namespace rostradb {

namespace {

void showText(std::vector<FormUpdate>& updates, std::string_view control, std::string text)
{
    updates.push_back({FormUpdate::Kind::Text, control, std::move(text), -1, false});
}

void selectItem(std::vector<FormUpdate>& updates, std::string_view control, std::int64_t index)
{
    updates.push_back({FormUpdate::Kind::ComboIndex, control, {}, index, false});
}

void setVisible(std::vector<FormUpdate>& updates, std::string_view control, bool visible)
{
    updates.push_back({FormUpdate::Kind::Visible, control, {}, -1, visible});
}

void offerTab(std::vector<FormUpdate>& updates, std::string_view page, bool offered)
{
    updates.push_back({FormUpdate::Kind::TabOffered, page, {}, -1, offered});
}

// Every field is shown as its unsigned value in plain decimal: an 8-bit field
// as 0..255, wages and value as 0..4294967295, never with a minus sign. The
// commit reads such a text back to the same bits.
template <class Record>
void showEdits(std::vector<FormUpdate>& updates, const Record& record, const FieldAccess<Record> FormControl::*field)
{
    for (const FormControl& c : formControls())
        if (c.kind == ControlKind::Edit && (c.*field).get != nullptr)
            showText(updates, c.name, std::to_string((c.*field).get(record)));
}

std::int64_t lookupBoxCount(const LookupBoxCounts& counts, LookupTable table)
{
    switch (table) {
    case LookupTable::Nations:
        return counts.nations;
    case LookupTable::FirstNames:
        return counts.firstNames;
    case LookupTable::SecondNames:
        return counts.secondNames;
    case LookupTable::CommonNames:
        return counts.commonNames;
    case LookupTable::Clubs:
        return counts.clubs;
    }
    return 0;
}

// A stored position selects its own item; anything at or beyond the item
// count, the none marker and all-ones included, selects the last item, which
// is "none" once the box has been filled. An empty box selects nothing.
std::int64_t lookupItem(std::uint32_t storedPosition, std::int64_t itemCount)
{
    if (itemCount <= 0)
        return -1;
    const std::int64_t position = storedPosition; // zero-extended: never negative
    return position < itemCount ? position : itemCount - 1;
}

// The code is the item index. A code the box has no item for selects
// nothing, so the box shows empty text rather than a wrong name.
std::int64_t codeItem(std::uint32_t code, std::size_t itemCount)
{
    return code < itemCount ? static_cast<std::int64_t>(code) : -1;
}

} // namespace

void showStaffMember(const GameDatabase& db, const StaffRecord* selected, const LookupBoxCounts& counts,
                     std::vector<FormUpdate>& updates)
{
    if (selected == nullptr)
        throwListIndexOutOfBounds(-1);

    // The position boxes come first: everything below is fetched through the
    // positions they hold, and "Confirm Changes" writes back through them.
    const std::int32_t staffPosition = selected->staffId;
    const std::int32_t playerPosition = selected->playerId;
    const std::int32_t nonPlayerPosition = selected->nonPlayerId;
    showText(updates, control::kPlayerPosition, std::to_string(playerPosition));
    showText(updates, control::kNonPlayerPosition, std::to_string(nonPlayerPosition));
    showText(updates, control::kStaffPosition, std::to_string(staffPosition));

    const StaffRecord& staff = recordAt(db.staff, staffPosition);
    showEdits(updates, staff, &FormControl::staffField);
    for (const FormControl& c : formControls())
        if (c.kind == ControlKind::CodeBox)
            selectItem(updates, c.name, codeItem(c.staffField.get(staff), c.codes.size()));

    // Names and nations come from the selected record itself, which is the
    // same record whenever its staffId is its own position; the club, which
    // the commit writes back at staffId, from the record there.
    for (const FormControl& c : formControls()) {
        if (c.kind != ControlKind::LookupBox)
            continue;
        const StaffRecord& shown = c.fromSelectedRecord ? *selected : staff;
        selectItem(updates, c.name, lookupItem(c.staffField.get(shown), lookupBoxCount(counts, c.table)));
    }

    // Other classifications (youth players, human managers, ...) have no
    // attribute record the editor knows, and the view stays as it was.
    const std::uint8_t classification = staff.classification;
    const bool showsNonPlayer = classificationLeadsTo(classification, StaffTable::NonPlayer);
    const bool showsPlayer = classificationLeadsTo(classification, StaffTable::Player);
    if (!showsNonPlayer && !showsPlayer)
        return;

    setVisible(updates, control::kStaffHelp, false);
    setVisible(updates, control::kStaffPages, true);
    offerTab(updates, control::kNonPlayerTab, showsNonPlayer);
    offerTab(updates, control::kPlayerTab, showsPlayer);

    if (showsPlayer)
        showEdits(updates, recordAt(db.players, playerPosition), &FormControl::playerField);
    // For someone who is both, the ability and reputation boxes are written
    // again here and end up showing the non-player record, which is where
    // the commit puts them back.
    if (showsNonPlayer)
        showEdits(updates, recordAt(db.nonPlayers, nonPlayerPosition), &FormControl::nonPlayerField);
}

} // namespace rostradb
