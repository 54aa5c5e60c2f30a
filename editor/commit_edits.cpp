#include "commit_edits.h"

#include "db/errors.h"
#include "form_controls.h"
#include "number_reading.h"

#include <stdexcept>

namespace rostradb {

namespace {

// A name or nation box whose trailing "none" item is selected stores this
// marker, which lies outside every table.
constexpr std::uint32_t kNoneMarker = 0xFEFFFFFF;

const std::string& formText(const FormValues& form, std::string_view control)
{
    const auto it = form.texts.find(std::string(control));
    if (it == form.texts.end())
        throw std::logic_error("the staff form has no text for " + std::string(control));
    return it->second;
}

std::int32_t formSelection(const FormValues& form, std::string_view control)
{
    const auto it = form.selections.find(std::string(control));
    if (it == form.selections.end())
        throw std::logic_error("the staff form has no selection for " + std::string(control));
    return it->second;
}

// A form that lacks a box the commit reads is a fault of the window, not of
// the user's input; it is caught before the first write, so such a form never
// half-commits.
template <class Record, std::size_t N>
void requireTexts(const FormValues& form, const std::array<EditBinding<Record>, N>& bindings)
{
    for (const auto& binding : bindings)
        formText(form, binding.control);
}

void requireSelections(const FormValues& form)
{
    for (const auto& box : kNameAndNationBoxes)
        formSelection(form, box.control);
}

// Only the low bits that fit the field are kept (FieldAccess::set cuts them),
// so 300 in an 8-bit field is 44 and -1 is all ones.
template <class Record>
void store(Record& record, const FieldAccess<Record>& field, std::uint32_t bits, CommitOutcome& outcome)
{
    const std::uint32_t before = field.get(record);
    field.set(record, bits);
    if (field.get(record) != before)
        outcome.changedAnything = true;
}

template <class Record, std::size_t N>
void storeEdits(Record& record, const std::array<EditBinding<Record>, N>& bindings, const FormValues& form,
                CommitOutcome& outcome)
{
    for (const auto& binding : bindings) {
        const std::string& text = formText(form, binding.control);
        const std::uint32_t bits = binding.reading == NumberWidth::Bits64
                                       ? static_cast<std::uint32_t>(readNumber64(text))
                                       : static_cast<std::uint32_t>(readNumber32(text));
        store(record, binding.field, bits, outcome);
    }
}

std::int64_t recordCount(const GameDatabase& db, LookupTable table)
{
    switch (table) {
    case LookupTable::Nations:
        return static_cast<std::int64_t>(db.nations.size());
    case LookupTable::FirstNames:
        return static_cast<std::int64_t>(db.firstNames.size());
    case LookupTable::SecondNames:
        return static_cast<std::int64_t>(db.secondNames.size());
    case LookupTable::CommonNames:
        return static_cast<std::int64_t>(db.commonNames.size());
    case LookupTable::Clubs:
        return static_cast<std::int64_t>(db.clubs.size());
    }
    return 0;
}

// Item i of a name or nation box is record i of its table, and the item at
// the table's record count is "none". No selection (-1) passes the signed
// test and is stored as it is, all bits set.
void storeSelections(const GameDatabase& db, StaffRecord& staff, const FormValues& form, CommitOutcome& outcome)
{
    for (const auto& box : kNameAndNationBoxes) {
        const std::int32_t selected = formSelection(form, box.control);
        const std::uint32_t bits =
            selected < recordCount(db, box.table) ? static_cast<std::uint32_t>(selected) : kNoneMarker;
        store(staff, box.field, bits, outcome);
    }
}

} // namespace

void commitEdits(GameDatabase& db, const FormValues& form, CommitOutcome& outcome)
{
    // The classification is the stored one: the form's classification box
    // only shows it and is never read.
    StaffRecord& staff = recordAt(db.staff, form.staffPosition);
    const std::uint8_t classification = staff.classification;
    const bool nonPlayerPart = classification == kNonPlayer || classification == kNonPlayerAndPlayer;
    const bool playerPart = classification == kPlayer || classification == kNonPlayerAndPlayer;
    // Someone who is both has the ability and reputation values twice; the
    // form shows the non-player record's, so they go back there and the
    // player record's own stay as they are.
    const bool abilityToPlayer = classification == kPlayer;

    requireTexts(form, kGeneralEdits);
    requireSelections(form);
    if (playerPart) {
        requireTexts(form, kPlayerRatings);
        requireTexts(form, kPlayerAttributes);
        if (abilityToPlayer)
            requireTexts(form, kPlayerAbility);
    }
    if (nonPlayerPart) {
        requireTexts(form, kNonPlayerAbility);
        requireTexts(form, kNonPlayerAttributes);
    }

    storeEdits(staff, kGeneralEdits, form, outcome);
    storeSelections(db, staff, form, outcome);

    // A player or non-player position outside its table fails here, after
    // the general part has been stored; those writes stay.
    if (playerPart) {
        PlayerRecord& player = recordAt(db.players, form.playerPosition);
        storeEdits(player, kPlayerRatings, form, outcome);
        if (abilityToPlayer)
            storeEdits(player, kPlayerAbility, form, outcome);
        storeEdits(player, kPlayerAttributes, form, outcome);
    }
    if (nonPlayerPart) {
        NonPlayerRecord& nonPlayer = recordAt(db.nonPlayers, form.nonPlayerPosition);
        storeEdits(nonPlayer, kNonPlayerAbility, form, outcome);
        storeEdits(nonPlayer, kNonPlayerAttributes, form, outcome);
    }
}

} // namespace rostradb
