#include <QtTest>

class TestCp1252 : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestCp1252)
#include "test_cp1252.moc"
