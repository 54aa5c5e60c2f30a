#pragma once
// What a save will do to one table of staff.dat: the three-way merge of the
// load snapshot, the records in memory and the disk's bytes now, and the runs
// of neighbouring records whose bytes change. Used by the writer only.

#include "data_file.h"
#include "errors.h"
#include "loaders.h"
#include "record_layout.h"
#include "staff_writer.h"

#include <array>
#include <cstring>
#include <vector>

namespace rostradb::save_plan {

// A run of neighbouring records that change: written in one piece.
struct Run {
    std::uint64_t first = 0;
    std::uint64_t end = 0; // one past the last record
    std::size_t oldAt = 0; // where the run's old bytes start in TablePlan::old
};

struct TablePlan {
    const char* caption = nullptr;
    std::uint32_t lastIndex = 0;
    TableRegion bytes;             // read from the disk, then the merged fields put in
    std::vector<std::uint8_t> old; // the disk's bytes of the records that change, run after run
    std::vector<Run> runs;

    std::uint64_t recordsToWrite() const { return old.size() / bytes.recordBytes; }
    std::uint64_t runOffset(const Run& run) const { return bytes.offset + run.first * bytes.recordBytes; }
    std::size_t runBytes(const Run& run) const
    {
        return static_cast<std::size_t>((run.end - run.first) * bytes.recordBytes);
    }
};

struct Merged {
    std::vector<MergedValue> conflicts;
    std::vector<MergedValue> diskOnly;
};

// Puts the merged record into `disk` (the disk's bytes of it). A record the
// disk holds as the snapshot does needs no merge: the editor's values go in.
template <const auto& Layout, class Record>
void mergeRecord(const Record& editor, std::uint8_t* disk, const std::uint8_t* base, StaffTable table,
                 std::uint32_t position, Merged& merged)
{
    if (std::memcmp(disk, base, Record::kFileBytes) == 0) {
        encodeRecord<Layout>(editor, disk);
        return;
    }
    Record result = editor;
    [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        const auto mergeField = [&](const auto& field, std::uint16_t index) {
            if (!field.saved)
                return;
            const std::uint32_t mask = field.access.width == 4 ? 0xFFFFFFFFu : (1u << (8 * field.access.width)) - 1;
            const std::uint32_t was = le::load(base + field.offset, field.access.width);
            const std::uint32_t now = le::load(disk + field.offset, field.access.width);
            const std::uint32_t mine = field.access.get(editor) & mask;
            if (now == was || now == mine)
                return;
            const MergedValue value{table, position, index, now, mine, false};
            if (mine == was) {
                field.access.set(result, now);
                merged.diskOnly.push_back(value);
            } else {
                merged.conflicts.push_back(value);
            }
        };
        (mergeField(Layout[I], static_cast<std::uint16_t>(I)), ...);
    }
    (std::make_index_sequence<Layout.size()>{});
    encodeRecord<Layout>(result, disk);
}

// Looks at each record as the disk holds it, before the merge.
struct NoInspection {
    void operator()(std::size_t, const std::uint8_t*, const std::uint8_t*) const {}
};

// `held` marks the records the editor's values must not reach: they stay
// as the disk holds them.
template <const auto& Layout, class Record, class Inspect = NoInspection>
TablePlan planTable(RandomAccessFile& file, const std::vector<Record>& records, const TableRegion& loaded,
                    const IndexEntry& entry, const char* caption, StaffTable table, Merged& merged,
                    const std::vector<bool>* held = nullptr, Inspect inspect = {})
{
    constexpr std::size_t kBytes = Record::kFileBytes;

    TablePlan plan;
    plan.caption = caption;
    plan.lastIndex = entry.lastIndex();
    plan.bytes = TableRegion{loaded.offset, loaded.recordCount, kBytes,
                             readTableBytes(file, loaded.offset, loaded.recordCount, kBytes)};
    // The file is rewritten in place, never extended: a table that no longer
    // fits the file (it was cut short since the load) stops the save here.
    if (!plan.bytes.complete())
        throw DbError(kReadBeyondEnd);

    const auto count = static_cast<std::size_t>(loaded.recordCount);
    std::array<std::uint8_t, kBytes> before{};
    bool inRun = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = plan.bytes.record(i);
        inspect(i, record, loaded.record(i));
        if (held && (*held)[i]) {
            inRun = false;
            continue;
        }
        std::memcpy(before.data(), record, kBytes);
        mergeRecord<Layout>(records[i], record, loaded.record(i), table, static_cast<std::uint32_t>(i), merged);
        const bool changes = std::memcmp(before.data(), record, kBytes) != 0;
        if (changes) {
            if (!inRun)
                plan.runs.push_back({i, i, plan.old.size()});
            plan.runs.back().end = i + 1;
            plan.old.insert(plan.old.end(), before.begin(), before.end());
        }
        inRun = changes;
    }
    return plan;
}

} // namespace rostradb::save_plan
