#include "form/lookup_models.h"

#include "common/cp1252.h"

namespace lookup {

namespace {

// A table whose load stopped part-way gets its records but no "none": the
// box then matches what the file gave, and no position can name a record
// that was never read.
template <class Table>
QStringList itemsOf(const rostradb::GameDatabase& db, const Table& table, std::size_t directoryPosition)
{
    QStringList items;
    items.reserve(static_cast<qsizetype>(table.size()) + 1);
    for (const auto& record : table)
        items.append(fromGameText(record.displayText()));
    if (rostradb::tableIsComplete(db, table, directoryPosition))
        items.append(QStringLiteral("none"));
    return items;
}

} // namespace

QStringList nationItems(const rostradb::GameDatabase& db)
{
    return itemsOf(db, db.nations, rostradb::entry::kNations);
}

QStringList firstNameItems(const rostradb::GameDatabase& db)
{
    return itemsOf(db, db.firstNames, rostradb::entry::kFirstNames);
}

QStringList secondNameItems(const rostradb::GameDatabase& db)
{
    return itemsOf(db, db.secondNames, rostradb::entry::kSecondNames);
}

QStringList commonNameItems(const rostradb::GameDatabase& db)
{
    return itemsOf(db, db.commonNames, rostradb::entry::kCommonNames);
}

QStringList clubItems(const rostradb::GameDatabase& db)
{
    return itemsOf(db, db.clubs, rostradb::entry::kClubs);
}

} // namespace lookup
