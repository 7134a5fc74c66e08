#include "filewriter.h"

#include <QFile>
#include <QSaveFile>

bool FileWriter::write(const QString &strPath, const QByteArray &data,
                       QFileDevice::Permissions permissions)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions)
        file.setPermissions(permissions);
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = file.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            file.cancelWriting();
            break;
        }
        written += n;
    }
    if (written != data.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

bool FileWriter::copy(const QString &strSource, const QString &strTarget)
{
    QFile source(strSource);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    return write(strTarget, data);
}
