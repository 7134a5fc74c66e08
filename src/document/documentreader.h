#pragma once

#include "drawinglimits.h"

#include <QList>
#include <QString>
#include <QStringList>

class MainPage;
class Obj;
class QSize;
class QJsonObject;
class ZipReader;
struct ObjectRecord;

// Reads a document file, which may come from anyone: every entry is read
// within a limit checked before and while it is inflated, every value of the
// manifest is checked, and nothing is ever written where an entry's name
// points. What is sound opens; what is not is left out and said once.
class DocumentReader
{
public:
    static constexpr qint64 MaxManifestBytes = 128LL * 1024 * 1024;
    static constexpr qint64 MaxDocumentBytes = 1024LL * 1024 * 1024;
    static constexpr int MaxPages = 1000;
    static constexpr int MaxPageSide = 16384;
    static constexpr int MaxPathLength = 4096;

    // A session file names its pictures in `sessionFolder` instead of
    // holding them; a document to open leaves it empty.
    explicit DocumentReader(const QString &sessionFolder = QString());
    ~DocumentReader();

    // The pages read; the caller owns them. Pictures are copied into the
    // temporary folder under names of their own.
    QList<MainPage *> read(const QString &path);

    int nextNumber() const { return number; }
    // Where the pages of a session were last saved as a document, if anywhere.
    QString documentPath() const { return savedAs; }
    // English texts for the message lookup: why nothing opened, and what was
    // left out of what opened.
    QString error() const { return failure; }
    QStringList notes() const { return remarks; }

private:
    bool readManifest(ZipReader &zip, QJsonObject *root);
    bool checkVersion(const QJsonObject &root);
    void readDocumentPath(const QJsonObject &root);
    MainPage *readPage(ZipReader &zip, const QJsonObject &o);
    void readObjects(ZipReader &zip, const QJsonObject &o, MainPage *page);
    bool fits(const ObjectRecord &record, const QSize &size);
    Obj *build(const ObjectRecord &record, const QString &file);
    bool readBackground(ZipReader &zip, const QString &name, MainPage *page);
    QString pictureCopy(ZipReader &zip, const QString &name, const QString &suffix);
    bool readPixels(ZipReader &zip, const QString &name, ObjectRecord *record);
    bool extract(ZipReader &zip, const QString &name, qint64 limit, const QString &target);
    void noteUnknownKeys(const QJsonObject &o, const QStringList &known);
    void note(const QString &text);

    QString folder;
    int number = 1;
    QString savedAs;
    bool newer = false;
    qint64 budget = MaxDocumentBytes;
    DrawingLimits drawing;
    QString failure;
    QStringList remarks;
};
