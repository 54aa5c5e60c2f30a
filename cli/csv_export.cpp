#include "csv_export.h"

#include "csv.h"
#include "staff_columns.h"

namespace rostradb::cli {

std::string exportCsv(const GameDatabase& db)
{
    std::vector<std::string> cells;
    for (const StaffColumn& c : staffColumns())
        cells.push_back(c.name);
    std::string out;
    // About 600 bytes a person: one allocation for the whole table.
    out.reserve((db.staff.size() + 1) * 640);
    appendCsvRow(out, cells);
    for (std::size_t position = 0; position < db.staff.size(); ++position) {
        staffRowCells(db, position, cells);
        appendCsvRow(out, cells);
    }
    return out;
}

} // namespace rostradb::cli
