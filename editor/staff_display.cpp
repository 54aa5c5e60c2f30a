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
template <class Record, std::size_t N>
void showEdits(std::vector<FormUpdate>& updates, const std::array<EditBinding<Record>, N>& bindings,
               const Record& record)
{
    for (const auto& binding : bindings)
        showText(updates, binding.control, std::to_string(binding.field.get(record)));
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
    showEdits(updates, kGeneralEdits, staff);
    for (const auto& box : kCodeBoxes)
        selectItem(updates, box.control, codeItem(box.field.get(staff), box.items.size()));

    // Names and nations come from the selected record itself, which is the
    // same record whenever its staffId is its own position.
    for (const auto& box : kNameAndNationBoxes)
        selectItem(updates, box.control, lookupItem(box.field.get(*selected), lookupBoxCount(counts, box.table)));
    selectItem(updates, control::kClub, lookupItem(staff.clubContracted, counts.clubs));

    // Other classifications (youth players, human managers, ...) have no
    // attribute record the editor knows, and the view stays as it was.
    const std::uint8_t classification = staff.classification;
    const bool showsNonPlayer = classification == kNonPlayer || classification == kNonPlayerAndPlayer;
    const bool showsPlayer = classification == kPlayer || classification == kNonPlayerAndPlayer;
    if (!showsNonPlayer && !showsPlayer)
        return;

    setVisible(updates, control::kStaffHelp, false);
    setVisible(updates, control::kStaffPages, true);
    offerTab(updates, control::kNonPlayerTab, showsNonPlayer);
    offerTab(updates, control::kPlayerTab, showsPlayer);

    if (showsPlayer) {
        const PlayerRecord& player = recordAt(db.players, playerPosition);
        showEdits(updates, kPlayerRatings, player);
        showEdits(updates, kPlayerAbility, player);
        showEdits(updates, kPlayerAttributes, player);
    }
    // For someone who is both, the ability and reputation boxes are written
    // again here and end up showing the non-player record, which is where
    // the commit puts them back.
    if (showsNonPlayer) {
        const NonPlayerRecord& nonPlayer = recordAt(db.nonPlayers, nonPlayerPosition);
        showEdits(updates, kNonPlayerAbility, nonPlayer);
        showEdits(updates, kNonPlayerAttributes, nonPlayer);
    }
}

} // namespace rostradb
