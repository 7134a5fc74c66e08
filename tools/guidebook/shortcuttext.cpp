#include "shortcuttext.h"

#include "mainwindow/shortcuttable.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

bool ShortcutText::loadNames(const QString &strFile, QString &error)
{
    names.clear();
    if (strFile.isEmpty())
        return true;
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = strFile + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    bool inMenus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("MainWindow"))
            inMenus = true;
        else if (xml.isEndElement() && xml.name() == QLatin1String("MainWindow"))
            inMenus = false;
        else if (inMenus && xml.isStartElement() && xml.name() == QLatin1String("String"))
            addName(xml);
    }
    if (xml.hasError())
        error = strFile + QStringLiteral(": ") + xml.errorString();
    return !xml.hasError();
}

void ShortcutText::addName(QXmlStreamReader &xml)
{
    // The name is read before the text moves the reader past the element.
    const QString english = xml.attributes().value(QLatin1String("name")).toString();
    names.insert(english, xml.readElementText());
}

QString ShortcutText::name(const QString &strEnglish) const
{
    const QString translated = names.value(strEnglish).trimmed();
    return translated.isEmpty() ? strEnglish : translated;
}

QString ShortcutText::keysOf(const QString &strEntry)
{
    QStringList keys;
    for (const QKeySequence &sequence : ShortcutTable::keysOf(strEntry))
        keys.append(sequence.toString(QKeySequence::PortableText));
    return keys.join(QStringLiteral(" / "));
}

QString ShortcutText::rows() const
{
    QString table;
    for (const ShortcutTable::Row &row : ShortcutTable::rows()) {
        table += QStringLiteral("| %1 | %2 | %3 |\n")
                     .arg(keysOf(QLatin1String(row.entry)), name(QLatin1String(row.entry)),
                          name(QLatin1String(row.menu)));
    }
    return table;
}

bool ShortcutText::expand(QString &markdown, QString &error) const
{
    static const QRegularExpression table(QStringLiteral("^\\{\\{shortcuts\\}\\}\\n"),
                                          QRegularExpression::MultilineOption);
    markdown.replace(table, rows());
    static const QRegularExpression keys(QStringLiteral("\\{\\{keys:([^}]+)\\}\\}"));
    for (auto match = keys.match(markdown); match.hasMatch(); match = keys.match(markdown)) {
        const QString written = keysOf(match.captured(1));
        if (written.isEmpty()) {
            error = match.captured(0) + QStringLiteral(" names no entry with keys");
            return false;
        }
        markdown.replace(match.capturedStart(), match.capturedLength(), written);
    }
    if (markdown.contains(QLatin1String("{{"))) {
        error = QStringLiteral("a placeholder is left: ")
            + markdown.mid(markdown.indexOf(QLatin1String("{{")), 40);
        return false;
    }
    return true;
}
