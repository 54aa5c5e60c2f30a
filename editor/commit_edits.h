#pragma once
// "Confirm Changes": the form's values back into the shown person's records.

#include "db/game_database.h"
#include "typed_number.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace rostradb {

// What the form holds when the user confirms.
struct FormValues {
    std::int32_t staffPosition = 0;     // id
    std::int32_t playerPosition = 0;    // idpl
    std::int32_t nonPlayerPosition = 0; // idnp
    // Text of every edit box, keyed by control name ("ed_wages", ...).
    std::unordered_map<std::string, std::string> texts;
    // Selected item of each name, nation and club box ("cbx_fname", ...),
    // -1 for none.
    std::unordered_map<std::string, std::int32_t> selections;
    // The item the display selected in each of those boxes, -1 for none. A
    // box still showing it is left alone by the commit: a stored position
    // outside its table shows as "none", and only a "none" the user picked
    // is stored as the none marker.
    std::unordered_map<std::string, std::int32_t> shownSelections;
};

struct CommitOutcome {
    bool changedAnything = false; // set as soon as one stored value differs
};

// Stores the form into the StaffRecord at staffPosition (the general values,
// and each name, nation and club box the user picked another item in) and,
// by its stored classification, into the PlayerRecord (2), the NonPlayerRecord (1) or both
// (3; the ability and reputation boxes then go to the NonPlayerRecord, whose
// values the display shows in them). Texts are read leniently and cut to
// each field's width. A position outside its table raises the list error; the
// writes before it stay, and `outcome` tells whether they changed anything.
// A form lacking a text or selection the commit needs raises
// std::logic_error naming the control, before anything is written.
void commitEdits(GameDatabase& db, const FormValues& form, CommitOutcome& outcome);

// The edit boxes that commitEdits would store as another number than their
// text says ("15,000" as 15), in the form's order, with the line to show for
// each. Only the boxes the commit reads for the person's classification
// count; an id outside the staff table lists nothing (the commit then fails
// before its first write).
std::vector<NotAsTyped> numbersNotStoredAsTyped(const GameDatabase& db, const FormValues& form);

} // namespace rostradb
