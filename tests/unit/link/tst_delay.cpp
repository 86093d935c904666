#include "link/delay.h"
#include "model/timing.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class TestDelay : public QObject
{
    Q_OBJECT

private slots:
    void init() { spk::setTimeScale(0.1); }
    void cleanupTestCase() { spk::setTimeScale(1.0); }

    void servesEventsWhileWaiting()
    {
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(spk::scaled(50));
        QElapsedTimer clock;
        clock.start();
        spk::Delay(500);
        QVERIFY(clock.elapsed() >= spk::scaled(500) - 1);
        QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
    }

    void nestedDelaysEachEnd()
    {
        bool innerDone = false;
        QTimer::singleShot(spk::scaled(50), this, [&] {
            spk::Delay(100);
            innerDone = true;
        });
        spk::Delay(400);
        QVERIFY(innerDone);
    }

    void zeroReturns()
    {
        spk::Delay(0);
        spk::Delay(-5);
    }

    void endsWhenTheApplicationQuits()
    {
        // Runs the application's own loop so that a quit can reach the wait.
        qint64 waited = -1;
        QTimer::singleShot(0, this, [&] {
            QTimer::singleShot(spk::scaled(100), qApp, &QCoreApplication::quit);
            QElapsedTimer clock;
            clock.start();
            spk::Delay(600000);
            waited = clock.elapsed();
        });
        QCoreApplication::exec();
        QVERIFY(waited >= 0);
        QVERIFY2(waited < 30000, qPrintable(QString::number(waited)));
    }
};

int runDelayTests(int argc, char **argv)
{
    TestDelay t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_delay.moc"
