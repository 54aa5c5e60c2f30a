#pragma once
// The item lists of the boxes that offer a table: the display text of every
// record in table order, then one item "none" when the table loaded in full.
// Item i is record i, and the item at the record count means "none".

#include "db/game_database.h"

#include <QStringList>

namespace lookup {

QStringList nationItems(const rostradb::GameDatabase& db);
QStringList firstNameItems(const rostradb::GameDatabase& db);
QStringList secondNameItems(const rostradb::GameDatabase& db);
QStringList commonNameItems(const rostradb::GameDatabase& db);
QStringList clubItems(const rostradb::GameDatabase& db);

} // namespace lookup
