#pragma once
// The rows of a table of nations, clubs or names: position, name and the
// number of people using the record. Like the people table it keeps only the
// positions shown, in the order shown, and makes a cell's text when the view
// asks; filtering and sorting replace that vector.
//
// Editing a name changes nothing here: the model reports the typed text and
// the main window renames the record as one step of the history.

#include "db/lookup_names.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

namespace rostradb {
class EditHistory;
} // namespace rostradb

class LookupTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Position, Name, People, ColumnCount };

    LookupTableModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, rostradb::LookupTable table,
                QObject* parent = nullptr);

    rostradb::LookupTable table() const { return table_; }
    // Shows the records whose name contains `part` (game bytes), sorted by
    // the column last sorted by.
    void filter(const std::string& part);
    // No rows: before the tables are emptied for a load.
    void clear();
    // Names or the people using them changed: the counts are made again and
    // the cells on screen asked for again; the rows stay.
    void valuesChanged();

    std::uint32_t positionAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    int rowOf(std::uint32_t position) const;
    std::size_t recordCount() const { return counts_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void renameRequested(const rostradb::NameKey& key, const QString& text);

private:
    void sortRows();

    const rostradb::GameDatabase& db_;
    const rostradb::EditHistory& history_;
    rostradb::LookupTable table_;
    std::vector<std::uint32_t> rows_;
    std::vector<std::uint32_t> counts_; // people using each record
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
