#include "changes_model.h"

#include "cp1252.h"

ChangesModel::ChangesModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QObject* parent)
    : QAbstractTableModel(parent), db_(db), history_(history)
{
}

void ChangesModel::refresh()
{
    beginResetModel();
    const auto& keys = history_.pending().keys();
    keys_.assign(keys.begin(), keys.end());
    describedRow_ = -1;
    endResetModel();
}

std::optional<std::size_t> ChangesModel::personAt(int row) const { return rowAt(row).personPosition; }

int ChangesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(keys_.size());
}

int ChangesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const rostradb::ChangeRow& ChangesModel::rowAt(int row) const
{
    if (row != describedRow_) {
        const rostradb::ValueKey& key = keys_.at(static_cast<std::size_t>(row));
        // A key whose record is gone (a load running) has nothing to show;
        // the main window refreshes the model before and after every load.
        described_ = key.position < rostradb::recordCount(db_, key.table)
                         ? rostradb::describeChange(db_, history_.owners(), key)
                         : rostradb::ChangeRow{};
        describedRow_ = row;
    }
    return described_;
}

QVariant ChangesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const rostradb::ChangeRow& row = rowAt(index.row());
    switch (index.column()) {
    case Record:
        return QString::fromStdString(row.record);
    case Person:
        return fromGameText(row.person);
    case Field:
        return QString::fromStdString(row.field);
    case InFile:
        return fromGameText(row.inFile);
    case Now:
        return fromGameText(row.now);
    default:
        return {};
    }
}

QVariant ChangesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Record:
        return QStringLiteral("Record");
    case Person:
        return QStringLiteral("Person");
    case Field:
        return QStringLiteral("Field");
    case InFile:
        return QStringLiteral("In the file");
    case Now:
        return QStringLiteral("Now");
    default:
        return {};
    }
}
