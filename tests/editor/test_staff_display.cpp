#include "editor/staff_display.h"

#include "db/errors.h"
#include "editor/database_builder.h"
#include "editor/form_controls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

namespace rostradb {
namespace {

using Kind = FormUpdate::Kind;

struct Shown {
    std::vector<FormUpdate> updates;
    std::string error = "no error";

    std::vector<const FormUpdate*> of(std::string_view control) const
    {
        std::vector<const FormUpdate*> found;
        for (const auto& u : updates)
            if (u.control == control)
                found.push_back(&u);
        return found;
    }
    bool writes(std::string_view control) const { return !of(control).empty(); }
    // What a box shows in the end: the last text or item it was given.
    std::string text(std::string_view control) const
    {
        const auto found = of(control);
        return found.empty() ? "<not written>" : found.back()->text;
    }
    std::int64_t item(std::string_view control) const
    {
        const auto found = of(control);
        return found.size() == 1 && found[0]->kind == Kind::ComboIndex ? found[0]->index : -100;
    }
    std::size_t countWritten(const std::vector<std::string_view>& boxes) const
    {
        return static_cast<std::size_t>(
            std::count_if(boxes.begin(), boxes.end(), [&](std::string_view b) { return writes(b); }));
    }
};

// The edit boxes of the form that a predicate picks, by the editor's list.
template <class Keep>
std::vector<std::string_view> editsWhere(Keep keep)
{
    std::vector<std::string_view> names;
    for (const FormControl& c : formControls())
        if (c.kind == ControlKind::Edit && keep(c))
            names.push_back(c.name);
    return names;
}
const std::vector<std::string_view> kGeneralEdits = editsWhere([](const FormControl& c) { return c.showsStaff(); });
// Ratings, squad number and the 42 attributes: what only a player record has.
const std::vector<std::string_view> kPlayerOnlyEdits =
    editsWhere([](const FormControl& c) { return c.showsPlayer() && !c.showsNonPlayer(); });
const std::vector<std::string_view> kNonPlayerOnlyEdits =
    editsWhere([](const FormControl& c) { return c.showsNonPlayer() && !c.showsPlayer(); });
const std::vector<std::string_view> kPlayerAttributes =
    editsWhere([](const FormControl& c) { return c.page == FormPage::PlayerAttributes; });

Shown showSelected(const GameDatabase& db, const StaffRecord* selected, LookupBoxCounts counts)
{
    Shown shown;
    try {
        showStaffMember(db, selected, counts, shown.updates);
    } catch (const DbError& e) {
        shown.error = e.what();
    }
    return shown;
}

Shown show(const GameDatabase& db, std::size_t position)
{
    return showSelected(db, &db.staff.at(position), testing::loadedBoxCounts(db));
}

using ViewChange = std::tuple<Kind, std::string, bool>;

std::vector<ViewChange> viewChanges(const Shown& shown)
{
    std::vector<ViewChange> changes;
    for (const auto& u : shown.updates)
        if (u.kind == Kind::Visible || u.kind == Kind::TabOffered)
            changes.emplace_back(u.kind, std::string(u.control), u.flag);
    return changes;
}

std::vector<ViewChange> editorShown(bool nonPlayerTab, bool playerTab)
{
    return {{Kind::Visible, "mmo_staffhelp", false},
            {Kind::Visible, "Pagecontrol3", true},
            {Kind::TabOffered, "tab_staffnp", nonPlayerTab},
            {Kind::TabOffered, "tab_staffpl", playerTab}};
}

struct ClassCase {
    std::uint8_t classification;
    std::vector<ViewChange> view;
    std::size_t playerBoxes;    // ratings, squad number and attributes written
    std::size_t nonPlayerBoxes; // non-player attributes written
    std::size_t abilityWrites;  // times ed_cabl is written
};

class ShowByClassification : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ShowByClassification, OffersTheTabsAndFillsTheBoxesOfItsRecords)
{
    const auto& c = GetParam();
    const GameDatabase db = testing::peopleDatabase({c.classification});
    const Shown shown = show(db, 0);
    EXPECT_EQ(shown.error, "no error");
    EXPECT_EQ(viewChanges(shown), c.view);
    EXPECT_EQ(shown.countWritten(kPlayerOnlyEdits), c.playerBoxes);
    EXPECT_EQ(shown.countWritten(kNonPlayerOnlyEdits), c.nonPlayerBoxes);
    EXPECT_EQ(shown.of("ed_cabl").size(), c.abilityWrites);
    // The general boxes are filled whatever the classification, also in the
    // editor that stays hidden.
    EXPECT_EQ(shown.countWritten(kGeneralEdits), kGeneralEdits.size());
    EXPECT_EQ(shown.item("cbx_class"), c.classification < 7 ? c.classification : -1);
}

INSTANTIATE_TEST_SUITE_P(Codes, ShowByClassification,
                         ::testing::Values(ClassCase{1, editorShown(true, false), 0, 21, 1},
                                           ClassCase{2, editorShown(false, true), 55, 0, 1},
                                           ClassCase{3, editorShown(true, true), 55, 21, 2},
                                           ClassCase{0, {}, 0, 0, 0}, ClassCase{4, {}, 0, 0, 0},
                                           ClassCase{6, {}, 0, 0, 0}, ClassCase{7, {}, 0, 0, 0},
                                           ClassCase{255, {}, 0, 0, 0}));

TEST(StaffDisplay, ShowsTheValuesOfTheRightRecordsUnsigned)
{
    GameDatabase db = testing::peopleDatabase({1, 2, 3});
    db.staff[1].wages = 0xFFFFFFFF;
    db.staff[1].value = 2147483648u;
    db.staff[1].birthYear = 65535;
    db.players[1].currentAbility = 40000;
    db.players[1].leftSide = 200;
    db.staff[0].playerId = -1; // a non-player needs no player record

    const Shown nonPlayer = show(db, 0);
    EXPECT_EQ(nonPlayer.text("idpl"), "-1");
    EXPECT_EQ(nonPlayer.text("ed_cabl"), std::to_string(db.nonPlayers[0].currentAbility));
    EXPECT_EQ(nonPlayer.text("ed_youn"), std::to_string(db.nonPlayers[0].youn));

    const Shown player = show(db, 1);
    EXPECT_EQ(player.text("ed_wages"), "4294967295");
    EXPECT_EQ(player.text("ed_value"), "2147483648");
    EXPECT_EQ(player.text("ed_yearb"), "65535");
    EXPECT_EQ(player.text("ed_cabl"), "40000");
    EXPECT_EQ(player.text("ed_l"), "200");
    EXPECT_EQ(player.text("ed_squad"), std::to_string(db.players[1].squadNumber));

    // Both: the ability boxes are written from the player record, then from
    // the non-player record, whose values stay.
    const Shown both = show(db, 2);
    const auto ability = both.of("ed_cabl");
    ASSERT_EQ(ability.size(), 2u);
    EXPECT_EQ(ability[0]->text, std::to_string(db.players[2].currentAbility));
    EXPECT_EQ(ability[1]->text, std::to_string(db.nonPlayers[2].currentAbility));
    EXPECT_EQ(both.text("ed_visio"), std::to_string(db.players[2].vision));
    EXPECT_EQ(both.text("ed_disc"), std::to_string(db.nonPlayers[2].discipline));
}

TEST(StaffDisplay, FillsThePositionBoxesFirst)
{
    const GameDatabase db = testing::peopleDatabase({2, 2});
    const Shown shown = show(db, 1);
    ASSERT_GE(shown.updates.size(), 3u);
    EXPECT_EQ(shown.updates[0].control, "idpl");
    EXPECT_EQ(shown.updates[1].control, "idnp");
    EXPECT_EQ(shown.updates[2].control, "id");
    EXPECT_EQ(shown.updates[2].text, "1");
}

struct LookupCase {
    std::uint32_t stored;
    std::int64_t itemCount;
    std::int64_t expectedItem;
};

class LookupBoxSelection : public ::testing::TestWithParam<LookupCase> {};

// A stored position at or beyond the item count selects the last item,
// "none" once the box has been filled; an empty box selects nothing.
TEST_P(LookupBoxSelection, SelectsThePositionOrTheLastItem)
{
    const auto& c = GetParam();
    GameDatabase db = testing::peopleDatabase({0});
    db.staff[0].firstName = db.staff[0].nation = db.staff[0].clubContracted = c.stored;
    LookupBoxCounts counts = testing::loadedBoxCounts(db);
    counts.firstNames = counts.nations = counts.clubs = c.itemCount;

    const Shown shown = showSelected(db, &db.staff[0], counts);
    EXPECT_EQ(shown.item("cbx_fname"), c.expectedItem);
    EXPECT_EQ(shown.item("cbx_fnation"), c.expectedItem);
    EXPECT_EQ(shown.item("cbx_club"), c.expectedItem);
}

INSTANTIATE_TEST_SUITE_P(Positions, LookupBoxSelection,
                         ::testing::Values(LookupCase{0, 5, 0}, LookupCase{3, 5, 3}, LookupCase{4, 5, 4},
                                           LookupCase{5, 5, 4}, LookupCase{0xFFFFFFFF, 5, 4},
                                           LookupCase{0xFEFFFFFF, 5, 4}, LookupCase{0x80000000, 5, 4},
                                           LookupCase{7, 1, 0}, LookupCase{0, 0, -1}));

TEST(StaffDisplay, EachNameBoxCountsItsOwnItems)
{
    GameDatabase db = testing::peopleDatabase({0});
    StaffRecord& s = db.staff[0];
    // The last record of each table, which a box counted against a smaller
    // table would show as "none"; and the nations' own "none".
    s.firstName = 3;
    s.secondName = 4;
    s.commonName = 5;
    s.nation = 2;
    s.secondNation = 3;
    s.nationContracted = 9;
    const Shown shown = show(db, 0);
    EXPECT_EQ(shown.item("cbx_fname"), 3);
    EXPECT_EQ(shown.item("cbx_sname"), 4);
    EXPECT_EQ(shown.item("cbx_cname"), 5);
    EXPECT_EQ(shown.item("cbx_fnation"), 2);
    EXPECT_EQ(shown.item("cbx_snation"), 3);
    EXPECT_EQ(shown.item("cbx_anation"), 3);
}

struct CodeCase {
    std::uint8_t code;
    std::int64_t jobItem;
    std::int64_t squadItem;
};

class CodeBoxSelection : public ::testing::TestWithParam<CodeCase> {};

// The item index is the code; a code the box has no item for selects nothing.
TEST_P(CodeBoxSelection, SelectsTheCodeOrNothing)
{
    GameDatabase db = testing::peopleDatabase({0});
    db.staff[0].jobForNation = db.staff[0].jobForClub = db.staff[0].squad = GetParam().code;
    const Shown shown = show(db, 0);
    EXPECT_EQ(shown.item("cbx_jobn"), GetParam().jobItem);
    EXPECT_EQ(shown.item("cbx_jobc"), GetParam().jobItem);
    EXPECT_EQ(shown.item("cbx_squad"), GetParam().squadItem);
}

INSTANTIATE_TEST_SUITE_P(Codes, CodeBoxSelection,
                         ::testing::Values(CodeCase{0, 0, 0}, CodeCase{3, 3, 3}, CodeCase{8, 8, 8}, CodeCase{9, 9, -1},
                                           CodeCase{16, 16, -1}, CodeCase{17, -1, -1}, CodeCase{255, -1, -1}));

TEST(StaffDisplay, TakesNamesFromTheSelectedRecordAndTheRestFromItsStaffId)
{
    GameDatabase db = testing::peopleDatabase({2, 1});
    StaffRecord& selected = db.staff[1];
    selected.staffId = 0; // the player at position 0
    selected.firstName = 1;
    db.staff[0].firstName = 2;
    selected.clubContracted = 5;
    db.staff[0].clubContracted = 6;

    const Shown shown = showSelected(db, &selected, testing::loadedBoxCounts(db));
    EXPECT_EQ(shown.item("cbx_fname"), 1);
    EXPECT_EQ(shown.item("cbx_club"), 6);
    EXPECT_EQ(shown.text("ed_wages"), std::to_string(db.staff[0].wages));
    EXPECT_EQ(viewChanges(shown), editorShown(false, true));
}

TEST(StaffDisplayFailure, StopsAtTheFirstBadPositionKeepingTheUpdatesBefore)
{
    GameDatabase db = testing::peopleDatabase({2, 3});

    const Shown nothing = showSelected(db, nullptr, testing::loadedBoxCounts(db));
    EXPECT_EQ(nothing.error, "List index out of bounds (-1)");
    EXPECT_TRUE(nothing.updates.empty());

    db.staff[1].staffId = -2;
    const Shown badStaff = show(db, 1);
    EXPECT_EQ(badStaff.error, "List index out of bounds (-2)");
    EXPECT_EQ(badStaff.updates.size(), 3u); // the position boxes only
    EXPECT_EQ(badStaff.text("id"), "-2");

    db.staff[0].playerId = 9;
    const Shown badPlayer = show(db, 0);
    EXPECT_EQ(badPlayer.error, "List index out of bounds (9)");
    EXPECT_EQ(badPlayer.countWritten(kGeneralEdits), kGeneralEdits.size());
    EXPECT_EQ(badPlayer.item("cbx_anation"), db.staff[0].nationContracted);
    EXPECT_EQ(badPlayer.updates.back().control, "tab_staffpl");

    db.staff[1].staffId = 1;
    db.staff[1].nonPlayerId = 50;
    const Shown badNonPlayer = show(db, 1);
    EXPECT_EQ(badNonPlayer.error, "List index out of bounds (50)");
    EXPECT_EQ(badNonPlayer.countWritten(kPlayerAttributes), kPlayerAttributes.size());
    EXPECT_EQ(badNonPlayer.countWritten(kNonPlayerOnlyEdits), 0u);
}

} // namespace
} // namespace rostradb
