#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// What a helper command prints, or nothing when it fails or hangs.
inline QByteArray commandOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}
