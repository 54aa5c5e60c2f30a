// The people table through the real main window on sample games: the table
// following the history, changes made in it as single steps, refused values,
// the filter's errors, copying, and the same file as the command line's core.

#include "app_test_support.h"
#include "private_settings.h"
#include "people/people_model.h"
#include "people/rostradb_people.h"

#include "cli/commands.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableView>

#include <sstream>

namespace {

// A loaded main window with the people table open.
struct PeopleFixture {
    explicit PeopleFixture(rostradb::SampleSize size = rostradb::SampleSize::Small) : game(size)
    {
        window.Open1Click();
        window.People1Click();
        people = window.peopleWindow();
    }
    const rostradb::GameDatabase& db() const { return window.database(); }
    PeopleModel& model() const { return *people->model(); }
    QTableView& table() const { return *people->table(); }
    QString label(const char* name) const { return child<QLabel>(people, name)->text(); }

    void filter(const QString& text)
    {
        child<QLineEdit>(people, "ed_people_filter")->setText(text);
        people->applyFilter();
    }
    int column(const char* name) const
    {
        return static_cast<int>(rostradb::columnIndex(*rostradb::columnNamed(name)));
    }
    QString cell(int row, const char* name) const { return model().index(row, column(name)).data().toString(); }
    // Types into a cell as its editor stores it; the change is made once
    // the editor has closed, that is, after the events waiting now.
    void typeIntoCell(int row, const char* name, const QString& text)
    {
        const QModelIndex index = model().index(row, column(name));
        table().setCurrentIndex(index);
        model().setData(index, text);
        QCoreApplication::processEvents();
    }
    // "Change..." with the dialog's boxes set so and OK clicked; a refused
    // value leaves the dialog open, and it is then cancelled.
    bool changeSelected(const char* column, const char* how, const QString& value)
    {
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == QStringLiteral("frm_bulk"));
            auto* columns = child<QComboBox>(dialog, "cbx_bulk_column");
            columns->setCurrentIndex(columns->findText(QLatin1String(column)));
            auto* hows = child<QComboBox>(dialog, "cbx_bulk_how");
            hows->setCurrentIndex(hows->findText(QLatin1String(how)));
            child<QLineEdit>(dialog, "ed_bulk_value")->setText(value);
            child<QPushButton>(dialog, "btn_bulk_ok")->click();
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                child<QPushButton>(dialog, "btn_bulk_cancel")->click();
        });
        child<QPushButton>(people, "btn_people_change")->click();
        return !stayedOpen;
    }

    SampleInstallation game;
    CapturedErrors errors;
    Tfrm_main window{game.options()};
    Tfrm_people* people = nullptr;
};

QString formBox(Tfrm_main& window, const char* name) { return child<QLineEdit>(&window, name)->text(); }

std::vector<std::int64_t> columnValues(const rostradb::GameDatabase& db, const char* name)
{
    const rostradb::PeopleColumn& column = *rostradb::columnNamed(name);
    std::vector<std::int64_t> values;
    for (std::uint32_t p = 0; p < db.staff.size(); ++p)
        values.push_back(rostradb::columnNumber(db, p, column).value_or(-1));
    return values;
}

} // namespace

class TestPeopleWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tableAndFormFollowEachOther();
    void bulkChangeIsOneStepThatUndoTakesBackWhole();
    void typingInTheFormIsAskedAboutBeforeTheTableChangesThatPerson();
    void refusedCellEditChangesNothing();
    void malformedFilterKeepsTheLastResult();
    void copyGivesTheSelectedCellsUnderTheirNames();
    void chosenColumnsAndWidthsAreKept();
    void windowAndCommandLineCoreWriteTheSameFile();

private:
    QTemporaryDir settings_;
};

void TestPeopleWindow::initTestCase()
{
    // The chosen columns go to a settings file of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    usePrivateSettings(); // Windows keeps them in the registry, which no path moves
}

void TestPeopleWindow::tableAndFormFollowEachOther()
{
    PeopleFixture f;
    QCOMPARE(f.people->windowTitle(), QStringLiteral("People"));
    QCOMPARE(f.label("lbl_people_count"), QStringLiteral("%1 of %1 people").arg(f.db().staff.size()));
    const std::size_t person = personOfClass(f.db(), 2, true);
    f.filter(QStringLiteral("position=%1").arg(person));
    QCOMPARE(f.model().rowCount(), 1);
    QCOMPARE(f.label("lbl_people_count"), QStringLiteral("1 of %1 people").arg(f.db().staff.size()));
    const QString wages = f.cell(0, "wages");

    // Return on the row shows the person in the form.
    f.table().setCurrentIndex(f.model().index(0, f.column("wages")));
    QTest::keyClick(&f.table(), Qt::Key_Return);
    QCOMPARE(formBox(f.window, "ed_wages"), wages);

    // A Confirm in the form, and its undo, show in the table: the cells
    // read the records, and the view is told to ask again.
    QSignalSpy repaints(&f.model(), &QAbstractItemModel::dataChanged);
    child<QLineEdit>(&f.window, "ed_wages")->setText(QString::number(wages.toLongLong() + 3));
    f.window.Button1Click();
    QCOMPARE(f.cell(0, "wages"), QString::number(wages.toLongLong() + 3));
    QCOMPARE(repaints.size(), 1);
    f.window.undoClick();
    QCOMPARE(f.cell(0, "wages"), wages);
    QCOMPARE(repaints.size(), 2);

    // A value typed into the table shows in the form, and so does its undo.
    f.typeIntoCell(0, "wages", QStringLiteral(" 1234 "));
    QCOMPARE(f.cell(0, "wages"), QStringLiteral("1234"));
    QCOMPARE(formBox(f.window, "ed_wages"), QStringLiteral("1234"));
    QCOMPARE(child<QLabel>(&f.window, "lbl_status")->text(), QStringLiteral("1 value changed since the last save"));
    f.window.undoClick();
    QCOMPARE(f.cell(0, "wages"), wages);
    QCOMPARE(formBox(f.window, "ed_wages"), wages);
    QCOMPARE(f.errors.messages, QStringList());
}

void TestPeopleWindow::bulkChangeIsOneStepThatUndoTakesBackWhole()
{
    PeopleFixture f;
    const auto before = columnValues(f.db(), "player.currentAbility");
    const rostradb::PeopleColumn& ability = *rostradb::columnNamed("player.currentAbility");
    f.table().setFocus();
    QTest::keyClick(&f.table(), Qt::Key_A, Qt::ControlModifier); // everyone, non-players too

    // The dialog starts on the column of the current cell.
    f.table().setCurrentIndex(f.model().index(0, f.column("wages")));
    QTest::keyClick(&f.table(), Qt::Key_A, Qt::ControlModifier);
    QString offered;
    QTimer::singleShot(0, [&] {
        auto* dialog = QApplication::activeModalWidget();
        offered = child<QComboBox>(dialog, "cbx_bulk_column")->currentText();
        child<QPushButton>(dialog, "btn_bulk_cancel")->click();
    });
    child<QPushButton>(f.people, "btn_people_change")->click();
    QCOMPARE(offered, QStringLiteral("wages"));

    // Not a whole number: refused in the dialog, nothing changes.
    QVERIFY(!f.changeSelected("player.currentAbility", "Add", QStringLiteral("5x")));
    QCOMPARE(f.errors.messages, QStringList{QStringLiteral("\"5x\" is not a whole number.")});
    QCOMPARE(f.window.history().stepCount(), std::size_t{0});

    // Far past the top: every player held at the field's highest value.
    QVERIFY(f.changeSelected("player.currentAbility", "Add", QStringLiteral("1000000")));
    QCOMPARE(f.window.history().stepCount(), std::size_t{1});
    const auto after = columnValues(f.db(), "player.currentAbility");
    std::size_t players = 0;
    for (std::size_t p = 0; p < after.size(); ++p) {
        if (before[p] == -1) {
            QCOMPARE(after[p], std::int64_t{-1});
            continue;
        }
        ++players;
        QCOMPARE(after[p], ability.highest());
    }
    const QString note = f.label("lbl_people_note");
    QVERIFY2(note.startsWith(QStringLiteral("Add 1000000 to player.currentAbility of %1 people (").arg(players)),
             qPrintable(note));
    QVERIFY2(note.contains(QStringLiteral("skipped")) && note.contains(QStringLiteral("limited")), qPrintable(note));
    QCOMPARE(child<QPushButton>(&f.window, "btn_undo")->toolTip(), QStringLiteral("Undo ") + note);

    f.window.undoClick();
    QCOMPARE(columnValues(f.db(), "player.currentAbility"), before);
    QVERIFY(!f.window.hasUnsavedEdits());
    QCOMPARE(f.errors.messages.size(), 1);
    // The note follows the history.
    QCOMPARE(f.label("lbl_people_note"), QStringLiteral("Undone: ") + note);
    f.window.redoClick();
    QCOMPARE(f.label("lbl_people_note"), QStringLiteral("Redone: ") + note);
}

// A table change that refills the form would drop what is typed there:
// Cancel changes nothing, Yes keeps the typing and confirms it after the
// table's step, No drops it.
void TestPeopleWindow::typingInTheFormIsAskedAboutBeforeTheTableChangesThatPerson()
{
    PeopleFixture f;
    ConfirmAnswers confirm;
    const std::size_t person = personOfClass(f.db(), 2, true);
    f.filter(QStringLiteral("position=%1").arg(person));
    f.table().setCurrentIndex(f.model().index(0, f.column("wages")));
    QTest::keyClick(&f.table(), Qt::Key_Return);
    const QString wages = formBox(f.window, "ed_wages");
    const QString typedValue = QString::number(wages.toLongLong() + 7);

    struct Case {
        ConfirmChoice answer;
        std::size_t steps;
        QString formValue; // the wages box afterwards
        QString tableValue;
    };
    const Case cases[] = {
        {ConfirmChoice::Cancel, 0, typedValue, wages},
        {ConfirmChoice::Confirm, 2, typedValue, typedValue},
        {ConfirmChoice::Skip, 1, QStringLiteral("4321"), QStringLiteral("4321")},
    };
    for (const Case& c : cases) {
        while (f.window.history().canUndo())
            f.window.undoClick();
        confirm.questions.clear();
        confirm.answer = c.answer;
        child<QLineEdit>(&f.window, "ed_wages")->setText(typedValue);
        f.typeIntoCell(0, "wages", QStringLiteral("4321"));
        QCOMPARE(confirm.questions.size(), 1);
        QVERIFY2(confirm.questions[0].endsWith(QStringLiteral(" before changing the people table?")),
                 qPrintable(confirm.questions[0]));
        QCOMPARE(f.window.history().stepCount(), c.steps);
        QCOMPARE(formBox(f.window, "ed_wages"), c.formValue);
        QCOMPARE(f.cell(0, "wages"), c.tableValue);
        child<QLineEdit>(&f.window, "ed_wages")->setText(wages); // nothing left typed
        f.window.Button1Click();
    }
    QCOMPARE(f.errors.messages, QStringList());
}

void TestPeopleWindow::refusedCellEditChangesNothing()
{
    PeopleFixture f;
    const QByteArray file = f.game.staffFileBytes();
    const auto wages = columnValues(f.db(), "wages");
    const auto classes = columnValues(f.db(), "classification");
    struct Case {
        const char* column;
        const char* typed;
        const char* reason;
    };
    const Case cases[] = {
        {"wages", "abc", "is not a whole number"},
        {"wages", "12.5", "is not a whole number"},
        {"wages", "", "is not a whole number"},
        {"classification", "256", "is out of range"},
        {"classification", "-1", "is out of range"},
        {"birthYear", "99999999999", "is out of range"},
    };
    f.table().selectAll(); // the value would go to every row
    for (const Case& c : cases) {
        f.errors.messages.clear();
        f.typeIntoCell(3, c.column, QLatin1String(c.typed));
        QCOMPARE(f.errors.messages.size(), 1);
        QVERIFY2(f.errors.messages[0].contains(QLatin1String(c.reason)), qPrintable(f.errors.messages[0]));
    }
    QCOMPARE(f.window.history().stepCount(), std::size_t{0});
    QCOMPARE(columnValues(f.db(), "wages"), wages);
    QCOMPARE(columnValues(f.db(), "classification"), classes);
    // Texts, the position and the links are not edited in place.
    for (const char* name : {"displayName", "position", "clubContractedText", "playerId"})
        QVERIFY(!(f.model().flags(f.model().index(0, f.column(name))) & Qt::ItemIsEditable));
    f.window.Save1Click();
    QCOMPARE(f.game.staffFileBytes(), file);
}

void TestPeopleWindow::malformedFilterKeepsTheLastResult()
{
    PeopleFixture f;
    f.filter(QStringLiteral("wages>=500"));
    const std::vector<std::uint32_t> shown = f.model().people();
    QVERIFY(!shown.empty() && shown.size() < f.db().staff.size());
    QCOMPARE(f.label("lbl_people_filter_error"), QString());
    // Each message names its term as typed, accents included.
    const std::pair<const char*, const char*> malformed[] = {
        {"wages>x", "\"wages>x\": a whole number"},
        {"caf\xc3\xa9=1", "\"caf\xc3\xa9=1\": unknown column caf\xc3\xa9"},
        {"wages:5", "wages is a number"},
        {"club=\"Real", "the quote is not closed"},
        {"wages>5 name:\xc5\x81x", "\"name:\xc5\x81x\": no text of the game holds \xc5\x81"},
    };
    for (const auto& [typed, message] : malformed) {
        f.filter(QString::fromUtf8(typed));
        const QString error = f.label("lbl_people_filter_error");
        QVERIFY2(error.contains(QString::fromUtf8(message)), qPrintable(error));
        QCOMPARE(f.model().people(), shown);
    }
    QCOMPARE(f.errors.messages, QStringList()); // no message box
    // File > Open shows the last good filter's people of the database loaded.
    f.window.Open1Click();
    QCOMPARE(f.model().people(), shown);
    f.filter(QString());
    QCOMPARE(f.label("lbl_people_filter_error"), QString());
    QCOMPARE(f.model().rowCount(), static_cast<int>(f.db().staff.size()));
}

void TestPeopleWindow::copyGivesTheSelectedCellsUnderTheirNames()
{
    PeopleFixture f(rostradb::SampleSize::Tiny);
    auto* selection = f.table().selectionModel();
    for (const auto& [row, name] : {std::pair{0, "position"}, {0, "wages"}, {2, "wages"}})
        selection->select(f.model().index(row, f.column(name)), QItemSelectionModel::Select);
    f.table().setFocus();
    QTest::keyClick(&f.table(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("position\twages\n0\t%1\n\t%2\n").arg(f.cell(0, "wages"), f.cell(2, "wages")));
}

void TestPeopleWindow::chosenColumnsAndWidthsAreKept()
{
    {
        QSettings settings = programSettings();
        settings.setValue(QStringLiteral("people/columns"), QStringList{"wages", "nosuchColumn", "displayName"});
        settings.setValue(QStringLiteral("people/widths/wages"), 123);
    }
    const auto shownColumns = [](const PeopleFixture& f) {
        QStringList names;
        const QHeaderView* header = f.table().horizontalHeader();
        for (int visual = 0; visual < header->count(); ++visual)
            if (!header->isSectionHidden(header->logicalIndex(visual)))
                names << f.model().headerData(header->logicalIndex(visual), Qt::Horizontal).toString();
        return names;
    };
    {
        PeopleFixture f(rostradb::SampleSize::Tiny);
        QCOMPARE(shownColumns(f), (QStringList{"wages", "displayName"}));
        QHeaderView* header = f.table().horizontalHeader();
        QCOMPARE(header->sectionSize(f.column("wages")), 123);
        header->setSectionHidden(f.column("player.pace"), false);
        header->resizeSection(f.column("displayName"), 77);
        f.people->close();
    }
    PeopleFixture f(rostradb::SampleSize::Tiny);
    QCOMPARE(shownColumns(f), (QStringList{"wages", "displayName", "player.pace"}));
    QCOMPARE(f.table().horizontalHeader()->sectionSize(f.column("displayName")), 77);
    programSettings().remove(QStringLiteral("people"));
}

void TestPeopleWindow::windowAndCommandLineCoreWriteTheSameFile()
{
    const char* filter = "class=2 wages<5000";
    PeopleFixture f;
    f.filter(QLatin1String(filter));
    QVERIFY(f.model().rowCount() > 1);
    f.table().selectAll();
    QVERIFY(f.changeSelected("wages", "Add", QStringLiteral("-700")));
    f.window.Save1Click();
    QCOMPARE(f.errors.messages, QStringList());

    // `rostradb-cli set` of the same filter on a second copy of the game.
    SampleInstallation other(rostradb::SampleSize::Small);
    QCOMPARE(other.staffFileBytes(), SampleInstallation(rostradb::SampleSize::Small).staffFileBytes());
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(rostradb::cli::runCli({"set", other.gameDirectory().toStdString(), filter, "wages-=700"}, out, err),
             rostradb::cli::kSuccess);
    QVERIFY(f.game.staffFileBytes() != SampleInstallation(rostradb::SampleSize::Small).staffFileBytes());
    QCOMPARE(f.game.staffFileBytes(), other.staffFileBytes());
}

QTEST_MAIN(TestPeopleWindow)
#include "test_people_window.moc"
