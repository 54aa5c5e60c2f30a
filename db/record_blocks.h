#pragma once
// Reading a run of fixed-size records through one small buffer, for tables
// whose file bytes are not kept: the file's bytes are never all in memory at
// once (every page of them memory to fault in and give back), and the buffer
// stays in the cache while its records are taken out.

#include "random_access_file.h"
#include "staff_snapshot.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace rostradb {

// Reads up to `count` records of `recordBytes` from the file's position,
// `blockRecords` at a time, calling take(records, n) with the n whole records
// of each block. Stops early where the file ends. Returns how many whole
// records were read.
template <class Take>
std::size_t readRecordBlocks(RandomAccessFile& file, std::size_t count, std::size_t recordBytes,
                             std::size_t blockRecords, Take take)
{
    ByteBuffer block(std::min(count, blockRecords) * recordBytes);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t want = std::min(blockRecords, count - done);
        const std::size_t got = file.readSome(block.bytes().first(want * recordBytes)) / recordBytes;
        take(static_cast<const std::uint8_t*>(block.data()), got);
        done += got;
        if (got < want)
            break;
    }
    return done;
}

} // namespace rostradb
