#include "progress/rostradbpos.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QtTest>

#include <limits>
#include <memory>

class TestStatusWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { window_ = std::make_unique<Tfrm_pos>(); }

    void isAFixedUnclosableWindowWithItsDesignTimeContents()
    {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Status"));
        QVERIFY(!window_->isVisible());
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint) && flags.testFlag(Qt::CustomizeWindowHint));
        for (const Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint,
                                            Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
            QVERIFY(!flags.testFlag(button));
        QCOMPARE(window_->minimumSize(), QSize(274, 50));
        QCOMPARE(window_->maximumSize(), QSize(274, 50));

        QCOMPARE(caption()->geometry(), QRect(8, 8, 257, 17));
        QCOMPARE(caption()->text(), QStringLiteral("txt_what"));
        QCOMPARE(caption()->alignment(), Qt::AlignCenter);
        QCOMPARE(caption()->frameStyle(), QFrame::Panel | QFrame::Sunken);
        QCOMPARE(bar()->geometry(), QRect(8, 32, 257, 13));
        QCOMPARE(bar()->maximum(), 100);
        QCOMPARE(bar()->value(), 0);
    }

    void showCentresTheWindowOnTheScreen()
    {
        window_->move(0, 0);
        window_->show();
        QVERIFY(window_->isVisible());
        const QPoint offset =
            window_->frameGeometry().center() - window_->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void valuesWaitForACaptionOrTheNextIntervalAndRunPendingEvents()
    {
        window_->show();
        window_->setMaximum(250);
        window_->setPosition(17);
        QCOMPARE(bar()->value(), 0); // only recorded: a pass sets one per record
        bool pendingRan = false;
        QMetaObject::invokeMethod(this, [&pendingRan] { pendingRan = true; }, Qt::QueuedConnection);
        window_->setCaption("Loading Staff general");
        QCOMPARE(caption()->text(), QStringLiteral("Loading Staff general"));
        QCOMPARE(bar()->maximum(), 250);
        QCOMPARE(bar()->value(), 17);
        QVERIFY(pendingRan);

        window_->setPosition(123);
        pendingRan = false;
        QMetaObject::invokeMethod(this, [&pendingRan] { pendingRan = true; }, Qt::QueuedConnection);
        QTest::qSleep(40);
        window_->pumpEvents();
        QCOMPARE(bar()->value(), 123);
        QVERIFY(pendingRan);
    }

    void pumpMovesTheBarAtMostOncePerInterval()
    {
        window_->show();
        window_->setMaximum(std::numeric_limits<std::int32_t>::max());
        int updates = 0;
        connect(bar(), &QProgressBar::valueChanged, this, [&updates] { ++updates; });
        QElapsedTimer clock;
        clock.start();
        for (std::int32_t position = 1; !clock.hasExpired(80); ++position) {
            window_->setPosition(position);
            window_->pumpEvents();
        }
        const qint64 elapsedMs = clock.elapsed();
        QVERIFY(updates >= 1);
        QVERIFY2(updates <= elapsedMs / 15 + 1, qPrintable(QStringLiteral("%1 in %2 ms").arg(updates).arg(elapsedMs)));
    }

    void eachTableEndsAtItsOwnMaximum_data()
    {
        QTest::addColumn<int>("firstLastIndex");
        QTest::addColumn<int>("secondLastIndex");
        QTest::newRow("smaller after larger") << 5000 << 12;
        QTest::newRow("larger after smaller") << 12 << 5000;
        QTest::newRow("single record") << 300 << 0;
        QTest::newRow("largest maximum") << 3 << std::numeric_limits<std::int32_t>::max();
    }

    // A load's calling pattern, shortened to each table's first and last
    // record; hide must leave the last table's final values on the widgets.
    void eachTableEndsAtItsOwnMaximum()
    {
        QFETCH(int, firstLastIndex);
        QFETCH(int, secondLastIndex);
        window_->show();
        for (const int lastIndex : {firstLastIndex, secondLastIndex}) {
            window_->setCaption("Loading table " + std::to_string(lastIndex));
            window_->setMaximum(lastIndex);
            for (const int position : {0, lastIndex}) {
                window_->setPosition(position);
                window_->pumpEvents();
            }
        }
        window_->hide();
        QVERIFY(!window_->isVisible());
        QCOMPARE(caption()->text(), QStringLiteral("Loading table %1").arg(secondLastIndex));
        QCOMPARE(bar()->maximum(), secondLastIndex);
        QCOMPARE(bar()->value(), secondLastIndex);

        // What is set while hidden stays, and showing again keeps it.
        window_->setMaximum(firstLastIndex);
        window_->setPosition(0);
        window_->show();
        QCOMPARE(caption()->text(), QStringLiteral("Loading table %1").arg(secondLastIndex));
        QCOMPARE(bar()->maximum(), firstLastIndex);
        QCOMPARE(bar()->value(), 0);
    }

private:
    QLabel* caption() const { return window_->findChild<QLabel*>(QStringLiteral("txt_what")); }
    QProgressBar* bar() const { return window_->findChild<QProgressBar*>(QStringLiteral("psb_pos")); }

    std::unique_ptr<Tfrm_pos> window_;
};

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
