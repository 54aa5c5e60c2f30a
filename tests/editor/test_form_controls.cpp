#include "editor/form_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
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

template <class Bindings, class Layout>
std::vector<std::string> placesOf(const Bindings& bindings, const Layout& layout)
{
    std::vector<std::string> places;
    for (const auto& b : bindings)
        places.push_back(std::string(b.control) + "@" + placeOf(b.field, layout));
    return places;
}

TEST(FormControls, BoxesAreBoundToTheirFieldsInTheFile)
{
    EXPECT_EQ(placesOf(kGeneralEdits, kStaffLayout),
              (std::vector<std::string>{"ed_wages@78+4", "ed_value@82+4", "ed_adap@86+1", "ed_ambi@87+1",
                                        "ed_dete@88+1", "ed_loyl@89+1", "ed_pres@90+1", "ed_prof@91+1",
                                        "ed_sprt@92+1", "ed_temp@93+1", "ed_dayb@16+2", "ed_yearb@18+2",
                                        "ed_daycc@70+2", "ed_yearcc@72+2", "ed_dayjc@62+2", "ed_yearjc@64+2",
                                        "ed_caps@34+1", "ed_goal@35+1"}));
    EXPECT_EQ(placesOf(kNameAndNationBoxes, kStaffLayout),
              (std::vector<std::string>{"cbx_fname@4+4", "cbx_sname@8+4", "cbx_cname@12+4", "cbx_fnation@26+4",
                                        "cbx_snation@30+4", "cbx_anation@36+4"}));
    EXPECT_EQ(placesOf(kCodeBoxes, kStaffLayout),
              (std::vector<std::string>{"cbx_jobn@40+1", "cbx_jobc@61+1", "cbx_squad@94+1", "cbx_class@95+1"}));
    // The record keeps right before left; the form shows left, centre, right.
    EXPECT_EQ(placesOf(kPlayerRatings, kPlayerLayout),
              (std::vector<std::string>{"ed_gk@15+1", "ed_sw@16+1", "ed_d@17+1", "ed_dm@18+1", "ed_m@19+1",
                                        "ed_am@20+1", "ed_s@21+1", "ed_wb@22+1", "ed_fr@26+1", "ed_l@24+1",
                                        "ed_c@25+1", "ed_r@23+1", "ed_squad@4+1"}));
    EXPECT_EQ(placesOf(kPlayerAbility, kPlayerLayout),
              (std::vector<std::string>{"ed_cabl@5+2", "ed_pabl@7+2", "ed_hrep@9+2", "ed_crep@11+2",
                                        "ed_wrep@13+2"}));
    EXPECT_EQ(placesOf(kNonPlayerAbility, kNonPlayerLayout),
              (std::vector<std::string>{"ed_cabl@4+2", "ed_pabl@6+2", "ed_hrep@8+2", "ed_crep@10+2",
                                        "ed_wrep@12+2"}));

    const std::vector<LookupTable> tables{LookupTable::FirstNames, LookupTable::SecondNames, LookupTable::CommonNames,
                                          LookupTable::Nations,    LookupTable::Nations,     LookupTable::Nations};
    for (std::size_t i = 0; i < tables.size(); ++i)
        EXPECT_EQ(kNameAndNationBoxes[i].table, tables[i]) << kNameAndNationBoxes[i].control;
    for (const auto& b : kGeneralEdits)
        EXPECT_EQ(b.reading == NumberWidth::Bits64, b.control == "ed_wages" || b.control == "ed_value") << b.control;
}

// The k-th attribute box lies at the record's first attribute byte plus k;
// the player boxes are named so that alphabetical order is record order.
TEST(FormControls, AttributeBoxesFollowTheRecord)
{
    for (std::size_t k = 0; k < kPlayerAttributes.size(); ++k)
        EXPECT_EQ(placeOf(kPlayerAttributes[k].field, kPlayerLayout), std::to_string(27 + k) + "+1");
    for (std::size_t k = 0; k < kNonPlayerAttributes.size(); ++k)
        EXPECT_EQ(placeOf(kNonPlayerAttributes[k].field, kNonPlayerLayout), std::to_string(14 + k) + "+1");
    EXPECT_TRUE(std::is_sorted(kPlayerAttributes.begin(), kPlayerAttributes.end(),
                               [](const auto& a, const auto& b) { return a.control < b.control; }));
    EXPECT_EQ(kPlayerAttributes.front().control, "ed_accel");
    EXPECT_EQ(kNonPlayerAttributes.front().control, "ed_atta");
    EXPECT_EQ(kNonPlayerAttributes.back().control, "ed_youn");
}

} // namespace
} // namespace rostradb
