#include <QtTest>

class TestNationWindow : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestNationWindow)
#include "test_nation_window.moc"
