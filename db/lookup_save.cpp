#include "lookup_save.h"

#include "data_file.h"
#include "data_paths.h"
#include "errors.h"
#include "loaders.h"
#include "staff_writer.h"

#include <cstring>

namespace rostradb {

namespace {

struct LookupFile {
    LookupTable table;
    std::string_view name;
    std::size_t entry = lookupDirectoryEntry(table);
};

constexpr LookupFile kLookupFiles[] = {
    {LookupTable::Nations, datafile::kNations},
    {LookupTable::FirstNames, datafile::kFirstNames},
    {LookupTable::SecondNames, datafile::kSecondNames},
    {LookupTable::CommonNames, datafile::kCommonNames},
    {LookupTable::Clubs, datafile::kClubs},
};

} // namespace

struct LookupFilesSave::State {
    GameDatabase& db;
    std::vector<std::unique_ptr<RandomAccessFile>> open;
    std::vector<FileChanges> changes; // one per file, runs of one name each
    std::vector<MergedName> conflicts;
    std::vector<MergedName> diskOnly;
};

LookupFilesSave::LookupFilesSave(GameDatabase& db, const std::string& gameDirectory, FileSystem& files)
    : state_(new State{db, {}, {}, {}, {}})
{
    requireSavableLoad(db);
    TableDirectory current;
    current.read(dataFilePath(gameDirectory, datafile::kIndex));
    State& s = *state_;
    for (const LookupFile& lookup : kLookupFiles) {
        const IndexEntry& entry = db.directory.at(lookup.entry);
        const auto& loaded = db.snapshot.directory;
        if (lookup.entry >= loaded.size() || loaded[lookup.entry].bytes != current.at(lookup.entry).bytes)
            throw DbError(kDirectoryChanged);
        withLookupTable(db, lookup.table, [&](auto& records) {
            using Record = typename std::remove_reference_t<decltype(records)>::value_type;
            if (records.size() < entry.recordCount())
                throwListIndexOutOfBounds(static_cast<std::int64_t>(records.size()));
            auto file = files.openExisting(dataFilePath(gameDirectory, lookup.name));
            const ByteBuffer disk = readTableBytes(*file, 0, entry.recordCount(), Record::kFileBytes);
            if (disk.size() != entry.recordCount() * Record::kFileBytes)
                throw DbError(kReadBeyondEnd);
            FileChanges changes{lookup.name, file.get(), file->size(), {}};
            for (std::uint32_t i = 0; i < records.size(); ++i) {
                const NameKey key{lookup.table, i};
                const std::uint8_t* onDisk = disk.data() + std::size_t{i} * Record::kFileBytes + Record::kNameOffset;
                const std::uint8_t* mine = records[i].bytes.data() + Record::kNameOffset;
                const NameField base = fileNameField(db, key);
                if (std::memcmp(onDisk, base.data(), kNameFieldBytes) == 0 &&
                    std::memcmp(mine, base.data(), kNameFieldBytes) == 0)
                    continue;
                MergedName merged{key, {}, {}};
                std::memcpy(merged.disk.data(), onDisk, kNameFieldBytes);
                std::memcpy(merged.editor.data(), mine, kNameFieldBytes);
                if (merged.disk == merged.editor)
                    continue;
                if (merged.disk != base && merged.editor == base) {
                    s.diskOnly.push_back(merged);
                    continue;
                }
                if (merged.disk != base)
                    s.conflicts.push_back(merged);
                changes.runs.push_back({std::uint64_t{i} * Record::kFileBytes + Record::kNameOffset,
                                        {merged.disk.begin(), merged.disk.end()},
                                        {merged.editor.begin(), merged.editor.end()}});
            }
            if (!changes.runs.empty()) {
                s.changes.push_back(std::move(changes));
                s.open.push_back(std::move(file));
            } else {
                file->close();
            }
        });
    }
}

LookupFilesSave::~LookupFilesSave() = default;

const std::vector<MergedName>& LookupFilesSave::conflicts() const { return state_->conflicts; }

const std::vector<MergedName>& LookupFilesSave::changedOnDiskOnly() const { return state_->diskOnly; }

std::vector<FileChanges> LookupFilesSave::plannedChanges() const { return state_->changes; }

std::size_t LookupFilesSave::namesToWrite() const
{
    std::size_t n = 0;
    for (const FileChanges& c : state_->changes)
        n += c.runs.size();
    return n;
}

void LookupFilesSave::committed()
{
    State& s = *state_;
    for (const MergedName& taken : s.diskOnly) {
        const auto bytes = nameBytes(s.db, taken.key);
        std::copy(taken.disk.begin(), taken.disk.end(), bytes.begin());
    }
    for (auto& names : s.db.namesInFile)
        names.clear();
    for (auto& file : s.open)
        file->close();
    s.open.clear();
}

} // namespace rostradb
