#pragma once
// Turns one "Confirm Changes" into a step of the history without the commit
// having to know about it: the records the commit may write are copied
// before it runs and compared field by field afterwards.

#include "commit_edits.h"
#include "field_change.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace rostradb {

class CommitCapture {
public:
    // Copies the records at the form's three positions (those that exist).
    CommitCapture(const GameDatabase& db, const FormValues& form);

    // Every field that differs now, as "Confirm Changes of NAME" with the
    // name of the person at the staff position. Empty when nothing changed,
    // also after a commit that failed before its first write.
    EditStep step(const GameDatabase& db) const;

private:
    template <class Record>
    using Copy = std::optional<std::pair<std::uint32_t, Record>>;

    Copy<StaffRecord> staff_;
    Copy<PlayerRecord> player_;
    Copy<NonPlayerRecord> nonPlayer_;
};

// "Confirm Changes of " followed by the person's display name (game text).
std::string confirmStepName(const std::string& displayName);

} // namespace rostradb
