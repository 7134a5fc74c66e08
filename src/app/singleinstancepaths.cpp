#include "singleinstancepaths.h"

#include <QCryptographicHash>
#include <QStandardPaths>

QStringList SingleInstancePaths::folders()
{
    // Qt creates a 0700 runtime fallback when XDG_RUNTIME_DIR is unset, and
    // refuses one that belongs to someone else (an empty result).
    QStringList list;
    for (const auto location :
         { QStandardPaths::RuntimeLocation, QStandardPaths::AppLocalDataLocation }) {
        const QString path = QStandardPaths::writableLocation(location);
        if (!path.isEmpty() && !list.contains(path))
            list.append(path);
    }
    return list;
}

SingleInstancePaths::SingleInstancePaths(const QString &strKey, const QString &strFolder)
    : dir(strFolder)
{
    const QByteArray hash = QCryptographicHash::hash(strKey.toUtf8(), QCryptographicHash::Sha1);
    base = QStringLiteral("tavelmark-") + QString::fromLatin1(hash.toHex().left(16));
}
