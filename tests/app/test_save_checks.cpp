// File > Save through the real window when the game's files changed behind
// the editor's back: another program's values merged or put to the user, a
// replaced game, a save cut short, a load that stopped part-way.

#include "app_test_support.h"

#include "db/data_file.h"
#include "db/file_system.h"
#include "db/little_endian.h"
#include "db/loaders.h"
#include "db/save_journal.h"
#include "db/staff_writer.h"

#include <QLabel>

namespace {

// Answers Save's question about conflicts while an instance lives.
class AnsweredReplaceQuestion {
public:
    AnsweredReplaceQuestion()
    {
        setConflictQuestionForTesting([this](const QString& conflicts) {
            ++asked;
            lastConflicts = conflicts;
            if (whileAsked)
                whileAsked();
            return replace;
        });
    }
    ~AnsweredReplaceQuestion() { setConflictQuestionForTesting({}); }
    int asked = 0;
    bool replace = false;
    QString lastConflicts;
    std::function<void()> whileAsked; // what happens while the box is open
};

// Information boxes shown while an instance lives.
class CapturedInformation {
public:
    CapturedInformation()
    {
        setInformationReporterForTesting([this](const QString& text) { messages.append(text); });
    }
    ~CapturedInformation() { setInformationReporterForTesting({}); }
    QStringList messages;
};

void put32(QByteArray& bytes, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSaveChecks : public QObject {
    Q_OBJECT
private slots:
    void anotherProgramsValuesAreKeptAndOnlyConflictsAreAsked();
    void typingKeptAtSaveStaysWhenSaveTakesInAValue();
    void anInterruptedSaveIsUndoneByOpenAndSaid();
    void aLoadThatStoppedPartWayCannotBeSaved();
    void openLoadsAGameReplacedSinceStartUpByItsOwnDirectory();
    void saveRefusesWhenTheGameWasReplacedSinceTheLoad();
};

void TestSaveChecks::anotherProgramsValuesAreKeptAndOnlyConflictsAreAsked()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    AnsweredReplaceQuestion asked;
    Tfrm_main window(game.options());
    window.Open1Click();
    const QByteArray loaded = game.staffFileBytes();

    // The user raises one person's wages...
    const std::size_t person = personOfClass(window.database(), 2, true);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    const std::uint32_t wages = window.database().staff[person].wages + 1000;
    child<QLineEdit>(&window, "ed_wages")->setText(QString::number(wages));
    window.Button1Click();

    // ...while another program changes someone else's ambition, the shown
    // person's ambition (a value the user left alone) and a date tail: no
    // question for those.
    const int other = static_cast<int>(person == 0 ? 1 : 0) * 157;
    const int at = static_cast<int>(person) * 157;
    QByteArray elsewhere = loaded;
    elsewhere[other + 87] = static_cast<char>(elsewhere[other + 87] ^ 0x21);
    elsewhere[at + 87] = static_cast<char>(elsewhere[at + 87] ^ 0x03);
    elsewhere[other + 68] = static_cast<char>(elsewhere[other + 68] ^ 0x42);
    writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);
    window.Save1Click();
    QCOMPARE(asked.asked, 0);
    QByteArray expected = elsewhere;
    put32(expected, at + 78, wages);
    QCOMPARE(game.staffFileBytes(), expected);
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(window.history().stepCount(), std::size_t{1}); // taking a value in is no step
    QCOMPARE(child<QLineEdit>(&window, "ed_ambi")->text(),
             QString::number(static_cast<std::uint8_t>(elsewhere[at + 87])));
    QCOMPARE(child<QLabel>(&window, "lbl_status")->text(), QStringLiteral("No unsaved changes"));

    // Now both change the person's wages: Cancel writes nothing.
    child<QLineEdit>(&window, "ed_wages")->setText(QString::number(wages + 1));
    window.Button1Click();
    elsewhere = expected;
    put32(elsewhere, at + 78, 7);
    writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);
    window.Save1Click();
    QCOMPARE(asked.asked, 1);
    QCOMPARE(asked.lastConflicts, displayName(window.database(), person) +
                                      QStringLiteral(": Wages: on disk 7, in the editor ") +
                                      QString::number(wages + 1));
    QCOMPARE(game.staffFileBytes(), elsewhere);
    QVERIFY(window.hasUnsavedEdits());

    // Save: the editor's value wins; while the question stands open the
    // other program also rewrites a date tail, which the save keeps.
    asked.replace = true;
    asked.whileAsked = [&] {
        elsewhere[at + 21] = static_cast<char>(elsewhere[at + 21] ^ 0x18);
        writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);
    };
    window.Save1Click();
    QCOMPARE(asked.asked, 2);
    expected = elsewhere; // that date tail included
    put32(expected, at + 78, wages + 1);
    QCOMPARE(game.staffFileBytes(), expected);
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(errors.messages, QStringList());
}

// Asked before saving, the user kept the typing in the form (No); a value
// another program changed for the same person is then taken in, and the
// refill of its box must not drop what stands typed in the others.
void TestSaveChecks::typingKeptAtSaveStaysWhenSaveTakesInAValue()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    ConfirmAnswers confirm;
    confirm.answer = ConfirmChoice::Skip;
    Tfrm_main window(game.options());
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 2, true);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    child<QLineEdit>(&window, "ed_wages")->setText(QString::number(window.database().staff[person].wages + 1000));
    window.Button1Click();
    child<QLineEdit>(&window, "ed_value")->setText(QStringLiteral("12345"));

    QByteArray elsewhere = game.staffFileBytes();
    const int at = static_cast<int>(person) * 157;
    elsewhere[at + 87] = static_cast<char>(elsewhere[at + 87] ^ 0x03); // ambition
    writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);
    window.Save1Click();
    QCOMPARE(confirm.questions.size(), 1);
    QCOMPARE(child<QLineEdit>(&window, "ed_ambi")->text(),
             QString::number(static_cast<std::uint8_t>(elsewhere[at + 87])));
    QCOMPARE(child<QLineEdit>(&window, "ed_value")->text(), QStringLiteral("12345"));
    QCOMPARE(errors.messages, QStringList());
}

void TestSaveChecks::anInterruptedSaveIsUndoneByOpenAndSaid()
{
    SampleInstallation game(rostradb::SampleSize::Tiny);
    CapturedErrors errors;
    CapturedInformation told;
    const QByteArray original = game.staffFileBytes();
    // A save that wrote its journal and part of staff.dat, then died.
    {
        rostradb::GameDatabase db;
        rostradb::SilentProgress quiet;
        rostradb::readDirectoryAndLoad(db, game.gameDirectory().toStdString(), quiet);
        rostradb::JournalHeader header;
        header.staffSize = static_cast<std::uint64_t>(original.size());
        header.entries = {db.directory.at(7), db.directory.at(9), db.directory.at(10)};
        const std::vector<std::uint8_t> old(original.begin() + 157, original.begin() + 314);
        std::vector<std::uint8_t> saved = old;
        saved[80] ^= 0x7F;
        rostradb::writeSaveJournal(rostradb::realFileSystem(), game.gameDirectory().toStdString(), header,
                                   {{157, old, saved}});
    }
    QByteArray halfSaved = original;
    halfSaved[157 + 80] = static_cast<char>(halfSaved[157 + 80] ^ 0x7F);
    writeFile(game.dataFile(QStringLiteral("staff.dat")), halfSaved);

    Tfrm_main window(game.options());
    window.Open1Click();
    QCOMPARE(told.messages, QStringList{QString::fromUtf8(rostradb::kSaveUndone)});
    QCOMPARE(game.staffFileBytes(), original);
    QVERIFY(!QFile::exists(game.dataFile(QStringLiteral("staff.dat-journal"))));
    QCOMPARE(window.database().staff[1].wages,
             rostradb::le::u32(reinterpret_cast<const std::uint8_t*>(original.constData()) + 157 + 78));
    QCOMPARE(errors.messages, QStringList());

    // A journal that never reached the disk (zeros) is removed with a note
    // in the status line, and nothing else is said.
    writeFile(game.dataFile(QStringLiteral("staff.dat-journal")), QByteArray(400, '\0'));
    window.Open1Click();
    QVERIFY(!QFile::exists(game.dataFile(QStringLiteral("staff.dat-journal"))));
    QVERIFY(
        child<QLabel>(&window, "lbl_status")->text().contains(QString::fromUtf8(rostradb::kIncompleteJournalRemoved)));
    QCOMPARE(told.messages.size(), 1);
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(game.staffFileBytes(), original);
}

void TestSaveChecks::aLoadThatStoppedPartWayCannotBeSaved()
{
    SampleInstallation game(rostradb::SampleSize::Tiny);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Save1Click(); // before any Open
    QCOMPARE(errors.messages, QStringList{QStringLiteral("List index out of bounds (0).")});

    // The club table is cut short: everything else loads.
    QFile clubs(game.dataFile(QStringLiteral("club.dat")));
    QVERIFY(clubs.resize(10));
    window.Open1Click();
    QCOMPARE(child<QLabel>(&window, "lbl_status")->text(),
             QStringLiteral("Not completely loaded: changes cannot be saved"));
    const QByteArray before = game.staffFileBytes();
    const std::size_t person = personOfClass(window.database(), 1);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    child<QLineEdit>(&window, "ed_wages")->setText(QStringLiteral("4242"));
    window.Button1Click(); // the commit still works on memory
    QCOMPARE(window.database().staff[person].wages, 4242u);
    errors.messages.clear();
    window.Save1Click();
    QCOMPARE(errors.messages, QStringList{QString::fromUtf8(rostradb::kNotCompletelyLoaded)});
    QCOMPARE(game.staffFileBytes(), before);
}

void TestSaveChecks::openLoadsAGameReplacedSinceStartUpByItsOwnDirectory()
{
    SampleInstallation game(rostradb::SampleSize::Tiny);
    CapturedErrors errors;
    Tfrm_main window(game.options()); // reads the tiny game's directory
    rostradb::writeSampleGame(game.gameDirectory().toStdString(), rostradb::SampleSize::Small, 3);
    const QByteArray replaced = game.staffFileBytes();

    window.Open1Click();
    QCOMPARE(errors.messages, QStringList());
    rostradb::TableDirectory current;
    current.read(game.dataFile(QStringLiteral("index.dat")).toStdString());
    QCOMPARE(window.database().staff.size(), current.at(7).recordCount());
    QCOMPARE(window.database().players.size(), current.at(10).recordCount());

    window.Save1Click();
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(game.staffFileBytes(), replaced);
}

void TestSaveChecks::saveRefusesWhenTheGameWasReplacedSinceTheLoad()
{
    SampleInstallation game(rostradb::SampleSize::Tiny);
    CapturedErrors errors;
    AnsweredReplaceQuestion asked;
    asked.replace = true;
    Tfrm_main window(game.options());
    window.Open1Click();
    const std::size_t person = personOfClass(window.database(), 1);
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    child<QLineEdit>(&window, "ed_wages")->setText(QStringLiteral("4242"));
    window.Button1Click();

    rostradb::writeSampleGame(game.gameDirectory().toStdString(), rostradb::SampleSize::Small, 3);
    const QByteArray replaced = game.staffFileBytes();
    window.Save1Click();
    QCOMPARE(errors.messages,
             QStringList{QStringLiteral("The game's table directory has changed since the database was loaded; "
                                        "load it again before saving.")});
    QCOMPARE(asked.asked, 0);
    QCOMPARE(game.staffFileBytes(), replaced);
    QVERIFY(window.hasUnsavedEdits());
}

QTEST_MAIN(TestSaveChecks)
#include "test_save_checks.moc"
