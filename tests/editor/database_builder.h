#pragma once
// Small in-memory databases for the editor's tests, built record by record
// without any file: directory entries written byte by byte, records filled
// through the same field layouts the loader uses.

#include "db/game_database.h"
#include "db/record_layout.h"
#include "editor/commit_edits.h"
#include "editor/staff_display.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace rostradb::testing {

// An index.dat entry announcing `lastIndex` + 1 records (lastIndex at byte 55).
inline IndexEntry indexEntry(std::uint32_t lastIndex)
{
    IndexEntry e;
    for (std::size_t i = 0; i < 4; ++i)
        e.bytes[55 + i] = static_cast<std::uint8_t>(lastIndex >> (8 * i));
    return e;
}

// A directory of `entries` entries in which entry `position` announces `lastIndex`.
inline TableDirectory directoryWith(std::vector<std::pair<std::size_t, std::uint32_t>> lastIndexes,
                                    std::size_t entries = TableDirectory::kEntryCount)
{
    TableDirectory directory;
    for (std::size_t position = 0; position < entries; ++position) {
        std::uint32_t last = 0;
        for (const auto& [p, l] : lastIndexes)
            if (p == position)
                last = l;
        directory.append(indexEntry(last));
    }
    return directory;
}

template <class Record>
std::vector<Record> lookupTable(std::size_t count, const std::string& stem)
{
    std::vector<Record> table(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = stem + std::to_string(i);
        std::copy(name.begin(), name.end(), table[i].bytes.begin() + Record::kNameOffset);
    }
    return table;
}

// Gives every field of the layout a value that differs from field to field
// and from seed to seed, over the field's whole width.
template <class Record, std::size_t N>
void fillFields(Record& record, const std::array<Field<Record>, N>& layout, std::uint32_t seed)
{
    std::uint32_t state = seed * 2654435761u + 0x9E3779B9u;
    for (const auto& field : layout) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        field.access.set(record, state);
    }
}

// The names of the fields in which two records differ; empty when equal.
template <class Record, std::size_t N>
std::vector<std::string> differingFields(const Record& a, const Record& b, const std::array<Field<Record>, N>& layout)
{
    std::vector<std::string> names;
    for (const auto& field : layout)
        if (field.access.get(a) != field.access.get(b))
            names.emplace_back(field.name);
    return names;
}
inline std::vector<std::string> differingFields(const StaffRecord& a, const StaffRecord& b)
{
    auto names = differingFields(a, b, kStaffLayout);
    if (a.displayName != b.displayName)
        names.emplace_back("displayName");
    return names;
}
inline std::vector<std::string> differingFields(const PlayerRecord& a, const PlayerRecord& b)
{
    return differingFields(a, b, kPlayerLayout);
}
inline std::vector<std::string> differingFields(const NonPlayerRecord& a, const NonPlayerRecord& b)
{
    return differingFields(a, b, kNonPlayerLayout);
}

// A loaded database with lookup tables of distinct sizes (3 nations, 4 first,
// 5 second, 6 common names, 7 clubs), so that a box checked against the wrong
// table shows, and one person per classification given: person k at staff
// position k with staffId, player and non-player k, names in range and every
// other field filled with varied values.
inline GameDatabase peopleDatabase(std::initializer_list<std::uint8_t> classifications)
{
    GameDatabase db;
    db.nations = lookupTable<NationRecord>(3, "Nation");
    db.firstNames = lookupTable<NameRecord>(4, "First");
    db.secondNames = lookupTable<NameRecord>(5, "Second");
    db.commonNames = lookupTable<NameRecord>(6, "Common");
    db.clubs = lookupTable<ClubRecord>(7, "Club");

    for (std::uint8_t classification : classifications) {
        const auto k = static_cast<std::uint32_t>(db.staff.size());
        StaffRecord& s = db.staff.emplace_back();
        fillFields(s, kStaffLayout, 3 * k + 1);
        s.staffId = s.playerId = s.nonPlayerId = static_cast<std::int32_t>(k);
        s.classification = classification;
        s.firstName = k % 4;
        s.secondName = (k + 1) % 5;
        s.commonName = (k + 2) % 6;
        s.nation = k % 3;
        s.secondNation = (k + 1) % 3;
        s.nationContracted = (k + 2) % 3;
        s.clubContracted = k % 7;
        s.displayName = "Person " + std::to_string(k);
        fillFields(db.players.emplace_back(), kPlayerLayout, 3 * k + 2);
        fillFields(db.nonPlayers.emplace_back(), kNonPlayerLayout, 3 * k + 3);
    }
    db.directory = directoryWith({{entry::kStaff, static_cast<std::uint32_t>(db.staff.size() - 1)}});
    return db;
}

// The item counts the window's boxes have after a load: records plus "none".
inline LookupBoxCounts loadedBoxCounts(const GameDatabase& db)
{
    auto withNone = [](std::size_t records) { return static_cast<std::int64_t>(records) + 1; };
    return {withNone(db.firstNames.size()), withNone(db.secondNames.size()), withNone(db.commonNames.size()),
            withNone(db.nations.size()), withNone(db.clubs.size())};
}

// What the window does with the updates: each box keeps the last text or
// item it was given, and "Confirm Changes" hands them all back. Starting from
// a filled `form` leaves the values of an earlier person standing.
inline FormValues applyUpdates(const std::vector<FormUpdate>& updates, FormValues form = {})
{
    for (const auto& u : updates) {
        const std::string control(u.control);
        if (u.kind == FormUpdate::Kind::ComboIndex)
            form.selections[control] = form.shownSelections[control] = static_cast<std::int32_t>(u.index);
        else if (u.kind != FormUpdate::Kind::Text)
            continue;
        else if (control == "id")
            form.staffPosition = std::stoi(u.text);
        else if (control == "idpl")
            form.playerPosition = std::stoi(u.text);
        else if (control == "idnp")
            form.nonPlayerPosition = std::stoi(u.text);
        else
            form.texts[control] = u.text;
    }
    return form;
}

} // namespace rostradb::testing
