#pragma once
// Which values in memory differ from the load snapshot: what Save would
// change. A value here is one field Save writes, of one staff, non-player or
// player record; the fields kept but never written (the links at 145..156)
// cannot differ in the file, so they are not counted.
//
// A load or a save leaves nothing differing, and every change in between
// goes through set(), which compares the one value it touches. The full
// comparison (some 15 MB) is what the tests check that bookkeeping against.

#include "field_change.h"

#include <cstddef>
#include <cstdint>
#include <set>

namespace rostradb {

class PendingChanges {
public:
    // Compares every written field of every record with the snapshot.
    // Records the snapshot does not hold (a load that stopped early) have
    // nothing to differ from and are left out.
    void recount(const GameDatabase& db);
    void clear()
    {
        changed_.clear();
        renamed_.clear();
    }

    // Stores `bits` into the value and notes whether it now differs.
    void set(GameDatabase& db, const ValueKey& key, std::uint32_t bits);
    // Compares the one value again, after something else changed it.
    void refresh(const GameDatabase& db, const ValueKey& key);

    // Puts the name field in, rebuilds the display names that show it and
    // notes whether the name now differs from the file.
    void setName(GameDatabase& db, const NameKey& key, const NameField& field);
    // Notes every renamed name again, after a load or save changed them.
    void refreshNames(const GameDatabase& db);

    // Values and names that differ: what the status line counts.
    std::size_t count() const { return changed_.size() + renamed_.size(); }
    bool contains(const NameKey& key) const { return renamed_.count(key) != 0; }
    // Sorted by table and position.
    const std::set<NameKey>& renamed() const { return renamed_; }
    bool contains(const ValueKey& key) const { return changed_.count(key) != 0; }
    // Sorted by table, position and field.
    const std::set<ValueKey>& keys() const { return changed_; }

private:
    std::set<ValueKey> changed_;
    std::set<NameKey> renamed_;
};

} // namespace rostradb
