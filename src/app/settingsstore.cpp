#include "settingsstore.h"

#include "appstate.h"
#include "filewriter.h"
#include "ini.h"
#include "inicodec.h"
#include "lang.h"
#include "settingentry.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
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

QString fullKey(const SettingEntry &entry)
{
    return entry.group + QLatin1Char('/') + entry.key;
}

// The text stored for a key, or a null string when it is missing.
QString storedText(const IniCodec::Result &file, const QString &strKey)
{
    const auto it = file.values.constFind(strKey);
    if (it == file.values.cend())
        return QString();
    if (it->metaType().id() == QMetaType::QStringList)
        return it->toStringList().join(QLatin1Char(','));
    return it->toString();
}

// Only such a file may become the backup: every line read, every key the
// quit save writes present, every value valid.
bool isClean(const IniCodec::Result &file)
{
    if (file.damaged || file.tooLarge)
        return false;
    for (const SettingEntry &entry : SettingEntry::table()) {
        const QString text = storedText(file, fullKey(entry));
        if (text.isNull() ? entry.savedAtQuit : !entry.accepts(text))
            return false;
    }
    return true;
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

    if (QFileInfo::exists(s.iniPath)) {
        applyBackupRule();
    } else {
        qDebug().noquote() << "Create null INI:" << s.iniPath;
        QFile file(s.iniPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            qWarning().noquote() << "Cannot create" << s.iniPath;
    }
    checkWritable();
}

// Told at the start, while the user can still do something about it: at
// quit every change of the run would be lost without a word.
void SettingsStore::checkWritable()
{
    AppState &s = AppState::instance();
    const QFileInfo folder(s.dataFolder);
    const QFileInfo file(s.iniPath);
    // The file is replaced through a new one beside it: the folder must take
    // new files, and the file itself must be one that may be written.
    if (folder.isDir() && folder.isWritable() && file.isFile() && file.isWritable())
        return;
    qWarning().noquote() << "Cannot write" << s.iniPath;
    s.unsavedSettingsTold = true;
    s.startNotices.append({ QStringLiteral("The settings cannot be saved in %1: changes made "
                                           "now will not be kept."),
                            QDir::toNativeSeparators(s.iniPath) });
}

// A present but empty "Language" marks a pending import: the backup takes
// the file's place. Only a clean file refreshes the backup; a damaged one is
// read for what it holds and the backup stays until a clean save.
void SettingsStore::applyBackupRule()
{
    AppState &s = AppState::instance();
    const IniCodec::Result current = IniCodec::readFile(s.iniPath);
    if (current.tooLarge) {
        qWarning().noquote() << "Too large, not read:" << s.iniPath;
        s.startNotices.append({ QStringLiteral("The settings file %1 is larger than %2 KB and "
                                               "was not read; the settings of its backup are "
                                               "used."),
                                QDir::toNativeSeparators(s.iniPath),
                                QString::number(IniCodec::MaxFileBytes / 1024) });
        return;
    }
    const QString language = storedText(current, QStringLiteral("UserInterface/Language"));
    if (!language.isNull() && language.trimmed().isEmpty()) {
        if (QFile::exists(s.bakPath) && !IniCodec::readFile(s.bakPath).tooLarge)
            FileWriter::copy(s.bakPath, s.iniPath);
    } else if (isClean(current)) {
        // A backup that already holds these settings is left alone: a start
        // then writes nothing to the disk.
        const IniCodec::Result backup = IniCodec::readFile(s.bakPath);
        if (backup.damaged || backup.tooLarge || backup.values != current.values
            || !QFile::exists(s.bakPath))
            FileWriter::copy(s.iniPath, s.bakPath);
    } else {
        qWarning().noquote() << "Damaged:" << s.iniPath << "- missing values come from"
                             << s.bakPath;
    }
}

void SettingsStore::load(int logicalDpiX)
{
    AppState &s = AppState::instance();
    // What a damaged or refused file lost, and every value that would have
    // to be repaired (clamped, defaulted), comes from the backup: a repaired
    // value saved at quit would otherwise become the backup at the next start.
    const IniCodec::Result current = IniCodec::readFile(s.iniPath);
    const IniCodec::Result backup = IniCodec::readFile(s.bakPath);
    for (const SettingEntry &entry : SettingEntry::table()) {
        QString text = storedText(current, fullKey(entry));
        const QString fallback = storedText(backup, fullKey(entry));
        if (text.isNull() || (!entry.accepts(text) && entry.accepts(fallback)))
            text = fallback;
        entry.read(s, text);
    }
    // No choice stored yet (a first start): speak the desktop's language.
    const QString languageKey = QStringLiteral("UserInterface/Language");
    if (storedText(current, languageKey).isEmpty() && storedText(backup, languageKey).isEmpty())
        s.language = Lang::codeForLocale(QLocale::system());

    computeScaleFactors(logicalDpiX);
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
