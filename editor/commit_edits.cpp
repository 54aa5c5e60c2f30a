#include "commit_edits.h"

#include "db/errors.h"
#include "form_controls.h"
#include "lookup_tables.h"
#include "number_reading.h"

#include <stdexcept>
#include <type_traits>

namespace rostradb {

namespace {

template <class Value>
const Value& formEntry(const std::unordered_map<std::string, Value>& entries, std::string_view control,
                       const char* what)
{
    const auto it = entries.find(std::string(control));
    if (it == entries.end())
        throw std::logic_error(std::string("the staff form has no ") + what + " for " + std::string(control));
    return it->second;
}

// What a commit writes into which record. Someone who is both a player and a
// non-player has the ability and reputation values twice; the form shows the
// non-player record's, so they go back there and the player record's own
// stay as they are.
template <class Record>
bool writesInto(const FormControl& c, std::uint8_t classification)
{
    if constexpr (std::is_same_v<Record, StaffRecord>)
        return c.showsStaff() && c.isEditable();
    else if constexpr (std::is_same_v<Record, PlayerRecord>)
        return c.kind == ControlKind::Edit && c.showsPlayer() &&
               !(c.showsNonPlayer() && classification == kNonPlayerAndPlayer);
    else
        return c.kind == ControlKind::Edit && c.showsNonPlayer();
}

// A form that lacks a box the commit reads is a fault of the window, not of
// the user's input; it is caught before the first write, so such a form never
// half-commits.
template <class Record>
void requireInputs(const FormValues& form, std::uint8_t classification)
{
    for (const FormControl& c : formControls()) {
        if (!writesInto<Record>(c, classification))
            continue;
        if (c.kind == ControlKind::Edit) {
            formEntry(form.texts, c.name, "text");
        } else {
            formEntry(form.selections, c.name, "selection");
            formEntry(form.shownSelections, c.name, "shown selection");
        }
    }
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

// Item i of a lookup box is record i of its table, and the item at the
// table's record count is "none". A box left at the item the display chose
// keeps the stored value: the game uses more than one value outside the
// table (all bits set, the none marker), the box shows them all as "none",
// and confirming an unrelated edit must not rewrite them. No selection (-1)
// passes the signed test and is stored as it is, all bits set.
void storeSelection(const GameDatabase& db, StaffRecord& staff, const FormControl& box, const FormValues& form,
                    CommitOutcome& outcome)
{
    const std::int32_t selected = formEntry(form.selections, box.name, "selection");
    if (selected == formEntry(form.shownSelections, box.name, "shown selection"))
        return;
    const std::uint32_t bits =
        selected < static_cast<std::int64_t>(lookupCount(db, box.table)) ? static_cast<std::uint32_t>(selected) : kNoneMarker;
    store(staff, box.staffField, bits, outcome);
}

template <class Record>
void storePart(const GameDatabase& db, Record& record, const FormValues& form, std::uint8_t classification,
               CommitOutcome& outcome)
{
    for (const FormControl& c : formControls()) {
        if (!writesInto<Record>(c, classification))
            continue;
        if constexpr (std::is_same_v<Record, StaffRecord>) {
            if (c.kind == ControlKind::LookupBox) {
                storeSelection(db, record, c, form, outcome);
                continue;
            }
        }
        const std::string& text = formEntry(form.texts, c.name, "text");
        const std::uint32_t bits = c.reading == NumberWidth::Bits64 ? static_cast<std::uint32_t>(readNumber64(text))
                                                                    : static_cast<std::uint32_t>(readNumber32(text));
        store(record, c.field<Record>(), bits, outcome);
    }
}

} // namespace

std::vector<NotAsTyped> numbersNotStoredAsTyped(const GameDatabase& db, const FormValues& form)
{
    std::vector<NotAsTyped> found;
    if (form.staffPosition < 0 || static_cast<std::size_t>(form.staffPosition) >= db.staff.size())
        return found;
    const std::uint8_t classification = db.staff[static_cast<std::size_t>(form.staffPosition)].classification;
    const bool nonPlayerPart = classificationLeadsTo(classification, StaffTable::NonPlayer);
    const bool playerPart = classificationLeadsTo(classification, StaffTable::Player);
    for (const FormControl& c : formControls()) {
        if (c.kind != ControlKind::Edit)
            continue;
        const bool read = writesInto<StaffRecord>(c, classification) ||
                          (playerPart && writesInto<PlayerRecord>(c, classification)) ||
                          (nonPlayerPart && writesInto<NonPlayerRecord>(c, classification));
        const auto text = form.texts.find(std::string(c.name));
        if (!read || text == form.texts.end())
            continue;
        if (const StoredNumber stored = storedNumber(c, text->second); !stored.asTyped)
            found.push_back({c.name, notAsTypedLine(c, text->second, stored.value)});
    }
    return found;
}

void commitEdits(GameDatabase& db, const FormValues& form, CommitOutcome& outcome)
{
    // The classification is the stored one: the form's classification box
    // only shows it and is never read.
    StaffRecord& staff = recordAt(db.staff, form.staffPosition);
    const std::uint8_t classification = staff.classification;
    const bool nonPlayerPart = classificationLeadsTo(classification, StaffTable::NonPlayer);
    const bool playerPart = classificationLeadsTo(classification, StaffTable::Player);

    requireInputs<StaffRecord>(form, classification);
    if (playerPart)
        requireInputs<PlayerRecord>(form, classification);
    if (nonPlayerPart)
        requireInputs<NonPlayerRecord>(form, classification);

    storePart(db, staff, form, classification, outcome);
    // A player or non-player position outside its table fails here, after
    // the general part has been stored; those writes stay.
    if (playerPart)
        storePart(db, recordAt(db.players, form.playerPosition), form, classification, outcome);
    if (nonPlayerPart)
        storePart(db, recordAt(db.nonPlayers, form.nonPlayerPosition), form, classification, outcome);
}

} // namespace rostradb
