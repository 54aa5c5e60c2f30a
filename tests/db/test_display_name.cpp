// The staff search lists people by a name built at load time: first name,
// one space, second name, at most 50 bytes, and nothing at all unless both
// positions lie inside their tables.

#include "db/loaders.h"
#include "db/records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rostradb {
namespace {

// A name record whose 51-byte field holds `text`, ended by a zero byte when
// shorter; the record's other bytes are never zero, so a name read past its
// end shows.
NameRecord nameRecord(const std::string& text)
{
    NameRecord record;
    record.bytes.fill('#');
    for (std::size_t i = 0; i < text.size(); ++i)
        record.bytes[i] = static_cast<std::uint8_t>(text[i]);
    if (text.size() < 51)
        record.bytes[text.size()] = 0;
    return record;
}

std::vector<NameRecord> nameTable(const std::vector<std::string>& texts)
{
    std::vector<NameRecord> table;
    for (const auto& text : texts)
        table.push_back(nameRecord(text));
    return table;
}

TEST(DisplayName, IsFirstNameSpaceSecondNameCutAtFiftyBytes)
{
    const std::string a45(45, 'a'), a48(48, 'a'), a49(49, 'a'), a50(50, 'a'), a51(51, 'a');
    const std::string b10(10, 'b'), b51(51, 'b');
    const struct {
        std::string first, second, expected;
    } cases[] = {
        {"Ann", "Berg", "Ann Berg"},
        {"", "Berg", " Berg"},
        {"Ann", "", "Ann "},
        {"", "", " "},
        {"Jos\xE9", "M\xFCller", "Jos\xE9 M\xFCller"},
        {a48, "Berg", a48 + " B"},
        {a49, "Berg", a49 + " "},
        {a50, "Berg", a50},
        {a51, "Berg", a50},
        {a45, b10, a45 + " bbbb"},
        {"A", b51, "A " + std::string(48, 'b')},
    };
    for (const auto& c : cases) {
        const std::string name = buildDisplayName(0, 0, nameTable({c.first}), nameTable({c.second}));
        EXPECT_EQ(name, c.expected) << "first \"" << c.first << "\", second \"" << c.second << '"';
        EXPECT_LE(name.size(), 50u);
    }
}

TEST(DisplayName, IsEmptyUnlessBothPositionsLieInsideTheirOwnTables)
{
    const auto firstNames = nameTable({"Ann", "Bea", "Cal"});
    const auto secondNames = nameTable({"Dahl", "Eck"});
    const struct {
        std::uint32_t first, second;
        std::string expected;
    } cases[] = {
        {2, 1, "Cal Eck"},
        {1, 0, "Bea Dahl"},
        {3, 0, ""},          // first just past its table
        {0, 2, ""},          // inside the first-name table, not the second
        {2, 2, ""},
        {0xFFFFFFFF, 0, ""}, // all bits set
        {0, 0xFFFFFFFF, ""},
        {0xFEFFFFFF, 1, ""}, // the "none" marker
        {1, 0xFEFFFFFF, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildDisplayName(c.first, c.second, firstNames, secondNames), c.expected)
            << "positions " << c.first << ", " << c.second;

    EXPECT_EQ(buildDisplayName(0, 0, {}, secondNames), "");
    EXPECT_EQ(buildDisplayName(0, 0, firstNames, {}), "");
}

} // namespace
} // namespace rostradb
