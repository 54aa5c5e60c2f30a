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
    void clear() { changed_.clear(); }

    // Stores `bits` into the value and notes whether it now differs.
    void set(GameDatabase& db, const ValueKey& key, std::uint32_t bits);
    // Compares the one value again, after something else changed it.
    void refresh(const GameDatabase& db, const ValueKey& key);

    std::size_t count() const { return changed_.size(); }
    bool contains(const ValueKey& key) const { return changed_.count(key) != 0; }
    // Sorted by table, position and field.
    const std::set<ValueKey>& keys() const { return changed_; }

private:
    std::set<ValueKey> changed_;
};

} // namespace rostradb
