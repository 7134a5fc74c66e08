#pragma once

#include <QString>

// Something loaded from a file. load is called once, on a fresh object, and
// never throws: a file that cannot be used leaves an empty picture. release
// frees what load created and may be called any number of times.
class Resource
{
public:
    virtual ~Resource() = default;

    QString path;

    virtual void load(const QString &path) = 0;
    virtual void release() = 0;
};
