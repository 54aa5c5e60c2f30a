#include "step_display.h"

#include "form_controls.h"
#include "staff_tables.h"

#include <algorithm>
#include <type_traits>

namespace rostradb {

namespace {

// A record with only the field's bits set reads as non-zero through every
// binding to that field and as zero through all others.
template <class Record, std::size_t N>
void addControls(const std::array<Field<Record>, N>& layout, std::uint16_t field, std::vector<std::string_view>& out)
{
    Record probe{};
    layout.at(field).access.set(probe, 0xFFFFFFFF);
    for (const FormControl& c : formControls()) {
        const FieldAccess<Record>& binding = c.field<Record>();
        if (binding.get != nullptr && binding.get(probe) != 0)
            out.push_back(c.name);
    }
}

} // namespace

std::vector<std::string_view> controlsShowing(StaffTable table, std::uint16_t field)
{
    std::vector<std::string_view> names;
    staff_tables::visitLayout(table, [&](const auto& layout) { addControls(layout, field, names); });
    return names;
}

std::vector<FormUpdate> updatesForStep(const std::vector<FormUpdate>& updates, const EditStep& step)
{
    std::vector<std::string_view> affected;
    for (const FieldChange& change : step.changes)
        for (std::string_view name : controlsShowing(change.key.table, change.key.field))
            affected.push_back(name);
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
