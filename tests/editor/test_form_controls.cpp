#include "editor/form_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rostradb {
namespace {

// Where a bound field lies in the file record, "offset+width": the bytes the
// writer fills when only that field is set. Checked against the file format,
// this catches a box bound to the wrong field, which a display-then-commit
// round trip cannot see.
template <class Record, std::size_t L>
std::string placeOf(const FieldAccess<Record>& field, const std::array<Field<Record>, L>& layout)
{
    Record record{};
    field.set(record, 0xFFFFFFFF);
    std::array<std::uint8_t, 256> bytes{};
    encodeFields(layout, record, bytes.data());
    const auto first = std::find(bytes.begin(), bytes.end(), 0xFF) - bytes.begin();
    return std::to_string(first) + "+" + std::to_string(std::count(bytes.begin(), bytes.end(), 0xFF));
}

// Control name to the place of its field in one record type, for every
// control bound to that record.
template <class Record, std::size_t L>
std::map<std::string, std::string> placesOf(const FieldAccess<Record> FormControl::*binding,
                                            const std::array<Field<Record>, L>& layout)
{
    std::map<std::string, std::string> places;
    for (const FormControl& c : formControls())
        if ((c.*binding).get != nullptr)
            places.emplace(std::string(c.name), placeOf(c.*binding, layout));
    return places;
}

std::vector<std::string> namesWhere(bool (*keep)(const FormControl&))
{
    std::vector<std::string> names;
    for (const FormControl& c : formControls())
        if (keep(c))
            names.emplace_back(c.name);
    return names;
}

TEST(FormControls, BoxesAreBoundToTheirFieldsInTheFile)
{
    EXPECT_EQ(placesOf(&FormControl::staffField, kStaffLayout),
              (std::map<std::string, std::string>{
                  {"cbx_fname", "4+4"},    {"cbx_sname", "8+4"},    {"cbx_cname", "12+4"},
                  {"cbx_fnation", "26+4"}, {"cbx_snation", "30+4"}, {"cbx_anation", "36+4"},
                  {"cbx_club", "57+4"},    {"cbx_jobn", "40+1"},    {"cbx_jobc", "61+1"},
                  {"cbx_squad", "94+1"},   {"cbx_class", "95+1"},   {"ed_wages", "78+4"},
                  {"ed_value", "82+4"},    {"ed_adap", "86+1"},     {"ed_ambi", "87+1"},
                  {"ed_dete", "88+1"},     {"ed_loyl", "89+1"},     {"ed_pres", "90+1"},
                  {"ed_prof", "91+1"},     {"ed_sprt", "92+1"},     {"ed_temp", "93+1"},
                  {"ed_dayb", "16+2"},     {"ed_yearb", "18+2"},    {"ed_daycc", "70+2"},
                  {"ed_yearcc", "72+2"},   {"ed_dayjc", "62+2"},    {"ed_yearjc", "64+2"},
                  {"ed_caps", "34+1"},     {"ed_goal", "35+1"},
              }));

    // The record keeps right before left; the form shows left, centre, right.
    std::map<std::string, std::string> player{
        {"ed_gk", "15+1"},  {"ed_sw", "16+1"},   {"ed_d", "17+1"},    {"ed_dm", "18+1"},   {"ed_m", "19+1"},
        {"ed_am", "20+1"},  {"ed_s", "21+1"},    {"ed_wb", "22+1"},   {"ed_fr", "26+1"},   {"ed_l", "24+1"},
        {"ed_c", "25+1"},   {"ed_r", "23+1"},    {"ed_squad", "4+1"}, {"ed_cabl", "5+2"},  {"ed_pabl", "7+2"},
        {"ed_hrep", "9+2"}, {"ed_crep", "11+2"}, {"ed_wrep", "13+2"},
    };
    std::map<std::string, std::string> nonPlayer{
        {"ed_cabl", "4+2"}, {"ed_pabl", "6+2"}, {"ed_hrep", "8+2"}, {"ed_crep", "10+2"}, {"ed_wrep", "12+2"},
    };
    // The k-th attribute box lies at the record's first attribute byte plus
    // k; the player boxes are named so that alphabetical order is record order.
    std::vector<std::string> playerAttributes, nonPlayerAttributes;
    for (const FormControl& c : formControls()) {
        if (c.page == FormPage::PlayerAttributes)
            playerAttributes.emplace_back(c.name);
        if (c.page == FormPage::NonPlayerAttributes)
            nonPlayerAttributes.emplace_back(c.name);
    }
    ASSERT_EQ(playerAttributes.size(), 42u);
    ASSERT_EQ(nonPlayerAttributes.size(), 21u);
    EXPECT_TRUE(std::is_sorted(playerAttributes.begin(), playerAttributes.end()));
    EXPECT_EQ(playerAttributes.front(), "ed_accel");
    EXPECT_EQ(nonPlayerAttributes.front(), "ed_atta");
    EXPECT_EQ(nonPlayerAttributes.back(), "ed_youn");
    for (std::size_t k = 0; k < playerAttributes.size(); ++k)
        player.emplace(playerAttributes[k], std::to_string(27 + k) + "+1");
    for (std::size_t k = 0; k < nonPlayerAttributes.size(); ++k)
        nonPlayer.emplace(nonPlayerAttributes[k], std::to_string(14 + k) + "+1");
    EXPECT_EQ(placesOf(&FormControl::playerField, kPlayerLayout), player);
    EXPECT_EQ(placesOf(&FormControl::nonPlayerField, kNonPlayerLayout), nonPlayer);

    EXPECT_EQ(namesWhere([](const FormControl& c) { return c.reading == NumberWidth::Bits64; }),
              (std::vector<std::string>{"ed_value", "ed_wages"}));
}

TEST(FormControls, LookupBoxesListTheirTables)
{
    std::map<std::string, LookupTable> tables;
    for (const FormControl& c : formControls())
        if (c.kind == ControlKind::LookupBox)
            tables.emplace(std::string(c.name), c.table);
    EXPECT_EQ(tables, (std::map<std::string, LookupTable>{{"cbx_fname", LookupTable::FirstNames},
                                                          {"cbx_sname", LookupTable::SecondNames},
                                                          {"cbx_cname", LookupTable::CommonNames},
                                                          {"cbx_fnation", LookupTable::Nations},
                                                          {"cbx_snation", LookupTable::Nations},
                                                          {"cbx_anation", LookupTable::Nations},
                                                          {"cbx_club", LookupTable::Clubs}}));
    EXPECT_EQ(namesWhere([](const FormControl& c) { return c.fromSelectedRecord; }),
              (std::vector<std::string>{"cbx_fname", "cbx_sname", "cbx_cname", "cbx_fnation", "cbx_snation",
                                        "cbx_anation"}));
}

TEST(FormControls, EachNameOnceAndEveryPageInTabOrder)
{
    std::set<std::string_view> names;
    for (const FormControl& c : formControls())
        EXPECT_TRUE(names.insert(c.name).second) << c.name << " twice";
    for (const FormPageInfo& p : formPages())
        EXPECT_TRUE(names.insert(p.name).second) << p.name << " twice";
    EXPECT_EQ(formControls().size(), 128u);

    std::vector<std::string> pages;
    for (const FormPageInfo& p : formPages())
        pages.push_back(std::string(p.name) + ":" + std::string(p.caption));
    EXPECT_EQ(pages, (std::vector<std::string>{"TabSheet8:General", "tab_staffpl:Attrbutes", "tab_staffnp:Attributes",
                                               "TabSheet11:Other Attributes", "TabSheet12:Other stuff"}));
    // The window builds a page's blocks from one run of the list: a page's
    // controls must not be split by another page's.
    std::vector<FormPage> runs;
    for (const FormControl& c : formControls())
        if (runs.empty() || runs.back() != c.page)
            runs.push_back(c.page);
    EXPECT_EQ(runs.size(), formPages().size());

    ASSERT_NE(findFormControl("ed_mntj"), nullptr);
    EXPECT_EQ(findFormControl("ed_mntj")->kind, ControlKind::MonthBox);
    EXPECT_EQ(findFormControl("ed_mntj")->label, "Joined");
    EXPECT_EQ(findFormControl("ed_nothing"), nullptr);
}

template <class Record, std::size_t L>
std::size_t indexOf(const std::array<Field<Record>, L>& layout, std::string_view name)
{
    for (std::size_t i = 0; i < layout.size(); ++i)
        if (layout[i].name == name)
            return i;
    ADD_FAILURE() << "no field " << name;
    return layout.size();
}

TEST(FormControls, LabelOfTheBoxThatShowsAField)
{
    const auto staff = [](std::string_view field) {
        return formLabelFor(StaffTable::Staff, indexOf(kStaffLayout, field));
    };
    const auto player = [](std::string_view field) {
        return formLabelFor(StaffTable::Player, indexOf(kPlayerLayout, field));
    };
    const auto nonPlayer = [](std::string_view field) {
        return formLabelFor(StaffTable::NonPlayer, indexOf(kNonPlayerLayout, field));
    };
    EXPECT_EQ(staff("wages"), "Wages");
    EXPECT_EQ(staff("loyalty"), "Loyality");
    EXPECT_EQ(staff("birthYear"), "Birth");
    EXPECT_EQ(staff("internationalGoals"), "Caps/Goals");
    EXPECT_EQ(staff("clubContracted"), "Club playing for");
    EXPECT_EQ(staff("nationContracted"), "Nation playing for");
    EXPECT_EQ(staff("classification"), "Classification");
    EXPECT_EQ(player("rightSide"), "Right");
    EXPECT_EQ(player("squadNumber"), "Squad number");
    EXPECT_EQ(player("currentAbility"), "Current ability");
    EXPECT_EQ(player("workRate"), "Workrate");
    EXPECT_EQ(nonPlayer("currentAbility"), "Current ability");
    EXPECT_EQ(nonPlayer("pati"), "Penalties");
    EXPECT_EQ(nonPlayer("youn"), "Strength");

    // Fields no box shows: the positions, the nation dates, the preferences.
    for (std::string_view field : {"staffId", "playerId", "nationDate1Day", "extraByte", "preferenceSet2[1]"})
        EXPECT_EQ(staff(field), std::nullopt) << field;
    EXPECT_EQ(nonPlayer("recordId"), std::nullopt);
    EXPECT_EQ(formLabelFor(StaffTable::Player, kPlayerLayout.size()), std::nullopt);

    // Every field some box is bound to has a label, and no other field has.
    const auto labelled = [](StaffTable table, std::size_t fields) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < fields; ++i)
            count += formLabelFor(table, i).has_value();
        return count;
    };
    EXPECT_EQ(labelled(StaffTable::Staff, kStaffLayout.size()), placesOf(&FormControl::staffField, kStaffLayout).size());
    EXPECT_EQ(labelled(StaffTable::Player, kPlayerLayout.size()), 60u);
    EXPECT_EQ(labelled(StaffTable::NonPlayer, kNonPlayerLayout.size()), 26u);
}

} // namespace
} // namespace rostradb
