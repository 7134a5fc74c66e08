#pragma once

#include <QString>

// Where the single-instance lock and socket live for a given key. The key
// holds a folder path, so it is hashed into a file name inside a folder
// private to the user (the runtime folder, or a 0700 fallback).
class SingleInstancePaths
{
public:
    explicit SingleInstancePaths(const QString &strKey);

    QString folder() const { return dir; }
    QString lockFile() const { return dir + QStringLiteral("/") + base + QStringLiteral(".lock"); }
    QString socketFile() const
    {
        return dir + QStringLiteral("/") + base + QStringLiteral(".sock");
    }

private:
    QString dir;
    QString base;
};
