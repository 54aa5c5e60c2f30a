#pragma once
// The main window: the game directory and about text on "Main frame", the
// staff editor on "Staff", and File > Open / Save. Its handlers stay thin:
// they gather what the form holds, call the database or the editor, and show
// the result; every failure is caught at the handler's edge and reported.

#include "db/game_database.h"
#include "db/progress_sink.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;
class QTextEdit;
class StaffForm;
class StaffHitsModel;
enum class ConfirmBefore;

struct StartupOptions {
    // Overrides the configured game directory for this run (--game-dir).
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
    bool hasUnsavedEdits() const { return unsavedEdits_; }
    bool isBusy() const { return busy_; }

public slots:
    void Open1Click();   // File > Open: load the whole database
    void Save1Click();   // File > Save: write the staff file back
    void Button2Click(); // "Start Search"
    void lbx_staffClick(); // a person chosen in the result list
    void Button1Click(); // "Confirm Changes"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildMainFrameTab();
    QWidget* buildStaffTab();
    void buildMenu();

    void FormCreate(const StartupOptions& options);
    QString getfendradir(bool canCreate) const;
    std::string gameDirectoryBytes() const;

    bool saveStaffFile();              // true when the file was written
    bool confirmShownPerson();         // Button1Click; true when the commit succeeded
    bool settleUnconfirmedEdits(ConfirmBefore next); // false: cancelled, or the confirm failed
    bool settleUnsavedEdits(const QString& question); // false: the user cancelled
    void clearLoadedState();
    void fillLookupBoxes();
    rostradb::ProgressSink& progress();

    rostradb::GameDatabase db_;
    rostradb::ProgressSink* progress_ = nullptr;
    rostradb::SilentProgress silentProgress_; // until a sink is attached

    bool busy_ = false;          // a load or save is running
    bool personShown_ = false;   // the form belongs to a person since the last load
    bool unsavedEdits_ = false;  // a commit changed a record since the last load or save
    QString shownName_;          // display name of the person the form shows

    QLabel* fendradir_ = nullptr;
    QTextEdit* about_ = nullptr;
    QLineEdit* search_ = nullptr;
    QListView* staffList_ = nullptr;
    StaffHitsModel* hits_ = nullptr;
    StaffForm* form_ = nullptr;
    QStringListModel* nations_ = nullptr;
    QStringListModel* firstNames_ = nullptr;
    QStringListModel* secondNames_ = nullptr;
    QStringListModel* commonNames_ = nullptr;
    QStringListModel* clubs_ = nullptr;
};
