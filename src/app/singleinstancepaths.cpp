#include "singleinstancepaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString privateFolder()
{
    // Qt creates a 0700 fallback when XDG_RUNTIME_DIR is unset, and refuses
    // one that belongs to someone else (an empty result).
    QString path = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(path);
    return path;
}

} // namespace

SingleInstancePaths::SingleInstancePaths(const QString &strKey)
    : dir(privateFolder())
{
    const QByteArray hash = QCryptographicHash::hash(strKey.toUtf8(), QCryptographicHash::Sha1);
    base = QStringLiteral("tavelmark-") + QString::fromLatin1(hash.toHex().left(16));
}
