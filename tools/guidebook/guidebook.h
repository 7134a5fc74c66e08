#pragma once

#include <QString>
#include <QTextDocument>

// The user guide of one language: its chapters, written in Markdown under
// <root>/<language>/ and listed in order in chapters.txt, made into one
// document with its pictures fitted to the page, and printed as a PDF.
class GuideBook
{
public:
    // False with `error` set when a listed chapter or picture is missing.
    bool load(const QString &strRoot, const QString &strLanguage, QString &error);
    // The whole guide as an A4 PDF document.
    QByteArray pdf();
    int pageCount() const { return pages; }

private:
    bool readChapters(const QString &strFolder, QString &markdown, QString &error) const;
    bool fitPictures(const QString &strRoot, QString &error);
    void breakBeforeChapters();

    QTextDocument document;
    int pages = 0;
};
