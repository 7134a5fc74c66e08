#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The keys a global hotkey may use, read from a text table with one
// "name,code,text" line per key (code in hexadecimal, ";" starts a comment).
// Lines that cannot be read are skipped; a table that cannot be read at all
// leaves no keys and says why in problem().
class VirtualKeyTable
{
public:
    static QString defaultPath();

    explicit VirtualKeyTable(const QString &strPath = defaultPath());

    bool isEmpty() const { return keyCodes.isEmpty(); }
    bool contains(int iCode) const { return keyCodes.contains(iCode); }
    // The text shown for a code, or an empty string when it is not listed.
    QString text(int iCode) const;
    const QList<int> &codes() const { return keyCodes; }
    const QStringList &texts() const { return keyTexts; }
    // What went wrong while reading, in English; empty when nothing did.
    QString problem() const { return why; }

private:
    void read(const QString &strPath);
    bool parseLine(const QString &strLine);

    QList<int> keyCodes;
    QStringList keyTexts;
    QString why;
};
