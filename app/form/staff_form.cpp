// The staff form: the help memo and, in its place once a person is shown, five
// pages of labelled boxes. Every control carries the object name the editor
// knows it by; apply() and values() translate between those names and the
// widgets, walking the editor's list of controls, so nothing here knows which
// field a box shows. The pages are built in staff_form_layout.cpp, the marks
// kept in staff_form_marks.cpp.

#include "form/staff_form.h"
#include "form/staff_form_parts.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <optional>
#include <utility>

using namespace rostradb;
using namespace staff_form_parts;

namespace {

// Holds back repainting of a widget and its children while it lives, so a
// burst of changes reaches the screen as one.
class RepaintPause {
public:
    explicit RepaintPause(QWidget* widget) : widget_(widget), wasEnabled_(widget->updatesEnabled())
    {
        widget_->setUpdatesEnabled(false);
    }
    ~RepaintPause() { widget_->setUpdatesEnabled(wasEnabled_); }
    RepaintPause(const RepaintPause&) = delete;
    RepaintPause& operator=(const RepaintPause&) = delete;

private:
    QWidget* widget_;
    bool wasEnabled_;
};

// Marks the changes made while it lives as the program's, not the user's.
class ProgramChange {
public:
    explicit ProgramChange(bool& changing) : changing_(changing), was_(changing) { changing_ = true; }
    ~ProgramChange() { changing_ = was_; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

private:
    bool& changing_;
    bool was_;
};

void clearSelection(QComboBox* box)
{
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->clearEditText();
}

void reportMisuse(const FormUpdate& update, const char* problem)
{
    qWarning("StaffForm::apply: %s: %.*s", problem, static_cast<int>(update.control.size()), update.control.data());
    Q_ASSERT_X(false, "StaffForm::apply", problem);
}

} // namespace

// Leaving a lookup box: what it shows must be what "Confirm Changes" stores,
// and that is the selected item. Text that names an item (in any case, as
// the combo box's own matching on Return and on leaving does) selects the
// first such item in table order; text equal to the selected item's (in any
// case) keeps it, so the second of two equal names stays selected; any other text gives
// way to the selected item's name again.
void staff_form_parts::settleTypedText(QComboBox* box)
{
    if (QCompleter* completer = box->completer(); completer && completer->popup()->isVisible())
        return; // the completer selects the item it offers
    const QString typed = box->lineEdit()->text();
    const int current = box->currentIndex();
    if (typed == box->itemText(current))
        return;
    // The selected item's own name in other capitals still means that item,
    // not the first of its namesakes.
    const bool namesCurrent = current >= 0 && typed.compare(box->itemText(current), Qt::CaseInsensitive) == 0;
    const int named = namesCurrent ? current : box->findText(typed, Qt::MatchFixedString);
    if (named >= 0 && named != current)
        box->setCurrentIndex(named);
    box->setEditText(box->itemText(box->currentIndex()));
    box->lineEdit()->home(false);
}

StaffForm::StaffForm(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);

    help_ = new QPlainTextEdit(this);
    help_->setReadOnly(true);
    help_->setPlainText(helpText());
    help_->setGeometry(rect());
    registerControl(help_, control::kStaffHelp);

    pages_ = new QTabWidget(this);
    pages_->setGeometry(rect());
    registerControl(pages_, control::kStaffPages);
    buildPages();

    reset();
}

void StaffForm::registerControl(QWidget* control, std::string_view name)
{
    const QString key = toQString(name);
    Q_ASSERT_X(!controls_.contains(key), "StaffForm", "control name used twice");
    control->setObjectName(key);
    controls_.insert(key, control);
}

QWidget* StaffForm::control(std::string_view name) const { return controls_.value(toQString(name)); }

QWidget* StaffForm::control(const FormUpdate& update) const
{
    QWidget* found = controls_.value(toQString(update.control));
    if (!found)
        reportMisuse(update, "no control of that name");
    return found;
}

void StaffForm::apply(const std::vector<FormUpdate>& updates)
{
    // Showing a person changes a hundred boxes: pause repainting so that it
    // reaches the screen as one change. A handful of boxes (an undo, say)
    // repaint on their own, which is much cheaper than repainting the form.
    constexpr std::size_t kUpdatesWorthAPause = 16;
    std::optional<RepaintPause> pause;
    if (updates.size() >= kUpdatesWorthAPause)
        pause.emplace(this);
    const ProgramChange change(programIsChanging_);
    for (const FormUpdate& update : updates) {
        QWidget* target = control(update);
        if (!target)
            continue;
        switch (update.kind) {
        case FormUpdate::Kind::Text:
            if (auto* edit = qobject_cast<QLineEdit*>(target)) {
                edit->setText(QString::fromStdString(update.text));
            } else if (auto* position = qobject_cast<QSpinBox*>(target)) {
                bool isNumber = false;
                const int value = QString::fromStdString(update.text).toInt(&isNumber);
                if (isNumber)
                    position->setValue(value);
                else
                    reportMisuse(update, "position text is not a 32-bit number");
            } else {
                reportMisuse(update, "text for a control that holds no text");
            }
            break;
        case FormUpdate::Kind::ComboIndex:
            if (auto* box = qobject_cast<QComboBox*>(target)) {
                // An index the box does not hold (a code beyond its list)
                // leaves the box without a selection and empty.
                if (update.index >= 0 && update.index < box->count())
                    box->setCurrentIndex(static_cast<int>(update.index));
                else
                    clearSelection(box);
                if (box->isEditable())
                    box->lineEdit()->home(false); // a long name shows its start
            } else {
                reportMisuse(update, "item index for a control that is no combo box");
            }
            break;
        case FormUpdate::Kind::Visible:
            target->setVisible(update.flag);
            break;
        case FormUpdate::Kind::TabOffered:
            if (const int tab = pages_->indexOf(target); tab >= 0)
                pages_->setTabVisible(tab, update.flag);
            else
                reportMisuse(update, "tab change for a control that is no page");
            break;
        }
    }
    takeStartingPoint();
}

FormValues StaffForm::values()
{
    FormValues form;
    form.staffPosition = staffPosition_->value();
    form.playerPosition = playerPosition_->value();
    form.nonPlayerPosition = nonPlayerPosition_->value();
    for (const FormControl& c : formControls()) {
        const std::string name(c.name);
        if (c.kind == ControlKind::Edit) {
            form.texts.emplace(name, qobject_cast<QLineEdit*>(control(c.name))->text().toStdString());
        } else if (c.kind == ControlKind::LookupBox) {
            auto* box = qobject_cast<QComboBox*>(control(c.name));
            // Confirming while typing, with the offered names still open,
            // settles the text as leaving the box would.
            if (QCompleter* completer = box->completer())
                completer->popup()->hide();
            settleTypedText(box);
            form.selections.emplace(name, box->currentIndex());
            form.shownSelections.emplace(name, startingPoint_.value(box).index);
        }
    }
    return form;
}

std::vector<QComboBox*> StaffForm::lookupBoxes(LookupTable table) const
{
    std::vector<QComboBox*> boxes;
    for (const FormControl& c : formControls())
        if (c.kind == ControlKind::LookupBox && c.table == table)
            boxes.push_back(qobject_cast<QComboBox*>(control(c.name)));
    return boxes;
}

void StaffForm::setLookupModel(LookupTable table, QAbstractItemModel* model)
{
    Q_ASSERT(model);
    if (!model)
        return;
    for (QComboBox* box : lookupBoxes(table)) {
        const ProgramChange change(programIsChanging_);
        for (const QMetaObject::Connection& watch : modelWatch_.take(box))
            disconnect(watch);
        box->setModel(model);
        box->completer()->setModel(model);
        clearSelection(box);
        // A combo box selects the first item when its list is reset or an
        // empty list gets items. Names and nations are selected by showing a
        // person, so until then the box keeps no selection.
        modelWatch_.insert(box, {
            connect(model, &QAbstractItemModel::modelReset, box,
                    [this, box] {
                        clearSelection(box);
                        restartMark(box);
                    }),
            connect(model, &QAbstractItemModel::rowsInserted, box,
                    [this, box](const QModelIndex& parent, int first, int last) {
                        if (!parent.isValid() && first == 0 && last + 1 == box->count()) {
                            clearSelection(box);
                            restartMark(box);
                        }
                    }),
        });
        restartMark(box);
    }
}

LookupBoxCounts StaffForm::lookupBoxCounts() const
{
    const auto count = [this](LookupTable table) { return lookupBoxes(table).front()->count(); };
    return LookupBoxCounts{
        .firstNames = count(LookupTable::FirstNames),
        .secondNames = count(LookupTable::SecondNames),
        .commonNames = count(LookupTable::CommonNames),
        .nations = count(LookupTable::Nations),
        .clubs = count(LookupTable::Clubs),
    };
}

void StaffForm::reset()
{
    const RepaintPause pause(this);
    const ProgramChange change(programIsChanging_);
    for (QWidget* widget : std::as_const(controls_)) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->clear();
    }
    for (QComboBox* box : boxes_)
        clearSelection(box);
    staffPosition_->setValue(0);
    playerPosition_->setValue(0);
    nonPlayerPosition_->setValue(0);

    QWidget* playerPage = controls_.value(toQString(control::kPlayerTab));
    QWidget* nonPlayerPage = controls_.value(toQString(control::kNonPlayerTab));
    pages_->setTabVisible(pages_->indexOf(playerPage), true);
    pages_->setCurrentWidget(playerPage);
    pages_->setTabVisible(pages_->indexOf(nonPlayerPage), false);

    pages_->hide();
    help_->show();
    takeStartingPoint();
}
