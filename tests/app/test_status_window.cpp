#include <QtTest>

class TestStatusWindow : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
