#include "moduleloader.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QHash>
#include <QMutex>
#include <QPluginLoader>

namespace {

QMutex &guard()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, QObject *> &loaded()
{
    static QHash<QString, QObject *> modules;
    return modules;
}

// The file's name as the linker wrote it: QPluginLoader would also try the
// bare name first, which could pick up a stray file of that name.
QString fileName(const QString &name)
{
    return QStringLiteral(TAV_MODULE_PREFIX "%1" TAV_MODULE_SUFFIX).arg(name);
}

} // namespace

QStringList ModuleLoader::folders()
{
    QStringList list;
    const QString forced = qEnvironmentVariable("TAV_MODULE_DIR");
    if (!forced.isEmpty())
        list.append(forced);
    const QDir program(QCoreApplication::applicationDirPath());
    list.append(program.absolutePath());
    list.append(QDir::cleanPath(program.filePath(QStringLiteral(TAV_MODULE_SUBDIR))));
    return list;
}

QObject *ModuleLoader::load(const QString &name, QString *why)
{
    const QMutexLocker lock(&guard());
    if (QObject *module = loaded().value(name))
        return module;
    QStringList reasons;
    for (const QString &folder : folders()) {
        const QString path = QDir(folder).filePath(fileName(name));
        if (!QFile::exists(path))
            continue;
        QPluginLoader loader(path);
        if (QObject *module = loader.instance()) {
            // A worker may load it first and end long before the program.
            module->moveToThread(QCoreApplication::instance()->thread());
            loaded().insert(name, module);
            return module;
        }
        reasons.append(loader.errorString());
    }
    if (why)
        *why = reasons.isEmpty()
            ? QStringLiteral("%1 is in none of %2").arg(fileName(name), folders().join(u", "))
            : reasons.join(u"; ");
    return nullptr;
}

bool ModuleLoader::isLoaded(const QString &name)
{
    const QMutexLocker lock(&guard());
    return loaded().contains(name);
}

void ModuleLoader::warnNotLoaded(const char *what, const QString &why)
{
    qWarning().noquote()
        << QStringLiteral("The %1 module could not be loaded:").arg(QLatin1String(what)) << why;
}
