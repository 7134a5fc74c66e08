#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

class DocumentReader;
class MainPage;

// Reads the session that SessionWriter keeps in a folder: the index and the
// page files it names are put together into one manifest, which the document
// reader reads with all its checks, taking the moved pieces from the folder.
class SessionReader
{
public:
    // The pages read (owned by the caller); `reader` tells why none were, or
    // what was left out.
    static QList<MainPage *> read(const QString &strFolder, DocumentReader *reader);
    // Empty when the index cannot be read; a page file that cannot be read
    // stands as a page that cannot.
    static QJsonObject manifest(const QString &strFolder);
};
