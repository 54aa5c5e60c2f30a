#pragma once
// The main window: the game directory and about text on "Main frame", the
// staff editor on "Staff", File > Open / Save and the choice of the game's
// folder. Its handlers stay thin:
// they gather what the form holds, call the database or the editor, and show
// the result; every failure is caught at the handler's edge and reported.

#include "db/game_database.h"
#include "db/progress_sink.h"
#include "editor/edit_history.h"

#include "db/save_journal.h"

#include <QMainWindow>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class LookupModel;
class QTextEdit;
class StaffForm;
class StaffHitsModel;
class StatusStrip;
class Tfrm_changes;
class Tfrm_lookups;
class Tfrm_nation;
class Tfrm_people;
struct PeopleChange;
enum class ConfirmBefore;

struct StartupFolder;

struct StartupOptions {
    // Overrides every other source of the game directory for this run
    // (--game-dir or FOLDER); nothing is remembered.
    std::optional<QString> gameDirectory;
};

class Tfrm_main : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 765;
    static constexpr int kClientHeight = 491;

    explicit Tfrm_main(const StartupOptions& options = {}, QWidget* parent = nullptr);
    ~Tfrm_main() override; // FormDestroy: the tables go with the window

    // Where loads and saves report; the Status window in the program.
    void setProgressSink(rostradb::ProgressSink* sink);

    const rostradb::GameDatabase& database() const { return db_; }
    QString gameDirectory() const;
    // Some value in memory differs from what the staff file held when it was
    // loaded or last saved.
    bool hasUnsavedEdits() const { return history_.changedValues() > 0; }
    const rostradb::EditHistory& history() const { return history_; }
    // The list of changes; nullptr until "Changes..." first opens it.
    Tfrm_changes* changesWindow() const { return changes_; }
    // The people table; nullptr until View > People first opens it.
    Tfrm_people* peopleWindow() const { return people_; }
    // The windows of View > Nations..., Clubs... and Names...; nullptr until
    // first opened.
    Tfrm_nation* nationWindow() const { return nation_; }
    Tfrm_lookups* clubsWindow() const { return clubsWindow_; }
    Tfrm_lookups* namesWindow() const { return namesWindow_; }
    bool isBusy() const { return busy_; }

    // Before something refills the form, so that nothing typed is dropped
    // unasked: with values typed and not confirmed, asks "Confirm the changes
    // to NAME before WHAT?" (`what`: "showing OTHER", "undoing", ...). Yes
    // confirms them first, No drops them. True when the caller may go on:
    // nothing typed, No, or Yes with the confirm done; false on Cancel or
    // when the confirm did not go through.
    bool confirmTypedBefore(const QString& what);
    // After a save took values another program changed into memory: the
    // form, the status line and the list of changes show them. Every view
    // of the records refreshes from here.
    void showValuesTakenFromDisk(const std::vector<rostradb::FieldChange>& values);

public slots:
    void Open1Click();   // File > Open: load the whole database
    void Save1Click();   // File > Save: write the staff file back
    void Button2Click(); // "Start Search"
    void lbx_staffClick(); // a person chosen in the result list
    void Button1Click(); // "Confirm Changes"
    void undoClick();    // "Undo": the last step taken back
    void redoClick();    // "Redo": the step taken back applied again
    void changesClick(); // "Changes...": the list of changes shown
    void ChooseGame1Click(); // File > Choose Game Folder...: the folder dialog
    // Makes `folder` the game directory when its data/ holds index.dat,
    // remembers it and loads it; otherwise says what is missing and changes
    // nothing. Edits not yet confirmed or saved are settled first.
    void takeGameFolder(const QString& folder);
    // A folder picked under File > Recent Game Folders: taken as above, or,
    // when it no longer holds the game, taken off the list, and the user is
    // told.
    void takeRecentGameFolder(const QString& folder);
    void People1Click(); // View > People: the people table shown
    // A change made in the people table: one step of the history, shown
    // as an undo is (status line, list of changes, the form, the table).
    void applyPeopleChange(const PeopleChange& request);
    void Nations1Click(); // View > Nations...: the nation window shown
    void Clubs1Click();   // View > Clubs...: the table of clubs shown
    void Names1Click();   // View > Names...: the three name tables shown
    // Renames the record to `text`, one step of the history; a name the
    // game's files cannot hold is refused with the reason.
    void renameRecord(const rostradb::NameKey& key, const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildMainFrameTab();
    QWidget* buildStaffTab();
    void buildMenu();
    void fillRecentGameMenu();
    void updateGameFolderControls(); // the choose button when there is no game

    void FormCreate(const StartupOptions& options);
    StartupFolder getfendradir(const StartupOptions& options) const;
    std::string gameDirectoryBytes() const;
    void readDirectoryOf(const QString& folder); // the table directory; errors name the folder

    bool recoverInterruptedSave();     // false: a journal stopped it (reported)
    void noteRecovery(rostradb::Recovery recovery);
    bool saveStaffFile();              // true when the file was written
    bool confirmShownPerson();         // Button1Click; true when the commit succeeded
    bool settleUnconfirmedEdits(ConfirmBefore next); // false: cancelled, or the confirm failed
    void runStep(ConfirmBefore next, const rostradb::EditStep& preview,
                 const std::function<const rostradb::EditStep*()>& act);
    void selectShownPersonInList();
    bool settleUnsavedEdits(const QString& question); // false: the user cancelled
    void clearLoadedState();
    void loadGame(bool freshDirectory); // the load of File > Open, after its questions
    void fillLookupBoxes();
    rostradb::ProgressSink& progress();

    // Status line, Undo/Redo, the list of changes and the people table's
    // cells: every Confirm, undo, redo, revert, table change and load
    // passes here.
    void updateEditState();
    void updateStatus();    // status line and Undo/Redo only
    // Says `text` in the status line in place of the status, until the
    // status would change.
    void showNotice(const QString& text);
    void showStaffRecord(std::optional<std::int64_t> position); // nullopt: nobody chosen
    void refreshFormAfter(const rostradb::EditStep& step);
    void revertValues(const std::vector<rostradb::ValueKey>& values, const std::vector<rostradb::NameKey>& names);
    // After a step that renamed records: the boxes' items, the result list
    // and the windows of names show the new names.
    void showRenames(const rostradb::EditStep& step);
    // The nation, clubs and names windows that were opened: after a load,
    // before the tables are emptied, and after any step.
    void nameWindowsLoaded();
    void nameWindowsCleared();
    void nameWindowsChanged();
    void showPersonOfChange(std::size_t position);

    rostradb::GameDatabase db_;
    rostradb::ProgressSink* progress_ = nullptr;
    rostradb::SilentProgress silentProgress_; // until a sink is attached

    bool busy_ = false;          // a load or save is running
    bool personShown_ = false;   // the form belongs to a person since the last load
    bool restoringList_ = false; // the result list's selection is being put back
    std::optional<std::size_t> shownPerson_; // the staff record the form shows
    QString shownName_;                      // that person's display name
    QString fileNote_;                       // what the last load or save did besides: a journal removed, no lock
    rostradb::EditHistory history_;          // every change made since the last load
    QString notice_;                         // said in the status line, see showNotice
    std::optional<QString> noticeOver_;      // the status the notice stands in for
    bool settingsFailureTold_ = false;       // "could not be remembered" is said once

    QLabel* fendradir_ = nullptr;
    QPushButton* chooseGame_ = nullptr;
    QMenu* recentGames_ = nullptr;
    QTextEdit* about_ = nullptr;
    QLineEdit* search_ = nullptr;
    QListView* staffList_ = nullptr;
    StaffHitsModel* hits_ = nullptr;
    StaffForm* form_ = nullptr;
    LookupModel* nations_ = nullptr;
    LookupModel* firstNames_ = nullptr;
    LookupModel* secondNames_ = nullptr;
    LookupModel* commonNames_ = nullptr;
    LookupModel* clubs_ = nullptr;
    StatusStrip* strip_ = nullptr;
    Tfrm_changes* changes_ = nullptr;
    Tfrm_people* people_ = nullptr;
    Tfrm_nation* nation_ = nullptr;
    Tfrm_lookups* clubsWindow_ = nullptr;
    Tfrm_lookups* namesWindow_ = nullptr;
};
