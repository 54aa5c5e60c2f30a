#include "lookups/lookup_table_view.h"

#include "common/cp1252.h"
#include "lookups/lookup_table_model.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

LookupTableView::LookupTableView(const rostradb::GameDatabase& db, const rostradb::EditHistory& history,
                                 rostradb::LookupTable table, const LookupViewNames& names, QWidget* parent)
    : QWidget(parent), model_(new LookupTableModel(db, history, table, this)), filter_(new QLineEdit(this)),
      table_(new QTableView(this)), count_(new QLabel(this))
{
    filter_->setObjectName(QLatin1String(names.filter));
    filter_->setPlaceholderText(QStringLiteral("Part of the name"));
    filter_->setClearButtonEnabled(true);
    table_->setObjectName(QLatin1String(names.table));
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // table order until a header is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(LookupTableModel::Name, QHeaderView::Stretch);
    count_->setObjectName(QLatin1String(names.count));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addWidget(count_);

    connect(filter_, &QLineEdit::textChanged, this, &LookupTableView::applyFilter);
    connect(model_, &LookupTableModel::renameRequested, this, &LookupTableView::renameRequested);
}

void LookupTableView::databaseLoaded() { applyFilter(); }

void LookupTableView::databaseCleared()
{
    model_->clear();
    updateCount();
}

void LookupTableView::valuesChanged() { model_->valuesChanged(); }

void LookupTableView::applyFilter()
{
    // A letter the game's names cannot hold is in none of them.
    const std::optional<std::string> part = toGameText(filter_->text());
    if (part)
        model_->filter(*part);
    else
        model_->clear();
    updateCount();
}

void LookupTableView::updateCount()
{
    const auto shown = static_cast<qulonglong>(model_->rowCount());
    const auto all = static_cast<qulonglong>(model_->recordCount());
    count_->setText(filter_->text().isEmpty() ? QStringLiteral("%1 records").arg(all)
                                              : QStringLiteral("%1 of %2 records").arg(shown).arg(all));
}
