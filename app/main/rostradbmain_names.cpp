// The main window's side of renaming: View > Nations..., Clubs... and
// Names..., the rename each of them asks for, and what follows a step that
// renamed records (the boxes' items, the result list, the open windows).

#include "main/rostradbmain.h"

#include "common/cp1252.h"
#include "common/message_boxes.h"
#include "form/lookup_models.h"
#include "form/staff_hits_model.h"
#include "lookups/rostradb_lookups.h"
#include "nation/rostradb_nation.h"

#include "editor/lookup_tables.h"


namespace {

void showWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void Tfrm_main::Nations1Click()
{
    if (!nation_) {
        nation_ = new Tfrm_nation(db_, this);
        connect(nation_, &Tfrm_nation::renameRequested, this, &Tfrm_main::renameRecord);
        if (!busy_)
            nation_->databaseLoaded();
    }
    showWindow(nation_);
}

void Tfrm_main::Clubs1Click()
{
    if (!clubsWindow_) {
        clubsWindow_ = Tfrm_lookups::clubs(db_, history_, this);
        connect(clubsWindow_, &Tfrm_lookups::renameRequested, this, &Tfrm_main::renameRecord);
        if (!busy_)
            clubsWindow_->databaseLoaded();
    }
    showWindow(clubsWindow_);
}

void Tfrm_main::Names1Click()
{
    if (!namesWindow_) {
        namesWindow_ = Tfrm_lookups::names(db_, history_, this);
        connect(namesWindow_, &Tfrm_lookups::renameRequested, this, &Tfrm_main::renameRecord);
        if (!busy_)
            namesWindow_->databaseLoaded();
    }
    showWindow(namesWindow_);
}

void Tfrm_main::nameWindowsLoaded()
{
    if (nation_)
        nation_->databaseLoaded();
    for (Tfrm_lookups* window : {clubsWindow_, namesWindow_})
        if (window)
            window->databaseLoaded();
}

void Tfrm_main::nameWindowsCleared()
{
    if (nation_)
        nation_->databaseCleared();
    for (Tfrm_lookups* window : {clubsWindow_, namesWindow_})
        if (window)
            window->databaseCleared();
}

void Tfrm_main::nameWindowsChanged()
{
    if (nation_)
        nation_->valuesChanged();
    for (Tfrm_lookups* window : {clubsWindow_, namesWindow_})
        if (window)
            window->valuesChanged();
}

void Tfrm_main::renameRecord(const rostradb::NameKey& key, const QString& text)
{
    if (busy_)
        return;
    QWidget* parent = qobject_cast<QWidget*>(sender());
    if (parent)
        parent = parent->window();
    std::string bytes;
    try {
        bytes = rostradb::nameTextFromUtf8(text.toStdString());
    } catch (const std::exception& error) {
        reportError(parent ? parent : this, error);
        return;
    }
    // A rename refills no box of the form (the boxes' items follow it), so
    // nothing typed there is asked about.
    runStep(ConfirmBefore::ChangingTable, rostradb::EditStep{}, [&] { return history_.rename(db_, key, bytes); });
}

void Tfrm_main::showRenames(const rostradb::EditStep& step)
{
    bool displayNames = false;
    for (const rostradb::NameChange& rename : step.renames) {
        LookupModel* model = nullptr;
        switch (rename.key.table) {
        case rostradb::LookupTable::Nations:
            model = nations_;
            break;
        case rostradb::LookupTable::FirstNames:
            model = firstNames_;
            displayNames = true;
            break;
        case rostradb::LookupTable::SecondNames:
            model = secondNames_;
            displayNames = true;
            break;
        case rostradb::LookupTable::CommonNames:
            model = commonNames_;
            break;
        case rostradb::LookupTable::Clubs:
            model = clubs_;
            break;
        }
        model->recordChanged(rename.key.position);
    }
    if (displayNames) {
        hits_->namesChanged(db_.staff);
        if (shownPerson_ && *shownPerson_ < db_.staff.size())
            shownName_ = fromGameText(db_.staff[*shownPerson_].displayName);
    }
}
