// The people table's header: which columns show, in what order and how wide.
// The model has every column of the catalogue; the header hides those not
// chosen. The choice is kept in the program's settings under the columns'
// names, so a column added to the catalogue later leaves it valid.

#include "people/rostradb_people.h"

#include "main/game_location.h"
#include "people/people_model.h"

#include "editor/people_columns.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QTableView>

namespace {

const char* const kDefaultColumns[] = {
    "position",
    "displayName",
    "clubContractedText",
    "nationText",
    "classification",
    "birthYear",
    "wages",
    "value",
    "player.currentAbility",
    "player.potentialAbility",
    "player.homeReputation",
    "player.currentReputation",
    "player.worldReputation",
    "nonPlayer.currentAbility",
    "nonPlayer.potentialAbility",
    "nonPlayer.homeReputation",
    "nonPlayer.currentReputation",
    "nonPlayer.worldReputation",
};

const QString kColumnsKey = QStringLiteral("people/columns");
const QString kWidthsGroup = QStringLiteral("people/widths");

int columnNumber(const QString& name)
{
    const rostradb::PeopleColumn* column = rostradb::columnNamed(name.toStdString());
    return column ? static_cast<int>(rostradb::columnIndex(*column)) : -1;
}

std::vector<int> defaultColumns()
{
    std::vector<int> columns;
    for (const char* name : kDefaultColumns)
        columns.push_back(columnNumber(QLatin1String(name)));
    return columns;
}

int defaultWidth(const QHeaderView& header, const rostradb::PeopleColumn& column)
{
    if (column.kind == rostradb::ColumnKind::DisplayName)
        return 180;
    if (column.isText())
        return 140;
    // Room for the title and for the longest number the field holds.
    const QFontMetrics& metrics = header.fontMetrics();
    const int title = metrics.horizontalAdvance(QString::fromStdString(column.name)) + 24;
    const int digits = metrics.horizontalAdvance(QString::number(column.isSigned ? column.lowest() : column.highest())) + 16;
    return std::max({48, title, digits});
}

} // namespace

// Shows exactly these columns, in this order, the others hidden after them.
void Tfrm_people::showColumns(const std::vector<int>& columns)
{
    QHeaderView* header = table_->horizontalHeader();
    for (int column = 0; column < header->count(); ++column)
        header->setSectionHidden(column, true);
    int visual = 0;
    for (const int column : columns) {
        if (column < 0 || column >= header->count())
            continue;
        header->moveSection(header->visualIndex(column), visual++);
        header->setSectionHidden(column, false);
    }
}

void Tfrm_people::restoreColumns()
{
    QHeaderView* header = table_->horizontalHeader();
    const QSettings settings = programSettings();
    std::vector<int> chosen;
    for (const QString& name : settings.value(kColumnsKey).toStringList())
        if (const int column = columnNumber(name); column >= 0)
            chosen.push_back(column);
    showColumns(chosen.empty() ? defaultColumns() : chosen);
    for (int column = 0; column < header->count(); ++column) {
        const rostradb::PeopleColumn& c = PeopleModel::columnAt(column);
        const int saved = settings.value(kWidthsGroup + QLatin1Char('/') + QString::fromStdString(c.name)).toInt();
        header->resizeSection(column, saved > 0 ? saved : defaultWidth(*header, c));
    }
}

void Tfrm_people::saveColumns() const
{
    const QHeaderView* header = table_->horizontalHeader();
    QSettings settings = programSettings();
    QStringList shown;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column))
            continue;
        const QString name = QString::fromStdString(PeopleModel::columnAt(column).name);
        shown.append(name);
        settings.setValue(kWidthsGroup + QLatin1Char('/') + name, header->sectionSize(column));
    }
    settings.setValue(kColumnsKey, shown);
}

void Tfrm_people::showColumnMenu(const QPoint& at)
{
    QHeaderView* header = table_->horizontalHeader();
    QMenu menu(this);
    // The name, the position and the texts at the top; each table's fields
    // in a menu of their own, or the menu would be taller than the screen.
    QMenu* fields[] = {new QMenu(QStringLiteral("Staff"), &menu), new QMenu(QStringLiteral("Player"), &menu),
                       new QMenu(QStringLiteral("Non-player"), &menu)};
    for (int column = 0; column < header->count(); ++column) {
        const rostradb::PeopleColumn& c = PeopleModel::columnAt(column);
        QMenu* into = &menu;
        if (c.kind == rostradb::ColumnKind::Field)
            into = fields[c.table == rostradb::StaffTable::Staff ? 0 : c.table == rostradb::StaffTable::Player ? 1 : 2];
        QAction* action = into->addAction(QString::fromStdString(c.name));
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(column));
        connect(action, &QAction::toggled, this, [this, header, column](bool shown) {
            // One column always stays, or the header could not be clicked again.
            if (!shown && header->count() - header->hiddenSectionCount() <= 1)
                return;
            header->setSectionHidden(column, !shown);
            if (shown && header->sectionSize(column) == 0)
                header->resizeSection(column, defaultWidth(*header, PeopleModel::columnAt(column)));
            saveColumns();
        });
    }
    menu.addSeparator();
    for (QMenu* table : fields)
        menu.addMenu(table);
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Default columns")), &QAction::triggered, this, [this] {
        showColumns(defaultColumns());
        saveColumns();
    });
    menu.exec(header->mapToGlobal(at));
}
