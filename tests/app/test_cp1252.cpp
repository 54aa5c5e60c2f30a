#include "common/cp1252.h"

#include <QSet>
#include <QStringDecoder>
#include <QtTest>

#include <string>

using namespace std::string_literals;

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteIsOneDistinctCharacterAndComesBack()
    {
        std::string bytes;
        for (int byte = 0; byte < 256; ++byte)
            bytes.push_back(static_cast<char>(byte));
        const QString text = fromGameText(bytes);
        QCOMPARE(text.size(), 256);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
        for (int byte = 0; byte < 256; ++byte) {
            if (byte < 0x80 || byte > 0x9F)
                QCOMPARE(int(text.at(byte).unicode()), byte);
            QCOMPARE(toGameText(text.mid(byte, 1)), std::optional(bytes.substr(byte, 1)));
        }
        QCOMPARE(toGameText(text), std::optional(bytes));
    }

    void windowsBytesAreItsOwnCharacters_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("codePoint");
        QTest::newRow("euro sign") << 0x80 << 0x20AC;
        QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
        QTest::newRow("S caron") << 0x8A << 0x0160;
        QTest::newRow("undefined 0x90") << 0x90 << 0x0090;
        QTest::newRow("en dash") << 0x96 << 0x2013;
        QTest::newRow("undefined 0x9D") << 0x9D << 0x009D;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    }

    void windowsBytesAreItsOwnCharacters()
    {
        QFETCH(int, byte);
        QFETCH(int, codePoint);
        const std::string bytes = {'<', static_cast<char>(byte), '>'};
        QCOMPARE(fromGameText(bytes), QStringLiteral("<%1>").arg(QChar(codePoint)));
        QCOMPARE(toGameText(fromGameText(bytes)), std::optional(bytes));
    }

    // An independent table; it has nothing for the five undefined bytes.
    void agreesWithTheSystemCodec()
    {
        QStringDecoder decoder("windows-1252");
        if (!decoder.isValid())
            QSKIP("this Qt has no Windows-1252 codec");
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
                continue;
            const QByteArray single(1, static_cast<char>(byte));
            QCOMPARE(fromGameText(single.toStdString()), decoder.decode(single));
        }
    }

    void unmappableTextGivesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("C1 control the code page replaced") << QStringLiteral(u"Ab\u0080c");
        QTest::newRow("A macron, just past Latin-1") << QStringLiteral(u"\u0100");
        QTest::newRow("one stranger among mappable text") << QStringLiteral(u"\u20AC caf\u00E9 \u0107");
        QTest::newRow("beyond the basic plane") << QStringLiteral(u"x\U0001F600");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    }

    void unmappableTextGivesNothing()
    {
        QFETCH(QString, text);
        QCOMPARE(toGameText(text), std::nullopt);
    }

    void zeroBytesAndEmptyTextPassThrough()
    {
        const std::string withZeros = "Jo\0\x80\0"s;
        const QString text = fromGameText(withZeros);
        QCOMPARE(text, QStringLiteral(u"Jo\u0000\u20AC\u0000"));
        QCOMPARE(text.size(), 5);
        QCOMPARE(toGameText(text), std::optional(withZeros));
        QVERIFY(fromGameText({}).isEmpty());
        QCOMPARE(toGameText(QString()), std::optional(std::string()));
    }
};

QTEST_MAIN(TestCp1252)
#include "test_cp1252.moc"
