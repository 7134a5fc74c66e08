#include "settingsstore.h"

#include "appstate.h"
#include "filewriter.h"
#include "ini.h"
#include "lang.h"
#include "platform/platform.h"
#include "settingentry.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

void createFolder(const QString &strPath, bool privateToUser)
{
    QDir dir(strPath);
    if (!dir.exists()) {
        qDebug().noquote() << "Create:" << strPath;
        if (!dir.mkpath(QStringLiteral(".")))
            qWarning().noquote() << "Cannot create" << strPath;
    }
    // Page files are pictures of the user's desktop.
    if (privateToUser)
        QFile::setPermissions(strPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

void SettingsStore::locate()
{
    AppState &s = AppState::instance();
    s.homePath = QDir::homePath();
    s.dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    createFolder(s.dataFolder, false);
    s.tempFolder = QStringLiteral("%1/%2/").arg(s.dataFolder, QStringLiteral("temp"));
    createFolder(s.tempFolder, true);
    s.iniPath = s.dataFolder + QStringLiteral("/Setting.ini");
    s.bakPath = s.iniPath + QStringLiteral(".bak");

    if (!QFile::exists(s.iniPath)) {
        qDebug().noquote() << "Create null INI:" << s.iniPath;
        QFile file(s.iniPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            qWarning().noquote() << "Cannot create" << s.iniPath;
        return;
    }
    applyBackupRule();
}

// A file whose "Language" is empty is damaged, or carries a pending import;
// either way the backup takes its place. A sound file refreshes the backup.
void SettingsStore::applyBackupRule()
{
    const AppState &s = AppState::instance();
    const QString language = INI::instance()->value(QStringLiteral("UserInterface"),
                                                    QStringLiteral("Language"), QString());
    INI::release();
    if (!language.isEmpty()) {
        FileWriter::copy(s.iniPath, s.bakPath);
    } else if (QFile::exists(s.bakPath)) {
        FileWriter::copy(s.bakPath, s.iniPath);
    }
}

void SettingsStore::load(int logicalDpiX)
{
    AppState &s = AppState::instance();
    INI *ini = INI::instance();
    ini->beginBatch();
    for (const SettingEntry &entry : SettingEntry::table())
        entry.read(s, ini->value(entry.group, entry.key, QString()));
    // No choice stored yet (a first start): speak the desktop's language.
    if (ini->value(QStringLiteral("UserInterface"), QStringLiteral("Language"), QString())
            .isEmpty())
        s.language = Lang::codeForLocale(QLocale::system());
    ini->endBatch();
    INI::release();

    s.mode = 0;
    s.liveDesktop = false;
    computeScaleFactors(logicalDpiX);
    s.compositionAvailable = Platform::instance().isCompositionAvailable();
    qDebug().noquote() << "DwmIsCompositionEnabled:" << (s.compositionAvailable ? "true" : "false");
}

bool SettingsStore::save()
{
    const AppState &s = AppState::instance();
    if (!s.savingEnabled)
        return true;
    INI *ini = INI::instance();
    ini->beginBatch();
    for (const SettingEntry &entry : SettingEntry::table()) {
        if (!entry.savedAtQuit)
            continue;
        QString value = entry.write(s);
        if (entry.key == QLatin1String("Language") && s.importPending)
            value = QString();
        ini->setValue(entry.group, entry.key, value);
    }
    const bool failed = !ini->endBatch();
    INI::release();
    if (failed)
        qWarning().noquote() << "Cannot write" << s.iniPath;
    return !failed;
}

bool SettingsStore::writeNow(const QString &strKey, const QString &strValue)
{
    INI *ini = INI::instance();
    ini->setValue(QStringLiteral("UserInterface"), strKey, strValue);
    const bool ok = !ini->writeFailed();
    INI::release();
    return ok;
}

bool SettingsStore::exportTo(const QString &strPath)
{
    AppState &s = AppState::instance();
    s.savingEnabled = true;
    s.importPending = false;
    return save() && FileWriter::copy(s.iniPath, strPath);
}

bool SettingsStore::importFrom(const QString &strPath)
{
    AppState &s = AppState::instance();
    if (!FileWriter::copy(strPath, s.bakPath))
        return false;
    s.savingEnabled = true;
    s.importPending = true;
    return true;
}

void SettingsStore::computeScaleFactors(int logicalDpiX)
{
    AppState &s = AppState::instance();
    const double dpi = logicalDpiX > 0 ? logicalDpiX : 96;
    s.scaleFactor1 = 96.0 / dpi;
    s.scaleFactor2 = dpi / 192.0;
}

bool SettingsStore::removeTemporaryFolder()
{
    const QString path = AppState::instance().tempFolder;
    return path.isEmpty() || QDir(path).removeRecursively();
}
