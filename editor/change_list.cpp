#include "change_list.h"

#include "db/record_layout.h"
#include "form_controls.h"
#include "lookup_tables.h"
#include "person_links.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace rostradb {

namespace {

constexpr std::uint16_t staffField(std::string_view name)
{
    for (std::size_t i = 0; i < kStaffLayout.size(); ++i)
        if (name == kStaffLayout[i].name)
            return static_cast<std::uint16_t>(i);
    throw "no such staff field"; // at compile time: a misspelt name does not build
}

// The staff fields that hold a position in a lookup table, whose value is
// easier to read with the entry's name after it.
struct LookupField {
    std::uint16_t field;
    LookupTable table;
};
constexpr LookupField kLookupFields[] = {
    {staffField("firstName"), LookupTable::FirstNames},   {staffField("secondName"), LookupTable::SecondNames},
    {staffField("commonName"), LookupTable::CommonNames}, {staffField("nation"), LookupTable::Nations},
    {staffField("secondNation"), LookupTable::Nations},   {staffField("nationContracted"), LookupTable::Nations},
    {staffField("clubContracted"), LookupTable::Clubs},
};

} // namespace

std::string valueText(const GameDatabase& db, const ValueKey& key, std::uint32_t value)
{
    std::string text = std::to_string(value);
    if (key.table == StaffTable::Staff)
        for (const auto& lookup : kLookupFields)
            if (lookup.field == key.field)
                text += " (" +
                        (value < lookupCount(db, lookup.table) ? std::string(lookupText(db, lookup.table, value))
                                                               : std::string("none")) +
                        ")";
    return text;
}

// The first person, in table order, whose linked record each record is. One
// pass over the people for both tables: the staff table is read once, and
// only the three fields that decide the links.
void RecordOwners::build(const GameDatabase& db)
{
    playerOwners_.assign(recordCount(db, StaffTable::Player), kNobody);
    nonPlayerOwners_.assign(recordCount(db, StaffTable::NonPlayer), kNobody);
    const auto own = [](std::vector<std::uint32_t>& owners, std::int32_t link, std::uint32_t person) {
        if (link >= 0 && static_cast<std::size_t>(link) < owners.size() &&
            owners[static_cast<std::size_t>(link)] == kNobody)
            owners[static_cast<std::size_t>(link)] = person;
    };
    for (std::uint32_t i = 0; i < db.staff.size(); ++i) {
        const StaffRecord& person = db.staff[i];
        if (classificationLeadsTo(person.classification, StaffTable::Player))
            own(playerOwners_, person.playerId, i);
        if (classificationLeadsTo(person.classification, StaffTable::NonPlayer))
            own(nonPlayerOwners_, person.nonPlayerId, i);
    }
}

void RecordOwners::clear()
{
    playerOwners_.clear();
    nonPlayerOwners_.clear();
}

std::optional<std::size_t> RecordOwners::owner(StaffTable table, std::uint32_t position) const
{
    const std::vector<std::uint32_t>* owners = nullptr;
    switch (table) {
    case StaffTable::Staff:
        return position;
    case StaffTable::NonPlayer:
        owners = &nonPlayerOwners_;
        break;
    case StaffTable::Player:
        owners = &playerOwners_;
        break;
    }
    if (position >= owners->size() || (*owners)[position] == kNobody)
        return std::nullopt;
    return (*owners)[position];
}

const char* tableWord(StaffTable table)
{
    switch (table) {
    case StaffTable::NonPlayer:
        return "non-player";
    case StaffTable::Player:
        return "player";
    case StaffTable::Staff:
        break;
    }
    return "staff";
}

// The label of one table's fields: the form's label, with the format's field
// name after it where one label stands for several fields (a date's day and
// year are both "Birth"); the field name alone where no box shows the field.
std::vector<std::string> labelsOf(StaffTable table)
{
    const std::size_t n = fieldCount(table);
    std::vector<std::optional<std::string_view>> formLabels;
    for (std::size_t f = 0; f < n; ++f)
        formLabels.push_back(formLabelFor(table, f));
    std::vector<std::string> labels;
    for (std::size_t f = 0; f < n; ++f) {
        const char* name = fieldName(table, static_cast<std::uint16_t>(f));
        if (!formLabels[f]) {
            labels.emplace_back(name);
            continue;
        }
        const bool shared = std::count(formLabels.begin(), formLabels.end(), formLabels[f]) > 1;
        labels.push_back(shared ? std::string(*formLabels[f]) + " (" + name + ")" : std::string(*formLabels[f]));
    }
    return labels;
}

const std::string& fieldLabel(StaffTable table, std::uint16_t field)
{
    static const std::vector<std::string> staff = labelsOf(StaffTable::Staff);
    static const std::vector<std::string> nonPlayer = labelsOf(StaffTable::NonPlayer);
    static const std::vector<std::string> player = labelsOf(StaffTable::Player);
    switch (table) {
    case StaffTable::NonPlayer:
        return nonPlayer.at(field);
    case StaffTable::Player:
        return player.at(field);
    case StaffTable::Staff:
        break;
    }
    return staff.at(field);
}

ChangeRow describeChange(const GameDatabase& db, const RecordOwners& owners, const ValueKey& key)
{
    ChangeRow row;
    row.record = std::string(tableWord(key.table)) + " " + std::to_string(key.position);
    row.personPosition = owners.owner(key.table, key.position);
    if (row.personPosition && *row.personPosition < db.staff.size())
        row.person = db.staff[*row.personPosition].displayName;
    row.field = fieldLabel(key.table, key.field);
    if (const auto inFile = snapshotValue(db.snapshot, key))
        row.inFile = valueText(db, key, *inFile);
    row.now = valueText(db, key, currentValue(db, key));
    return row;
}

std::string statusLine(LoadState loaded, std::size_t changedValues, bool unconfirmedEdits)
{
    std::string line;
    if (loaded == LoadState::NotLoaded)
        line = "No database loaded";
    else if (loaded == LoadState::Partial)
        line = "Not completely loaded: changes cannot be saved";
    else if (changedValues == 0)
        line = "No unsaved changes";
    else
        line = std::to_string(changedValues) + (changedValues == 1 ? " value" : " values") +
               " changed since the last save";
    if (unconfirmedEdits)
        line += " - typed changes not confirmed";
    return line;
}

} // namespace rostradb
