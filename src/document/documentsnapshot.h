#pragma once

#include "objectrecord.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>

#include <memory>

class MainPage;
class PdfSource;

// One page as it is to be written.
struct PageRecord
{
    QSize size;
    QSize pixelSize;
    qreal pixelRatio = 1.0;
    int background = 0;
    QColor colour;
    QString pictureFile; // the background picture, empty for a colour
    QImage picture; // the background while its file is not complete
    std::shared_ptr<PdfSource> pdf; // a PDF page's background, see MainPage
    int pdfPage = -1;
    QList<ObjectRecord> objects;
    // Which page, and the revision its objects were copied at: a writer
    // that keeps what it wrote of each page knows what changed.
    int id = 0;
    quint64 revision = 0;
};

// The pages of a document copied out on the GUI thread, to be written on any
// thread. Objects are copied at most once per change of their page: a cache
// keeps the records of pages that did not change since the last snapshot.
class DocumentSnapshot
{
public:
    QList<PageRecord> pages;
    int nextNumber = 1;
    // Where the user saved the document; kept in session files only, so that
    // restored pages are saved there again.
    QString documentPath;

    struct Cache
    {
        struct Entry
        {
            quint64 revision = 0;
            QList<ObjectRecord> objects;
        };
        QHash<int, Entry> pages; // by page id
    };

    static DocumentSnapshot take(const QList<MainPage *> &pages, int nextNumber,
                                 Cache *cache = nullptr);
};
