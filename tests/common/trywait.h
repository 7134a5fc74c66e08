#pragma once

#include <QtTest>

// Waits until expr holds, at most timeout ms, and then looks no more.
// QTRY_VERIFY looks once again after success and, when the screen was caught
// between two frames that second time (a compositor or a window manager
// redrawing under load), reports the wait as a timeout that was too short.
#define TAV_TRY_VERIFY(expr, timeout)                                                              \
    QVERIFY2(QTest::qWaitFor([&] { return bool(expr); }, timeout),                                 \
             "never true within " #timeout " ms: " #expr)
