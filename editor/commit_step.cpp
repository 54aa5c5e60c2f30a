#include "commit_step.h"

#include "db/record_layout.h"

namespace rostradb {

namespace {

template <class Record>
std::optional<std::pair<std::uint32_t, Record>> copyAt(const std::vector<Record>& table, std::int32_t position)
{
    if (position < 0 || static_cast<std::uint64_t>(position) >= table.size())
        return std::nullopt;
    return std::make_pair(static_cast<std::uint32_t>(position), table[static_cast<std::size_t>(position)]);
}

template <class Record, std::size_t N>
void compare(const std::array<Field<Record>, N>& layout, StaffTable table,
             const std::optional<std::pair<std::uint32_t, Record>>& copy, const std::vector<Record>& records,
             std::vector<FieldChange>& changes)
{
    if (!copy)
        return;
    const auto& [position, before] = *copy;
    const Record& after = records[position];
    for (std::size_t i = 0; i < N; ++i) {
        const std::uint32_t was = layout[i].access.get(before);
        const std::uint32_t is = layout[i].access.get(after);
        if (was != is)
            changes.push_back({{table, position, static_cast<std::uint16_t>(i)}, was, is});
    }
}

} // namespace

CommitCapture::CommitCapture(const GameDatabase& db, const FormValues& form)
    : staff_(copyAt(db.staff, form.staffPosition)), player_(copyAt(db.players, form.playerPosition)),
      nonPlayer_(copyAt(db.nonPlayers, form.nonPlayerPosition))
{
}

EditStep CommitCapture::step(const GameDatabase& db) const
{
    EditStep step;
    // In table order, as the list of changes shows them.
    compare(kStaffLayout, StaffTable::Staff, staff_, db.staff, step.changes);
    compare(kNonPlayerLayout, StaffTable::NonPlayer, nonPlayer_, db.nonPlayers, step.changes);
    compare(kPlayerLayout, StaffTable::Player, player_, db.players, step.changes);
    if (staff_)
        step.name = confirmStepName(db.staff[staff_->first].displayName);
    return step;
}

std::string confirmStepName(const std::string& displayName) { return "Confirm Changes of " + displayName; }

} // namespace rostradb
