#pragma once

#include <QDateTime>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class MainPage;
class QWidget;

// The session left by a run that did not close normally: its folder in the
// data folder (or the single file an earlier version wrote, offered back
// once) and, moved aside at start before any page is made, the temporary
// folder whose pictures it names. They stay until the user has answered
// whether to restore the session.
class SessionRecovery
{
public:
    explicit SessionRecovery(const QString &strDataFolder);

    QString sessionFolder() const { return folder + QStringLiteral("/session"); }
    QString oldSessionFile() const { return folder + QStringLiteral("/session.tavelmark"); }
    QString recoveredFolder() const { return folder + QStringLiteral("/recovered"); }

    // Called before the first page: keeps the pictures of a left session out
    // of the way of the pages this run makes.
    void prepare(const QString &strTempFolder);
    bool hasSession() const;
    // The pages of the left session (owned by the caller), and when it was
    // last written. Empty when it could not be read.
    QList<MainPage *> read();
    QDateTime savedAt() const;
    QString error() const { return failure; }
    // English texts of what the reader left out of the pages it read.
    QStringList notes() const { return remarks; }
    // Where the restored pages were last saved as a document, if anywhere.
    QString documentPath() const { return savedAs; }
    // Asks whether to restore `count` pages saved at `when`.
    static QMessageBox::StandardButton askToRestore(QWidget *pParent, int count,
                                                    const QDateTime &when);
    // The question is answered: the moved pictures and an earlier version's
    // file go, and the session too unless it was restored (the journal has
    // written it again by then).
    void finish(bool restored);

private:
    bool hasFolderSession() const;
    QString indexFile() const;

    QString folder;
    QString failure;
    QStringList remarks;
    QString savedAs;
};
