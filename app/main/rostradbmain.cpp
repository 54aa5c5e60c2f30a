#include "main/rostradbmain.h"

#include "editor/game_save.h"

#include "changes/rostradb_changes.h"
#include "common/cp1252.h"
#include "common/message_boxes.h"
#include "form/lookup_models.h"
#include "form/staff_form.h"
#include "form/staff_hits_model.h"
#include "lookups/rostradb_lookups.h"
#include "main/about_text.h"
#include "main/game_location.h"
#include "main/status_strip.h"
#include "nation/rostradb_nation.h"
#include "people/rostradb_people.h"

#include "db/data_paths.h"
#include "db/errors.h"
#include "db/loaders.h"
#include "db/save_journal.h"
#include "db/staff_writer.h"
#include "editor/commit_edits.h"
#include "editor/commit_step.h"
#include "editor/save_conflicts.h"
#include "editor/staff_display.h"
#include "editor/staff_search.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTextEdit>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

// Marks the window busy for the length of a load or save. The pass hands
// control to the event loop once per record, so the menu and buttons stay
// live; while this is held their handlers return at once instead of starting
// a second pass inside the first.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

} // namespace

Tfrm_main::Tfrm_main(const StartupOptions& options, QWidget* parent) : QMainWindow(parent)
{
    buildLayout();
    using rostradb::LookupTable;
    nations_ = new LookupModel(db_, LookupTable::Nations, this);
    firstNames_ = new LookupModel(db_, LookupTable::FirstNames, this);
    secondNames_ = new LookupModel(db_, LookupTable::SecondNames, this);
    commonNames_ = new LookupModel(db_, LookupTable::CommonNames, this);
    clubs_ = new LookupModel(db_, LookupTable::Clubs, this);
    form_->setLookupModel(LookupTable::Nations, nations_);
    form_->setLookupModel(LookupTable::FirstNames, firstNames_);
    form_->setLookupModel(LookupTable::SecondNames, secondNames_);
    form_->setLookupModel(LookupTable::CommonNames, commonNames_);
    form_->setLookupModel(LookupTable::Clubs, clubs_);

    // A mouse press makes an item current and the release clicks it: show
    // the person on the click, and on keyboard moves through the list.
    connect(staffList_, &QListView::clicked, this, &Tfrm_main::lbx_staffClick);
    connect(staffList_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton)
            lbx_staffClick();
    });
    connect(strip_, &StatusStrip::undoRequested, this, &Tfrm_main::undoClick);
    connect(strip_, &StatusStrip::redoRequested, this, &Tfrm_main::redoClick);
    connect(strip_, &StatusStrip::changesRequested, this, &Tfrm_main::changesClick);
    connect(form_, &StaffForm::unconfirmedEditsChanged, this, &Tfrm_main::updateStatus);

    FormCreate(options);
}

Tfrm_main::~Tfrm_main()
{
    // The list of changes reads the database and the history, which go
    // before the child windows do; and nothing the form says on its way out
    // may reach a half-destroyed window.
    delete changes_;
    delete people_;
    delete nation_;
    delete clubsWindow_;
    delete namesWindow_;
    disconnect(form_, nullptr, this, nullptr);
}

void Tfrm_main::setProgressSink(rostradb::ProgressSink* sink) { progress_ = sink; }

rostradb::ProgressSink& Tfrm_main::progress() { return progress_ ? *progress_ : silentProgress_; }

QString Tfrm_main::gameDirectory() const { return fendradir_->text(); }

std::string Tfrm_main::gameDirectoryBytes() const { return QFile::encodeName(gameDirectory()).toStdString(); }

// The whole lookup: the command line, the folders taken, the setting
// Location, then the Wine prefixes. Nothing is created or written.
StartupFolder Tfrm_main::getfendradir(const StartupOptions& options) const
{
    return findGameDirectory(options.gameDirectory);
}

void Tfrm_main::FormCreate(const StartupOptions& options)
{
    // The nine tables already exist (db_ is a member), whatever fails below.
    try {
        const StartupFolder start = getfendradir(options);
        fendradir_->setText(start.folder);
        about_->setPlainText(
            readAboutText(aboutTextFolders(QCoreApplication::applicationDirPath())).join(QLatin1Char('\n')));
        // With no folder known there is nothing to read and no box: the
        // "Main frame" tab offers to choose one, and the status line says
        // which remembered or guessed folder no longer holds the game. A
        // folder someone named (the command line, Location) that fails is
        // reported, naming it.
        if (start.folder.isEmpty())
            showNotice(start.passedOver);
        else
            readDirectoryOf(start.folder);
    } catch (const std::exception& error) {
        reportError(this, error);
    }
    updateGameFolderControls();
}

void Tfrm_main::readDirectoryOf(const QString& folder)
{
    try {
        db_.directory.read(rostradb::dataFilePath(gameDirectoryBytes(), rostradb::datafile::kIndex));
    } catch (const std::exception& error) {
        throw std::runtime_error(QDir::toNativeSeparators(folder).toStdString() + ": " + error.what());
    }
}

void Tfrm_main::clearLoadedState()
{
    hits_->clear();
    if (people_)
        people_->databaseCleared();
    nameWindowsCleared();
    form_->reset();
    for (auto* model : {nations_, firstNames_, secondNames_, commonNames_, clubs_})
        model->tableCleared();
    personShown_ = false;
    shownPerson_.reset();
    shownName_.clear();
    history_.clear(); // the records it speaks of are about to go
    notice_.clear();  // and what was said about the game before
    updateEditState();
}

void Tfrm_main::fillLookupBoxes()
{
    for (auto* model : {nations_, firstNames_, secondNames_, commonNames_, clubs_})
        model->tableLoaded();
}

void Tfrm_main::Open1Click()
{
    if (busy_)
        return;
    // Nothing to load from: ask where the game is instead (taking a folder
    // loads it).
    if (!holdsGame(gameDirectory())) {
        ChooseGame1Click();
        return;
    }
    if (!settleUnconfirmedEdits(ConfirmBefore::LoadingAgain) ||
        !settleUnsavedEdits(tr("Save changes to the staff file before loading again?")))
        return;
    loadGame(false);
}

void Tfrm_main::loadGame(bool freshDirectory)
{
    BusyScope busy(busy_);
    // A save cut short leaves staff.dat half written: undo it before the
    // file is read. When it cannot be undone, nothing is loaded.
    if (!recoverInterruptedSave())
        return;
    // The list items and the form point into the tables: let go of them
    // before the tables are emptied and filled again.
    clearLoadedState();
    std::optional<QString> failure;
    try {
        if (freshDirectory) {
            // Another game's directory must never place this game's tables,
            // not even when this one's cannot be read.
            db_.directory.clear();
            rostradb::readDirectoryAndLoad(db_, gameDirectoryBytes(), progress());
        } else {
            rostradb::runLoadSequence(db_, gameDirectoryBytes(), progress());
        }
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }
    // After a failure too: what did load stays usable.
    fillLookupBoxes();
    history_.reset(db_);
    if (people_)
        people_->databaseLoaded();
    nameWindowsLoaded();
    updateEditState();
    if (failure)
        reportError(this, *failure);
}

// An undone save changes the file the user sees: a message box. A journal
// that was only removed changed nothing: the status line says so.
void Tfrm_main::noteRecovery(rostradb::Recovery recovery)
{
    if (rostradb::recoveryUndidSave(recovery))
        informUser(this, QString::fromUtf8(rostradb::recoveryNotice(recovery)));
    else if (const char* notice = rostradb::recoveryNotice(recovery))
        fileNote_ = QString::fromUtf8(notice);
}

bool Tfrm_main::recoverInterruptedSave()
{
    fileNote_.clear();
    try {
        noteRecovery(rostradb::recoverInterruptedSave(gameDirectoryBytes()));
    } catch (const std::exception& error) {
        updateStatus();
        reportError(this, error);
        return false;
    }
    return true;
}

bool Tfrm_main::saveStaffFile()
{
    BusyScope busy(busy_);
    if (!recoverInterruptedSave())
        return false;
    std::vector<rostradb::FieldChange> taken;
    rostradb::EditStep namesTaken; // names only another program changed: not a step, only shown
    try {
        // Look at the disk first: a moved directory or an unreadable file
        // stops the save here. Values only another program changed are kept;
        // values it changed differently from the editor are put to the user.
        std::optional<rostradb::GameSave> save(std::in_place, db_, gameDirectoryBytes());
        std::vector<rostradb::MergedValue> agreed; // the conflicts the user said Save to
        std::vector<rostradb::MergedName> agreedNames;
        const auto allAgreed = [](const auto& conflicts, const auto& agreedOnes) {
            return std::all_of(conflicts.begin(), conflicts.end(), [&](const auto& c) {
                return std::find(agreedOnes.begin(), agreedOnes.end(), c) != agreedOnes.end();
            });
        };
        while (!allAgreed(save->conflicts(), agreed) || !allAgreed(save->nameConflicts(), agreedNames)) {
            QStringList lines;
            if (!save->conflicts().empty())
                for (const std::string& line : rostradb::conflictLines(db_, save->conflicts()))
                    lines.append(fromGameText(line));
            for (const rostradb::MergedName& name : save->nameConflicts())
                lines.append(fromGameText(rostradb::nameConflictLine(name)));
            agreed = save->conflicts();
            agreedNames = save->nameConflicts();
            // No lock while the question stands open: another rostradb may save
            // meanwhile. Afterwards the disk is looked at again, and asked
            // about again only if it now holds conflicts not agreed to.
            save.reset();
            if (!askToOverwriteConflicts(this, lines))
                return false;
            save.emplace(db_, gameDirectoryBytes());
        }
        noteRecovery(save->recovery());
        if (!save->locked())
            fileNote_ = QString::fromStdString(rostradb::noLockWarning(gameDirectoryBytes()));
        taken = rostradb::takenFromDisk(save->changedOnDiskOnly());
        for (const rostradb::MergedName& name : save->namesChangedOnDiskOnly())
            namesTaken.renames.push_back({name.key, name.editor, name.disk});
        save->write(progress());
    } catch (const std::exception& error) {
        updateEditState();
        reportError(this, error);
        return false;
    }
    history_.saved(db_); // the file now holds what memory does
    showRenames(namesTaken);
    showValuesTakenFromDisk(taken);
    return true;
}

void Tfrm_main::Save1Click()
{
    if (!busy_ && settleUnconfirmedEdits(ConfirmBefore::Saving))
        saveStaffFile();
}

void Tfrm_main::Button2Click()
{
    if (busy_)
        return;
    hits_->clear();
    // Text the game's code page cannot hold names nobody; searching for the
    // empty text then finds nothing, yet still reports a missing database.
    const std::string text = toGameText(search_->text()).value_or(std::string());
    std::vector<rostradb::SearchHit> found;
    try {
        rostradb::searchStaff(text, db_.staff, db_.directory, found);
    } catch (const std::exception& error) {
        hits_->setHits(std::move(found)); // who was found before the error stays listed
        reportError(this, error);
        return;
    }
    hits_->setHits(std::move(found));
}

void Tfrm_main::lbx_staffClick()
{
    if (busy_ || restoringList_)
        return;
    const QModelIndex current = staffList_->currentIndex();
    if (!current.isValid()) {
        showStaffRecord(std::nullopt); // nothing chosen: the display reports it
        return;
    }
    const std::int64_t position = current.data(StaffHitsModel::kPositionRole).toLongLong();
    const bool typing = personShown_ && form_->hasUnconfirmedEdits();
    if (typing && shownPerson_ && static_cast<std::int64_t>(*shownPerson_) == position)
        return; // the person on screen again: showing them would only drop the typing
    if (!confirmTypedBefore(showingWhat(current.data(Qt::DisplayRole).toString()))) {
        selectShownPersonInList();
        return;
    }
    showStaffRecord(position);
}

// After a cancelled change of person the list points at the person the form
// still shows, or at nobody when the list does not hold them.
void Tfrm_main::selectShownPersonInList()
{
    restoringList_ = true;
    QModelIndex shown;
    for (int row = 0; shownPerson_ && row < hits_->rowCount(); ++row) {
        const QModelIndex index = hits_->index(row, 0);
        if (index.data(StaffHitsModel::kPositionRole).toULongLong() == *shownPerson_) {
            shown = index;
            break;
        }
    }
    if (shown.isValid())
        staffList_->setCurrentIndex(shown);
    else
        staffList_->selectionModel()->clear();
    restoringList_ = false;
}

// Shows the person at `position` of the staff table, as choosing them in the
// result list does. What was shown before an error stays on screen.
void Tfrm_main::showStaffRecord(std::optional<std::int64_t> position)
{
    std::vector<rostradb::FormUpdate> updates;
    try {
        const rostradb::StaffRecord* selected = nullptr;
        if (position) {
            selected = &rostradb::recordAt(db_.staff, *position);
            shownPerson_ = static_cast<std::size_t>(*position);
            shownName_ = fromGameText(selected->displayName);
        }
        rostradb::showStaffMember(db_, selected, form_->lookupBoxCounts(), updates);
    } catch (const std::exception& error) {
        form_->apply(updates);
        personShown_ = personShown_ || !updates.empty();
        reportError(this, error);
        return;
    }
    form_->apply(updates);
    personShown_ = true;
}

void Tfrm_main::Button1Click() { confirmShownPerson(); }

bool Tfrm_main::confirmShownPerson()
{
    // Before a person is shown the form holds placeholders, not values: a
    // commit would write them over the records at position 0.
    if (busy_ || !personShown_)
        return false;
    const rostradb::FormValues values = form_->values();
    // The lenient reading stores any text; a text that is not stored as it
    // reads is shown to the user first.
    QStringList notAsTyped;
    for (const rostradb::NotAsTyped& box : rostradb::numbersNotStoredAsTyped(db_, values))
        notAsTyped << QString::fromStdString(box.line);
    if (!notAsTyped.isEmpty() && !askToStoreNotAsTyped(this, notAsTyped))
        return false;
    // What the commit changes becomes one step of the history, also when it
    // stops part-way: the writes before the failure stay.
    const rostradb::CommitCapture capture(db_, values);
    rostradb::CommitOutcome outcome;
    try {
        rostradb::commitEdits(db_, values, outcome);
    } catch (const std::exception& error) {
        history_.record(db_, capture.step(db_));
        updateEditState();
        reportError(this, error);
        return false;
    }
    history_.record(db_, capture.step(db_));
    // The boxes now hold what the records hold, except those whose text was
    // stored as another number: the person is shown again, so they show it.
    if (!notAsTyped.isEmpty() && shownPerson_)
        showStaffRecord(static_cast<std::int64_t>(*shownPerson_));
    form_->markConfirmed();
    updateEditState();
    return true;
}

// Values typed into the form but not confirmed are not in the records: Save
// would not write them, and loading again or closing would drop them. Asked
// before the question about unsaved edits, so that confirming them first
// makes them part of what that question saves.
bool Tfrm_main::settleUnconfirmedEdits(ConfirmBefore next) { return confirmTypedBefore(confirmBeforeWhat(next)); }

bool Tfrm_main::confirmTypedBefore(const QString& what)
{
    if (busy_)
        return false;
    if (!personShown_ || !form_->hasUnconfirmedEdits())
        return true;
    switch (askToConfirmEdits(this, confirmEditsQuestion(shownName_, what))) {
    case ConfirmChoice::Confirm:
        return confirmShownPerson();
    case ConfirmChoice::Skip:
        return true;
    case ConfirmChoice::Cancel:
        return false;
    }
    return false;
}

bool Tfrm_main::settleUnsavedEdits(const QString& question)
{
    if (!hasUnsavedEdits())
        return true;
    switch (askAboutUnsavedEdits(this, question)) {
    case UnsavedChoice::Save:
        return saveStaffFile();
    case UnsavedChoice::Discard:
        return true;
    case UnsavedChoice::Cancel:
        return false;
    }
    return false;
}

void Tfrm_main::closeEvent(QCloseEvent* event)
{
    // Closing in the middle of a load or save would cut it short.
    if (busy_ || !settleUnconfirmedEdits(ConfirmBefore::Closing) ||
        !settleUnsavedEdits(tr("Save changes to the staff file before closing?"))) {
        event->ignore();
        return;
    }
    if (changes_)
        changes_->close();
    if (people_)
        people_->close();
    for (QWidget* window :
         {static_cast<QWidget*>(nation_), static_cast<QWidget*>(clubsWindow_), static_cast<QWidget*>(namesWindow_)})
        if (window)
            window->close();
    event->accept();
}
