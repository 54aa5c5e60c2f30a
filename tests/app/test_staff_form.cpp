#include <QtTest>

class TestStaffForm : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestStaffForm)
#include "test_staff_form.moc"
