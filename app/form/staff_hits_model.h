#pragma once
// The items of the result list `lbx_staff`: one row per person found, showing
// the display name and carrying the person's position in the staff table.

#include "editor/staff_search.h"

#include <QAbstractListModel>

#include <vector>

class StaffHitsModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kPositionRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // Replaces every row at once. The names are views into the staff table,
    // so the list is cleared before the table is loaded again.
    void setHits(std::vector<rostradb::SearchHit> hits);
    void clear() { setHits({}); }
    // The display names were built again (a first or second name renamed):
    // each row takes its person's name anew.
    void namesChanged(const std::vector<rostradb::StaffRecord>& staff);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<rostradb::SearchHit> hits_;
};
