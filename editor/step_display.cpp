#include "step_display.h"

#include "form_controls.h"

#include <algorithm>

namespace rostradb {

std::vector<FormUpdate> updatesForStep(const std::vector<FormUpdate>& updates, const EditStep& step)
{
    std::vector<std::string_view> affected;
    for (const FieldChange& change : step.changes)
        for (const FormControl* control : formControlsShowing(change.key.table, change.key.field))
            affected.push_back(control->name);
    std::sort(affected.begin(), affected.end());
    std::vector<FormUpdate> kept;
    for (const FormUpdate& update : updates) {
        const bool showsValue = update.kind == FormUpdate::Kind::Text || update.kind == FormUpdate::Kind::ComboIndex;
        if (showsValue && std::binary_search(affected.begin(), affected.end(), update.control))
            kept.push_back(update);
    }
    return kept;
}

bool stepTouchesPerson(const GameDatabase& db, std::size_t staffPosition, const EditStep& step)
{
    if (staffPosition >= db.staff.size())
        return false;
    // The positions the display put into id, idpl and idnp; links are never edited.
    const StaffRecord& shown = db.staff[staffPosition];
    return stepTouches(step, StaffTable::Staff, static_cast<std::int64_t>(staffPosition)) ||
           stepTouches(step, StaffTable::Staff, shown.staffId) ||
           stepTouches(step, StaffTable::Player, shown.playerId) ||
           stepTouches(step, StaffTable::NonPlayer, shown.nonPlayerId);
}

} // namespace rostradb
