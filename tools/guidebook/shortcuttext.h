#pragma once

#include <QHash>
#include <QString>

class QXmlStreamReader;

// Writes the program's own shortcut table into the guide, so that the guide's
// keys cannot fall behind the program: in a chapter, a line "{{shortcuts}}"
// becomes the rows of a keys table (keys, command, menu) and "{{keys:ENTRY}}"
// the keys of the menu entry with that English text. Command and menu names
// come from the program's language table of the guide's language.
class ShortcutText
{
public:
    // The names of the language table `strFile` (context "MainWindow"); an
    // empty path keeps the English names.
    bool loadNames(const QString &strFile, QString &error);
    // False with `error` naming the first placeholder that names no entry
    // with keys.
    bool expand(QString &markdown, QString &error) const;

    // The entry's or menu's name in the guide's language.
    QString name(const QString &strEnglish) const;
    // The keys of an entry as the guide writes them, or an empty string.
    static QString keysOf(const QString &strEntry);
    // The keys table's rows, one line each.
    QString rows() const;

private:
    void addName(QXmlStreamReader &xml);

    QHash<QString, QString> names;
};
