#include "import_cells.h"

#include "db/record_layout.h"
#include "editor/person_links.h"

#include <algorithm>

namespace rostradb::cli {

HeaderCell headerCellFor(const PeopleColumn& column)
{
    using Reading = HeaderCell::Reading;
    HeaderCell cell;
    cell.column = &column;
    switch (column.kind) {
    case ColumnKind::Position:
        break;
    case ColumnKind::DisplayName:
        cell.reading = Reading::DisplayName;
        break;
    case ColumnKind::Text:
        cell.reading = Reading::Text;
        break;
    case ColumnKind::Field:
        switch (column.table) {
        case StaffTable::Staff:
            cell.reading = Reading::StaffField;
            cell.staffGet = kStaffLayout[column.field].access.get;
            break;
        case StaffTable::Player:
            cell.reading = Reading::PlayerField;
            cell.playerGet = kPlayerLayout[column.field].access.get;
            break;
        case StaffTable::NonPlayer:
            cell.reading = Reading::NonPlayerField;
            cell.nonPlayerGet = kNonPlayerLayout[column.field].access.get;
            break;
        }
        break;
    }
    return cell;
}

std::vector<std::uint8_t> sharedRecords(const GameDatabase& db, StaffTable table)
{
    std::vector<std::uint8_t> links(recordCount(db, table), 0);
    for (const StaffRecord& person : db.staff)
        if (const std::optional<std::uint32_t> record = linkInside(db, person, table))
            links[*record] = static_cast<std::uint8_t>(std::min(links[*record] + 1, 2));
    for (std::uint8_t& count : links)
        count = count > 1 ? 1 : 0;
    return links;
}

} // namespace rostradb::cli
