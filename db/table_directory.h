#pragma once
// index.dat: an 8-byte header followed by 22 entries of 67 bytes. Each entry
// gives a table's last index (the table holds lastIndex + 1 records) at byte
// 55 and where the table starts in its data file at byte 59. Everything else
// in an entry is kept as read and interpreted by nothing.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rostradb {

struct IndexEntry {
    static constexpr std::size_t kBytes = 67;
    std::array<std::uint8_t, kBytes> bytes{};

    std::uint32_t lastIndex() const;
    std::uint32_t offset() const;
    // Counted in 64 bits: a last index of 0xFFFFFFFF announces 2^32 records.
    std::uint64_t recordCount() const { return std::uint64_t{lastIndex()} + 1; }
};

// Directory positions of the tables the editor uses.
namespace entry {
inline constexpr std::size_t kClubs = 0;
inline constexpr std::size_t kNations = 4;
inline constexpr std::size_t kStaff = 7;
inline constexpr std::size_t kNonPlayers = 9;
inline constexpr std::size_t kPlayers = 10;
inline constexpr std::size_t kFirstNames = 15;
inline constexpr std::size_t kSecondNames = 16;
inline constexpr std::size_t kCommonNames = 17;
} // namespace entry

class TableDirectory {
public:
    static constexpr std::size_t kEntryCount = 22;
    static constexpr std::size_t kHeaderBytes = 8;

    // Reads the 22 entries from the index file at `path`, replacing what
    // the directory held. On failure the entries read before it stay and the
    // error propagates.
    void read(const std::string& path);

    // The entry at `position`, or "List index out of bounds (position)"
    // when the directory does not hold it (it was never read).
    const IndexEntry& at(std::size_t position) const;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }
    void append(const IndexEntry& e) { entries_.push_back(e); }

private:
    std::vector<IndexEntry> entries_;
};

} // namespace rostradb
