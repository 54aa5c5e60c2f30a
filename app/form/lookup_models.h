#pragma once
// The item list of the boxes that offer a table: the display text of every
// record in table order, then one item "none" when the table loaded in full.
// Item i is record i, and the item at the record count means "none".
//
// One model per table is shared by every box offering it and by their
// completers. It reads the database's records when a row is shown, instead
// of holding a copy of up to 65,537 texts per table.

#include "db/game_database.h"
#include "editor/form_controls.h"

#include <QAbstractListModel>

#include <cstddef>
#include <string_view>

class LookupModel final : public QAbstractListModel {
    Q_OBJECT
public:
    LookupModel(const rostradb::GameDatabase& db, rostradb::LookupTable table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The table is about to be emptied: the boxes show nothing until
    // tableLoaded() (a load in progress fills the tables under them).
    void tableCleared();
    // The table was loaded: one reset takes the records and "none" in.
    void tableLoaded();
    // Record `position`'s text changed (a rename): the boxes show it again.
    void recordChanged(std::size_t position);

private:
    std::size_t records() const;
    std::string_view textOf(std::size_t position) const;

    const rostradb::GameDatabase& db_;
    rostradb::LookupTable table_;
    int rows_ = 0; // as of the last reset: records, plus one for "none"
};
