// Renaming through the nation, clubs and names windows of the real main
// window, on a sample game: the step, what follows it, undo, refusals.

#include "app_test_support.h"
#include "changes/changes_model.h"
#include "changes/rostradb_changes.h"
#include "lookups/lookup_table_model.h"
#include "lookups/lookup_table_view.h"
#include "lookups/rostradb_lookups.h"
#include "nation/rostradb_nation.h"

#include "editor/lookup_tables.h"
#include "editor/name_changes.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableView>

namespace {

QString statusText(Tfrm_main& window) { return child<QLabel>(&window, "lbl_status")->text(); }

QString nameOf(const Tfrm_main& window, rostradb::LookupTable table, std::uint32_t position)
{
    return fromGameText(rostradb::lookupText(window.database(), table, position));
}

// Types `text` into the name cell of the row showing `position`.
void renameInTable(LookupTableView* view, std::uint32_t position, const QString& text)
{
    LookupTableModel* model = view->model();
    const int row = model->rowOf(position);
    QVERIFY(row >= 0);
    model->setData(model->index(row, LookupTableModel::Name), text);
}

} // namespace

class TestRenameWindows : public QObject {
    Q_OBJECT
private slots:
    void clubRenamedInPlaceIsOneStepListedAndUndone();
    void firstNameRenameRebuildsDisplayNamesAndSaysHowMany();
    void nationWindowRenamesTheChosenNationOnly();
    void refusedNamesChangeNothing();
    void saveWritesTheRenamedNameIntoItsFile();
};

void TestRenameWindows::clubRenamedInPlaceIsOneStepListedAndUndone()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    window.Clubs1Click();
    Tfrm_lookups* clubs = window.clubsWindow();
    LookupTableView* view = clubs->view(rostradb::LookupTable::Clubs);
    const QString before = nameOf(window, rostradb::LookupTable::Clubs, 12);

    // The filter lists by part of the name, as the search finds it.
    child<QLineEdit>(clubs, "ed_clubs_filter")->setText(before.mid(1, 4).toUpper());
    QVERIFY(view->model()->rowOf(12) >= 0);
    QVERIFY(child<QLabel>(clubs, "lbl_clubs_count")->text().contains(QStringLiteral(" of ")));

    renameInTable(view, 12, QStringLiteral("Real Name FC"));
    QCOMPARE(nameOf(window, rostradb::LookupTable::Clubs, 12), QStringLiteral("Real Name FC"));
    QCOMPARE(statusText(window), QStringLiteral("1 value changed since the last save"));
    QCOMPARE(child<QComboBox>(&window, "cbx_club")->itemText(12), QStringLiteral("Real Name FC"));
    window.changesClick();
    ChangesModel* changes = window.changesWindow()->model();
    QCOMPARE(changes->rowCount(), 1);
    QCOMPARE(changes->data(changes->index(0, ChangesModel::Record)).toString(), QStringLiteral("club 12"));
    QCOMPARE(changes->data(changes->index(0, ChangesModel::Field)).toString(), QStringLiteral("name"));
    QCOMPARE(changes->data(changes->index(0, ChangesModel::InFile)).toString(), before);
    QCOMPARE(changes->data(changes->index(0, ChangesModel::Now)).toString(), QStringLiteral("Real Name FC"));

    window.undoClick();
    QCOMPARE(nameOf(window, rostradb::LookupTable::Clubs, 12), before);
    QCOMPARE(changes->rowCount(), 0);
    QCOMPARE(child<QComboBox>(&window, "cbx_club")->itemText(12), before);
    QVERIFY(errors.messages.isEmpty());
}

void TestRenameWindows::firstNameRenameRebuildsDisplayNamesAndSaysHowMany()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t person = personOfClass(db, 2, true);
    const std::uint32_t first = db.staff[person].firstName;
    const std::size_t users = rostradb::peopleUsing(db, {rostradb::LookupTable::FirstNames, first});
    QVERIFY(searchAndSelect(window, displayName(db, person), person));
    const QString oldName = nameOf(window, rostradb::LookupTable::FirstNames, first);

    window.Names1Click();
    Tfrm_lookups* names = window.namesWindow();
    QCOMPARE(names->findChild<QTabWidget*>()->count(), 3);
    renameInTable(names->view(rostradb::LookupTable::FirstNames), first, QStringLiteral("Zebedee"));

    for (const auto& s : db.staff)
        if (s.firstName == first && s.secondName < db.secondNames.size())
            QVERIFY(s.displayName.rfind("Zebedee ", 0) == 0);
    // The result list shows the new name of the person it lists.
    const auto* list = child<QListView>(&window, "lbx_staff");
    QVERIFY(list->currentIndex().data().toString().startsWith(QStringLiteral("Zebedee ")));
    const QString step = fromGameText(window.history().undoStep()->name);
    QCOMPARE(step, QStringLiteral("Rename first name \"%1\" to \"Zebedee\" (%2 %3)")
                       .arg(oldName)
                       .arg(users)
                       .arg(users == 1 ? QStringLiteral("person") : QStringLiteral("people")));
    window.undoClick();
    QVERIFY(list->currentIndex().data().toString().startsWith(oldName + QLatin1Char(' ')));
}

void TestRenameWindows::nationWindowRenamesTheChosenNationOnly()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    window.Nations1Click();
    Tfrm_nation* nation = window.nationWindow();
    auto* found = child<QListWidget>(nation, "lbx_srcnation");
    QCOMPARE(static_cast<std::size_t>(found->count()), window.database().nations.size());
    const QString third = nameOf(window, rostradb::LookupTable::Nations, 3);
    child<QLineEdit>(nation, "ed_srcnation")->setText(third);
    child<QPushButton>(nation, "btn_srcnation")->click();
    QVERIFY(found->count() >= 1);
    found->setCurrentRow(0);
    QCOMPARE(child<QLineEdit>(nation, "ed_name")->text(), found->item(0)->text());

    const std::uint32_t chosen = *nation->shownNation();
    child<QLineEdit>(nation, "ed_name")->setText(QStringLiteral("Ruritania"));
    child<QPushButton>(nation, "btn_confirm")->click();
    QCOMPARE(nameOf(window, rostradb::LookupTable::Nations, chosen), QStringLiteral("Ruritania"));
    QCOMPARE(found->item(0)->text(), QStringLiteral("Ruritania"));
    for (const char* box : {"cbx_fnation", "cbx_snation", "cbx_anation"})
        QCOMPARE(child<QComboBox>(&window, box)->itemText(static_cast<int>(chosen)), QStringLiteral("Ruritania"));

    // Only the name is read from the game's files.
    for (const char* control : {"ed_shrt", "cbx_capital", "btn_add", "ed_clubs", "ed_coef1"}) {
        const auto* widget = child<QWidget>(nation, control);
        QVERIFY2(!widget->isEnabled(), control);
        QCOMPARE(widget->toolTip(), QStringLiteral("Not read from the game's files"));
    }
}

void TestRenameWindows::refusedNamesChangeNothing()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    window.Clubs1Click();
    LookupTableView* view = window.clubsWindow()->view(rostradb::LookupTable::Clubs);
    const QString before = nameOf(window, rostradb::LookupTable::Clubs, 3);
    renameInTable(view, 3, QStringLiteral("Ł\u00f3d\u017a"));
    renameInTable(view, 3, QString(52, QLatin1Char('a')));
    QCOMPARE(nameOf(window, rostradb::LookupTable::Clubs, 3), before);
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));
    QCOMPARE(errors.messages.size(), 2);
    QVERIFY(errors.messages[0].contains(QStringLiteral("\"Ł\" (U+0141)")));
    QVERIFY(errors.messages[1].contains(QStringLiteral("52 bytes")));
}

void TestRenameWindows::saveWritesTheRenamedNameIntoItsFile()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    window.Clubs1Click();
    renameInTable(window.clubsWindow()->view(rostradb::LookupTable::Clubs), 5, QStringLiteral("Saved FC"));
    window.Save1Click();
    QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join(QLatin1Char('\n'))));
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));
    QFile club(game.dataFile(QStringLiteral("club.dat")));
    QVERIFY(club.open(QIODevice::ReadOnly));
    const QByteArray bytes = club.readAll();
    QCOMPARE(bytes.mid(5 * 581 + 4, 9), QByteArray("Saved FC\0", 9));
    // A load reads it back.
    window.Open1Click();
    QCOMPARE(nameOf(window, rostradb::LookupTable::Clubs, 5), QStringLiteral("Saved FC"));
}

QTEST_MAIN(TestRenameWindows)
#include "test_rename_windows.moc"
