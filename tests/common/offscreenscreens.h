#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Runs a test on the offscreen platform with the screens the JSON describes
// (its "screens" list), for tests that need a given layout of monitors.
template<class Test>
int execOnScreens(int argc, char *argv[], const QByteArray &screens)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(screens);
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
