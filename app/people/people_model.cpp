#include "people/people_model.h"

#include "common/cp1252.h"

#include "editor/edit_history.h"
#include "editor/people_sort.h"

#include <QBrush>
#include <QColor>

PeopleModel::PeopleModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QObject* parent)
    : QAbstractTableModel(parent), db_(db), history_(history)
{
}

const rostradb::PeopleColumn& PeopleModel::columnAt(int column)
{
    return rostradb::peopleColumns().at(static_cast<std::size_t>(column));
}

void PeopleModel::setPeople(std::vector<std::uint32_t> people)
{
    // A reset keeps the header's hidden columns and widths: the number of
    // columns never changes.
    beginResetModel();
    people_ = std::move(people);
    if (sortColumn_ >= 0)
        rostradb::sortPeople(db_, people_, columnAt(sortColumn_), sortOrder_ == Qt::DescendingOrder);
    endResetModel();
}

void PeopleModel::clear()
{
    beginResetModel();
    people_.clear();
    endResetModel();
}

void PeopleModel::valuesChanged()
{
    if (!people_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int PeopleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(people_.size());
}

int PeopleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rostradb::peopleColumns().size());
}

// A row whose person is gone (the tables being loaded again) shows nothing;
// the window empties the model before a load and fills it after.
bool PeopleModel::hasPerson(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < people_.size() &&
           people_[static_cast<std::size_t>(row)] < db_.staff.size();
}

QVariant PeopleModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !hasPerson(index.row()))
        return {};
    const rostradb::PeopleColumn& column = columnAt(index.column());
    const std::uint32_t person = personAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column.isNumber()) {
            const auto number = rostradb::columnNumber(db_, person, column);
            return number ? QString::number(*number) : QString();
        }
        return fromGameText(rostradb::columnText(db_, person, column));
    case Qt::TextAlignmentRole:
        return column.isNumber() ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        // Values that differ from the file, as the list of changes lists them.
        const auto key = rostradb::columnKey(db_, person, column);
        if (key && history_.pending().contains(*key))
            return QBrush(QColor(255, 244, 190));
        return {};
    }
    default:
        return {};
    }
}

QVariant PeopleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const rostradb::PeopleColumn& column = columnAt(section);
    if (role == Qt::DisplayRole)
        return QString::fromStdString(column.name);
    if (role == Qt::ToolTipRole && column.writable)
        return QStringLiteral("%1: %2").arg(QString::fromStdString(column.name),
                                           QString::fromStdString(rostradb::rangeText(column)));
    return {};
}

Qt::ItemFlags PeopleModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && hasPerson(index.row()) && columnAt(index.column()).writable &&
        rostradb::hasColumn(db_, personAt(index.row()), columnAt(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PeopleModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role == Qt::EditRole && index.isValid() && hasPerson(index.row()))
        emit cellEdited(index, value.toString());
    return false;
}

void PeopleModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<std::uint32_t> before = people_;
    rostradb::sortPeople(db_, people_, columnAt(column), order == Qt::DescendingOrder);
    // The selection and the current cell stay with their people.
    const QModelIndexList persistent = persistentIndexList();
    if (!persistent.isEmpty()) {
        std::vector<int> rowOf(db_.staff.size(), -1);
        for (std::size_t row = 0; row < people_.size(); ++row)
            if (people_[row] < rowOf.size())
                rowOf[people_[row]] = static_cast<int>(row);
        QModelIndexList moved;
        moved.reserve(persistent.size());
        for (const QModelIndex& old : persistent) {
            const std::uint32_t person = before.at(static_cast<std::size_t>(old.row()));
            const int row = person < rowOf.size() ? rowOf[person] : -1;
            moved.append(row < 0 ? QModelIndex() : index(row, old.column()));
        }
        changePersistentIndexList(persistent, moved);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
