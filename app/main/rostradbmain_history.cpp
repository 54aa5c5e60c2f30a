// The main window's undo history: the status strip, Undo and Redo, the list
// of changes and its Revert, and refilling the form after a step. The steps
// themselves are the window-free EditHistory's; these handlers only route the
// user's clicks to it and show the result.

#include "main/rostradbmain.h"

#include "common/cp1252.h"
#include "common/message_boxes.h"
#include "changes/rostradb_changes.h"
#include "people/rostradb_people.h"
#include "form/staff_form.h"
#include "main/status_strip.h"

#include "editor/bulk_change.h"
#include "editor/change_list.h"
#include "editor/staff_display.h"
#include "editor/step_display.h"

#include <QTabWidget>

void Tfrm_main::updateEditState()
{
    updateStatus();
    if (changes_ && changes_->isVisible())
        changes_->refresh();
    if (people_)
        people_->valuesChanged();
    nameWindowsChanged();
}

// Only the strip: typing into the form changes the status line's note, not
// the list of changes (which a refresh would rebuild, losing its selection).
void Tfrm_main::updateStatus()
{
    const std::string status =
        rostradb::statusLine(db_.loadState, history_.changedValues(), personShown_ && form_->hasUnconfirmedEdits());
    const auto stepName = [](const rostradb::EditStep* step) {
        return step ? fromGameText(step->name) : QString();
    };
    QString line = QString::fromStdString(status);
    if (!fileNote_.isEmpty())
        line += QStringLiteral("  ") + fileNote_;
    if (!notice_.isEmpty()) {
        if (!noticeOver_)
            noticeOver_ = line;
        if (*noticeOver_ == line)
            line = notice_;
        else
            notice_.clear();
    }
    strip_->showState(line, stepName(history_.undoStep()), stepName(history_.redoStep()));
}

void Tfrm_main::showNotice(const QString& text)
{
    notice_ = text;
    noticeOver_.reset();
    updateStatus();
}

namespace {

// The people table's note says what the last change did: after Undo or Redo
// it says that instead, or it would tell of a change that is no longer there.
const rostradb::EditStep* noted(Tfrm_people* people, const QString& what, const rostradb::EditStep* step)
{
    if (people && step)
        people->showChangeNote(what.arg(fromGameText(step->name)));
    return step;
}

} // namespace

void Tfrm_main::undoClick()
{
    if (const rostradb::EditStep* next = history_.undoStep(); next && !busy_)
        runStep(ConfirmBefore::Undoing, *next,
                [this] { return noted(people_, QStringLiteral("Undone: %1"), history_.undo(db_)); });
}

void Tfrm_main::redoClick()
{
    if (const rostradb::EditStep* next = history_.redoStep(); next && !busy_)
        runStep(ConfirmBefore::Redoing, *next,
                [this] { return noted(people_, QStringLiteral("Redone: %1"), history_.redo(db_)); });
}

// An undo, redo or revert that changes the person on screen refills the
// form. Values typed and not confirmed would go with that refill, so the user
// is asked first. Yes keeps them: they are typed again over the refilled form
// and confirmed after the step, so the step still does what its button said
// (confirming first would make the typing the step that Undo takes back, and
// would drop the steps Redo offers) and the typed values win where both
// touch one box. A confirm that does not go through leaves them typed.
void Tfrm_main::runStep(ConfirmBefore next, const rostradb::EditStep& preview,
                        const std::function<const rostradb::EditStep*()>& act)
{
    StaffForm::Typed typed;
    bool retype = false;
    if (shownPerson_ && personShown_ && form_->hasUnconfirmedEdits() &&
        rostradb::stepTouchesPerson(db_, *shownPerson_, preview)) {
        switch (askToConfirmEdits(this, confirmEditsQuestion(shownName_, confirmBeforeWhat(next)))) {
        case ConfirmChoice::Confirm:
            typed = form_->typedValues();
            retype = true;
            break;
        case ConfirmChoice::Skip:
            break;
        case ConfirmChoice::Cancel:
            return;
        }
    }
    if (const rostradb::EditStep* step = act()) {
        showRenames(*step);
        updateEditState();
        refreshFormAfter(*step);
    }
    if (retype) {
        form_->retype(typed);
        confirmShownPerson();
    }
}

void Tfrm_main::changesClick()
{
    if (!changes_) {
        changes_ = new Tfrm_changes(db_, history_, this);
        connect(changes_, &Tfrm_changes::revertRequested, this, &Tfrm_main::revertValues);
        connect(changes_, &Tfrm_changes::personRequested, this, &Tfrm_main::showPersonOfChange);
    }
    changes_->refresh();
    changes_->show();
    changes_->raise();
    changes_->activateWindow();
}

void Tfrm_main::People1Click()
{
    if (!people_) {
        people_ = new Tfrm_people(db_, history_, this);
        connect(people_, &Tfrm_people::personRequested, this, &Tfrm_main::showPersonOfChange);
        connect(people_, &Tfrm_people::changeRequested, this, &Tfrm_main::applyPeopleChange);
        // Opened while a load runs: empty until the load says it is done.
        if (busy_)
            people_->databaseCleared();
        else
            people_->databaseLoaded();
    }
    people_->show();
    people_->raise();
    people_->activateWindow();
}

void Tfrm_main::applyPeopleChange(const PeopleChange& request)
{
    if (busy_ || !request.change.column)
        return;
    QWidget* const parent = people_ ? static_cast<QWidget*>(people_) : this;
    // What the change would touch, so that values typed into the form for a
    // person it changes are asked about before the form is refilled.
    rostradb::BulkOutcome preview;
    try {
        rostradb::BulkChange planned = request.change;
        if (request.inCell)
            planned.how = rostradb::BulkHow::SetTo;
        preview = rostradb::planBulkChange(db_, request.people, planned);
    } catch (const std::exception& error) {
        reportError(parent, error);
        return;
    }
    rostradb::BulkOutcome outcome;
    bool refused = false;
    runStep(ConfirmBefore::ChangingTable, preview.step, [&]() -> const rostradb::EditStep* {
        try {
            outcome = request.inCell ? rostradb::setCells(db_, history_, request.people, *request.change.column,
                                                          request.change.value)
                                     : rostradb::applyBulkChange(db_, history_, request.people, request.change);
        } catch (const std::exception& error) {
            reportError(parent, error);
            refused = true;
            return nullptr;
        }
        return outcome.changed() > 0 ? history_.undoStep() : nullptr;
    });
    // The step's name says what was skipped and limited; a change that
    // stores nothing new makes no step, and says so.
    if (people_ && !refused && !outcome.step.name.empty())
        people_->showChangeNote(outcome.changed() > 0
                                    ? fromGameText(outcome.step.name)
                                    : QStringLiteral("%1: no value changed").arg(fromGameText(outcome.step.name)));
}

void Tfrm_main::revertValues(const std::vector<rostradb::ValueKey>& values,
                             const std::vector<rostradb::NameKey>& names)
{
    if (busy_)
        return;
    rostradb::EditStep preview;
    for (const rostradb::ValueKey& key : values)
        preview.changes.push_back({key, 0, 0});
    runStep(ConfirmBefore::Reverting, preview,
            [this, &values, &names] { return noted(people_, QStringLiteral("%1"), history_.revert(db_, values, names)); });
}

void Tfrm_main::showPersonOfChange(std::size_t position)
{
    if (busy_ || position >= db_.staff.size())
        return;
    // Already on screen with typing in the form: showing them again would
    // only drop the typing.
    const bool typedForThem = personShown_ && form_->hasUnconfirmedEdits() && shownPerson_ == position;
    if (!typedForThem && !confirmTypedBefore(showingWhat(fromGameText(db_.staff[position].displayName))))
        return;
    findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1); // "Staff"
    if (!typedForThem)
        showStaffRecord(static_cast<std::int64_t>(position));
    activateWindow();
}

void Tfrm_main::showValuesTakenFromDisk(const std::vector<rostradb::FieldChange>& values)
{
    updateEditState();
    if (values.empty())
        return;
    // Not a step of the history: only the boxes those values fill. The user
    // chose to keep what stands typed in the form when Save asked, so it is
    // typed again over the refill rather than dropped.
    rostradb::EditStep taken;
    taken.changes = values;
    const bool keepTyping = personShown_ && form_->hasUnconfirmedEdits();
    StaffForm::Typed typed;
    if (keepTyping)
        typed = form_->typedValues();
    refreshFormAfter(taken);
    if (keepTyping)
        form_->retype(typed);
}

// After an undo, redo or revert the form shows the values the step left,
// when it changed one of the records on screen. With nothing typed and not
// confirmed, only the boxes of the changed values are filled again; typed
// values (which runStep asked about first) are replaced along with the rest.
void Tfrm_main::refreshFormAfter(const rostradb::EditStep& step)
{
    if (!shownPerson_ || !personShown_ || !rostradb::stepTouchesPerson(db_, *shownPerson_, step))
        return;
    if (form_->hasUnconfirmedEdits()) {
        showStaffRecord(static_cast<std::int64_t>(*shownPerson_));
        return;
    }
    std::vector<rostradb::FormUpdate> updates;
    try {
        rostradb::showStaffMember(db_, &db_.staff[*shownPerson_], form_->lookupBoxCounts(), updates);
    } catch (const std::exception&) {
        showStaffRecord(static_cast<std::int64_t>(*shownPerson_)); // shows what it can and reports the error
        return;
    }
    form_->apply(rostradb::updatesForStep(updates, step));
}
