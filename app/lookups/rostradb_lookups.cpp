#include "lookups/rostradb_lookups.h"

#include "lookups/lookup_table_view.h"

#include <QTabWidget>
#include <QVBoxLayout>

Tfrm_lookups::Tfrm_lookups(QWidget* parent) : QWidget(parent, Qt::Window)
{
    resize(520, 640);
    new QVBoxLayout(this);
}

LookupTableView* Tfrm_lookups::addView(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                                       rostradb::LookupTable table, const LookupViewNames& names)
{
    auto* view = new LookupTableView(db, history, table, names);
    connect(view, &LookupTableView::renameRequested, this, &Tfrm_lookups::renameRequested);
    views_.emplace_back(table, view);
    return view;
}

Tfrm_lookups* Tfrm_lookups::clubs(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                                  QWidget* parent)
{
    auto* window = new Tfrm_lookups(parent);
    window->setObjectName(QStringLiteral("frm_clubs"));
    window->setWindowTitle(QStringLiteral("Clubs"));
    window->layout()->addWidget(window->addView(db, history, rostradb::LookupTable::Clubs,
                                                {"ed_clubs_filter", "tbl_clubs", "lbl_clubs_count"}));
    return window;
}

Tfrm_lookups* Tfrm_lookups::names(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                                  QWidget* parent)
{
    auto* window = new Tfrm_lookups(parent);
    window->setObjectName(QStringLiteral("frm_names"));
    window->setWindowTitle(QStringLiteral("Names"));
    auto* tabs = new QTabWidget(window);
    tabs->setObjectName(QStringLiteral("tab_names"));
    const struct {
        rostradb::LookupTable table;
        const char* tab;
        const char* caption;
    } pages[] = {{rostradb::LookupTable::FirstNames, "tab_first_names", "First names"},
                 {rostradb::LookupTable::SecondNames, "tab_second_names", "Second names"},
                 {rostradb::LookupTable::CommonNames, "tab_common_names", "Common names"}};
    for (const auto& page : pages) {
        LookupTableView* view =
            window->addView(db, history, page.table, {"ed_names_filter", "tbl_names", "lbl_names_count"});
        view->setObjectName(QLatin1String(page.tab));
        tabs->addTab(view, QLatin1String(page.caption));
    }
    window->layout()->addWidget(tabs);
    return window;
}

void Tfrm_lookups::databaseLoaded()
{
    for (auto& [table, view] : views_)
        view->databaseLoaded();
}

void Tfrm_lookups::databaseCleared()
{
    for (auto& [table, view] : views_)
        view->databaseCleared();
}

void Tfrm_lookups::valuesChanged()
{
    for (auto& [table, view] : views_)
        view->valuesChanged();
}

LookupTableView* Tfrm_lookups::view(rostradb::LookupTable table) const
{
    for (const auto& [shown, view] : views_)
        if (shown == table)
            return view;
    return nullptr;
}
