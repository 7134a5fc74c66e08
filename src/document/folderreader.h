#pragma once

#include "zipreader.h"

#include <QString>

// The files of one folder read as the entries of an archive, so that the
// document reader takes a session's moved pieces from its folder as it takes
// them from a file. Only plain names of the folder itself are entries.
class FolderReader : public ZipReader
{
public:
    explicit FolderReader(const QString &strFolder);

    QStringList names() override;
    qint64 declaredSize(const QString &name) override;
    bool read(const QString &name, const Sink &sink) override;
    bool readEvery(const EntrySink &sink) override;
    bool checkEvery() override;

private:
    QString path(const QString &name) const;

    QString folder;
};
