#pragma once
// The window `frm_changes`, "Changes since the last save": every value that
// differs from what the staff file held when it was loaded or last saved,
// one row each in `lst_changes`. Not modal: it stays open beside the main
// window and follows every change. Double-clicking a row asks for that
// person to be shown; "Revert" asks for the selected values to be put back.
// The main window does both, as it owns the database and the history.

#include "editor/field_change.h"

#include <QWidget>

#include <cstddef>
#include <vector>

class ChangesModel;
class QPushButton;
class QTableView;

namespace rostradb {
struct GameDatabase;
class EditHistory;
} // namespace rostradb

class Tfrm_changes : public QWidget {
    Q_OBJECT
public:
    Tfrm_changes(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent = nullptr);

    // Shows the history's changes as they are now.
    void refresh();

    QTableView* list() const { return list_; }
    ChangesModel* model() const { return model_; }

signals:
    void personRequested(std::size_t staffPosition);
    void revertRequested(const std::vector<rostradb::ValueKey>& values, const std::vector<rostradb::NameKey>& names);

private:
    void revertSelected();
    void showPersonOf(const QModelIndex& index);

    ChangesModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QPushButton* revert_ = nullptr;
};
