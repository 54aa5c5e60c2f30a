#pragma once
// The windows of View > Clubs... (frm_clubs: one table) and View > Names...
// (frm_names: the first, second and common names as three tabs). Each row is
// a record with its position, its name and the people using it; a name is
// renamed in place, through the main window, as one step of the history.

#include "db/lookup_names.h"

#include <QWidget>

#include <vector>

class LookupTableView;
struct LookupViewNames;

namespace rostradb {
class EditHistory;
} // namespace rostradb

class Tfrm_lookups : public QWidget {
    Q_OBJECT
public:
    static Tfrm_lookups* clubs(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent);
    static Tfrm_lookups* names(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent);

    void databaseLoaded();
    void databaseCleared();
    void valuesChanged();

    // The view of the table; nullptr when this window does not show it.
    LookupTableView* view(rostradb::LookupTable table) const;

signals:
    void renameRequested(const rostradb::NameKey& key, const QString& text);

private:
    explicit Tfrm_lookups(QWidget* parent);
    LookupTableView* addView(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                             rostradb::LookupTable table, const LookupViewNames& names);

    std::vector<std::pair<rostradb::LookupTable, LookupTableView*>> views_;
};
