#include "nation/rostradb_nation.h"

#include "db/game_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include <memory>

class TestNationWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { window_ = std::make_unique<Tfrm_nation>(db_); }

    void isAFixedWindowWithThreeTabs()
    {
        QCOMPARE(window_->windowTitle(), QStringLiteral("frm_nation"));
        QVERIFY(!window_->isVisible());
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(tabs()->size(), QSize(465, 253));
        QVERIFY(!window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(tabs()->count(), 3);
        QCOMPARE(tabs()->tabText(0), QStringLiteral("General"));
        QCOMPARE(tabs()->tabText(1), QStringLiteral("Team"));
        QCOMPARE(tabs()->tabText(2), QStringLiteral("Coefficient"));
    }

    void controlsSitOnTheirTabWithTheirLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::newRow("name") << "ed_name" << "QLineEdit" << 0 << "Name";
        QTest::newRow("importance") << "ed_gameim" << "QLineEdit" << 0 << "Importents";
        QTest::newRow("update") << "ed_update" << "QLineEdit" << 0 << "unknown";
        QTest::newRow("stadium") << "cbx_stadium" << "QComboBox" << 0 << "Stadium";
        QTest::newRow("second language") << "cbx_langb" << "QComboBox" << 0 << "Second Language";
        QTest::newRow("development") << "cbx_develp" << "QComboBox" << 0 << "Status";
        QTest::newRow("add") << "btn_add" << "QPushButton" << 0 << QString();
        QTest::newRow("away colour 3") << "cbx_acol3" << "QComboBox" << 1 << "Away colour3";
        QTest::newRow("clubs") << "ed_clubs" << "QLineEdit" << 1 << "Clubs";
        QTest::newRow("first rival") << "cbx_rival1" << "QComboBox" << 1 << "first Rival";
    }

    void controlsSitOnTheirTabWithTheirLabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, tab);
        QFETCH(QString, caption);
        const QList<QWidget*> matches = window_->findChildren<QWidget*>(name);
        QCOMPARE(matches.size(), 1);
        QCOMPARE(QString::fromLatin1(matches.front()->metaObject()->className()), kind);
        QVERIFY(tabs()->widget(tab)->isAncestorOf(matches.front()));
        QStringList labels;
        for (const QLabel* label : window_->findChildren<QLabel*>())
            if (label->buddy() == matches.front())
                labels << label->text();
        QCOMPARE(labels, caption.isNull() ? QStringList() : QStringList{caption});
    }

    void fixedChoiceListsStartWithNone()
    {
        for (const char* name : {"cbx_langa", "cbx_langb", "cbx_langc", "cbx_grpmeb", "cbx_region", "cbx_actreg",
                                 "cbx_develp"}) {
            const auto* box = window_->findChild<QComboBox*>(QLatin1String(name));
            QVERIFY2(box && box->count() >= 2, name);
            QCOMPARE(box->itemText(0), QStringLiteral("-- NONE --"));
            QCOMPARE(box->currentIndex(), 0);
        }
    }

    void coefficientTabHoldsThirteenUnlabelledEdits()
    {
        QWidget* page = tabs()->widget(2);
        const QList<QLineEdit*> edits = page->findChildren<QLineEdit*>();
        QCOMPARE(edits.size(), 13);
        QVERIFY(page->findChildren<QLabel*>().isEmpty());
        for (const QLineEdit* edit : edits)
            QVERIFY2(page->rect().contains(edit->geometry()), qPrintable(edit->objectName()));
    }

private:
    QTabWidget* tabs() const { return window_->findChild<QTabWidget*>(); }

    rostradb::GameDatabase db_;
    std::unique_ptr<Tfrm_nation> window_;
};

QTEST_MAIN(TestNationWindow)
#include "test_nation_window.moc"
