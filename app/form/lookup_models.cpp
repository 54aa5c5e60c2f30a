#include "form/lookup_models.h"

#include "common/cp1252.h"
#include "db/lookup_names.h"

namespace {

// Each table's records and directory entry, by the table a box offers.
template <class Visit>
decltype(auto) withTable(const rostradb::GameDatabase& db, rostradb::LookupTable table, Visit visit)
{
    const std::size_t directoryPosition = rostradb::lookupDirectoryEntry(table);
    return rostradb::withLookupTable(db, table, [&](const auto& records) { return visit(records, directoryPosition); });
}

} // namespace

LookupModel::LookupModel(const rostradb::GameDatabase& db, rostradb::LookupTable table, QObject* parent)
    : QAbstractListModel(parent), db_(db), table_(table)
{
}

int LookupModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant LookupModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const auto position = static_cast<std::size_t>(index.row());
    if (position >= records())
        return QStringLiteral("none");
    return fromGameText(textOf(position));
}

void LookupModel::tableCleared()
{
    beginResetModel();
    rows_ = 0;
    endResetModel();
}

// A table whose load stopped part-way gets its records but no "none": the
// box then matches what the file gave, and no position can name a record
// that was never read.
void LookupModel::tableLoaded()
{
    beginResetModel();
    rows_ = withTable(db_, table_, [this](const auto& table, std::size_t directoryPosition) {
        return static_cast<int>(table.size() + (rostradb::tableIsComplete(db_, table, directoryPosition) ? 1 : 0));
    });
    endResetModel();
}

void LookupModel::recordChanged(std::size_t position)
{
    if (position < static_cast<std::size_t>(rows_)) {
        const QModelIndex changed = index(static_cast<int>(position));
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    }
}

std::size_t LookupModel::records() const
{
    // rows_ counts "none" only after a complete table; records beyond the
    // table (it was emptied under a stale reset) are never read.
    return withTable(db_, table_, [this](const auto& table, std::size_t) {
        return std::min(table.size(), static_cast<std::size_t>(rows_));
    });
}

std::string_view LookupModel::textOf(std::size_t position) const
{
    return withTable(db_, table_, [position](const auto& table, std::size_t) -> std::string_view {
        return table[position].displayText();
    });
}
