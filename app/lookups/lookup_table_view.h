#pragma once
// One table of nations, clubs or names as the user works with it: a filter
// box (part of the name, as the name search finds it, applied as typed), the
// table (sortable by a click on a header, the name editable in place) and a
// line with the count of rows shown. The clubs window holds one, the names
// window one per tab.

#include "db/lookup_names.h"

#include <QWidget>

class LookupTableModel;
class QLabel;
class QLineEdit;
class QTableView;

namespace rostradb {
class EditHistory;
} // namespace rostradb

struct LookupViewNames {
    const char* filter; // object names of the filter box, the table, the count
    const char* table;
    const char* count;
};

class LookupTableView : public QWidget {
    Q_OBJECT
public:
    LookupTableView(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, rostradb::LookupTable table,
                    const LookupViewNames& names, QWidget* parent = nullptr);

    void databaseLoaded();  // rows for the filter as it stands
    void databaseCleared(); // no rows, before a load empties the tables
    void valuesChanged();   // a step changed names or the people using them

    LookupTableModel* model() const { return model_; }

signals:
    void renameRequested(const rostradb::NameKey& key, const QString& text);

private:
    void applyFilter();
    void updateCount();

    LookupTableModel* model_;
    QLineEdit* filter_;
    QTableView* table_;
    QLabel* count_;
};
