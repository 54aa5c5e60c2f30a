// The game directory comes from the settings file of organisation
// "Quillmoor Ltd", application "Fendra", under $XDG_CONFIG_HOME.

#include "game_location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QTemporaryDir& configHome()
{
    static QTemporaryDir dir;
    return dir;
}

QString settingsFile() { return configHome().filePath(QStringLiteral("Quillmoor Ltd/Fendra.conf")); }

void writeSettings(const QByteArray& contents)
{
    QDir().mkpath(configHome().filePath(QStringLiteral("Quillmoor Ltd")));
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

} // namespace

class TestGameLocation : public QObject {
    Q_OBJECT
private slots:
    void readsTheDirectoryExactlyAsStored_data();
    void readsTheDirectoryExactlyAsStored();
    void missingFileOrValueMeansNoDirectory();
    void aValueThatIsNotTextIsRefused();
};

void TestGameLocation::readsTheDirectoryExactlyAsStored_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("[General]\nLocation=/games/Fendra\n") << QStringLiteral("/games/Fendra");
    QTest::newRow("trailing separator kept")
        << QByteArray("[General]\nLocation=/games/Fendra/\n") << QStringLiteral("/games/Fendra/");
    QTest::newRow("doubled backslashes")
        << QByteArray("[General]\nLocation=C:\\\\Games\\\\Fendra\\\\\n") << QStringLiteral("C:\\Games\\Fendra\\");
    QTest::newRow("quoted, with a comma")
        << QByteArray("[General]\nLocation=\"/games/Fendra, gold\"\n") << QStringLiteral("/games/Fendra, gold");
}

void TestGameLocation::readsTheDirectoryExactlyAsStored()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);
    writeSettings(contents);
    QCOMPARE(readGameDirectory(), expected);
}

void TestGameLocation::missingFileOrValueMeansNoDirectory()
{
    writeSettings("[General]\nSomethingElse=1\n");
    QCOMPARE(readGameDirectory(), QString());
    QVERIFY(QFile::remove(settingsFile()));
    QCOMPARE(readGameDirectory(), QString());
    QVERIFY(!QFile::exists(settingsFile())); // reading never creates the file
}

void TestGameLocation::aValueThatIsNotTextIsRefused()
{
    writeSettings("[General]\nLocation=/games/one, /games/two\n"); // a list, not a text
    try {
        readGameDirectory();
        QFAIL("a list was accepted as the game directory");
    } catch (const std::exception& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Invalid data type for 'Location'"));
    }
}

int main(int argc, char* argv[])
{
    // Qt settles where settings live on first use: point it at a private
    // folder before anything else runs.
    qputenv("XDG_CONFIG_HOME", configHome().path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    TestGameLocation test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_game_location.moc"
