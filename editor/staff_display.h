#pragma once
// Showing one person: the ordered list of changes the window makes to its
// controls when the user picks a name from the result list.

#include "db/game_database.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rostradb {

struct FormUpdate {
    enum class Kind {
        Text,       // an edit or position box gets `text`
        ComboIndex, // a combo box selects item `index` (-1: no item)
        Visible,    // a control is shown (`flag` true) or hidden
        TabOffered, // a page's tab is offered (`flag` true) or withdrawn
    };
    Kind kind;
    std::string_view control;
    std::string text;
    std::int64_t index = -1;
    bool flag = false;
};

// Item counts of the combo boxes that list a table (records plus "none").
struct LookupBoxCounts {
    std::int64_t firstNames = 0;  // cbx_fname
    std::int64_t secondNames = 0; // cbx_sname
    std::int64_t commonNames = 0; // cbx_cname
    std::int64_t nations = 0;     // cbx_fnation, cbx_snation, cbx_anation
    std::int64_t clubs = 0;       // cbx_club
};

// Appends to `updates`, in order: the three positions; the general values and
// codes of the record at position staffId; the names and nations of
// `selected` itself; the club; then, by classification, the tab and memo
// visibility and the player and/or non-player values. A position outside its
// table raises the list error after the updates made so far were appended
// (nothing selected: position -1, no update at all).
void showStaffMember(const GameDatabase& db, const StaffRecord* selected, const LookupBoxCounts& counts,
                     std::vector<FormUpdate>& updates);

} // namespace rostradb
