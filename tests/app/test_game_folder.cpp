// Choosing the game's folder in the main window: start-up with no folder
// known, File > Open asking for one, a folder refused or taken, the list of
// folders taken, and the edits settled before another game replaces them.

#include "app_test_support.h"

#include "main/game_location.h"
#include "private_settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>

namespace {

// The folder dialog while an instance lives: each call answers the next of
// `answers` (cancelled when none is left) and is counted.
class FolderDialog {
public:
    explicit FolderDialog(QStringList answers = {}) : answers_(std::move(answers))
    {
        setFolderChooserForTesting([this](const QString&) {
            ++opened;
            return answers_.isEmpty() ? QString() : answers_.takeFirst();
        });
    }
    ~FolderDialog() { setFolderChooserForTesting({}); }
    int opened = 0;

private:
    QStringList answers_;
};

QStringList recentMenuTexts(Tfrm_main& window)
{
    QStringList texts;
    for (QAction* action : child<QMenu>(&window, "RecentGames1")->actions())
        texts << action->text();
    return texts;
}

} // namespace

class TestGameFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void noFolderKnownStartsQuietlyAndOpenAsksForOne();
    void aFolderWithoutTheGameIsRefused();
    void aFolderTakenIsLoadedRememberedAndUsedNextTime();
    void recentFoldersAreOfferedLastFirst();
    void editsAreSettledBeforeAnotherGameIsTaken();
    void rememberedFoldersThatAreGoneArePassedOver();
    void aStaleWineLocationIsPassedOverQuietly();
    void aDeadRecentFolderIsDroppedWhenPicked();
    void aGameInCapitalsIsTaken();
    void settingsThatCannotBeWrittenAreSaidOnce();
};

void TestGameFolder::init()
{
#ifdef Q_OS_WIN
    QSettings own = programSettings(); // the test's own registry key: usePrivateSettings() moved them
    own.clear();
#else
    QFile::remove(configHome().filePath(QStringLiteral("rostradb/rostradb.conf")));
#endif
}

void TestGameFolder::noFolderKnownStartsQuietlyAndOpenAsksForOne()
{
    SampleInstallation game; // the current folder holds the about text
    CapturedErrors errors;
    Tfrm_main window;
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.gameDirectory(), QString());
    QVERIFY(window.database().directory.empty());
    QVERIFY(!child<QTextEdit>(&window, "mmo_about")->toPlainText().isEmpty());
    auto* choose = child<QPushButton>(&window, "btn_choosegame");
    QVERIFY(!choose->isHidden());
    QCOMPARE(choose->text(), QStringLiteral("Choose the game folder..."));
    QVERIFY(!child<QMenu>(&window, "RecentGames1")->isEnabled());

    FolderDialog dialog; // cancelled: nothing happens, nothing is reported
    window.Open1Click();
    QCOMPARE(dialog.opened, 1);
    choose->click();
    QCOMPARE(dialog.opened, 2);
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.gameDirectory(), QString());
}

void TestGameFolder::aFolderWithoutTheGameIsRefused()
{
    SampleInstallation game;
    CapturedErrors errors;
    // A folder that is named but fails is still reported at start-up.
    const QString notAGame = game.workFolder();
    Tfrm_main window(StartupOptions{notAGame});
    // It has no data/: the box names the folder.
    QCOMPARE(errors.messages, QStringList{QDir::toNativeSeparators(notAGame) + QStringLiteral(": Invalid filename.")});
    QVERIFY(!child<QPushButton>(&window, "btn_choosegame")->isHidden());

    FolderDialog dialog({notAGame});
    window.Open1Click(); // asks rather than failing again
    QCOMPARE(dialog.opened, 1);
    QCOMPARE(errors.messages.size(), 2);
    QCOMPARE(errors.messages.last(), errorBoxText(notAGameFolderMessage(notAGame)));
    QCOMPARE(window.gameDirectory(), notAGame);
    QVERIFY(window.database().staff.empty());
    QCOMPARE(recentGameFolders(), QStringList());
}

void TestGameFolder::aFolderTakenIsLoadedRememberedAndUsedNextTime()
{
    SampleInstallation game;
    CapturedErrors errors;
    {
        Tfrm_main window;
        FolderDialog dialog({game.gameDirectory()});
        child<QAction>(&window, "ChooseGame1")->trigger();
        QCOMPARE(errors.messages, QStringList());
        QCOMPARE(child<QLabel>(&window, "fendradir")->text(), game.gameDirectory());
        QCOMPARE(window.database().directory.size(), std::size_t{22});
        QCOMPARE(window.database().staff.size(), std::size_t{rostradb::sampleCounts(rostradb::SampleSize::Tiny).staff});
        QVERIFY(child<QPushButton>(&window, "btn_choosegame")->isHidden());
        QCOMPARE(recentMenuTexts(window), QStringList{QDir::toNativeSeparators(game.gameDirectory())});
    }
    Tfrm_main next; // the folder taken last is the game directory now
    QCOMPARE(next.gameDirectory(), game.gameDirectory());
    QCOMPARE(next.database().directory.size(), std::size_t{22});

    // --game-dir wins for one run and is not remembered.
    SampleInstallation other;
    Tfrm_main forOneRun(other.options());
    QCOMPARE(forOneRun.gameDirectory(), other.gameDirectory());
    QCOMPARE(recentGameFolders(), QStringList{game.gameDirectory()});
    QCOMPARE(errors.messages, QStringList());
}

void TestGameFolder::recentFoldersAreOfferedLastFirst()
{
    SampleInstallation first;
    SampleInstallation second;
    CapturedErrors errors;
    Tfrm_main window;
    FolderDialog dialog({first.gameDirectory(), second.gameDirectory()});
    window.ChooseGame1Click();
    window.ChooseGame1Click();
    const QStringList offered = recentMenuTexts(window);
    QCOMPARE(offered, (QStringList{QDir::toNativeSeparators(second.gameDirectory()),
                                   QDir::toNativeSeparators(first.gameDirectory())}));

    child<QMenu>(&window, "RecentGames1")->actions().at(1)->trigger();
    QCOMPARE(window.gameDirectory(), first.gameDirectory());
    QCOMPARE(recentGameFolders(), (QStringList{first.gameDirectory(), second.gameDirectory()}));
    QCOMPARE(errors.messages, QStringList());
}

void TestGameFolder::editsAreSettledBeforeAnotherGameIsTaken()
{
    SampleInstallation game;
    SampleInstallation other;
    CapturedErrors errors;
    AnsweredQuestions asked;
    Tfrm_main window(game.options());
    std::size_t person = 0;
    std::uint32_t edited = 0;
    QVERIFY(confirmWagesRaise(window, 3, person, edited));
    const QByteArray otherStaff = other.staffFileBytes();

    window.takeGameFolder(other.gameDirectory()); // Cancel: the game and its edit stay
    QCOMPARE(asked.questions,
             QStringList{QStringLiteral("Save changes to the staff file before changing the game folder?")});
    QCOMPARE(window.gameDirectory(), game.gameDirectory());
    QCOMPARE(window.database().staff[person].wages, edited);
    QCOMPARE(recentGameFolders(), QStringList());

    asked.answer = UnsavedChoice::Save; // saved into the game it was made in
    const QByteArray before = game.staffFileBytes();
    window.takeGameFolder(other.gameDirectory());
    QVERIFY(game.staffFileBytes() != before);
    QCOMPARE(other.staffFileBytes(), otherStaff);
    QCOMPARE(window.gameDirectory(), other.gameDirectory());
    QVERIFY(!window.hasUnsavedEdits());
    QCOMPARE(errors.messages, QStringList());
}

namespace {

QString statusText(Tfrm_main& window) { return child<QLabel>(&window, "lbl_status")->text(); }

// Moves the game's data/ away, as a game uninstalled or on a drive not
// mounted would leave its folder.
void removeGame(const SampleInstallation& game)
{
    QVERIFY(QDir(game.gameDirectory()).rename(QStringLiteral("data"), QStringLiteral("gone")));
}

QString goneMessage(const SampleInstallation& game)
{
    return QDir::toNativeSeparators(game.gameDirectory()) +
           QStringLiteral(" does not hold the game: data/index.dat is missing");
}

void writeSystemReg(const QString& windowsPath)
{
    QFile file(QDir(winePrefix().path()).filePath(QStringLiteral("system.reg")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QString escaped = windowsPath;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    file.write("WINE REGISTRY Version 2\n\n[Software\\\\Quillmoor Ltd\\\\Fendra] 1\n\"Location\"=\"" +
               escaped.toUtf8() + "\"\n");
}

} // namespace

void TestGameFolder::rememberedFoldersThatAreGoneArePassedOver()
{
    SampleInstallation older;
    SampleInstallation last;
    rememberGameFolder(older.gameDirectory());
    rememberGameFolder(last.gameDirectory());
    removeGame(last);
    CapturedErrors errors;
    {
        Tfrm_main window; // the next recent folder serves
        QCOMPARE(window.gameDirectory(), older.gameDirectory());
        QCOMPARE(window.database().directory.size(), std::size_t{22});
    }
    removeGame(older);
    Tfrm_main window; // none serves: the chooser, and the status line says why
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.gameDirectory(), QString());
    QVERIFY(!child<QPushButton>(&window, "btn_choosegame")->isHidden());
    QCOMPARE(statusText(window), goneMessage(last));
    QCOMPARE(recentGameFolders().size(), 2); // a drive not mounted today may be back tomorrow
}

void TestGameFolder::aStaleWineLocationIsPassedOverQuietly()
{
#ifdef Q_OS_WIN
    // A prefix maps its drives with symbolic links in dosdevices/, which
    // QFile::link cannot make on Windows (it makes a .lnk shortcut).
    QSKIP("a Wine prefix's drive links cannot be made on Windows");
#endif
    SampleInstallation about; // only the current folder with the about text
    const QDir prefix(winePrefix().path());
    prefix.mkpath(QStringLiteral("drive_c/Games/Fendra"));
    prefix.mkpath(QStringLiteral("dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix.filePath(QStringLiteral("dosdevices/c:")));
    writeSystemReg(QStringLiteral("C:\\Games\\Fendra")); // uninstalled: no data/ left
    CapturedErrors errors;
    Tfrm_main window;
    QFile::remove(prefix.filePath(QStringLiteral("system.reg")));
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.gameDirectory(), QString());
    const QString folder = QFileInfo(prefix.filePath(QStringLiteral("drive_c/Games/Fendra"))).canonicalFilePath();
    QCOMPARE(statusText(window),
             QDir::toNativeSeparators(folder) + QStringLiteral(" does not hold the game: data/index.dat is missing"));
}

void TestGameFolder::aDeadRecentFolderIsDroppedWhenPicked()
{
    SampleInstallation alive;
    SampleInstallation dead;
    rememberGameFolder(dead.gameDirectory());
    rememberGameFolder(alive.gameDirectory());
    CapturedErrors errors;
    Tfrm_main window;
    QCOMPARE(window.gameDirectory(), alive.gameDirectory());
    removeGame(dead);
    child<QMenu>(&window, "RecentGames1")->actions().at(1)->trigger();
    QCOMPARE(errors.messages, QStringList{errorBoxText(goneMessage(dead) +
                                                       QStringLiteral(". It was taken off File > Recent Game Folders"))});
    QCOMPARE(window.gameDirectory(), alive.gameDirectory());
    QCOMPARE(recentGameFolders(), QStringList{alive.gameDirectory()});
    QCOMPARE(recentMenuTexts(window), QStringList{QDir::toNativeSeparators(alive.gameDirectory())});
}

// Copied from Windows media: DATA/STAFF.DAT and the rest in capitals.
void TestGameFolder::aGameInCapitalsIsTaken()
{
    SampleInstallation game;
    QDir folder(game.gameDirectory());
    QVERIFY(folder.rename(QStringLiteral("data"), QStringLiteral("DATA")));
    QDir data(folder.filePath(QStringLiteral("DATA")));
    for (const QString& name : data.entryList(QDir::Files))
        QVERIFY(data.rename(name, name.toUpper()));
    CapturedErrors errors;
    Tfrm_main window;
    FolderDialog dialog({game.gameDirectory()});
    window.ChooseGame1Click();
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.gameDirectory(), game.gameDirectory());
    QCOMPARE(window.database().staff.size(), std::size_t{rostradb::sampleCounts(rostradb::SampleSize::Tiny).staff});
}

void TestGameFolder::settingsThatCannotBeWrittenAreSaidOnce()
{
#ifdef Q_OS_WIN
    QSKIP("a test cannot make one registry key unwritable");
#endif
    SampleInstallation game;
    SampleInstallation other;
    // A folder where the settings file should be: it cannot be written,
    // not even by root.
    const QString settings = configHome().filePath(QStringLiteral("rostradb/rostradb.conf"));
    QVERIFY(QDir().mkpath(settings));
    CapturedErrors errors;
    Tfrm_main window;
    FolderDialog dialog({game.gameDirectory(), other.gameDirectory()});
    window.ChooseGame1Click();
    QCOMPARE(window.database().directory.size(), std::size_t{22}); // the game is loaded all the same
    const QString message = QStringLiteral("The game folder could not be remembered: %1 is not writable")
                                .arg(QDir::toNativeSeparators(settings));
    QCOMPARE(statusText(window), message);
    window.ChooseGame1Click();
    QVERIFY(statusText(window) != message);
    QCOMPARE(errors.messages, QStringList());
    QVERIFY(QDir(settings).removeRecursively());
}

int main(int argc, char* argv[])
{
    // Private settings and an empty Wine prefix, before Qt settles where
    // settings live: nothing of the machine's own may name a game here.
    usePrivateSettings();
    QApplication app(argc, argv);
    TestGameFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_game_folder.moc"
