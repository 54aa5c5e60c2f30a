#include "editor/edit_history.h"

#include "db/errors.h"
#include "db/loaders.h"
#include "editor/database_builder.h"
#include "editor/name_changes.h"
#include "editor/snapshot_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace rostradb {
namespace {

using ::testing::HasSubstr;

std::string fieldBytes(const GameDatabase& db, const NameKey& key)
{
    const auto bytes = nameBytes(db, key);
    return std::string(bytes.begin(), bytes.end());
}

class Renames : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = testing::peopleDatabase({1, 2, 3, 1, 2, 3, 1, 2});
        for (auto& person : db.staff)
            person.displayName = buildDisplayName(person.firstName, person.secondName, db.firstNames, db.secondNames);
        // Bytes the game does not read, after the zero: a rename must keep them.
        auto& club = db.clubs[2].bytes;
        std::fill(club.begin() + 4 + 6, club.begin() + 4 + 51, 'x');
        testing::takeSnapshot(db);
        history.reset(db);
    }
    GameDatabase db;
    EditHistory history;
};

TEST_F(Renames, StoreTextAndOneZeroAndKeepTheBytesAfterIt)
{
    const NameKey club{LookupTable::Clubs, 2};
    const std::string before = fieldBytes(db, club);
    ASSERT_NE(history.rename(db, club, "AB"), nullptr);
    EXPECT_EQ(fieldBytes(db, club), std::string("AB\0", 3) + before.substr(3));
    EXPECT_EQ(db.clubs[2].displayText(), "AB");

    const std::string full(51, 'Z');
    history.rename(db, club, full);
    EXPECT_EQ(fieldBytes(db, club), full);
    history.rename(db, club, "");
    EXPECT_EQ(fieldBytes(db, club), std::string(1, '\0') + full.substr(1));
    // Nothing but the name moved: bytes 0..3 and from 55 on are as loaded.
    EXPECT_TRUE(std::equal(db.clubs[2].bytes.begin() + 55, db.clubs[2].bytes.end(),
                           testing::peopleDatabase({}).clubs[2].bytes.begin() + 55));
}

TEST_F(Renames, DisplayNamesFollowAFirstNameForEveryoneUsingIt)
{
    const NameKey first{LookupTable::FirstNames, 1};
    const EditStep* step = history.rename(db, first, "John");
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->name, "Rename first name \"First1\" to \"John\" (2 people)");
    for (const auto& person : db.staff)
        EXPECT_EQ(person.displayName.rfind("John ", 0) == 0, person.firstName == 1) << person.displayName;
    EXPECT_EQ(history.changedValues(), 1u);

    history.undo(db);
    for (const auto& person : db.staff)
        EXPECT_EQ(person.displayName.rfind("First", 0), 0u);
    EXPECT_EQ(history.changedValues(), 0u);
    history.redo(db);
    EXPECT_EQ(db.staff[1].displayName.substr(0, 5), "John ");
}

TEST_F(Renames, UndoRevertAndRenamingBackPutTheFileBytesBack)
{
    const NameKey club{LookupTable::Clubs, 2};
    const std::string inFile = fieldBytes(db, club);
    history.rename(db, club, "A much longer club name");
    history.undo(db);
    EXPECT_EQ(fieldBytes(db, club), inFile);

    history.redo(db);
    history.rename(db, club, "Club2"); // the file's text: the file's bytes again
    EXPECT_EQ(fieldBytes(db, club), inFile);
    EXPECT_EQ(history.changedValues(), 0u);

    history.rename(db, club, "New");
    const EditStep* revert = history.revert(db, {}, {club});
    ASSERT_NE(revert, nullptr);
    EXPECT_EQ(revert->name, "Revert 1 value");
    EXPECT_EQ(fieldBytes(db, club), inFile);
    EXPECT_EQ(history.revert(db, {}, {club}), nullptr);
}

TEST_F(Renames, ListOfChangesShowsTheOldAndNewText)
{
    const NameKey club{LookupTable::Clubs, 6};
    history.rename(db, club, "Real Name");
    ASSERT_EQ(history.pending().renamed().size(), 1u);
    const ChangeRow row = describeNameChange(db, club);
    EXPECT_EQ(row.record, "club 6");
    EXPECT_EQ(row.field, "name");
    EXPECT_EQ(row.inFile, "Club6");
    EXPECT_EQ(row.now, "Real Name");
}

TEST(NameText, RefusesWhatTheFieldCannotHoldNamingIt)
{
    EXPECT_EQ(nameTextFromUtf8("Jos\xC3\xA9 \xE2\x82\xAC"), "Jos\xE9 \x80");
    EXPECT_EQ(nameTextFromUtf8(std::string(51, 'a')).size(), 51u);
    const auto refusal = [](const std::string& text) {
        try {
            nameTextFromUtf8(text);
        } catch (const DbError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_THAT(refusal("Ma\xC4\x81ori"), HasSubstr("\"\xC4\x81\" (U+0101)"));
    EXPECT_THAT(refusal(std::string(52, 'a')), HasSubstr("52 bytes"));
    // The length is counted in the game's bytes: 51 "é" are 102 UTF-8 bytes.
    std::string accented;
    for (int i = 0; i < 51; ++i)
        accented += "\xC3\xA9";
    EXPECT_EQ(refusal(accented), "accepted");
    EXPECT_THAT(refusal(std::string("a\0b", 3)), HasSubstr("U+0000"));
}

} // namespace
} // namespace rostradb
