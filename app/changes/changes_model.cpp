#include "changes/changes_model.h"

#include "common/cp1252.h"

#include "editor/name_changes.h"

#include <cstddef>
#include <set>

ChangesModel::ChangesModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QObject* parent)
    : QAbstractTableModel(parent), db_(db), history_(history)
{
}

// The rows are updated one run at a time instead of by a reset, so the view
// keeps its selection and scroll position: both lists are sorted, and one walk
// through them finds the rows that went and those that came. Every remaining
// row may show another value now, so all of them are repainted.
void ChangesModel::refresh()
{
    const std::set<rostradb::ValueKey>& next = history_.pending().keys();
    describedRow_ = -1;
    auto want = next.begin();
    std::size_t row = 0;
    while (row < keys_.size() || want != next.end()) {
        if (row < keys_.size() && (want == next.end() || keys_[row] < *want)) {
            std::size_t end = row + 1; // rows [row, end) are no longer changed
            while (end < keys_.size() && (want == next.end() || keys_[end] < *want))
                ++end;
            beginRemoveRows({}, static_cast<int>(row), static_cast<int>(end - 1));
            keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(row),
                        keys_.begin() + static_cast<std::ptrdiff_t>(end));
            endRemoveRows();
        } else if (row == keys_.size() || *want < keys_[row]) {
            std::vector<rostradb::ValueKey> added; // new rows before keys_[row]
            while (want != next.end() && (row == keys_.size() || *want < keys_[row]))
                added.push_back(*want++);
            beginInsertRows({}, static_cast<int>(row), static_cast<int>(row + added.size() - 1));
            keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(row), added.begin(), added.end());
            endInsertRows();
            row += added.size();
        } else {
            ++row;
            ++want;
        }
    }
    // Renames are few: their rows are replaced whole when they differ.
    const std::vector<rostradb::NameKey> names(history_.pending().renamed().begin(),
                                               history_.pending().renamed().end());
    if (names != names_) {
        const int first = static_cast<int>(keys_.size());
        if (!names_.empty()) {
            beginRemoveRows({}, first, first + static_cast<int>(names_.size()) - 1);
            names_.clear();
            endRemoveRows();
        }
        if (!names.empty()) {
            beginInsertRows({}, first, first + static_cast<int>(names.size()) - 1);
            names_ = names;
            endInsertRows();
        }
    }
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::DisplayRole});
}

std::optional<std::size_t> ChangesModel::personAt(int row) const { return rowAt(row).personPosition; }

int ChangesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(keys_.size() + names_.size());
}

std::optional<rostradb::ValueKey> ChangesModel::keyAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= keys_.size())
        return std::nullopt;
    return keys_[static_cast<std::size_t>(row)];
}

std::optional<rostradb::NameKey> ChangesModel::nameAt(int row) const
{
    if (row < static_cast<int>(keys_.size()) || row >= rowCount())
        return std::nullopt;
    return names_[static_cast<std::size_t>(row) - keys_.size()];
}

int ChangesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const rostradb::ChangeRow& ChangesModel::rowAt(int row) const
{
    if (row != describedRow_ && nameAt(row)) {
        const rostradb::NameKey key = *nameAt(row);
        described_ = key.position < rostradb::lookupCount(db_, key.table) ? rostradb::describeNameChange(db_, key)
                                                                          : rostradb::ChangeRow{};
        describedRow_ = row;
    } else if (row != describedRow_) {
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
