#include "document/pagejobs.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSet>
#include <QtTest>

#include <atomic>

// Jobs run on workers, come back in page order, never run far ahead of the
// taker, and stop when told.
class TestPageJobs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resultsComeInOrderAndStayFewAhead()
    {
        constexpr int Window = 3;
        std::atomic<int> furthest { -1 };
        QMutex mutex;
        QSet<QThread *> threads;
        PageJobs<int> jobs(
            40,
            [&](int i) {
                int seen = furthest.load();
                while (seen < i && !furthest.compare_exchange_weak(seen, i)) { }
                QMutexLocker lock(&mutex);
                threads.insert(QThread::currentThread());
                return i * i;
            },
            Window);
        for (int i = 0; i < 40; ++i) {
            const std::optional<int> result = jobs.take(i);
            QVERIFY(result);
            QCOMPARE(*result, i * i);
            QVERIFY2(furthest.load() < i + Window, qPrintable(QString::number(furthest.load())));
        }
        QVERIFY(!jobs.take(40));
        QVERIFY(!threads.contains(QThread::currentThread()));
    }

    void stoppingDropsThePagesNotTaken()
    {
        std::atomic<int> ran { 0 };
        PageJobs<QByteArray> jobs(
            100,
            [&](int i) {
                ++ran;
                return QByteArray::number(i);
            },
            4);
        QCOMPARE(jobs.take(0).value_or(QByteArray()), QByteArray("0"));
        QCOMPARE(jobs.take(1).value_or(QByteArray()), QByteArray("1"));
        jobs.stop();
        QVERIFY(jobs.isStopped());
        QVERIFY(!jobs.take(2));
        QVERIFY(!jobs.take(3));
        QVERIFY(ran.load() <= 2 + 4);
    }
};

QTEST_GUILESS_MAIN(TestPageJobs)
#include "test_pagejobs.moc"
