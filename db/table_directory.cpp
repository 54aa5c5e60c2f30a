#include "table_directory.h"

#include "data_file.h"
#include "errors.h"
#include "little_endian.h"

namespace rostradb {

std::uint32_t IndexEntry::lastIndex() const { return le::u32(bytes.data() + 55); }
std::uint32_t IndexEntry::offset() const { return le::u32(bytes.data() + 59); }

void TableDirectory::read(const std::string& path)
{
    entries_.clear();
    DataFile file = DataFile::openExisting(path);
    file.seek(kHeaderBytes);
    // A file that ends inside an entry is refused rather than padded: the
    // missing bytes would otherwise become table sizes and offsets.
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        IndexEntry e;
        file.readExact(e.bytes);
        entries_.push_back(e);
    }
    file.close();
}

const IndexEntry& TableDirectory::at(std::size_t position) const
{
    if (position >= entries_.size())
        throwListIndexOutOfBounds(static_cast<std::int64_t>(position));
    return entries_[position];
}

} // namespace rostradb
