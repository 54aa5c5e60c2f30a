// File > Save through the real window when the game's files changed behind
// the editor's back: another program's values, a replaced game.

#include "app_test_support.h"

#include "db/data_file.h"

namespace {

// Answers Save's question about changes on disk while an instance lives.
class AnsweredReplaceQuestion {
public:
    AnsweredReplaceQuestion()
    {
        setReplaceQuestionForTesting([this] {
            ++asked;
            if (whileAsked)
                whileAsked();
            return replace;
        });
    }
    ~AnsweredReplaceQuestion() { setReplaceQuestionForTesting({}); }
    int asked = 0;
    bool replace = false;
    std::function<void()> whileAsked; // what happens while the box is open
};

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
    void valueChangedByAnotherProgramIsOnlyReplacedWhenTheUserSaysSo();
    void openLoadsAGameReplacedSinceStartUpByItsOwnDirectory();
    void saveRefusesWhenTheGameWasReplacedSinceTheLoad();
};

void TestSaveChecks::valueChangedByAnotherProgramIsOnlyReplacedWhenTheUserSaysSo()
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

    // ...while another program changes someone else's ambition and a date
    // tail, which the editor does not keep.
    const std::size_t other = person == 0 ? 1 : 0;
    QByteArray elsewhere = loaded;
    elsewhere[static_cast<int>(other * 157 + 87)] = static_cast<char>(elsewhere[static_cast<int>(other * 157 + 87)] ^ 0x21);
    elsewhere[static_cast<int>(other * 157 + 68)] = static_cast<char>(elsewhere[static_cast<int>(other * 157 + 68)] ^ 0x42);
    writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);

    window.Save1Click(); // Cancel
    QCOMPARE(asked.asked, 1);
    QCOMPARE(game.staffFileBytes(), elsewhere);
    QVERIFY(window.hasUnsavedEdits());

    // While the user reads the question, the other program also rewrites a
    // date tail of the person the editor is about to write.
    asked.replace = true;
    const int tail = static_cast<int>(person * 157 + 21);
    asked.whileAsked = [&] {
        elsewhere[tail] = static_cast<char>(elsewhere[tail] ^ 0x18);
        writeFile(game.dataFile(QStringLiteral("staff.dat")), elsewhere);
    };
    window.Save1Click();
    QCOMPARE(asked.asked, 2);
    QByteArray expected = elsewhere; // that date tail included
    expected[static_cast<int>(other * 157 + 87)] = loaded[static_cast<int>(other * 157 + 87)];
    for (int i = 0; i < 4; ++i)
        expected[static_cast<int>(person * 157 + 78) + i] = static_cast<char>(wages >> (8 * i));
    QCOMPARE(game.staffFileBytes(), expected);
    QVERIFY(!window.hasUnsavedEdits());

    window.Save1Click(); // what was saved is the new base: no question
    QCOMPARE(asked.asked, 2);
    QCOMPARE(errors.messages, QStringList());
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
