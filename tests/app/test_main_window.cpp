// The main window's start-up, File > Open, the guards around its handlers and
// the questions about unconfirmed and unsaved edits, driven through the real
// widgets.

#include "app_test_support.h"

#include "common/cp1252.h"
#include "progress/rostradbpos.h"
#include "form/staff_form.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// A sink that, once, calls back into the window in the middle of a pass, as
// a user clicking during a load would.
class MeddlingSink : public rostradb::ProgressSink {
public:
    explicit MeddlingSink(std::function<void()> meddle) : meddle_(std::move(meddle)) {}
    void show() override { ++shows; }
    void hide() override { ++hides; }
    void setCaption(const std::string&) override {}
    void setMaximum(std::int32_t) override {}
    void setPosition(std::int32_t) override {}
    void pumpEvents() override
    {
        if (meddle_) {
            auto once = std::move(meddle_);
            meddle_ = nullptr;
            once();
        }
    }
    int shows = 0;
    int hides = 0;

private:
    std::function<void()> meddle_;
};

std::uint32_t fileWord(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
    return value;
}

constexpr qsizetype kStaffRecordBytes = 157;

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithDirectoryAndAboutText();
    void missingAboutTextIsReportedOnceAndStopsStartUp();
    void missingGameFolderIsReportedAndLeavesTablesEmpty();
    void layoutHasTheNamedWidgets();
    void openFillsTablesAndBoxes();
    void secondOpenHoldsOneCopyAndResetsTheEditor();
    void missingClubFileKeepsEarlierTablesAndHidesStatus();
    void confirmBeforeAnyPersonIsShownChangesNothing();
    void actionsDuringALoadAreIgnored();
    void unsavedEditsAreSettledBeforeClosing();
    void unsavedEditsAreSettledBeforeLoadingAgain();
    void unconfirmedEditsAreAskedAboutBeforeSaving();
    void unconfirmedEditsAreAskedAboutBeforeClosing();
    void aPickedClubIsConfirmedBeforeLoadingAgain();
    void choosingAnotherPersonAsksAboutTheTyping();
    void numbersNotStoredAsTypedAreShownBeforeTheyAreStored();
    void errorTextEndsWithOneFullStop();
};

void TestMainWindow::startsWithDirectoryAndAboutText()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(child<QLabel>(&window, "fendradir")->text(), game.gameDirectory());
    QCOMPARE(child<QTextEdit>(&window, "mmo_about")->toPlainText(), QStringLiteral("rostradb test\nsecond line"));
    QCOMPARE(window.database().directory.size(), std::size_t{22});
    QVERIFY(window.database().staff.empty());
}

void TestMainWindow::missingAboutTextIsReportedOnceAndStopsStartUp()
{
    SampleInstallation game;
    QFile::remove(QStringLiteral("rostradb.txt"));
    CapturedErrors errors;
    Tfrm_main window(game.options());
    QCOMPARE(errors.messages, QStringList{QStringLiteral("Cannot open file rostradb.txt.")});
    QCOMPARE(child<QLabel>(&window, "fendradir")->text(), game.gameDirectory());
    QVERIFY(window.database().directory.empty());
    // Without a directory every later action fails with an ordinary message.
    window.Open1Click();
    QCOMPARE(errors.messages.last(), QStringLiteral("List index out of bounds (4)."));
}

void TestMainWindow::missingGameFolderIsReportedAndLeavesTablesEmpty()
{
    SampleInstallation game;
    CapturedErrors errors;
    // The folder given is named in the box.
    const QString missing = game.workFolder() + QStringLiteral("/no-such-game");
    Tfrm_main window(StartupOptions{missing});
    QCOMPARE(errors.messages, QStringList{QDir::toNativeSeparators(missing) + QStringLiteral(": Invalid filename.")});
    QVERIFY(window.database().directory.empty());

    QFile::remove(game.dataFile(QStringLiteral("index.dat")));
    Tfrm_main second(game.options());
    QCOMPARE(errors.messages.last(),
             QDir::toNativeSeparators(game.gameDirectory()) + QStringLiteral(": File not found."));
}

void TestMainWindow::layoutHasTheNamedWidgets()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    QCOMPARE(window.centralWidget()->size(), QSize(765, 491));
    QCOMPARE(window.windowTitle(), QStringLiteral("frm_main"));
    QCOMPARE(child<QAction>(&window, "Open1")->text().remove(QLatin1Char('&')), QStringLiteral("Open"));
    QCOMPARE(child<QAction>(&window, "Save1")->text().remove(QLatin1Char('&')), QStringLiteral("Save"));
    QCOMPARE(child<QMenu>(&window, "File1")->title().remove(QLatin1Char('&')), QStringLiteral("File"));
    QCOMPARE(child<QLineEdit>(&window, "ed_staffsearch")->text(), QStringLiteral("search for"));
    QCOMPARE(child<QPushButton>(&window, "Button2")->text(), QStringLiteral("Start Search"));
    QCOMPARE(child<QPushButton>(&window, "Button1")->text(), QStringLiteral("Confirm Changes"));
    QCOMPARE(child<QLabel>(&window, "Label1")->text(), QStringLiteral("FENDRA Directory: "));
    QCOMPARE(child<QLabel>(&window, "Image1")->pixmap().size(), QSize(400, 50));

    auto* pages = child<QTabWidget>(&window, "PageControl1");
    QCOMPARE(pages->size(), QSize(641, 409));
    QStringList offered;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            offered << pages->tabText(i);
    QCOMPARE(offered, (QStringList{QStringLiteral("Main frame"), QStringLiteral("Staff")}));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(child<QTabWidget>(&window, "PageControl2")->tabText(0), QStringLiteral("Navigation"));

    window.show();
    pages->setCurrentIndex(1);
    QVERIFY(child<QWidget>(&window, "mmo_staffhelp")->isVisible());
    QVERIFY(!child<QWidget>(&window, "Pagecontrol3")->isVisible());
}

void TestMainWindow::openFillsTablesAndBoxes()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    QCOMPARE(errors.messages, QStringList());

    const auto& db = window.database();
    const auto counts = rostradb::sampleCounts(rostradb::SampleSize::Tiny);
    QCOMPARE(db.staff.size(), std::size_t{counts.staff});
    QCOMPARE(db.players.size(), std::size_t{counts.players});
    QCOMPARE(db.nonPlayers.size(), std::size_t{counts.nonPlayers});
    QCOMPARE(db.clubs.size(), std::size_t{counts.clubs});

    auto* firstNames = child<QComboBox>(&window, "cbx_fname");
    QCOMPARE(firstNames->count(), int(counts.firstNames) + 1);
    QCOMPARE(firstNames->itemText(firstNames->count() - 1), QStringLiteral("none"));
    QCOMPARE(firstNames->itemText(1), fromGameText(db.firstNames[1].displayText()));
    QCOMPARE(child<QComboBox>(&window, "cbx_club")->count(), int(counts.clubs) + 1);
    QCOMPARE(child<QComboBox>(&window, "cbx_cname")->count(), int(counts.commonNames) + 1);
    for (const char* name : {"cbx_fnation", "cbx_snation", "cbx_anation"}) {
        auto* box = child<QComboBox>(&window, name);
        QCOMPARE(box->count(), int(counts.nations) + 1);
        QCOMPARE(box->itemText(0), fromGameText(db.nations[0].displayText()));
    }
}

void TestMainWindow::secondOpenHoldsOneCopyAndResetsTheEditor()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.show();
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 2);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    QVERIFY(!child<QWidget>(&window, "Pagecontrol3")->isHidden());

    window.Open1Click();
    const auto counts = rostradb::sampleCounts(rostradb::SampleSize::Tiny);
    QCOMPARE(window.database().staff.size(), std::size_t{counts.staff});
    QCOMPARE(child<QComboBox>(&window, "cbx_fname")->count(), int(counts.firstNames) + 1);
    QCOMPARE(child<QListView>(&window, "lbx_staff")->model()->rowCount(), 0);
    QVERIFY(child<QWidget>(&window, "Pagecontrol3")->isHidden());
    QVERIFY(!child<QWidget>(&window, "mmo_staffhelp")->isHidden());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::missingClubFileKeepsEarlierTablesAndHidesStatus()
{
    SampleInstallation game;
    QVERIFY(QFile::remove(game.dataFile(QStringLiteral("club.dat"))));
    CapturedErrors errors;
    Tfrm_main window(game.options());
    Tfrm_pos status;
    window.setProgressSink(&status);
    window.Open1Click();
    QCOMPARE(errors.messages, QStringList{QStringLiteral("File not found.")});
    QVERIFY(!status.isVisible());
    QVERIFY(!window.database().staff.empty());
    QVERIFY(!window.database().players.empty());
    QVERIFY(window.database().clubs.empty());
    QCOMPARE(child<QComboBox>(&window, "cbx_club")->count(), 0);
    QVERIFY(child<QComboBox>(&window, "cbx_fname")->count() > 0);
}

void TestMainWindow::confirmBeforeAnyPersonIsShownChangesNothing()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto before = window.database().staff.front();
    window.Button1Click();
    const auto& after = window.database().staff.front();
    QCOMPARE(after.wages, before.wages);
    QCOMPARE(after.firstName, before.firstName);
    QCOMPARE(after.adaptability, before.adaptability);
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::actionsDuringALoadAreIgnored()
{
    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 2);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    const QByteArray fileBefore = game.staffFileBytes();

    int listedDuringLoad = -1;
    MeddlingSink sink([&] {
        window.Open1Click();
        window.Save1Click();
        child<QLineEdit>(&window, "ed_staffsearch")->setText(QStringLiteral("a"));
        window.Button2Click();
        listedDuringLoad = child<QListView>(&window, "lbx_staff")->model()->rowCount();
        window.Button1Click();
    });
    window.setProgressSink(&sink);
    window.Open1Click();
    QCOMPARE(sink.shows, 1); // no second load started inside the first
    QCOMPARE(sink.hides, 1);
    QCOMPARE(listedDuringLoad, 0);
    QCOMPARE(game.staffFileBytes(), fileBefore); // no save ran
    QVERIFY(!window.isBusy());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::unsavedEditsAreSettledBeforeClosing()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    AnsweredQuestions asked;

    Tfrm_main window(game.options());
    window.show();
    QVERIFY(window.close()); // nothing changed: no question
    QVERIFY(asked.questions.isEmpty());

    window.show();
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 1, true);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    auto* wages = child<QLineEdit>(&window, "ed_wages");
    window.Button1Click(); // an unedited commit changes nothing
    QVERIFY(!window.hasUnsavedEdits());
    wages->setText(QString::number(window.database().staff[person].wages + 1));
    window.Button1Click();
    QVERIFY(window.hasUnsavedEdits());

    QVERIFY(!window.close());
    QCOMPARE(asked.questions, QStringList{QStringLiteral("Save changes to the staff file before closing?")});
    QVERIFY(window.isVisible());

    const QByteArray before = game.staffFileBytes();
    asked.answer = UnsavedChoice::Save;
    QVERIFY(window.close());
    QVERIFY(game.staffFileBytes() != before);
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::unsavedEditsAreSettledBeforeLoadingAgain()
{
    SampleInstallation game;
    CapturedErrors errors;
    AnsweredQuestions asked;
    Tfrm_main window(game.options());
    std::size_t person = 0;
    std::uint32_t edited = 0;
    QVERIFY(confirmWagesRaise(window, 7, person, edited));

    window.Open1Click(); // Cancel: nothing reloaded, the edit stays
    QCOMPARE(asked.questions, QStringList{QStringLiteral("Save changes to the staff file before loading again?")});
    QCOMPARE(window.database().staff[person].wages, edited);

    asked.answer = UnsavedChoice::Discard;
    const QByteArray before = game.staffFileBytes();
    window.Open1Click();
    QVERIFY(window.database().staff[person].wages != edited);
    QCOMPARE(game.staffFileBytes(), before);
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::unconfirmedEditsAreAskedAboutBeforeSaving()
{
    SampleInstallation game;
    CapturedErrors errors;
    ConfirmAnswers confirm;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t person = personOfClass(db, 2);
    QVERIFY(searchAndSelect(window, displayName(db, person), person));
    auto* wages = child<QLineEdit>(&window, "ed_wages");
    const std::uint32_t stored = db.staff[person].wages;
    const QString typed = QString::number(stored + 5);
    const QByteArray original = game.staffFileBytes();
    const qsizetype wagesInFile = static_cast<qsizetype>(person) * kStaffRecordBytes + 78;

    window.Save1Click(); // nothing typed: nothing asked
    QVERIFY(confirm.questions.isEmpty());

    wages->setText(typed);
    window.Save1Click(); // Cancel: no save
    QCOMPARE(confirm.questions,
             QStringList{QStringLiteral("Confirm the changes to %1 before saving?").arg(displayName(db, person))});
    QCOMPARE(db.staff[person].wages, stored);
    QCOMPARE(wages->text(), typed);

    confirm.answer = ConfirmChoice::Skip; // saved without it; the typed value stays
    window.Save1Click();
    QCOMPARE(confirm.questions.size(), 2);
    QCOMPARE(db.staff[person].wages, stored);
    QCOMPARE(game.staffFileBytes(), original);
    QCOMPARE(wages->text(), typed);

    confirm.answer = ConfirmChoice::Confirm;
    window.Save1Click();
    QCOMPARE(confirm.questions.size(), 3);
    QCOMPARE(db.staff[person].wages, stored + 5);
    QCOMPARE(fileWord(game.staffFileBytes(), wagesInFile), stored + 5);
    QVERIFY(!window.hasUnsavedEdits());
    window.Save1Click(); // confirmed: nothing left to ask about
    QCOMPARE(confirm.questions.size(), 3);
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::unconfirmedEditsAreAskedAboutBeforeClosing()
{
    SampleInstallation game;
    CapturedErrors errors;
    ConfirmAnswers confirm;
    AnsweredQuestions unsaved;
    Tfrm_main window(game.options());
    window.show();
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t person = personOfClass(db, 1);
    const auto nonPlayer = static_cast<std::size_t>(db.staff[person].nonPlayerId);
    QVERIFY(searchAndSelect(window, displayName(db, person), person));
    auto* ability = child<QLineEdit>(&window, "ed_cabl");
    const std::uint16_t stored = db.nonPlayers[nonPlayer].currentAbility;
    ability->setText(QString::number(stored ^ 1));

    QVERIFY(!window.close()); // Cancel: stays open, nothing else asked
    QCOMPARE(confirm.questions,
             QStringList{QStringLiteral("Confirm the changes to %1 before closing?").arg(displayName(db, person))});
    QVERIFY(unsaved.questions.isEmpty());
    QVERIFY(window.isVisible());

    // Confirmed, the edit is unsaved and that question follows.
    confirm.answer = ConfirmChoice::Confirm;
    unsaved.answer = UnsavedChoice::Cancel;
    QVERIFY(!window.close());
    QCOMPARE(db.nonPlayers[nonPlayer].currentAbility, stored ^ 1);
    QCOMPARE(unsaved.questions, QStringList{QStringLiteral("Save changes to the staff file before closing?")});

    // Typed again and skipped: the record keeps the confirmed value.
    ability->setText(QString::number(stored ^ 2));
    confirm.answer = ConfirmChoice::Skip;
    unsaved.answer = UnsavedChoice::Discard;
    QVERIFY(window.close());
    QCOMPARE(confirm.questions.size(), 3);
    QCOMPARE(unsaved.questions.size(), 2);
    QCOMPARE(db.nonPlayers[nonPlayer].currentAbility, stored ^ 1);
    QCOMPARE(errors.messages, QStringList());
}

// Moving a person to another club through the form, confirmed by the
// question at File > Open, saved by the next question and loaded again.
void TestMainWindow::aPickedClubIsConfirmedBeforeLoadingAgain()
{
    SampleInstallation game;
    CapturedErrors errors;
    ConfirmAnswers confirm;
    AnsweredQuestions unsaved;
    Tfrm_main window(game.options());
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 2);
    const QString name = displayName(window.database(), person);
    QVERIFY(searchAndSelect(window, name, person));
    auto* club = child<QComboBox>(&window, "cbx_club");
    const int clubs = static_cast<int>(window.database().clubs.size());
    QCOMPARE(club->count(), clubs + 1);
    const int picked = (club->currentIndex() + 1) % clubs;
    club->setCurrentIndex(picked);
    QVERIFY(window.findChild<StaffForm*>()->hasUnconfirmedEdits());

    confirm.answer = ConfirmChoice::Confirm;
    unsaved.answer = UnsavedChoice::Save;
    window.Open1Click();
    QCOMPARE(confirm.questions,
             QStringList{QStringLiteral("Confirm the changes to %1 before loading again?").arg(name)});
    QCOMPARE(unsaved.questions,
             QStringList{QStringLiteral("Save changes to the staff file before loading again?")});
    QCOMPARE(fileWord(game.staffFileBytes(), static_cast<qsizetype>(person) * kStaffRecordBytes + 57),
             std::uint32_t(picked));
    QCOMPARE(window.database().staff[person].clubContracted, std::uint32_t(picked)); // as loaded again
    QVERIFY(!window.findChild<StaffForm*>()->hasUnconfirmedEdits());

    // "none" stores the none marker.
    QVERIFY(searchAndSelect(window, name, person));
    QCOMPARE(club->currentIndex(), picked);
    club->setCurrentIndex(clubs);
    window.Button1Click();
    QCOMPARE(window.database().staff[person].clubContracted, 0xFEFFFFFFu);
    QCOMPARE(confirm.questions.size(), 1);
    QCOMPARE(errors.messages, QStringList());
}

// Typing stands in the form; the user picks another person in the result
// list, which holds both.
void TestMainWindow::choosingAnotherPersonAsksAboutTheTyping()
{
    SampleInstallation game;
    CapturedErrors errors;
    ConfirmAnswers confirm;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t first = personOfClass(db, 2);
    const std::size_t second = personOfClass(db, 1);
    auto* list = child<QListView>(&window, "lbx_staff");
    child<QLineEdit>(&window, "ed_staffsearch")->setText(QStringLiteral(" ")); // between first and second names
    window.Button2Click();
    const auto rowOf = [&](std::size_t person) {
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (list->model()->index(row, 0).data(StaffHitsModel::kPositionRole).toULongLong() == person)
                return list->model()->index(row, 0);
        return QModelIndex();
    };
    QVERIFY(rowOf(first).isValid() && rowOf(second).isValid());
    auto* wages = child<QLineEdit>(&window, "ed_wages");
    auto* form = window.findChild<StaffForm*>();
    const std::uint32_t stored = db.staff[first].wages;
    const QString typed = QString::number(stored + 1);
    list->setCurrentIndex(rowOf(first));
    wages->setText(typed);

    list->setCurrentIndex(rowOf(second)); // Cancel: the typing and the list stay on the first
    QCOMPARE(confirm.questions, QStringList{QStringLiteral("Confirm the changes to %1 before showing %2?")
                                                .arg(displayName(db, first), displayName(db, second))});
    QCOMPARE(wages->text(), typed);
    QCOMPARE(list->currentIndex(), rowOf(first));
    QVERIFY(list->selectionModel()->isSelected(rowOf(first)));

    list->setCurrentIndex(rowOf(first)); // the person on screen: no question, the typing stays
    QCOMPARE(confirm.questions.size(), 1);

    confirm.answer = ConfirmChoice::Skip; // No: shown, the typing dropped
    list->setCurrentIndex(rowOf(second));
    QCOMPARE(confirm.questions.size(), 2);
    QCOMPARE(wages->text(), QString::number(db.staff[second].wages));
    QVERIFY(!form->hasUnconfirmedEdits());
    QCOMPARE(db.staff[first].wages, stored);

    list->setCurrentIndex(rowOf(first));
    wages->setText(typed);
    confirm.answer = ConfirmChoice::Confirm; // Yes: confirmed, then shown
    list->setCurrentIndex(rowOf(second));
    QCOMPARE(confirm.questions.size(), 3);
    QCOMPARE(db.staff[first].wages, stored + 1);
    QCOMPARE(wages->text(), QString::number(db.staff[second].wages));
    QCOMPARE(errors.messages, QStringList());
}

// "15,000" in Wages would store 15: the box says so while it is typed, and
// Confirm asks before storing it.
void TestMainWindow::numbersNotStoredAsTypedAreShownBeforeTheyAreStored()
{
    SampleInstallation game;
    CapturedErrors errors;
    StoreAnswers store;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t person = personOfClass(db, 2);
    QVERIFY(searchAndSelect(window, displayName(db, person), person));
    auto* form = window.findChild<StaffForm*>();
    const std::uint32_t stored = db.staff[person].wages;
    child<QLineEdit>(&window, "ed_wages")->setText(QStringLiteral("15,000"));
    child<QLineEdit>(&window, "ed_caps")->setText(QStringLiteral(" 7 "));
    QCOMPARE(form->notAsTypedBoxes(), QStringList{QStringLiteral("ed_wages")});

    window.Button1Click(); // Cancel: nothing stored, the typing stays
    QCOMPARE(store.questions,
             QStringList{QStringLiteral("Some values will not be stored as typed:\nWages: \"15,000\" is stored as 15")});
    QCOMPARE(db.staff[person].wages, stored);
    QCOMPARE(db.staff[person].internationalCaps, db.snapshot.staff.record(person)[34]);
    QVERIFY(form->hasUnconfirmedEdits());

    store.store = true;
    window.Button1Click();
    QCOMPARE(store.questions.size(), 2);
    QCOMPARE(db.staff[person].wages, 15u);
    QCOMPARE(int(db.staff[person].internationalCaps), 7);
    // The boxes show what was stored, unmarked.
    QCOMPARE(child<QLineEdit>(&window, "ed_wages")->text(), QStringLiteral("15"));
    QVERIFY(form->notAsTypedBoxes().isEmpty());
    QVERIFY(!form->hasUnconfirmedEdits());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::errorTextEndsWithOneFullStop()
{
    QCOMPARE(errorBoxText(QStringLiteral("File not found")), QStringLiteral("File not found."));
    QCOMPARE(errorBoxText(QStringLiteral("Already ends.")), QStringLiteral("Already ends."));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
