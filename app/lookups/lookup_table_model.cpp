#include "lookups/lookup_table_model.h"

#include "common/cp1252.h"

#include "editor/edit_history.h"
#include "editor/name_changes.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace {

std::string_view nameOf(const rostradb::GameDatabase& db, rostradb::LookupTable table, std::uint32_t position)
{
    return rostradb::nameFieldText(rostradb::nameBytes(db, {table, position}).data());
}

// Names by the name search's rule: a..z in any case alike, then by byte.
bool nameBefore(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - ('a' - 'A')) : u;
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return fold(x) < fold(y); });
}

} // namespace

LookupTableModel::LookupTableModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                         rostradb::LookupTable table, QObject* parent)
    : QAbstractTableModel(parent), db_(db), history_(history), table_(table)
{
}

void LookupTableModel::filter(const std::string& part)
{
    beginResetModel();
    counts_ = rostradb::peopleUsing(db_, table_);
    rows_ = rostradb::findNames(db_, table_, part);
    sortRows();
    endResetModel();
}

void LookupTableModel::clear()
{
    beginResetModel();
    rows_.clear();
    counts_.clear();
    endResetModel();
}

void LookupTableModel::valuesChanged()
{
    counts_ = rostradb::peopleUsing(db_, table_);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int LookupTableModel::rowOf(std::uint32_t position) const
{
    const auto it = std::find(rows_.begin(), rows_.end(), position);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

int LookupTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LookupTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LookupTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::uint32_t position = positionAt(index.row());
    // Between the tables being emptied for a load and the rows going.
    if (position >= counts_.size() || position >= rostradb::lookupCount(db_, table_))
        return {};
    if (role == Qt::BackgroundRole && index.column() == Name && history_.pending().contains({table_, position}))
        return QBrush(QColor(255, 255, 170)); // differs from the file, as in the people table
    if (role == Qt::TextAlignmentRole && index.column() != Name)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Position:
        return position;
    case Name:
        return fromGameText(nameOf(db_, table_, position));
    case People:
        return counts_[position];
    default:
        return {};
    }
}

QVariant LookupTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Position:
        return QStringLiteral("Position");
    case Name:
        return QStringLiteral("Name");
    case People:
        return QStringLiteral("People");
    default:
        return {};
    }
}

Qt::ItemFlags LookupTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Name)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LookupTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role == Qt::EditRole && index.isValid() && index.column() == Name && index.row() < rowCount())
        emit renameRequested({table_, positionAt(index.row())}, value.toString());
    return false;
}

void LookupTableModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged();
    sortRows();
    emit layoutChanged();
}

void LookupTableModel::sortRows()
{
    if (sortColumn_ < 0)
        return;
    const auto before = [this](std::uint32_t a, std::uint32_t b) {
        switch (sortColumn_) {
        case Name:
            return nameBefore(nameOf(db_, table_, a), nameOf(db_, table_, b));
        case People:
            return counts_[a] < counts_[b];
        default:
            return a < b;
        }
    };
    std::stable_sort(rows_.begin(), rows_.end(), [&](std::uint32_t a, std::uint32_t b) {
        return sortOrder_ == Qt::AscendingOrder ? before(a, b) : before(b, a);
    });
}
