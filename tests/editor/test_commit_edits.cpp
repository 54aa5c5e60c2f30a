#include "editor/commit_edits.h"

#include "db/errors.h"
#include "editor/database_builder.h"
#include "editor/form_controls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace rostradb {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::differingFields;

constexpr std::uint32_t kNoneMarker = 0xFEFFFFFF;

// The form as the window hands it back after showing person `position` over
// whatever an earlier person left in `form`.
FormValues shownForm(const GameDatabase& db, std::size_t position, FormValues form = {})
{
    std::vector<FormUpdate> updates;
    showStaffMember(db, &db.staff.at(position), testing::loadedBoxCounts(db), updates);
    return testing::applyUpdates(updates, std::move(form));
}

std::string commitError(GameDatabase& db, const FormValues& form, CommitOutcome& outcome)
{
    try {
        commitEdits(db, form, outcome);
    } catch (const DbError& e) {
        return e.what();
    }
    return "no error";
}

void expectUnchanged(const GameDatabase& db, const GameDatabase& original, const std::string& context)
{
    for (std::size_t i = 0; i < db.staff.size(); ++i) {
        EXPECT_THAT(differingFields(db.staff[i], original.staff[i]), IsEmpty()) << context << ", staff " << i;
        EXPECT_THAT(differingFields(db.players[i], original.players[i]), IsEmpty()) << context << ", player " << i;
        EXPECT_THAT(differingFields(db.nonPlayers[i], original.nonPlayers[i]), IsEmpty())
            << context << ", non-player " << i;
    }
}

TEST(CommitRoundTrip, UneditedDisplayChangesNoStoredValue)
{
    GameDatabase original = testing::peopleDatabase({0, 1, 2, 3, 4, 5, 6, 200});
    // The widest values of each width, which must come back without a sign.
    original.staff[2].wages = 0xFFFFFFFF;
    original.staff[3].value = 0x80000000;
    original.staff[3].birthYear = 0xFFFF;
    original.players[3].currentAbility = 0xFFFF;
    original.nonPlayers[3].worldReputation = 0x8000;
    original.players[2].workRate = 0xFF;

    for (std::size_t k = 0; k < original.staff.size(); ++k) {
        GameDatabase db = original;
        CommitOutcome outcome;
        commitEdits(db, shownForm(db, k), outcome);
        EXPECT_FALSE(outcome.changedAnything) << "person " << k;
        expectUnchanged(db, original, "person " + std::to_string(k));
    }
}

// A name or nation outside its table is shown as "none"; left as shown, it
// keeps its stored value, so a wages-only edit changes only the wages.
TEST(CommitRoundTrip, UntouchedNoneKeepsTheStoredValue)
{
    GameDatabase db = testing::peopleDatabase({2});
    db.staff[0].firstName = 0xFFFFFFFF;
    db.staff[0].nation = 3; // one past the last nation
    db.staff[0].commonName = kNoneMarker;
    db.staff[0].clubContracted = 0xFFFFFFFF;
    const StaffRecord before = db.staff[0];

    FormValues form = shownForm(db, 0);
    form.texts["ed_wages"] = "15000";
    CommitOutcome outcome;
    commitEdits(db, form, outcome);
    EXPECT_THAT(differingFields(db.staff[0], before), ElementsAre("wages"));

    // Picking "none" itself stores the marker.
    db.staff[0].secondNation = 1;
    form = shownForm(db, 0);
    form.selections["cbx_snation"] = 3; // 3 nations: "none" is item 3
    commitEdits(db, form, outcome);
    EXPECT_EQ(db.staff[0].secondNation, kNoneMarker);
    EXPECT_EQ(db.staff[0].firstName, 0xFFFFFFFFu);
}

// The boxes the question before Confirm lists: only those the commit reads
// for the person, each with the value the commit then stores.
TEST(CommitWarnings, ListsTheBoxesNotStoredAsTyped)
{
    GameDatabase db = testing::peopleDatabase({1});
    FormValues form = shownForm(db, 0);
    form.texts["ed_wages"] = "15,000";
    form.texts["ed_coac"] = "256";   // non-player attribute: read for classification 1
    form.texts["ed_pace"] = "1.5e4"; // player attribute: not read
    form.texts["ed_caps"] = " 12 ";
    std::vector<std::string> lines;
    for (const NotAsTyped& n : numbersNotStoredAsTyped(db, form))
        lines.push_back(n.line);
    EXPECT_THAT(lines, ElementsAre("Wages: \"15,000\" is stored as 15", "Coaching: \"256\" is stored as 0"));

    CommitOutcome outcome;
    commitEdits(db, form, outcome);
    EXPECT_EQ(db.staff[0].wages, 15u);
    EXPECT_EQ(db.nonPlayers[0].coaching, 0u);
}

TEST(CommitParts, IgnoresBoxesOfRecordsTheClassificationDoesNotHave)
{
    // An earlier person of both kinds left 77 in every attribute box.
    GameDatabase earlier = testing::peopleDatabase({3});
    for (const auto& f : kPlayerLayout) f.access.set(earlier.players[0], 77);
    for (const auto& f : kNonPlayerLayout) f.access.set(earlier.nonPlayers[0], 77);
    const FormValues stale = shownForm(earlier, 0);

    const GameDatabase original = testing::peopleDatabase({0, 1, 2, 4, 5, 6});
    for (std::size_t k = 0; k < original.staff.size(); ++k) {
        GameDatabase db = original;
        CommitOutcome outcome;
        commitEdits(db, shownForm(db, k, stale), outcome);
        EXPECT_FALSE(outcome.changedAnything) << "class " << int{original.staff[k].classification};
        expectUnchanged(db, original, "class " + std::to_string(original.staff[k].classification));
    }
}

// The ability and reputation boxes go back to the record they were shown
// from; for someone who is both, that is the non-player record.
TEST(CommitParts, EachPartGoesToTheRecordItWasShownFrom)
{
    GameDatabase db = testing::peopleDatabase({1, 2, 3});
    const GameDatabase original = db;
    for (std::size_t k = 0; k < 3; ++k) {
        FormValues form = shownForm(db, k);
        form.texts["ed_cabl"] = "123";
        form.texts["ed_wrep"] = "4567";
        form.texts["ed_accel"] = "11";
        form.texts["ed_youn"] = "17";
        CommitOutcome outcome;
        commitEdits(db, form, outcome);
        EXPECT_TRUE(outcome.changedAnything);
    }
    EXPECT_EQ(db.nonPlayers[0].currentAbility, 123);
    EXPECT_EQ(db.nonPlayers[0].youn, 17);
    EXPECT_THAT(differingFields(db.players[0], original.players[0]), IsEmpty());

    EXPECT_EQ(db.players[1].currentAbility, 123);
    EXPECT_EQ(db.players[1].worldReputation, 4567);
    EXPECT_EQ(db.players[1].acceleration, 11);
    EXPECT_THAT(differingFields(db.nonPlayers[1], original.nonPlayers[1]), IsEmpty());

    EXPECT_EQ(db.nonPlayers[2].currentAbility, 123);
    EXPECT_EQ(db.nonPlayers[2].worldReputation, 4567);
    EXPECT_EQ(db.nonPlayers[2].youn, 17);
    EXPECT_EQ(db.players[2].acceleration, 11);
    EXPECT_THAT(differingFields(db.players[2], original.players[2]), ElementsAre("acceleration"));
}

struct StoreCase {
    std::string_view control;
    std::string_view text;
    std::function<std::uint32_t(const GameDatabase&)> stored;
    std::uint32_t expected;
};

class LenientStore : public ::testing::TestWithParam<StoreCase> {};

TEST_P(LenientStore, KeepsTheLowBitsThatFitTheField)
{
    GameDatabase db = testing::peopleDatabase({3});
    FormValues form = shownForm(db, 0);
    form.texts[std::string(GetParam().control)] = GetParam().text;
    CommitOutcome outcome;
    commitEdits(db, form, outcome);
    EXPECT_EQ(GetParam().stored(db), GetParam().expected) << GetParam().control << " \"" << GetParam().text << '"';
}

template <class Record, class T>
auto stored(T Record::*member)
{
    return [member](const GameDatabase& db) -> std::uint32_t {
        if constexpr (std::is_same_v<Record, StaffRecord>)
            return db.staff[0].*member;
        else if constexpr (std::is_same_v<Record, PlayerRecord>)
            return db.players[0].*member;
        else
            return db.nonPlayers[0].*member;
    };
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LenientStore,
    ::testing::Values(StoreCase{"ed_adap", "300", stored(&StaffRecord::adaptability), 44},
                      StoreCase{"ed_ambi", "-1", stored(&StaffRecord::ambition), 255},
                      StoreCase{"ed_dayb", "-1", stored(&StaffRecord::birthDay), 65535},
                      StoreCase{"ed_yearb", "70000", stored(&StaffRecord::birthYear), 4464},
                      StoreCase{"ed_wages", "-1", stored(&StaffRecord::wages), 4294967295},
                      StoreCase{"ed_wages", "4294967295", stored(&StaffRecord::wages), 4294967295},
                      StoreCase{"ed_value", "4294967296", stored(&StaffRecord::value), 0},
                      StoreCase{"ed_value", "-5 ", stored(&StaffRecord::value), 4294967291},
                      StoreCase{"ed_yearcc", "-5 ", stored(&StaffRecord::contractYear), 5},
                      StoreCase{"ed_temp", "12abc", stored(&StaffRecord::temperament), 12},
                      StoreCase{"ed_caps", "", stored(&StaffRecord::internationalCaps), 0},
                      StoreCase{"ed_dayjc", "  7", stored(&StaffRecord::joinedDay), 7},
                      StoreCase{"ed_r", "0x1f", stored(&PlayerRecord::rightSide), 31},
                      StoreCase{"ed_pati", "$1FF", stored(&NonPlayerRecord::pati), 255}));

struct SelectionCase {
    std::string_view control;
    std::uint32_t StaffRecord::*field;
    std::int32_t tableSize;
};

class NameSelection : public ::testing::TestWithParam<SelectionCase> {};

// Each box is checked against its own table; the tables differ in size, so a
// box checked against another table stores the wrong value.
TEST_P(NameSelection, StoresThePositionOrTheNoneMarker)
{
    const auto& [control, field, size] = GetParam();
    const std::vector<std::pair<std::int32_t, std::uint32_t>> cases{
        {size - 1, static_cast<std::uint32_t>(size - 1)}, // the last record
        {size, kNoneMarker},                              // "none"
        {size + 1, kNoneMarker},
        {-1, 0xFFFFFFFF}, // no selection
    };
    for (const auto& [selected, expected] : cases) {
        GameDatabase db = testing::peopleDatabase({2});
        FormValues form = shownForm(db, 0);
        form.selections[std::string(control)] = selected;
        CommitOutcome outcome;
        commitEdits(db, form, outcome);
        EXPECT_EQ(db.staff[0].*field, expected) << control << " item " << selected;
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, NameSelection,
                         ::testing::Values(SelectionCase{"cbx_fname", &StaffRecord::firstName, 4},
                                           SelectionCase{"cbx_sname", &StaffRecord::secondName, 5},
                                           SelectionCase{"cbx_cname", &StaffRecord::commonName, 6},
                                           SelectionCase{"cbx_fnation", &StaffRecord::nation, 3},
                                           SelectionCase{"cbx_snation", &StaffRecord::secondNation, 3},
                                           SelectionCase{"cbx_anation", &StaffRecord::nationContracted, 3}));

// The club is stored only when the user picked another item than the one the
// display selected; a club outside the table, shown as "none", stays as it
// is until then.
TEST(CommitClub, StoresAPickedClubAndLeavesAnUnpickedOneAlone)
{
    struct Case {
        std::uint8_t classification;
        std::uint32_t stored;
        std::int32_t picked; // 7 clubs: items 0..6, "none" at 7
        std::uint32_t expected;
        const char* what;
    };
    for (const Case& c : {Case{2, 2, 5, 5, "another club"}, Case{0, 2, 6, 6, "the last club, general part only"},
                          Case{1, 2, 7, kNoneMarker, "none"}, Case{2, 2, 2, 2, "the same club"},
                          Case{2, 9, 7, 9, "none as shown, outside the table"},
                          Case{2, 0xFFFFFFFF, 7, 0xFFFFFFFF, "none as shown, all bits set"},
                          Case{3, 9, 0, 0, "a club for one outside the table"}}) {
        GameDatabase db = testing::peopleDatabase({c.classification});
        db.staff[0].clubContracted = c.stored;
        const StaffRecord before = db.staff[0];
        FormValues form = shownForm(db, 0);
        form.selections["cbx_club"] = c.picked;
        CommitOutcome outcome;
        commitEdits(db, form, outcome);
        EXPECT_EQ(db.staff[0].clubContracted, c.expected) << c.what;
        EXPECT_EQ(outcome.changedAnything, c.expected != c.stored) << c.what;
        if (c.expected != c.stored) {
            EXPECT_THAT(differingFields(db.staff[0], before), ElementsAre("clubContracted")) << c.what;
        }
    }
}

TEST(Commit, ChangesOnlyTheEditedFieldsAndNeverTheDisplayName)
{
    GameDatabase db = testing::peopleDatabase({2, 2});
    const StaffRecord before = db.staff[1];
    FormValues form = shownForm(db, 1);
    form.texts["ed_wages"] = "1000";
    form.selections["cbx_fname"] = 3; // person 1 has first name 1 and second name 2
    form.selections["cbx_sname"] = 0;
    CommitOutcome outcome;
    commitEdits(db, form, outcome);
    EXPECT_TRUE(outcome.changedAnything);
    EXPECT_EQ(db.staff[1].wages, 1000u);
    EXPECT_THAT(differingFields(db.staff[1], before), ElementsAre("firstName", "secondName", "wages"));
}

TEST(CommitFailure, BadPositionKeepsOnlyTheWritesBeforeIt)
{
    struct Case {
        std::uint8_t classification;
        std::int32_t staff, player, nonPlayer;
        std::string error;
        bool generalStored, playerStored;
    };
    for (const Case& c : {Case{2, 1, 0, 0, "(1)", false, false}, Case{2, -1, 0, 0, "(-1)", false, false},
                          Case{2, 0, 5, 0, "(5)", true, false}, Case{1, 0, 0, -3, "(-3)", true, false},
                          Case{3, 0, 1, 0, "(1)", true, false}, Case{3, 0, 0, 8, "(8)", true, true}}) {
        GameDatabase db = testing::peopleDatabase({c.classification});
        const GameDatabase original = db;
        FormValues form = shownForm(db, 0);
        form.staffPosition = c.staff;
        form.playerPosition = c.player;
        form.nonPlayerPosition = c.nonPlayer;
        form.texts["ed_wages"] = "1234";
        form.texts["ed_accel"] = "1";
        form.texts["ed_atta"] = "1";
        CommitOutcome outcome;
        EXPECT_EQ(commitError(db, form, outcome), "List index out of bounds " + c.error);
        EXPECT_EQ(db.staff[0].wages == 1234, c.generalStored) << c.error;
        EXPECT_EQ(outcome.changedAnything, c.generalStored) << c.error;
        EXPECT_EQ(db.players[0].acceleration == 1, c.playerStored) << c.error;
        EXPECT_THAT(differingFields(db.nonPlayers[0], original.nonPlayers[0]), IsEmpty()) << c.error;
    }

    GameDatabase beforeLoad;
    CommitOutcome outcome;
    EXPECT_EQ(commitError(beforeLoad, FormValues{}, outcome), "List index out of bounds (0)");
}

TEST(CommitFailure, FormLackingABoxIsRefusedBeforeAnyWrite)
{
    GameDatabase db = testing::peopleDatabase({1});
    const GameDatabase original = db;
    for (std::string_view missing : {"ed_wages", "ed_goal", "ed_youn", "ed_cabl", "cbx_anation", "cbx_club"}) {
        FormValues form = shownForm(db, 0);
        form.texts["ed_adap"] = "99";
        form.texts.erase(std::string(missing));
        form.selections.erase(std::string(missing));
        CommitOutcome outcome;
        try {
            commitEdits(db, form, outcome);
            ADD_FAILURE() << "committed without " << missing;
        } catch (const std::logic_error& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(std::string(missing)));
        }
        expectUnchanged(db, original, "without " + std::string(missing));
    }

    // A non-player's form need not carry the player boxes, nor the month boxes.
    FormValues nonPlayerOnly = shownForm(db, 0);
    for (const FormControl& c : formControls())
        if (c.page == FormPage::PlayerAttributes)
            nonPlayerOnly.texts.erase(std::string(c.name));
    CommitOutcome outcome;
    EXPECT_NO_THROW(commitEdits(db, nonPlayerOnly, outcome));
}

} // namespace
} // namespace rostradb
