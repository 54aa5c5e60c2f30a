#pragma once
// The window `frm_people`, "People": every person of the loaded database in
// one table, `tbl_people`, narrowed by the filter typed into
// `ed_people_filter` and sorted by a click on a column's header. Not modal:
// it stays open beside the main window and follows every change.
//
// Changes made here (a value typed into a cell, "Change..." for the selected
// rows) are asked of the main window, which owns the database and the
// history, through changeRequested; so is showing a person in the form.

#include "editor/bulk_change.h"
#include "editor/people_filter.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class PeopleModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class Tfrm_bulk;

namespace rostradb {
struct GameDatabase;
class EditHistory;
} // namespace rostradb

// A change of one column for some people, from a cell or from "Change...".
struct PeopleChange {
    std::vector<std::uint32_t> people; // staff positions
    rostradb::BulkChange change;
    // Typed into a cell: a value outside the field's range is refused
    // instead of limited.
    bool inCell = false;
};

class Tfrm_people : public QWidget {
    Q_OBJECT
public:
    Tfrm_people(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent = nullptr);
    ~Tfrm_people() override;

    // The main window's notifications: the tables are about to be emptied
    // for a load; they were loaded (the filter is applied again); values
    // changed (the rows stay, their cells are shown again).
    void databaseCleared();
    void databaseLoaded();
    void valuesChanged();
    // What the last change did, or why it changed nothing.
    void showChangeNote(const QString& note);

    // Applies the filter box's text now, as Return does; false when it
    // cannot be read (its message is shown beside the box, the rows stay).
    bool applyFilter();
    // The staff positions of the rows with a selected cell, in the order shown.
    std::vector<std::uint32_t> selectedPeople() const;
    // The selected cells as tab-separated text with a line of column names.
    QString selectedCellsText() const;
    void copySelection() const;
    // "Change...": the dialog for the selected rows.
    void changeClick();

    QTableView* table() const { return table_; }
    PeopleModel* model() const { return model_; }

signals:
    void personRequested(std::size_t staffPosition);
    void changeRequested(const PeopleChange& change);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showRows(const rostradb::PeopleFilter& filter);
    void updateCount();
    void showPersonAt(const QModelIndex& index);
    void cellEdited(const QModelIndex& index, const QString& text);
    void requestLater(PeopleChange change);
    // The header: chosen columns and widths, kept between runs.
    void showColumnMenu(const QPoint& at);
    void showColumns(const std::vector<int>& columns);
    void restoreColumns();
    void saveColumns() const;

    const rostradb::GameDatabase& db_;
    PeopleModel* model_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* filterError_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* change_ = nullptr;
    QTimer* typing_ = nullptr;
    Tfrm_bulk* bulk_ = nullptr; // made on the first "Change...", keeps the last choices
    rostradb::PeopleFilter shownFilter_; // the last filter that could be read
};
