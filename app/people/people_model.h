#pragma once
// The rows of `tbl_people`: one per person, a column for every column of the
// people catalogue (the window hides those the user has not chosen, so a
// column's number is its place in the catalogue and never changes).
//
// The model holds only the staff positions of the rows shown, in the order
// shown; filtering and sorting replace that vector. A cell's text is made
// when the view asks for it, so 65,536 rows cost a vector of 65,536 numbers
// and the texts of the cells on screen.
//
// Editing a cell changes nothing here: the model reports the typed text and
// the window turns it into a change of the database, made by the main window
// as one step of the history.

#include "editor/people_columns.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace rostradb {
struct GameDatabase;
class EditHistory;
} // namespace rostradb

class PeopleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PeopleModel(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QObject* parent = nullptr);

    // Shows these people (staff positions), sorted by the column last sorted by.
    void setPeople(std::vector<std::uint32_t> people);
    // No rows: before the tables are emptied for a load.
    void clear();
    // The values changed (a Confirm, an undo, a change in the table): the
    // cells on screen are asked for again; the rows stay as they are.
    void valuesChanged();

    const std::vector<std::uint32_t>& people() const { return people_; }
    std::uint32_t personAt(int row) const { return people_.at(static_cast<std::size_t>(row)); }
    static const rostradb::PeopleColumn& columnAt(int column);
    int sortColumn() const { return sortColumn_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Reports the text through cellEdited and returns false: the value is
    // stored, or refused, by the main window.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Numbers as numbers, texts by the name search's rule; a negative
    // column leaves the order as it is (table order after a filter).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void cellEdited(const QModelIndex& index, const QString& text);

private:
    bool hasPerson(int row) const;

    const rostradb::GameDatabase& db_;
    const rostradb::EditHistory& history_;
    std::vector<std::uint32_t> people_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
