#pragma once
// The rows of `lst_changes`: one per value that differs from the load
// snapshot, in the editor's order (table, position, field). The model keeps
// only the keys; each row's texts are made when the view asks for them, so a
// long list costs nothing for the rows that are not on screen.

#include "editor/change_list.h"
#include "editor/edit_history.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

class ChangesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Record, Person, Field, InFile, Now, ColumnCount };

    ChangesModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QObject* parent = nullptr);

    // Takes the keys from the history again.
    void refresh();

    // The value or the renamed name of the row: values first, then names.
    std::optional<rostradb::ValueKey> keyAt(int row) const;
    std::optional<rostradb::NameKey> nameAt(int row) const;
    // The staff position of the row's person, if the record has one.
    std::optional<std::size_t> personAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const rostradb::ChangeRow& rowAt(int row) const;

    const rostradb::GameDatabase& db_;
    const rostradb::EditHistory& history_;
    std::vector<rostradb::ValueKey> keys_;
    std::vector<rostradb::NameKey> names_; // after the values' rows
    // The view asks for a row's cells one after the other: the row described
    // last is kept.
    mutable int describedRow_ = -1;
    mutable rostradb::ChangeRow described_;
};
