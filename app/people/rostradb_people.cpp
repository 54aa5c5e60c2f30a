#include "people/rostradb_people.h"

#include "common/cp1252.h"
#include "common/message_boxes.h"
#include "people/people_model.h"
#include "people/rostradb_bulk.h"

#include "db/game_database.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// The pause after the last key before the filter is applied: long enough not
// to filter 65,536 people for every letter of a word.
constexpr int kTypingPauseMs = 250;

// The table view, telling its window about Return and Ctrl+C.
class PeopleTable : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> onReturn;
    std::function<void()> onCopy;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Copy)) {
            onCopy();
            return;
        }
        // Return shows the person, as a double-click does. In a cell's
        // editor it stores the value; the editor does not take the key and
        // hands it on here, while the view is still editing.
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
            onReturn();
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

} // namespace

Tfrm_people::Tfrm_people(const rostradb::GameDatabase& db, const rostradb::EditHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window), db_(db)
{
    setObjectName(QStringLiteral("frm_people"));
    setWindowTitle(QStringLiteral("People"));
    resize(1000, 560);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("ed_people_filter"));
    filter_->setClearButtonEnabled(true);
    filter_->setPlaceholderText(QStringLiteral("Filter, e.g.  club:united wages>=1000"));
    filter_->setToolTip(fromGameText(rostradb::filterHelp()));
    filterError_ = new QLabel(this);
    filterError_->setObjectName(QStringLiteral("lbl_people_filter_error"));
    QPalette errorColours = filterError_->palette();
    errorColours.setColor(QPalette::WindowText, QColor(180, 0, 0));
    filterError_->setPalette(errorColours);
    filterError_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    model_ = new PeopleModel(db, history, this);
    auto* table = new PeopleTable(this);
    table->onReturn = [this] { showPersonAt(table_->currentIndex()); };
    table->onCopy = [this] { copySelection(); };
    table_ = table;
    table_->setObjectName(QStringLiteral("tbl_people"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double-click shows the person, so editing starts with typing or F2.
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    table_->setWordWrap(false);
    table_->setCornerButtonEnabled(false);
    table_->verticalHeader()->hide();
    // Fixed row heights: the view never measures the rows off screen, and
    // 65,536 of them open at once.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    QHeaderView* columns = table_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionsMovable(true);
    columns->setHighlightSections(false);
    columns->setContextMenuPolicy(Qt::CustomContextMenu);
    columns->setSortIndicator(-1, Qt::AscendingOrder); // table order until a header is clicked
    table_->setSortingEnabled(true);
    restoreColumns();

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lbl_people_count"));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lbl_people_note"));
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    change_ = new QPushButton(QStringLiteral("Change..."), this);
    change_->setObjectName(QStringLiteral("btn_people_change"));
    change_->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Filter:"), this));
    top->addWidget(filter_, 3);
    top->addWidget(filterError_, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_);
    bottom->addSpacing(16);
    bottom->addWidget(note_, 1);
    bottom->addWidget(change_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);

    typing_ = new QTimer(this);
    typing_->setSingleShot(true);
    typing_->setInterval(kTypingPauseMs);
    connect(typing_, &QTimer::timeout, this, &Tfrm_people::applyFilter);
    connect(filter_, &QLineEdit::textChanged, typing_, qOverload<>(&QTimer::start));
    connect(filter_, &QLineEdit::returnPressed, this, &Tfrm_people::applyFilter);
    connect(table_, &QTableView::doubleClicked, this, &Tfrm_people::showPersonAt);
    connect(model_, &PeopleModel::cellEdited, this, &Tfrm_people::cellEdited);
    connect(change_, &QPushButton::clicked, this, &Tfrm_people::changeClick);
    connect(columns, &QHeaderView::customContextMenuRequested, this, &Tfrm_people::showColumnMenu);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { change_->setEnabled(table_->selectionModel()->hasSelection()); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { change_->setEnabled(false); });
    updateCount();
}

Tfrm_people::~Tfrm_people() { saveColumns(); }

void Tfrm_people::closeEvent(QCloseEvent* event)
{
    saveColumns();
    QWidget::closeEvent(event);
}

// The load hands control to the event loop as it goes: the window takes no
// input until the tables are whole again, so no filter runs over half of them.
void Tfrm_people::databaseCleared()
{
    typing_->stop();
    model_->clear();
    note_->clear();
    updateCount();
    setEnabled(false);
}

void Tfrm_people::databaseLoaded()
{
    setEnabled(true);
    note_->clear();
    // The filter in the box (typed, perhaps, just before the load), or the
    // last one that could be read.
    if (!applyFilter())
        showRows(shownFilter_);
}

void Tfrm_people::valuesChanged() { model_->valuesChanged(); }

void Tfrm_people::showChangeNote(const QString& note) { note_->setText(note); }

bool Tfrm_people::applyFilter()
{
    typing_->stop();
    try {
        // Its messages are UTF-8, accented terms included.
        const rostradb::PeopleFilter filter = rostradb::PeopleFilter::parseTyped(filter_->text().toStdString());
        filterError_->clear();
        showRows(filter);
        return true;
    } catch (const std::exception& error) {
        // The rows of the last filter that could be read stay.
        filterError_->setText(QString::fromUtf8(error.what()));
        return false;
    }
}

void Tfrm_people::showRows(const rostradb::PeopleFilter& filter)
{
    shownFilter_ = filter;
    model_->setPeople(rostradb::matchingPeople(db_, filter));
    updateCount();
}

void Tfrm_people::updateCount()
{
    count_->setText(QStringLiteral("%1 of %2 people").arg(model_->rowCount()).arg(db_.staff.size()));
}

std::vector<std::uint32_t> Tfrm_people::selectedPeople() const
{
    // From the selection's ranges, not its indexes: Ctrl+A over 65,536 rows
    // is one range, and a million indexes would take a while.
    std::vector<bool> selected(model_->people().size(), false);
    for (const QItemSelectionRange& range : table_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            selected.at(static_cast<std::size_t>(row)) = true;
    std::vector<std::uint32_t> people;
    for (std::size_t row = 0; row < selected.size(); ++row)
        if (selected[row])
            people.push_back(model_->people()[row]);
    return people;
}

QString Tfrm_people::selectedCellsText() const
{
    const QItemSelection selection = table_->selectionModel()->selection();
    if (selection.isEmpty())
        return {};
    // The rows and columns of every selected cell, in the order shown; a
    // cell of that grid that is not selected stays empty.
    std::vector<bool> rows(model_->people().size(), false);
    std::vector<bool> columns(static_cast<std::size_t>(model_->columnCount()), false);
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.at(static_cast<std::size_t>(row)) = true;
        for (int column = range.left(); column <= range.right(); ++column)
            columns.at(static_cast<std::size_t>(column)) = true;
    }
    const QHeaderView* header = table_->horizontalHeader();
    std::vector<int> shownColumns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (columns[static_cast<std::size_t>(column)] && !header->isSectionHidden(column))
            shownColumns.push_back(column);
    }
    const QItemSelectionModel* selected = table_->selectionModel();
    QString text;
    for (std::size_t i = 0; i < shownColumns.size(); ++i)
        text += (i ? QStringLiteral("\t") : QString()) + QString::fromStdString(PeopleModel::columnAt(shownColumns[i]).name);
    text += QLatin1Char('\n');
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rows[row])
            continue;
        for (std::size_t i = 0; i < shownColumns.size(); ++i) {
            if (i)
                text += QLatin1Char('\t');
            const QModelIndex cell = model_->index(static_cast<int>(row), shownColumns[i]);
            if (selected->isSelected(cell))
                text += cell.data().toString();
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void Tfrm_people::copySelection() const
{
    const QString text = selectedCellsText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void Tfrm_people::showPersonAt(const QModelIndex& index)
{
    if (index.isValid() && index.row() < model_->rowCount())
        emit personRequested(model_->personAt(index.row()));
}

void Tfrm_people::cellEdited(const QModelIndex& index, const QString& text)
{
    PeopleChange request;
    request.inCell = true;
    request.change.column = &PeopleModel::columnAt(index.column());
    try {
        request.change.value = typedWholeNumber(text);
    } catch (const std::exception& error) {
        reportError(this, error);
        return;
    }
    // The edited cell's row, and every other selected row.
    request.people = selectedPeople();
    const std::uint32_t edited = model_->personAt(index.row());
    if (std::find(request.people.begin(), request.people.end(), edited) == request.people.end())
        request.people.insert(request.people.begin(), edited);
    requestLater(std::move(request));
}

// The cell's editor is still open while the model hears the value: a refusal
// shown now would take its focus and have it store the value a second time.
// The change is made once the editor has closed.
void Tfrm_people::requestLater(PeopleChange change)
{
    QTimer::singleShot(0, this, [this, change = std::move(change)] { emit changeRequested(change); });
}

void Tfrm_people::changeClick()
{
    std::vector<std::uint32_t> people = selectedPeople();
    if (people.empty())
        return;
    if (!bulk_)
        bulk_ = new Tfrm_bulk(this);
    bulk_->setPeopleCount(people.size());
    if (const QModelIndex current = table_->currentIndex(); current.isValid())
        bulk_->offerColumn(static_cast<std::size_t>(current.column()));
    if (bulk_->exec() != QDialog::Accepted)
        return;
    emit changeRequested(PeopleChange{std::move(people), bulk_->change(), false});
}
