#pragma once

#include <QString>
#include <QTextDocument>

// The user guide of one language: its chapters, written in Markdown under
// <root>/<language>/ and listed in order in chapters.txt, with the program's
// keys filled in (ShortcutText), made into one document with its pictures
// fitted to the page, and printed as a PDF.
class GuideBook
{
public:
    // The chapters of a language as one Markdown text with the keys filled
    // in; the names come from <strTables>/<language>.xml unless the language
    // is English. False with `error` set when something is missing.
    static bool markdown(const QString &strRoot, const QString &strLanguage,
                         const QString &strTables, QString &text, QString &error);
    // False with `error` set when a listed chapter or picture is missing.
    bool load(const QString &strRoot, const QString &strLanguage, const QString &strTables,
              QString &error);
    // The whole guide as an A4 PDF document.
    QByteArray pdf();
    int pageCount() const { return pages; }

private:
    static bool readChapters(const QString &strFolder, QString &markdown, QString &error);
    bool fitPictures(const QString &strRoot, QString &error);
    void breakBeforeChapters();
    void widenTables();

    QTextDocument document;
    int pages = 0;
};
