#include "name_changes.h"

#include "db/display_names.h"
#include "staff_search.h"

namespace rostradb {

namespace {

// The staff field that points into the table.
std::uint32_t StaffRecord::*usingField(LookupTable table)
{
    switch (table) {
    case LookupTable::FirstNames:
        return &StaffRecord::firstName;
    case LookupTable::SecondNames:
        return &StaffRecord::secondName;
    case LookupTable::CommonNames:
        return &StaffRecord::commonName;
    case LookupTable::Clubs:
        return &StaffRecord::clubContracted;
    case LookupTable::Nations:
        break;
    }
    return &StaffRecord::nation;
}

std::string_view textOf(const NameField& field) { return nameFieldText(field.data()); }

} // namespace

std::size_t rebuildDisplayNames(GameDatabase& db, const NameKey& key)
{
    if (key.table != LookupTable::FirstNames && key.table != LookupTable::SecondNames)
        return 0;
    const auto field = usingField(key.table);
    std::size_t rebuilt = 0;
    for (std::size_t person = 0; person < db.staff.size(); ++person) {
        if (db.staff[person].*field != key.position)
            continue;
        rebuildDisplayName(db, person);
        ++rebuilt;
    }
    return rebuilt;
}

std::vector<std::uint32_t> peopleUsing(const GameDatabase& db, LookupTable table)
{
    std::vector<std::uint32_t> counts(lookupCount(db, table), 0);
    const auto field = usingField(table);
    for (const StaffRecord& person : db.staff)
        if (person.*field < counts.size())
            ++counts[person.*field];
    return counts;
}

std::size_t peopleUsing(const GameDatabase& db, const NameKey& key)
{
    const auto field = usingField(key.table);
    std::size_t count = 0;
    for (const StaffRecord& person : db.staff)
        count += person.*field == key.position ? 1 : 0;
    return count;
}

std::vector<std::uint32_t> findNames(const GameDatabase& db, LookupTable table, std::string_view part)
{
    std::vector<std::uint32_t> found;
    const auto count = static_cast<std::uint32_t>(lookupCount(db, table));
    found.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        if (part.empty() || containsIgnoringCase(nameFieldText(nameBytes(db, NameKey{table, i}).data()), part))
            found.push_back(i);
    return found;
}

NameField renamedField(const GameDatabase& db, const NameKey& key, std::string_view text)
{
    const NameField inFile = fileNameField(db, key);
    if (textOf(inFile) == text)
        return inFile;
    NameField now;
    const auto bytes = nameBytes(db, key);
    std::copy(bytes.begin(), bytes.end(), now.begin());
    return withNameText(now, text);
}

std::string renameStepName(const GameDatabase& db, const NameKey& key, std::string_view before, std::string_view after)
{
    std::string name = "Rename " + std::string(lookupWord(key.table)) + " \"" + std::string(before) + "\" to \"" +
                       std::string(after) + "\"";
    if (const std::size_t people = peopleUsing(db, key); people > 0)
        name += " (" + std::to_string(people) + (people == 1 ? " person)" : " people)");
    return name;
}

std::string nameRecordText(const NameKey& key)
{
    return std::string(lookupWord(key.table)) + " " + std::to_string(key.position);
}

ChangeRow describeNameChange(const GameDatabase& db, const NameKey& key)
{
    ChangeRow row;
    row.record = nameRecordText(key);
    row.field = "name";
    row.inFile = std::string(textOf(fileNameField(db, key)));
    row.now = std::string(nameFieldText(nameBytes(db, key).data()));
    return row;
}

} // namespace rostradb
