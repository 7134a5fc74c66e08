#include "sessionrecovery.h"

#include "app/lang.h"
#include "document/documentreader.h"
#include "document/sessionreader.h"
#include "document/sessionwriter.h"
#include "widgets/messageboxdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

SessionRecovery::SessionRecovery(const QString &strDataFolder)
    : folder(strDataFolder)
{
}

void SessionRecovery::prepare(const QString &strTempFolder)
{
    const bool leftOver = QFileInfo::exists(recoveredFolder());
    if (!hasSession()) {
        if (leftOver)
            QDir(recoveredFolder()).removeRecursively();
        return;
    }
    // A session left while an earlier one was still unanswered keeps the
    // pictures moved aside then: this run's temporary folder is new.
    if (leftOver || !QFileInfo::exists(strTempFolder))
        return;
    if (QDir().rename(strTempFolder, recoveredFolder())) {
        QDir().mkpath(strTempFolder);
        QFile::setPermissions(strTempFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

bool SessionRecovery::hasSession() const
{
    return hasFolderSession() || QFileInfo(oldSessionFile()).isFile();
}

bool SessionRecovery::hasFolderSession() const
{
    return QFileInfo(indexFile()).isFile();
}

QString SessionRecovery::indexFile() const
{
    return sessionFolder() + QLatin1Char('/') + QLatin1String(SessionWriter::IndexName);
}

QList<MainPage *> SessionRecovery::read()
{
    DocumentReader reader(recoveredFolder());
    const QList<MainPage *> pages = hasFolderSession()
        ? SessionReader::read(sessionFolder(), &reader)
        : reader.read(oldSessionFile());
    failure = reader.error();
    remarks = reader.notes();
    savedAs = reader.documentPath();
    return pages;
}

QDateTime SessionRecovery::savedAt() const
{
    return QFileInfo(hasFolderSession() ? indexFile() : oldSessionFile()).lastModified();
}

QMessageBox::StandardButton SessionRecovery::askToRestore(QWidget *pParent, int count,
                                                          const QDateTime &when)
{
    const QString saved = QLocale().toString(when, QLocale::ShortFormat);
    const QString detail = count == 1
        ? Lang::single("MessageBox",
                       QStringLiteral("1 page, last saved %1. Restore it? No discards it."))
              .arg(saved)
        : Lang::single("MessageBox",
                       QStringLiteral("%1 pages, last saved %2. Restore them? No discards them."))
              .arg(count)
              .arg(saved);
    MessageBoxDialog box(pParent, QStringLiteral("Tavelmark did not close normally last time."),
                         detail, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return QMessageBox::StandardButton(box.exec());
}

void SessionRecovery::finish(bool restored)
{
    QFile::remove(oldSessionFile());
    if (!restored)
        SessionWriter(sessionFolder()).remove();
    QDir(recoveredFolder()).removeRecursively();
}
