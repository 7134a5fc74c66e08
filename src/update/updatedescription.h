#pragma once

#include <QByteArray>
#include <QString>

class QXmlStreamAttributes;

// What the update server says about its newest release, read from its XML
// description: the version, the file to download, its checksum and the
// release notes.
class UpdateDescription
{
public:
    enum Problem { None, Damaged, NoVersion, BadVersion, BadFileName, BadChecksum };

    // Reads a whole description; `problem` tells whether it can be trusted.
    static UpdateDescription parse(const QByteArray &xml);

    // (a mod 100) * 10000 + (b mod 100) * 100 + (c mod 100) of "a.b.c...";
    // 0 with fewer than three fields, and a field that is no number reads 0.
    static int versionCode(const QString &strVersion);
    // Dotted decimal fields and nothing else; with fewer than three it is
    // well formed but never newer (its code is 0).
    static bool isWellFormedVersion(const QString &strVersion);
    // A plain file name that cannot leave the folder it is put in.
    static bool isSafeFileName(const QString &strName);

    QString version;
    QString fileName;
    QString notes;
    // The package's SHA-256 in hexadecimal (element "sha256"); optional.
    QByteArray sha256;
    Problem problem = None;
    QString parseError;

private:
    void readMainDoc(const QXmlStreamAttributes &attributes);
    void check();
};
