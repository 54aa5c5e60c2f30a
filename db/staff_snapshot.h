#pragma once
// The staff file as File > Open found it: the bytes of its three tables
// exactly as read, and the directory entries that placed them. Save compares
// the disk with it (has somebody else changed the file since?), the editor
// compares memory with it (what has the user changed?), and after a
// successful save it holds what was written.

#include "table_directory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace rostradb {

// A byte buffer that is not zeroed first: every byte is read into.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t size);
    ByteBuffer(const ByteBuffer& other);
    ByteBuffer& operator=(const ByteBuffer& other);
    // A buffer moved from is empty, with no room.
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;

    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    // Shrinks the visible size (a read that delivered fewer bytes).
    void truncate(std::size_t size) { size_ = size < size_ ? size : size_; }
    // Makes the size `size`, its bytes to be overwritten: in the memory it
    // has when that is large enough and not more than twice as large, else
    // in new memory.
    void resizeForOverwrite(std::size_t size);
    std::span<std::uint8_t> bytes() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// One table's region of staff.dat.
struct TableRegion {
    std::uint64_t offset = 0;      // where the table starts in the file
    std::uint64_t recordCount = 0; // as its directory entry announced
    std::size_t recordBytes = 0;   // 157, 68 or 70
    ByteBuffer bytes;              // as read; shorter when the load stopped early

    std::uint64_t end() const { return offset + recordCount * recordBytes; }
    // True when the region holds every record its entry announced.
    bool complete() const { return bytes.size() == recordCount * recordBytes; }
    // The file bytes of record i (i below the records the region holds).
    const std::uint8_t* record(std::size_t i) const { return bytes.data() + i * recordBytes; }
    std::uint8_t* record(std::size_t i) { return bytes.data() + i * recordBytes; }
};

struct StaffFileSnapshot {
    // The 22 entries the load sized and placed the tables by.
    std::vector<IndexEntry> directory;
    TableRegion staff;      // from byte 0 (entry 7)
    TableRegion nonPlayers; // from the offset of entry 9
    TableRegion players;    // from the offset of entry 10

    // All three regions were read in full: a load of the staff file that
    // ran to its end.
    bool complete() const { return staff.complete() && nonPlayers.complete() && players.complete(); }
    // Clears it but keeps the regions' buffers, which the next load reads
    // into (with nothing in them).
    void clearKeepingRoom();
};

} // namespace rostradb
