#include "display_names.h"

#include <algorithm>
#include <cstring>

namespace rostradb {

namespace {

// "First Second", the parts cut to what is left of the 50 bytes, in order,
// and copied once into the final string: no temporary per part.
void joinNames(std::string& name, std::string_view first, std::string_view second)
{
    constexpr std::size_t kMax = StaffRecord::kDisplayNameMax;
    const std::size_t firstBytes = std::min(first.size(), kMax);
    const std::size_t spaceBytes = std::min<std::size_t>(1, kMax - firstBytes);
    const std::size_t secondBytes = std::min(second.size(), kMax - firstBytes - spaceBytes);
    name.resize(firstBytes + spaceBytes + secondBytes);
    char* out = name.data();
    std::memcpy(out, first.data(), firstBytes);
    if (spaceBytes)
        out[firstBytes] = ' ';
    if (secondBytes) // an empty name's data may be the null pointer
        std::memcpy(out + firstBytes + spaceBytes, second.data(), secondBytes);
}

// The length of every name's text, read through the table in order.
std::vector<std::uint8_t> textLengths(const std::vector<NameRecord>& names)
{
    std::vector<std::uint8_t> lengths(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        lengths[i] = static_cast<std::uint8_t>(names[i].displayText().size());
    return lengths;
}

} // namespace

void assignDisplayName(std::string& name, std::uint32_t firstName, std::uint32_t secondName,
                       const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames)
{
    name.clear();
    if (firstName >= firstNames.size() || secondName >= secondNames.size())
        return;
    joinNames(name, firstNames[firstName].displayText(), secondNames[secondName].displayText());
}

std::string buildDisplayName(std::uint32_t firstName, std::uint32_t secondName,
                             const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames)
{
    std::string name;
    assignDisplayName(name, firstName, secondName, firstNames, secondNames);
    return name;
}

void rebuildDisplayName(GameDatabase& db, std::size_t person)
{
    StaffRecord& record = db.staff[person];
    assignDisplayName(record.displayName, record.firstName, record.secondName, db.firstNames, db.secondNames);
}

// A person's names lie anywhere in two tables of 4 MB each: nearly every
// read of them misses the cache. Their lengths are found first, through each
// table in order (fast, and 64 KB each), so that sizing a person's name waits
// for no such read; the names of the person a few places ahead are asked for
// while this one's are copied, so the misses overlap.
DisplayNamer::DisplayNamer(const std::vector<NameRecord>& firstNames, const std::vector<NameRecord>& secondNames)
    : firstNames_(firstNames), secondNames_(secondNames), firstLengths_(textLengths(firstNames)),
      secondLengths_(textLengths(secondNames))
{
}

void DisplayNamer::name(std::span<StaffRecord> people) const
{
    const auto text = [](const std::vector<NameRecord>& names, const std::vector<std::uint8_t>& lengths,
                         std::uint32_t i) {
        return std::string_view(reinterpret_cast<const char*>(names[i].bytes.data()), lengths[i]);
    };
    constexpr std::size_t kAhead = 16;
    for (std::size_t person = 0; person < people.size(); ++person) {
        if (person + kAhead < people.size()) {
            const StaffRecord& ahead = people[person + kAhead];
            if (ahead.firstName < firstNames_.size())
                __builtin_prefetch(firstNames_.data() + ahead.firstName);
            if (ahead.secondName < secondNames_.size())
                __builtin_prefetch(secondNames_.data() + ahead.secondName);
        }
        StaffRecord& record = people[person];
        record.displayName.clear();
        if (record.firstName < firstNames_.size() && record.secondName < secondNames_.size())
            joinNames(record.displayName, text(firstNames_, firstLengths_, record.firstName),
                      text(secondNames_, secondLengths_, record.secondName));
    }
}

void rebuildDisplayNames(GameDatabase& db) { DisplayNamer(db.firstNames, db.secondNames).name(db.staff); }

} // namespace rostradb
