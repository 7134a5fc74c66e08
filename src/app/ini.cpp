#include "ini.h"

#include "appstate.h"
#include "inicodec.h"

#include <QStringList>

namespace {
INI *s_instance = nullptr;
}

INI::INI(const QString &strPath)
    : settings(strPath, IniCodec::format())
{
}

INI *INI::instance()
{
    if (!s_instance)
        s_instance = new INI(AppState::instance().iniPath);
    return s_instance;
}

void INI::release()
{
    delete s_instance;
    s_instance = nullptr;
}

QString INI::value(const QString &strGroup, const QString &strKey, const QString &strDefault)
{
    if (!batch)
        settings.sync();
    const QVariant value = settings.value(strGroup + QLatin1Char('/') + strKey);
    if (!value.isValid())
        return strDefault;
    // A hand-edited list without quotes ("a, b, c") comes back as a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool INI::setValue(const QString &strGroup, const QString &strKey, const QString &strValue)
{
    settings.setValue(strGroup + QLatin1Char('/') + strKey, strValue);
    if (!batch) {
        settings.sync();
        failed = settings.status() != QSettings::NoError;
    }
    return true;
}

void INI::beginBatch()
{
    settings.sync();
    batch = true;
}

bool INI::endBatch()
{
    batch = false;
    settings.sync();
    failed = settings.status() != QSettings::NoError;
    return !failed;
}

bool INI::writeFailed() const
{
    return failed;
}
