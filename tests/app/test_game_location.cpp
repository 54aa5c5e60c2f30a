// Where start-up finds things: the game directory (the command line, the
// folder taken last, the setting Location of organisation "Quillmoor Ltd",
// the Wine prefix), the list of folders taken, and the about text. Settings
// live under a private $XDG_CONFIG_HOME (on Windows a private registry key),
// the Wine prefix is $WINEPREFIX.

#include "main/about_text.h"
#include "main/game_location.h"
#include "main/startup_options.h"
#include "private_settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

#ifdef Q_OS_WIN
// The test's own registry key, holding rostradb's settings and the game's.
QSettings privateKey() { return QSettings("HKEY_CURRENT_USER\\Software\\" + privateOrganisation(), QSettings::NativeFormat); }
bool gameSettingsExist() { return privateKey().childGroups().contains(QStringLiteral("Fendra")); }
bool ownSettingsExist() { return privateKey().childGroups().contains(QStringLiteral("rostradb")); }
void removeGameSettings() { privateKey().remove(QStringLiteral("Fendra")); }
#else
QString settingsFile() { return configHome().filePath(QStringLiteral("Quillmoor Ltd/Fendra.conf")); }
bool gameSettingsExist() { return QFile::exists(settingsFile()); }
bool ownSettingsExist() { return QFile::exists(configHome().filePath(QStringLiteral("rostradb/rostradb.conf"))); }
void removeGameSettings() { QFile::remove(settingsFile()); }
#endif

void forgetOwnSettings()
{
    QSettings own = programSettings();
    own.clear();
    own.sync();
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

// A prefix as Wine makes it: drive c: a link to drive_c, holding the game.
QString makeWineGame()
{
    const QDir prefix(winePrefix().path());
    prefix.mkpath(QStringLiteral("drive_c/Games/Fendra/data"));
    writeFile(prefix.filePath(QStringLiteral("drive_c/Games/Fendra/data/index.dat")), "x");
    prefix.mkpath(QStringLiteral("dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix.filePath(QStringLiteral("dosdevices/c:")));
    return QFileInfo(prefix.filePath(QStringLiteral("drive_c/Games/Fendra"))).canonicalFilePath();
}

// The game's settings holding only `location` as Location, or none at all.
void writeLocation(const QVariant& location)
{
    removeGameSettings();
    if (!location.isValid())
        return;
    QSettings settings = gameSettings();
    settings.setValue(QStringLiteral("Location"), location);
    settings.sync();
}

} // namespace

class TestGameLocation : public QObject {
    Q_OBJECT
private slots:
    void readsTheDirectoryExactlyAsStored_data();
    void readsTheDirectoryExactlyAsStored();
    void missingFileOrValueMeansNoDirectory();
    void aValueThatIsNotTextIsRefused();
    void startUpTakesTheFirstSourceThatNamesAFolder_data();
    void startUpTakesTheFirstSourceThatNamesAFolder();
    void recentFoldersKeepTheLastFiveTaken();
    void aGameFolderHoldsTheTableDirectory();
    void aboutTextComesFromTheFirstFolderHoldingIt();
    void aFolderArgumentIsTheGameDirectory();
};

// On Linux the installer's settings file as written, with the text format's
// escapes; on Windows a registry text, which has none.
void TestGameLocation::readsTheDirectoryExactlyAsStored_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");
#ifdef Q_OS_WIN
    for (const char* stored : {"C:\\Games\\Fendra", "C:\\Games\\Fendra\\", "C:\\Games\\Fendra, gold", " D:\\x "})
        QTest::newRow(stored) << QByteArray() << QString::fromLatin1(stored);
#else
    QTest::newRow("plain") << QByteArray("[General]\nLocation=/games/Fendra\n") << QStringLiteral("/games/Fendra");
    QTest::newRow("trailing separator kept")
        << QByteArray("[General]\nLocation=/games/Fendra/\n") << QStringLiteral("/games/Fendra/");
    QTest::newRow("doubled backslashes")
        << QByteArray("[General]\nLocation=C:\\\\Games\\\\Fendra\\\\\n") << QStringLiteral("C:\\Games\\Fendra\\");
    QTest::newRow("quoted, with a comma")
        << QByteArray("[General]\nLocation=\"/games/Fendra, gold\"\n") << QStringLiteral("/games/Fendra, gold");
#endif
}

void TestGameLocation::readsTheDirectoryExactlyAsStored()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);
#ifdef Q_OS_WIN
    writeLocation(expected);
#else
    writeFile(settingsFile(), contents);
#endif
    QCOMPARE(readGameDirectory(), expected);
}

void TestGameLocation::missingFileOrValueMeansNoDirectory()
{
    removeGameSettings();
    gameSettings().setValue(QStringLiteral("SomethingElse"), 1); // written when the settings go
    QCOMPARE(readGameDirectory(), QString());
    removeGameSettings();
    QVERIFY(!gameSettingsExist());
    QCOMPARE(readGameDirectory(), QString());
    QVERIFY(!gameSettingsExist()); // reading never creates them
}

void TestGameLocation::aValueThatIsNotTextIsRefused()
{
    writeLocation(QStringList{"/games/one", "/games/two"}); // a list, not a text
    try {
        readGameDirectory();
        QFAIL("a list was accepted as the game directory");
    } catch (const std::exception& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Invalid data type for 'Location'"));
    }
}

void TestGameLocation::startUpTakesTheFirstSourceThatNamesAFolder_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("taken"); // "game": a folder holding a game; "gone": one that no longer does
    QTest::addColumn<QVariant>("location");
    QTest::addColumn<bool>("wine");
    QTest::addColumn<QString>("expected");
    const QVariant located(QStringLiteral("/games/located"));
#ifdef Q_OS_WIN
    const QString wine; // a Windows program runs where the game runs: there is no Wine prefix to look in
#else
    const QString wine = QStringLiteral("wine");
#endif
    QTest::newRow("command line first") << "/games/cli" << "game" << located << true << "/games/cli";
    QTest::newRow("then the folder taken last") << "" << "game" << located << true << "game";
    QTest::newRow("a folder taken that is gone is passed over") << "" << "gone" << located << true << "/games/located";
    QTest::newRow("then Location, taken as it is") << "" << "" << located << true << "/games/located";
    QTest::newRow("then the Wine prefix") << "" << "" << QVariant() << true << wine;
    QTest::newRow("an empty Location names nothing") << "" << "" << QVariant(QString()) << true << wine;
    QTest::newRow("gone, and nothing else") << "" << "gone" << QVariant() << false << "";
    QTest::newRow("no source at all") << "" << "" << QVariant() << false << "";
}

void TestGameLocation::startUpTakesTheFirstSourceThatNamesAFolder()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, taken);
    QFETCH(QVariant, location);
    QFETCH(bool, wine);
    QFETCH(QString, expected);

    const QTemporaryDir games;
    const QDir root(games.path());
    root.mkpath(QStringLiteral("game/data"));
    writeFile(root.filePath(QStringLiteral("game/data/index.dat")), "x");
    root.mkpath(QStringLiteral("gone"));
    forgetOwnSettings();
    if (!taken.isEmpty())
        rememberGameFolder(root.filePath(taken));
    writeLocation(location);
    const QString wineGame = makeWineGame();
    const QString systemReg = QDir(winePrefix().path()).filePath(QStringLiteral("system.reg"));
    QFile::remove(systemReg);
    if (wine)
        writeFile(systemReg, "WINE REGISTRY Version 2\n\n[Software\\\\Quillmoor Ltd\\\\Fendra] 1\n"
                             "\"Location\"=\"C:\\\\GAMES\\\\Fendra\\\\\"\n");

    const std::optional<QString> given = commandLine.isEmpty() ? std::nullopt : std::optional(commandLine);
    const StartupFolder found = findGameDirectory(given);
    const QString folder = expected == QLatin1String("wine") ? wineGame
                           : expected == QLatin1String("game") ? root.filePath(expected)
                                                               : expected;
    QCOMPARE(found.folder, folder);
    QCOMPARE(found.named, !commandLine.isEmpty() || expected.startsWith(QLatin1String("/games/located")));
    // Only when nothing serves is the folder passed over told.
    const bool told = taken == QLatin1String("gone") && expected.isEmpty();
    QCOMPARE(found.passedOver.isEmpty(), !told);
    QVERIFY(!gameSettingsExist() || location.isValid()); // nothing written to the game's settings
}

void TestGameLocation::recentFoldersKeepTheLastFiveTaken()
{
    forgetOwnSettings();
    QCOMPARE(recentGameFolders(), QStringList());
    for (const char* folder : {"/g/1", "/g/2", "/g/3", "/g/4", "/g/5", "/g/6", "/g/3"})
        rememberGameFolder(QLatin1String(folder));
    QCOMPARE(recentGameFolders(),
             (QStringList{QStringLiteral("/g/3"), QStringLiteral("/g/6"), QStringLiteral("/g/5"),
                          QStringLiteral("/g/4"), QStringLiteral("/g/2")}));
    QVERIFY(ownSettingsExist());
}

void TestGameLocation::aGameFolderHoldsTheTableDirectory()
{
    const QTemporaryDir games;
    const QDir root(games.path());
    root.mkpath(QStringLiteral("good/data"));
    writeFile(root.filePath(QStringLiteral("good/data/index.dat")), "x");
    root.mkpath(QStringLiteral("empty/data"));
    root.mkpath(QStringLiteral("folder/data/index.dat"));
    QVERIFY(holdsGame(root.filePath(QStringLiteral("good"))));
    QVERIFY(!holdsGame(root.filePath(QStringLiteral("empty"))));
    QVERIFY(!holdsGame(root.filePath(QStringLiteral("folder")))); // index.dat must be a file
    QVERIFY(!holdsGame(root.filePath(QStringLiteral("missing"))));
    QVERIFY(!holdsGame(QString()));
#ifndef Q_OS_WIN
    // In other letters, as Windows would find it; but two of them are one too many.
    root.mkpath(QStringLiteral("upper/DATA"));
    writeFile(root.filePath(QStringLiteral("upper/DATA/INDEX.DAT")), "x");
    QVERIFY(holdsGame(root.filePath(QStringLiteral("upper"))));
    writeFile(root.filePath(QStringLiteral("upper/DATA/Index.dat")), "x");
    QVERIFY(!holdsGame(root.filePath(QStringLiteral("upper"))));
    QVERIFY(gameFolderProblem(root.filePath(QStringLiteral("upper"))).contains(QStringLiteral("INDEX.DAT and ")));
#endif
    QVERIFY(notAGameFolderMessage(root.filePath(QStringLiteral("empty"))).contains(QStringLiteral("index.dat")));
}

void TestGameLocation::aboutTextComesFromTheFirstFolderHoldingIt()
{
    const QTemporaryDir tree; // work/, and an installation: bin/ beside share/rostradb/
    const QDir root(tree.path());
    root.mkpath(QStringLiteral("work"));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(root.filePath(QStringLiteral("work")));
    const QStringList folders = aboutTextFolders(bin);
    QCOMPARE(folders.size(), 3);

    writeFile(root.filePath(QStringLiteral("share/rostradb/rostradb.txt")), "installed\n");
    QCOMPARE(readAboutText(folders), QStringList{QStringLiteral("installed")});
    writeFile(root.filePath(QStringLiteral("bin/rostradb.txt")), "beside\nthe program\n");
    QCOMPARE(readAboutText(folders), (QStringList{QStringLiteral("beside"), QStringLiteral("the program")}));
    writeFile(root.filePath(QStringLiteral("work/rostradb.txt")), "my own\n");
    QCOMPARE(readAboutText(folders), QStringList{QStringLiteral("my own")});

    for (const char* copy : {"work/rostradb.txt", "bin/rostradb.txt", "share/rostradb/rostradb.txt"})
        QVERIFY(QFile::remove(root.filePath(QLatin1String(copy))));
    QDir::setCurrent(previous);
    try {
        readAboutText(folders);
        QFAIL("no about text was found, yet none was reported");
    } catch (const std::exception& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Cannot open file rostradb.txt"));
    }
}

// `rostradb FOLDER`, as a desktop entry's %f passes a folder dropped on it.
void TestGameLocation::aFolderArgumentIsTheGameDirectory()
{
    const struct {
        QStringList arguments;
        std::optional<QString> expected;
    } cases[] = {
        {{QStringLiteral("/g/dropped")}, QStringLiteral("/g/dropped")},
        {{QStringLiteral("--game-dir"), QStringLiteral("/g/option")}, QStringLiteral("/g/option")},
        {{QStringLiteral("--game-dir"), QStringLiteral("/g/option"), QStringLiteral("/g/dropped")},
         QStringLiteral("/g/option")},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        QCommandLineParser parser;
        addStartupOptions(parser);
        QVERIFY(parser.parse(QStringList{QStringLiteral("rostradb")} + c.arguments));
        QCOMPARE(startupOptions(parser).gameDirectory, c.expected);
    }
}

int main(int argc, char* argv[])
{
    // Qt settles where settings live on first use: point it at a private
    // folder before anything else runs.
    usePrivateSettings();
    QCoreApplication app(argc, argv);
    TestGameLocation test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_game_location.moc"
