#include "changes/rostradb_changes.h"

#include "changes/changes_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

Tfrm_changes::Tfrm_changes(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_changes"));
    setWindowTitle(QStringLiteral("Changes since the last save"));
    resize(720, 380);

    model_ = new ChangesModel(db, history, this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("lst_changes"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    // Fixed row heights and column widths: the view then never measures the
    // rows off screen, and a list of thousands opens at once.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    QHeaderView* columns = list_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    const int widths[] = {110, 170, 140, 140};
    for (int column = 0; column < 4; ++column)
        columns->resizeSection(column, widths[column]);

    revert_ = new QPushButton(QStringLiteral("Revert"), this);
    revert_->setObjectName(QStringLiteral("btn_revert"));
    revert_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(revert_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(list_, 1);
    column->addLayout(buttons);

    connect(revert_, &QPushButton::clicked, this, &Tfrm_changes::revertSelected);
    connect(list_, &QTableView::doubleClicked, this, &Tfrm_changes::showPersonOf);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { revert_->setEnabled(list_->selectionModel()->hasSelection()); });
}

void Tfrm_changes::refresh()
{
    model_->refresh(); // keeps the selection of the rows that stay
    revert_->setEnabled(list_->selectionModel()->hasSelection());
}

void Tfrm_changes::revertSelected()
{
    std::vector<rostradb::ValueKey> values;
    std::vector<rostradb::NameKey> names;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        if (const auto key = model_->keyAt(index.row()))
            values.push_back(*key);
        else if (const auto name = model_->nameAt(index.row()))
            names.push_back(*name);
    }
    if (!values.empty() || !names.empty())
        emit revertRequested(values, names);
}

void Tfrm_changes::showPersonOf(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (const auto person = model_->personAt(index.row()))
        emit personRequested(*person);
}
